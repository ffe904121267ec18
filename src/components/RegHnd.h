#pragma once
// The program's registry values, kept in the "Registry" group of the settings
// files (see CSettingsStore for where those live).
#include "platform/WinTypes.h"

#include <QString>

class QWidget;

class CRegHnd {
public:
    // The group every value lives in.
    static QString Group() { return QStringLiteral("Registry"); }

    // Binds the object to the application; the settings location itself does
    // not depend on the name. Fails for an empty name.
    BOOL InitObject(QWidget* owner, const QString& appName);
    // The value, or "ERROR" when it is missing (or the object is not bound).
    // "Path" is resolved for the installed layout (CSettingsStore::ResolveProgramPath).
    QString ReadStringRegValue(const QString& name) const;
    // The value, or def when missing or not a number; *found (when given) is
    // set to 1 when a number was read, else 0.
    DWORD ReadDWORDRegValue(const QString& name, DWORD def, int* found) const;
    BOOL WriteDWORDRegValue(const QString& name, DWORD value);

    QString AppName() const { return m_strAppName; }

private:
    QString m_strAppName;
};
