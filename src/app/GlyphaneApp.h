#pragma once
// The application object: owns what exists once per run (logs, settings read
// at start-up, the configuration objects) and the application commands.
#include "app/AppHost.h"
#include "app/LoadCfgFileAppEx.h"
#include "components/LogFile.h"
#include "components/RegHnd.h"
#include "document/DocEnvironment.h"
#include "platform/CommandRouter.h"
#include "platform/WinTypes.h"

#include <QApplication>
#include <QPointer>
#include <QSize>
#include <QString>
#include <optional>

class CLoadCfgPrnFile;
namespace picture {
class CPicture;
}
class CMainFrame;
class CGlyphaneDoc;
struct CPrinterChoice;

class CGlyphaneApp : public QApplication, public CCmdTarget {
    Q_OBJECT
public:
    CGlyphaneApp(int& argc, char** argv);
    ~CGlyphaneApp() override;

    // Start-up in the fixed order of steps; false ends the program.
    bool InitInstance();
    // Start-up without any window, for the command-line tool: the registry
    // values, the application log and the two configuration objects. On
    // failure *why says which of them was missing.
    bool InitHeadless(QString* why = nullptr);
    // Closes the main frame and forgets the run's state, so a test can start again.
    void ExitInstance();

    // Accessors used by the rest of the program.
    QString GetProgramPath() const { return m_strProgramPath; }
    QString GetHeaderTemplateName() const { return m_strHeaderNewFile; }
    CLogFile* GetAppLog() { return &m_appLog; }
    CLogFile* GetTraceLog() { return &m_traceLog; }
    void SetSettingsValue(DWORD value);
    CLoadCfgFileAppEx* GetAppCfg() const { return m_pAppCfg; }
    CLoadCfgPrnFile* GetStartupPrinterCfg() const { return m_pPrinterCfg; }
    DWORD GetClientVariant() const { return m_dwCustomer; }
    DWORD GetSettings() const { return m_dwSettings; }
    QString GetApplicationName() const { return m_strAppName; }
    QString GetVersion() const { return m_strVersion; }
    QString GetHtmlHelpFile() const { return m_strHtmlHelpFile; }
    QString GetAutodetectFile() const { return m_strAutodetect; }
    QString GetAppLogPath() const { return m_strAppLogPath; }
    QString GetLastOpenedName() const { return m_strLastOpenName; }
    CMainFrame* GetMainFrame() const { return m_pMainFrame; }
    QWidget* GetMainFrameWidget() const;
    CCommandRouter* GetRouter() const { return m_pRouter; }
    // What the frames, the views and their roles are handed in place of the application.
    CAppHost* Host() { return &m_host; }

    // What every logo document is handed: program folder, header template and
    // the main frame as the owner of its messages.
    CDocEnvironment DocEnvironment();

    // The first-new-document flag: the automatic request made at start-up clears it.
    bool TakeFirstNewDocumentFlag();
    int GetFirstNewDocumentFlag() const { return m_bFirstNewDocument; }

    // Document template: new logo, open a file, the open documents.
    CGlyphaneDoc* OnFileNew();
    // A logo file (a BMP) opens as it is; any other picture goes through
    // "Convert Picture" into a new logo. Null when nothing was opened;
    // *cancelled then tells an operator's Cancel from a file that failed.
    CGlyphaneDoc* OpenDocumentFile(const QString& path, bool* cancelled = nullptr);
    // "Convert Picture" for a picture: a new logo window, or null (refused,
    // with a message, or cancelled). suggestedFile: what Save As offers.
    CGlyphaneDoc* ConvertPictureToLogo(const picture::CPicture& picture, const QString& suggestedFile,
                                       bool* cancelled = nullptr);
    void OnFileOpen();
    void OnAppAbout();
    void OnHtmlHelp();
    void OnWebLink();

    bool OnCommand(UINT id) override;
    bool OnUpdateCommand(UINT id, CCmdUI& cmdUI) override;

    // The fixed web address opened by the link command.
    static QString WebAddress();
    // The message for a failed shell "open" of the help file or the web address.
    static void ReportShellResult(int result);

private:
    bool CreateTraceLog();
    bool CreateMainFrame();
    bool ProcessShellCommand();
    bool ReadSettingsAndConfigurations(QString* why = nullptr);
    bool ReadRegistry();
    bool ReadRegistryString(const char* name, QString& target);
    bool CreateAppLog();
    void LoadConfigurations();
    void Trace(const char* line);
    CGlyphaneDoc* OpenNewWindowFor(CGlyphaneDoc* doc);
    // A picture file other than a BMP (GlyphaneAppPictures.cpp).
    CGlyphaneDoc* OpenPictureFile(const QString& path, bool* cancelled);
    // The logo area of a printer, from its configuration.
    std::optional<QSize> LogoAreaOf(const CPrinterChoice& printer, QString* why);
    // The open document of this file, if any.
    CGlyphaneDoc* FindOpenDocument(const QString& path) const;
    // "Select Printer" for a new logo; nothing when it is cancelled.
    std::optional<CPrinterChoice> AskPrinterForNewLogo();

    CLogFile m_appLog;                       // "Glyphane.log" in the program folder
    CLogFile m_traceLog;                     // "GPDbgRel.log" in the current folder
    int m_bFirstNewDocument = 1;
    CLoadCfgFileAppEx* m_pAppCfg = nullptr;  // created at start-up, lives until the end
    CLoadCfgPrnFile* m_pPrinterCfg = nullptr;
    QString m_strAppName;
    QString m_strAutodetect;
    QString m_strHeaderNewFile;
    QString m_strProgramPath;
    QString m_strVersion;
    QString m_strHtmlHelpFile;
    QString m_strAppLogPath;
    CRegHnd m_regHnd;
    QString m_strLastOpenName;
    DWORD m_dwSettings = 0;
    DWORD m_dwCustomer = 0;

    CMainFrame* m_pMainFrame = nullptr;
    int m_nUntitledCount = 0;
    CCommandRouter* m_pRouter = nullptr;
    CAppHost m_host{*this};
};

// The one application object.
CGlyphaneApp* GetApp();
// Its host (what the printer and transfer code are handed), or null without it.
CAppHost* GetAppHost();
