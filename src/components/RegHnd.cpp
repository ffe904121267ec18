#include "components/RegHnd.h"

#include "components/SettingsStore.h"

BOOL CRegHnd::InitObject(QWidget* /*owner*/, const QString& appName)
{
    if (appName.isEmpty())
        return FALSE;
    m_strAppName = appName;
    return TRUE;
}

QString CRegHnd::ReadStringRegValue(const QString& name) const
{
    const QString error = QStringLiteral("ERROR");
    if (m_strAppName.isEmpty() || name.isEmpty() || !CSettingsStore::Contains(Group(), name))
        return error;
    const QString value = CSettingsStore::Value(Group(), name).toString();
    if (name == QStringLiteral("Path"))
        return CSettingsStore::ResolveProgramPath(value);
    return value;
}

DWORD CRegHnd::ReadDWORDRegValue(const QString& name, DWORD def, int* found) const
{
    if (found != nullptr)
        *found = 0;
    if (m_strAppName.isEmpty() || name.isEmpty() || !CSettingsStore::Contains(Group(), name))
        return def;
    bool ok = false;
    const QString text = CSettingsStore::Value(Group(), name).toString().trimmed();
    // Hexadecimal only with an explicit prefix: a leading zero is not octal.
    const bool hex = text.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive);
    const qulonglong value = hex ? text.mid(2).toULongLong(&ok, 16) : text.toULongLong(&ok, 10);
    if (!ok || value > 0xFFFFFFFFull)
        return def;
    if (found != nullptr)
        *found = 1;
    return static_cast<DWORD>(value);
}

BOOL CRegHnd::WriteDWORDRegValue(const QString& name, DWORD value)
{
    if (m_strAppName.isEmpty() || name.isEmpty())
        return FALSE;
    return CSettingsStore::SetValue(Group(), name, static_cast<qulonglong>(value)) ? TRUE : FALSE;
}
