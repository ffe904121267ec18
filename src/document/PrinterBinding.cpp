#include "document/PrinterBinding.h"

#include "platform/NativePath.h"

#include <utility>

CPrinterBinding::CPrinterBinding(const QString& programFolder)
    : m_strProgramFolder(programFolder)
{
}

void CPrinterBinding::SetModelFlags(const QString& model)
{
    m_bHvczilMedel = model.compare(QStringLiteral("HVCZIL_MEDEL"), Qt::CaseInsensitive) == 0;
    m_bWgj33 = model.compare(QStringLiteral("WGJ33"), Qt::CaseInsensitive) == 0;
    m_bMzvzvrxh = model.compare(QStringLiteral("MZVZVRXH"), Qt::CaseInsensitive) == 0;
}

QString CPrinterBinding::BindPrinter(const CPrinterChoice& choice)
{
    const QString& folder = m_strProgramFolder;
    if (!m_printerCfg.InitCCfgFl(nullptr, folder, choice.cfgFile)
        || !m_printerCfg.LoadPublicCfgFile(NativePath(folder + choice.cfgFile)))
        return QStringLiteral("the printer configuration %1 cannot be read").arg(choice.cfgFile);

    SetModelFlags(choice.model);
    DWORD dotX = 0, dotY = 0, gsi = 0;
    for (const auto& [key, value] : {std::pair{"DotX", &dotX}, std::pair{"DotY", &dotY}, std::pair{"GSImodel", &gsi}})
        if (!m_printerCfg.GetOptionPrintersToTest(QString::fromLatin1(key), value))
            return QStringLiteral("the printer configuration has no \"%1\"").arg(QLatin1String(key));
    m_nDotX = static_cast<int>(dotX);
    m_nDotY = static_cast<int>(dotY);
    m_ucGsiModel = static_cast<BYTE>(gsi & 0xFF);
    SetPrinterModel(choice.model);
    SetPrinterCfgFileName(choice.cfgFile);
    return QString();
}
