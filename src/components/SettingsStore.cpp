#include "components/SettingsStore.h"

#include "platform/InstallLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSettings>
#include <QStandardPaths>
#include <memory>

Q_LOGGING_CATEGORY(lcSettings, "glyphane.settings")

namespace {

QString OverrideFilePath()
{
    return qEnvironmentVariable("GLYPHANE_SETTINGS");
}

// Where QSettings keeps the user's INI file of organisation and application
// "Glyphane", named without opening it: a user-scope QSettings also looks at
// every system-wide fallback file, and settings are read a hundred times
// while the main window is built.
QString UserIniPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Glyphane/Glyphane.ini");
}

std::unique_ptr<QSettings> OpenIni(const QString& path)
{
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

QString KeyIn(const QString& group, const QString& key)
{
    return group.isEmpty() ? key : group + QLatin1Char('/') + key;
}

// Copies every file of from into to, creating folders as needed.
bool CopyFolder(const QString& from, const QString& to)
{
    QDir source(from);
    if (!source.exists())
        return false;
    bool ok = QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (ok && it.hasNext()) {
        const QString entry = it.next();
        const QString target = to + QLatin1Char('/') + source.relativeFilePath(entry);
        if (it.fileInfo().isDir())
            ok = QDir().mkpath(target);
        else
            ok = QFile::copy(entry, target);
    }
    return ok;
}

} // namespace

QString CSettingsStore::UserFilePath()
{
    const QString overridePath = OverrideFilePath();
    return overridePath.isEmpty() ? UserIniPath() : overridePath;
}

QString CSettingsStore::DefaultsFilePath()
{
    if (!OverrideFilePath().isEmpty())
        return {};
    const QString appDir = QCoreApplication::applicationDirPath();
    const QString beside = appDir + QStringLiteral("/glyphane-defaults.ini");
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = InstalledShareFolder() + QStringLiteral("/glyphane-defaults.ini");
    if (QFileInfo::exists(installed))
        return installed;
    return {};
}

QVariant CSettingsStore::Value(const QString& group, const QString& key, const QVariant& def)
{
    const QString name = KeyIn(group, key);
    auto user = OpenIni(UserFilePath());
    if (user->contains(name))
        return user->value(name);
    const QString defaults = DefaultsFilePath();
    if (!defaults.isEmpty()) {
        auto fallback = OpenIni(defaults);
        if (fallback->contains(name))
            return fallback->value(name);
    }
    return def;
}

bool CSettingsStore::Contains(const QString& group, const QString& key)
{
    const QString name = KeyIn(group, key);
    if (OpenIni(UserFilePath())->contains(name))
        return true;
    const QString defaults = DefaultsFilePath();
    return !defaults.isEmpty() && OpenIni(defaults)->contains(name);
}

QStringList CSettingsStore::Keys(const QString& group)
{
    QStringList keys;
    auto collect = [&](const QString& path) {
        if (path.isEmpty())
            return;
        auto ini = OpenIni(path);
        ini->beginGroup(group);
        for (const QString& key : ini->childKeys())
            if (!keys.contains(key))
                keys.append(key);
    };
    collect(UserFilePath());
    collect(DefaultsFilePath());
    return keys;
}

bool CSettingsStore::SetValue(const QString& group, const QString& key, const QVariant& value)
{
    auto user = OpenIni(UserFilePath());
    user->setValue(KeyIn(group, key), value);
    user->sync();
    if (user->status() != QSettings::NoError) {
        qCWarning(lcSettings) << "cannot write settings file" << user->fileName();
        return false;
    }
    return true;
}

QString CSettingsStore::ResolveProgramPath(const QString& storedPath)
{
    if (storedPath != UserDataMarker())
        return storedPath;
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString folder = dataHome + QStringLiteral("/Glyphane");
    if (!QFileInfo::exists(folder)) {
        const QString installed = InstalledDataFolder();
        // Seeded into a side folder first: a copy that fails half way must not
        // leave a folder that looks complete to every later start.
        const QString partial = folder + QStringLiteral(".partial");
        QDir(partial).removeRecursively();
        if (!CopyFolder(installed, partial) || !QDir().rename(partial, folder)) {
            QDir(partial).removeRecursively();
            qCWarning(lcSettings) << "cannot seed the program folder" << folder << "from" << installed;
        }
    }
    return folder + QLatin1Char('/');
}
