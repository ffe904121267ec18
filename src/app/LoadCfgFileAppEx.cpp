#include "app/LoadCfgFileAppEx.h"

#include <cstdlib>

CLoadCfgFileAppEx::CLoadCfgFileAppEx(QWidget* owner, const QString& programFolder, const QString& fileName)
    : CLoadCfgFileApp(owner, programFolder, fileName)
{
}

int CLoadCfgFileAppEx::ReadProgramKeys()
{
    if (!GetCfgFileApp(QStringLiteral("Nameavifile"), &m_strNameAviFile))
        return 0;
    if (!GetCfgFileApp(QStringLiteral("DirLog"), &m_strDirLog))
        return 0;
    if (!GetCfgFileApp(QStringLiteral("HelpFile"), &m_strHelpFile))
        return 0;
    QString flow;
    if (!GetCfgFileApp(QStringLiteral("AutoBaudRateFlow"), &flow))
        return 0;
    m_nAutoBaudRateFlow = std::atoi(flow.toLatin1().constData());
    return 1;
}
