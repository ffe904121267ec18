#pragma once
// Where the program's settings live. With GLYPHANE_SETTINGS set, that one INI
// file is read and written. Otherwise values are read from the user's file
// ($XDG_CONFIG_HOME/Glyphane/Glyphane.ini) and, when absent there, from the
// defaults installed beside the program; writes always go to the user's file,
// so the defaults are never changed.
#include <QString>
#include <QStringList>
#include <QVariant>

class CSettingsStore {
public:
    static QVariant Value(const QString& group, const QString& key, const QVariant& def = {});
    static bool Contains(const QString& group, const QString& key);
    // The keys of a group in the user's file and the defaults, user's first,
    // each once.
    static QStringList Keys(const QString& group);
    // Returns false when the file could not be written.
    static bool SetValue(const QString& group, const QString& key, const QVariant& value);

    // The file written to: GLYPHANE_SETTINGS when set, else the user's file.
    static QString UserFilePath();
    // glyphane-defaults.ini beside the executable (build tree), else in
    // <prefix>/share/glyphane/ (platform/InstallLayout.h); empty when neither exists or
    // GLYPHANE_SETTINGS is set.
    static QString DefaultsFilePath();

    // The text a defaults file gives as "Path" in an installed layout.
    static QString UserDataMarker() { return QStringLiteral("@USERDATA@"); }
    // Turns "@USERDATA@" into $XDG_DATA_HOME/Glyphane/ (trailing '/'), seeding
    // that folder from the installed data the first time; any other text is
    // returned unchanged.
    static QString ResolveProgramPath(const QString& storedPath);
};
