#include "components/LoadCfgFileApp.h"

namespace {
const QString kApplication = QStringLiteral("Application");
const QString kPrinters = QStringLiteral("Printers");
} // namespace

CLoadCfgFileApp::CLoadCfgFileApp(QWidget* /*owner*/, const QString& programFolder,
                                 const QString& fileName)
    : m_strProgramFolder(programFolder)
    , m_strFileName(fileName)
{
}

QString CLoadCfgFileApp::FilePath() const
{
    return CCfgFileParser::ProgramFilePath(m_strProgramFolder, m_strFileName);
}

BOOL CLoadCfgFileApp::LoadFileAppCfgInfo()
{
    m_printers.clear();
    const bool loaded = m_parser.Load(FilePath(), {kApplication, kPrinters}, m_pLog) &&
                        ParsePrinterList();
    if (!loaded) {
        m_parser = CCfgFileParser();
        m_printers.clear();
    }
    ReadProgramKeys();
    return loaded ? TRUE : FALSE;
}

bool CLoadCfgFileApp::ParsePrinterList()
{
    const CCfgSection* section = m_parser.Section(kPrinters);
    if (section == nullptr)
        return true;
    for (const CCfgEntry& entry : section->entries) {
        if (entry.value.isEmpty()) {
            CCfgFileParser::Report(m_pLog, FilePath(), entry.line,
                                   QStringLiteral("printer \"%1\" has no configuration file")
                                       .arg(entry.key));
            return false;
        }
        m_printers.push_back(CPrinterEntry{entry.key, entry.value});
    }
    return true;
}

BOOL CLoadCfgFileApp::GetCfgFileApp(const QString& key, QString* value) const
{
    const CCfgEntry* entry = m_parser.Find(kApplication, key);
    if (entry == nullptr)
        return FALSE;
    if (value != nullptr)
        *value = entry->value;
    return TRUE;
}

QString CLoadCfgFileApp::GetPrinterName(int index) const
{
    if (index < 0 || index >= GetPrinterCount())
        return {};
    return m_printers[static_cast<size_t>(index)].name;
}

QString CLoadCfgFileApp::GetPrinterCfgFile(int index) const
{
    if (index < 0 || index >= GetPrinterCount())
        return {};
    return m_printers[static_cast<size_t>(index)].file;
}

int CLoadCfgFileApp::ReadProgramKeys()
{
    const bool avi = GetCfgFileApp(QStringLiteral("Nameavifile"), &m_strNameAviFile);
    const bool dirLog = GetCfgFileApp(QStringLiteral("DirLog"), &m_strDirLog);
    return (avi && dirLog) ? 1 : 0;
}
