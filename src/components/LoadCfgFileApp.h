#pragma once
// The application configuration file: the program's own keys in
// [Application] and the ordered printer list in [Printers]
// (docs/config-format.md).
#include "platform/WinTypes.h"

#include "components/CfgFileParser.h"

#include <QString>
#include <vector>

class CLogFile;
class QWidget;

struct CPrinterEntry {
    QString name; // printer model name
    QString file; // configuration file, relative to the program folder
};

class CLoadCfgFileApp {
public:
    CLoadCfgFileApp(QWidget* owner, const QString& programFolder, const QString& fileName);
    virtual ~CLoadCfgFileApp() = default;
    CLoadCfgFileApp(const CLoadCfgFileApp&) = default;
    CLoadCfgFileApp& operator=(const CLoadCfgFileApp&) = default;

    // Faults are written to log as well as to the "glyphane.config" category.
    void SetLog(CLogFile* log) { m_pLog = log; }

    // Loads the file and its printer list, then calls ReadProgramKeys once.
    // A file that fails to load leaves no keys and an empty list; the hook is
    // still called, so a derived class sees its keys missing consistently.
    BOOL LoadFileAppCfgInfo();
    // Value of key in [Application]; success = the key is present.
    BOOL GetCfgFileApp(const QString& key, QString* value) const;

    int GetPrinterCount() const { return static_cast<int>(m_printers.size()); }
    // Empty text for an index outside the list.
    QString GetPrinterName(int index) const;
    QString GetPrinterCfgFile(int index) const;
    const std::vector<CPrinterEntry>& Printers() const { return m_printers; }

    QString FilePath() const;

    // Override hook called once from LoadFileAppCfgInfo after the file was read, so a
    // derived class can fetch its own keys with GetCfgFileApp. Returns
    // non-zero when all its keys were read. The base reads "Nameavifile" and
    // "DirLog"; an override that wants them too calls the base first or
    // stores them itself.
    virtual int ReadProgramKeys();

    QString m_strNameAviFile; // "Nameavifile"
    QString m_strDirLog;      // "DirLog"

private:
    bool ParsePrinterList();

    QString m_strProgramFolder;
    QString m_strFileName;
    CLogFile* m_pLog = nullptr;
    CCfgFileParser m_parser;
    std::vector<CPrinterEntry> m_printers;
};
