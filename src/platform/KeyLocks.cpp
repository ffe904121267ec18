#include "platform/KeyLocks.h"

#include <QDir>
#include <QFile>

namespace {

QString LightSuffix(LockKey key)
{
    switch (key) {
    case LockKey::Caps:
        return QStringLiteral("::capslock");
    case LockKey::Num:
        return QStringLiteral("::numlock");
    case LockKey::Scroll:
        return QStringLiteral("::scrolllock");
    }
    return QString();
}

// The brightness of one light, or nothing when its file cannot be read.
std::optional<int> ReadBrightness(const QString& lightFolder)
{
    QFile file(lightFolder + QStringLiteral("/brightness"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    bool ok = false;
    const int value = file.read(32).trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

QString DefaultLedFolder()
{
    return QStringLiteral("/sys/class/leds");
}

std::optional<bool> ReadLockKeyState(LockKey key, const QString& ledFolder)
{
    const QDir folder(ledFolder);
    const QString suffix = LightSuffix(key);
    std::optional<bool> state;
    for (const QString& name : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)) {
        if (!name.startsWith(QStringLiteral("input")) || !name.endsWith(suffix))
            continue;
        const std::optional<int> brightness = ReadBrightness(folder.filePath(name));
        if (!brightness)
            continue;
        state = state.value_or(false) || *brightness > 0;
    }
    return state;
}
