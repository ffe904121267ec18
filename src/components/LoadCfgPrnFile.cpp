#include "components/LoadCfgPrnFile.h"

#include "components/CfgFileParser.h"

#include <algorithm>

namespace {
const QString kOptions = QStringLiteral("Options");
const QString kCommands = QStringLiteral("Commands");
const QString kPrinters = QStringLiteral("Printers");
} // namespace

BOOL CLoadCfgPrnFile::InitCCfgFl(QWidget* /*owner*/, const QString& programFolder,
                                 const QString& cfgFileName)
{
    if (cfgFileName.isEmpty())
        return FALSE;
    m_strProgramFolder = programFolder;
    m_strCfgFileName = cfgFileName;
    return TRUE;
}

BOOL CLoadCfgPrnFile::LoadPublicCfgFile()
{
    if (m_strCfgFileName.isEmpty()) {
        Clear();
        CCfgFileParser::Report(m_pLog, QString(), 0,
                               QStringLiteral("printer configuration loaded before InitCCfgFl"));
        return FALSE;
    }
    return LoadPublicCfgFile(m_strProgramFolder + m_strCfgFileName);
}

BOOL CLoadCfgPrnFile::LoadPublicCfgFile(const QString& fullPath)
{
    Clear();
    const QString path = CCfgFileParser::ProgramFilePath(QString(), fullPath);
    CCfgFileParser parser;
    const bool ok = parser.Load(path, {kOptions, kCommands, kPrinters}, m_pLog) &&
                    ReadOptions(parser, path) && ReadCommands(parser, path) &&
                    ReadPrintersToTest(parser, path);
    if (!ok) {
        Clear();
        return FALSE;
    }
    m_strLoadedPath = path;
    m_bLoaded = true;
    return TRUE;
}

void CLoadCfgPrnFile::Clear()
{
    m_options.clear();
    m_commands.clear();
    m_printers.clear();
    m_strLoadedPath.clear();
    m_bLoaded = false;
}

bool CLoadCfgPrnFile::ReadOptions(const CCfgFileParser& parser, const QString& path)
{
    const CCfgSection* section = parser.Section(kOptions);
    if (section == nullptr)
        return true;
    for (const CCfgEntry& entry : section->entries) {
        DWORD value = 0;
        if (!CCfgFileParser::ParseNumber(entry.value, &value)) {
            CCfgFileParser::Report(m_pLog, path, entry.line,
                                   QStringLiteral("option \"%1\": \"%2\" is not a number")
                                       .arg(entry.key, entry.value.left(80)));
            return false;
        }
        m_options.insert(entry.key, value);
    }
    return true;
}

bool CLoadCfgPrnFile::ReadCommands(const CCfgFileParser& parser, const QString& path)
{
    const CCfgSection* section = parser.Section(kCommands);
    if (section == nullptr)
        return true;
    for (const CCfgEntry& entry : section->entries) {
        CCommand command;
        if (!CCfgFileParser::ParseBytes(entry.value, &command.bytes, &command.replyLength)) {
            CCfgFileParser::Report(m_pLog, path, entry.line,
                                   QStringLiteral("command \"%1\": bad hex byte list \"%2\"")
                                       .arg(entry.key, entry.value.left(80)));
            return false;
        }
        m_commands.insert(entry.key, command);
    }
    return true;
}

bool CLoadCfgPrnFile::ReadPrintersToTest(const CCfgFileParser& parser, const QString& path)
{
    const CCfgSection* section = parser.Section(kPrinters);
    if (section == nullptr)
        return true;
    for (const CCfgEntry& entry : section->entries) {
        const qsizetype comma = entry.value.indexOf(QLatin1Char(','));
        CTestEntry test{entry.key, 0, comma < 0 ? QString() : entry.value.mid(comma + 1).trimmed()};
        const bool numberOk =
            comma >= 0 && CCfgFileParser::ParseNumber(entry.value.left(comma).trimmed(), &test.value);
        const qsizetype bar = test.text.indexOf(QLatin1Char('|'));
        if (!numberOk || bar <= 0 || bar == test.text.size() - 1) {
            CCfgFileParser::Report(m_pLog, path, entry.line,
                                   QStringLiteral("printer \"%1\": expected \"number, MODEL|file\"")
                                       .arg(entry.key));
            return false;
        }
        m_printers.push_back(test);
    }
    return true;
}

BOOL CLoadCfgPrnFile::GetOptionPrintersToTest(const QString& option, DWORD* value) const
{
    const auto it = m_options.constFind(option);
    if (it == m_options.constEnd())
        return FALSE;
    if (value != nullptr)
        *value = it.value();
    return TRUE;
}

BOOL CLoadCfgPrnFile::GetOptionPrintersToTest(const QString& option, int* value,
                                              int missingValue) const
{
    DWORD stored = 0;
    const BOOL found = GetOptionPrintersToTest(option, &stored);
    if (value != nullptr)
        *value = found ? static_cast<int>(stored) : missingValue;
    return found;
}

BOOL CLoadCfgPrnFile::GetOptionPrintersToTest(int index, QString* name, BYTE* id, DWORD* value,
                                              QString* text) const
{
    if (index < 0 || index >= GetPrintersToTestCount())
        return FALSE;
    const CTestEntry& entry = m_printers[static_cast<size_t>(index)];
    if (name != nullptr)
        *name = entry.name;
    if (id != nullptr)
        *id = static_cast<BYTE>(entry.value & 0xFF);
    if (value != nullptr)
        *value = entry.value;
    if (text != nullptr)
        *text = entry.text;
    return TRUE;
}

BOOL CLoadCfgPrnFile::GetNumBytePrintersComando(const QString& cmd, int* length,
                                                int* second) const
{
    const auto it = m_commands.constFind(cmd);
    if (it == m_commands.constEnd())
        return FALSE;
    if (length != nullptr)
        *length = static_cast<int>(it->bytes.size());
    if (second != nullptr)
        *second = it->replyLength;
    return TRUE;
}

BOOL CLoadCfgPrnFile::GetCommandPrinters(const QString& cmd, BYTE* dest, int* length,
                                         int* second) const
{
    const auto it = m_commands.constFind(cmd);
    if (it == m_commands.constEnd() || dest == nullptr)
        return FALSE;
    std::copy(it->bytes.begin(), it->bytes.end(), dest);
    if (length != nullptr)
        *length = static_cast<int>(it->bytes.size());
    if (second != nullptr)
        *second = it->replyLength;
    return TRUE;
}

BOOL CLoadCfgPrnFile::GetCommandPrinters(const QString& cmd, CBufferUC& out) const
{
    const auto it = m_commands.constFind(cmd);
    if (it == m_commands.constEnd())
        return FALSE;
    out = CBufferUC(it->bytes.data(), static_cast<int>(it->bytes.size()));
    return TRUE;
}
