#pragma once
// One printer configuration file: numeric [Options], byte-string [Commands]
// and, for the printers-to-test file, the [Printers] list
// (docs/config-format.md). Copies are independent values.
#include "platform/WinTypes.h"

#include "components/BufferUC.h"

#include <QHash>
#include <QString>
#include <vector>

class CCfgFileParser;
class CLogFile;
class QWidget;

class CLoadCfgPrnFile {
public:
    CLoadCfgPrnFile() = default;

    // Faults are written to log as well as to the "glyphane.config" category.
    void SetLog(CLogFile* log) { m_pLog = log; }

    // Remembers where the file is; fails for an empty file name.
    BOOL InitCCfgFl(QWidget* owner, const QString& programFolder, const QString& cfgFileName);
    // Loads programFolder + cfgFileName given to InitCCfgFl.
    BOOL LoadPublicCfgFile();
    // Loads fullPath (backslashes are taken as folder separators). A file that
    // fails to load leaves the object empty rather than holding the values of
    // an earlier file, so no command of another printer can be sent.
    BOOL LoadPublicCfgFile(const QString& fullPath);

    // [Options] value; success = present. *value untouched when missing.
    BOOL GetOptionPrintersToTest(const QString& option, DWORD* value) const;
    // The same as an int. When the option is missing the call fails and
    // *value receives missingValue, so a caller that goes on anyway sees the
    // value it asked for rather than stale memory.
    BOOL GetOptionPrintersToTest(const QString& option, int* value, int missingValue) const;
    // Entry index of [Printers]: *name = its key, *id = low byte of its
    // number, *value = the number, *text = "MODEL|CfgFile\FILE.cfg". Any
    // pointer may be null. Fails for an index outside the list.
    BOOL GetOptionPrintersToTest(int index, QString* name, BYTE* id, DWORD* value,
                                 QString* text) const;
    int GetPrintersToTestCount() const { return static_cast<int>(m_printers.size()); }

    // *length = the command's byte count, *second = the reply length the
    // printer answers it with (0 when none is given). Success = present.
    BOOL GetNumBytePrintersComando(const QString& cmd, int* length, int* second) const;
    // Copies the command's bytes to dest, which must hold *length bytes as
    // given by GetNumBytePrintersComando. Fails for a null dest.
    BOOL GetCommandPrinters(const QString& cmd, BYTE* dest, int* length, int* second) const;
    // Safe form: out becomes exactly the command's bytes.
    BOOL GetCommandPrinters(const QString& cmd, CBufferUC& out) const;

    bool IsLoaded() const { return m_bLoaded; }
    QString FilePath() const { return m_strLoadedPath; }

private:
    struct CCommand {
        std::vector<BYTE> bytes;
        int replyLength = 0;
    };
    struct CTestEntry {
        QString name;
        DWORD value = 0;
        QString text;
    };

    bool ReadOptions(const CCfgFileParser& parser, const QString& path);
    bool ReadCommands(const CCfgFileParser& parser, const QString& path);
    bool ReadPrintersToTest(const CCfgFileParser& parser, const QString& path);
    void Clear();

    QString m_strProgramFolder;
    QString m_strCfgFileName;
    QString m_strLoadedPath;
    bool m_bLoaded = false;
    CLogFile* m_pLog = nullptr;
    QHash<QString, DWORD> m_options;
    QHash<QString, CCommand> m_commands;
    std::vector<CTestEntry> m_printers;
};
