#include "app/GlyphaneApp.h"

#include "app/BuildInfo.h"
#include "app/ShellCommand.h"
#include "components/LoadCfgPrnFile.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/DocumentDialogs.h"
#include "dialogs/SelectPrinterDlg.h"
#include "document/GlyphaneDoc.h"
#include "frame/ChildFrame.h"
#include "frame/DeferredIconStyle.h"
#include "frame/MainFrame.h"
#include "picture/Picture.h"
#include "platform/NativePath.h"
#include "platform/ProgramVersion.h"
#include "platform/UiSeam.h"
#include "resources/CommandIds.h"
#include "resources/StringTable.h"
#include "view/DesktopPrinting.h"
#include "view/GlyphaneView.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLoggingCategory>
#include <QStyleFactory>

Q_LOGGING_CATEGORY(lcApp, "glyphane.app")

namespace {

// The log component keeps these eight strings; both logs get the same ones.
CLogFile MakeLog()
{
    return CLogFile(QString(), QStringLiteral("COM1"), QStringLiteral("03F8"), QStringLiteral("IRQ4"),
                    QStringLiteral("BAUD9600"), QStringLiteral("PAR_NONE"), QStringLiteral("LENGTH_8"),
                    QStringLiteral("STOPBIT_1"));
}

const char kTraceLogName[] = "GPDbgRel.log";
const char kAppLogName[] = "Glyphane.log";

// A BMP opens as a logo, as it always did, and so does a file named *.bmp
// that is no other picture (missing, broken: refused as it always was);
// everything else is a picture to convert.
bool IsLogoFile(const QString& path)
{
    if (picture::LooksLikeBmp(path))
        return true;
    return QFileInfo(path).suffix().compare(QLatin1String("bmp"), Qt::CaseInsensitive) == 0
           && QImageReader::imageFormat(NativePath(path)).isEmpty();
}

} // namespace

CGlyphaneApp* GetApp()
{
    return qobject_cast<CGlyphaneApp*>(QCoreApplication::instance());
}

CAppHost* GetAppHost()
{
    CGlyphaneApp* app = GetApp();
    return app ? app->Host() : nullptr;
}

CGlyphaneApp::CGlyphaneApp(int& argc, char** argv)
    : QApplication(argc, argv)
    , m_appLog(MakeLog())
    , m_traceLog(MakeLog())
{
    setApplicationName(QStringLiteral("Glyphane"));
    setOrganizationName(QStringLiteral("Glyphane"));
    setApplicationVersion(QString::fromLatin1(GlyphaneVersion()));
    // Ties the windows to the menu entry (its name and icon on Wayland and in task bars).
    setDesktopFileName(QString::fromLatin1(GlyphaneDesktopId()));
    // The style the toolkit chose (the desktop's, or the one asked for with
    // -style or QT_STYLE_OVERRIDE), behind the proxy.
    setStyle(new CDeferredIconStyle(QStyleFactory::create(style()->name())));
    // The menu bar stays in the window on every desktop, where the operator's
    // instructions show it, rather than moving to a desktop-wide bar; it
    // also spares the start a session-bus query for such a bar.
    setAttribute(Qt::AA_DontUseNativeMenuBar);
    m_strAppName = applicationName();
}

CGlyphaneApp::~CGlyphaneApp()
{
    ExitInstance();
    // The two configuration objects live until the process ends.
}

QWidget* CGlyphaneApp::GetMainFrameWidget() const
{
    return m_pMainFrame;
}

void CGlyphaneApp::Trace(const char* line)
{
    m_traceLog.LogToFile(line);
}

bool CGlyphaneApp::InitInstance()
{
    if (!CreateTraceLog())
        return false;
    Trace("AfxEnableControlContainer()");
    Trace("Enable3dControls()");
    Trace("LoadStdProfileSettings();");
    // The document template (document, child frame, view) is the fixed trio below.
    Trace("AddDocTemplate(pDocTemplate);");
    if (!CreateMainFrame()) {
        Trace("!pMainFrame->LoadFrame(IDR_MAINFRAME) -> return FALSE");
        return false;
    }
    Trace("m_pMainWnd = pMainFrame;");
    Trace("RegisterShellFileTypes(TRUE);");
    if (!ProcessShellCommand())
        return false;
    m_pMainFrame->ShowFrame();
    Trace("pMainFrame->UpdateWindow();");
    return ReadSettingsAndConfigurations();
}

bool CGlyphaneApp::InitHeadless(QString* why)
{
    m_bFirstNewDocument = 0; // no automatic document without a window
    return ReadSettingsAndConfigurations(why);
}

bool CGlyphaneApp::ReadSettingsAndConfigurations(QString* why)
{
    if (!ReadRegistry()) {
        if (why)
            *why = QStringLiteral("the settings are incomplete (see the README: GLYPHANE_SETTINGS, glyphane-defaults.ini)");
        return false;
    }
    if (!CreateAppLog()) {
        if (why)
            *why = QStringLiteral("the application log %1 cannot be written (the program folder is the settings' Path)")
                       .arg(NativePath(m_strAppLogPath));
        return false;
    }
    LoadConfigurations();
    return true;
}

bool CGlyphaneApp::CreateTraceLog()
{
    const QString path = QDir::current().filePath(QString::fromLatin1(kTraceLogName));
    return m_traceLog.CreateLogFile(nullptr, path) != 0;
}

bool CGlyphaneApp::CreateMainFrame()
{
    if (!m_pRouter)
        m_pRouter = new CCommandRouter(this);
    auto* frame = new CMainFrame(m_pRouter, &m_host);
    if (!frame->LoadFrame(128)) {
        delete frame;
        return false;
    }
    m_pMainFrame = frame;
    return true;
}

bool CGlyphaneApp::ProcessShellCommand()
{
    const QString file = ParseShellCommandFile(arguments());
    if (file.isEmpty()) {
        OnFileNew(); // the automatic request: refused, so the window starts empty
        return true;
    }
    return OpenDocumentFile(file) != nullptr;
}

bool CGlyphaneApp::ReadRegistryString(const char* name, QString& target)
{
    target = m_regHnd.ReadStringRegValue(QString::fromLatin1(name));
    return target.compare(QStringLiteral("ERROR"), Qt::CaseInsensitive) != 0;
}

bool CGlyphaneApp::ReadRegistry()
{
    m_strAppName = applicationName();
    m_regHnd.InitObject(m_pMainFrame, m_strAppName);
    if (!ReadRegistryString("Application Name", m_strAppName)
        || !ReadRegistryString("Version", m_strVersion)
        || !ReadRegistryString("Path", m_strProgramPath)
        || !ReadRegistryString("HtmlHelpFile", m_strHtmlHelpFile)
        || !ReadRegistryString("Autodetect", m_strAutodetect)
        || !ReadRegistryString("HeaderNewFile", m_strHeaderNewFile))
        return false;

    int found = 0;
    m_dwSettings = m_regHnd.ReadDWORDRegValue(QStringLiteral("Settings"), 0, &found);
    if (!found)
        m_dwSettings = 0;
    int customerFound = 0; // a failed read keeps whatever the component returned
    m_dwCustomer = m_regHnd.ReadDWORDRegValue(QStringLiteral("Customer"), 0, &customerFound);
    return true;
}

bool CGlyphaneApp::CreateAppLog()
{
    // Plain concatenation: the stored folder carries its own trailing separator.
    m_strAppLogPath = m_strProgramPath + QString::fromLatin1(kAppLogName);
    return m_appLog.CreateLogFile(m_pMainFrame, NativePath(m_strAppLogPath)) != 0;
}

void CGlyphaneApp::LoadConfigurations()
{
    m_pAppCfg = new CLoadCfgFileAppEx(nullptr, m_strProgramPath, m_strAppName + QStringLiteral(".cfg"));
    m_pAppCfg->LoadFileAppCfgInfo();

    m_pPrinterCfg = new CLoadCfgPrnFile();
    m_pPrinterCfg->InitCCfgFl(nullptr, m_strProgramPath, m_strAutodetect);
    m_pPrinterCfg->LoadPublicCfgFile();
}

void CGlyphaneApp::ExitInstance()
{
    if (m_pMainFrame) {
        m_pMainFrame->CloseAllDocumentsWithoutAsking();
        delete m_pMainFrame;
        m_pMainFrame = nullptr;
    }
    delete m_pAppCfg;
    m_pAppCfg = nullptr;
    delete m_pPrinterCfg;
    m_pPrinterCfg = nullptr;
    m_bFirstNewDocument = 1;
    m_nUntitledCount = 0;
}

void CGlyphaneApp::SetSettingsValue(DWORD value)
{
    m_dwSettings = value;
    m_regHnd.WriteDWORDRegValue(QStringLiteral("Settings"), value);
}

bool CGlyphaneApp::TakeFirstNewDocumentFlag()
{
    if (!m_bFirstNewDocument)
        return false;
    m_bFirstNewDocument = 0;
    return true;
}

CDocEnvironment CGlyphaneApp::DocEnvironment()
{
    CDocEnvironment env;
    env.programFolder = m_strProgramPath;
    env.headerTemplateName = m_strHeaderNewFile;
    env.messageOwner = m_pMainFrame;
    env.appLog = &m_appLog;
    env.customer = m_dwCustomer;
    InstallDocumentDialogs(env);
    return env;
}

std::optional<CPrinterChoice> CGlyphaneApp::AskPrinterForNewLogo()
{
    if (!m_pAppCfg)
        return std::nullopt;
    CPrinterChoice choice;
    CSelectPrinterDlg dlg(m_pMainFrame, m_pAppCfg, &choice.model, &choice.cfgFile);
    if (dlg.DoModal() != IDOK || choice.model.isEmpty())
        return std::nullopt;
    return choice;
}

CGlyphaneDoc* CGlyphaneApp::OnFileNew()
{
    // The automatic request made at start-up opens no logo.
    if (TakeFirstNewDocumentFlag())
        return nullptr;
    const std::optional<CPrinterChoice> choice = AskPrinterForNewLogo();
    if (!choice)
        return nullptr;
    auto* doc = new CGlyphaneDoc(DocEnvironment());
    if (!doc->OnNewDocument(*choice)) {
        delete doc;
        return nullptr;
    }
    return OpenNewWindowFor(doc);
}

CGlyphaneDoc* CGlyphaneApp::OpenDocumentFile(const QString& path, bool* cancelled)
{
    if (cancelled)
        *cancelled = false;
    // A file already open is not opened twice: its window comes forward.
    if (CGlyphaneDoc* open = FindOpenDocument(path)) {
        if (m_pMainFrame) {
            m_pMainFrame->AddToRecentFileList(path);
            m_pMainFrame->ActivateDocumentWindow(open);
        }
        return open;
    }
    if (!IsLogoFile(path))
        return OpenPictureFile(path, cancelled);
    // The automatic new document is only made when no file was given, so the
    // user's first File New of such a run is the one refused.
    auto* doc = new CGlyphaneDoc(DocEnvironment());
    if (!doc->OnOpenDocument(path)) {
        delete doc;
        return nullptr;
    }
    doc->SetPathName(path);
    if (m_pMainFrame)
        m_pMainFrame->AddToRecentFileList(path);
    return OpenNewWindowFor(doc);
}

CGlyphaneDoc* CGlyphaneApp::FindOpenDocument(const QString& path) const
{
    if (!m_pMainFrame)
        return nullptr;
    // The same file under another spelling (a relative path, a link) is the same file.
    const QString wanted = QFileInfo(path).canonicalFilePath();
    if (wanted.isEmpty())
        return nullptr;
    for (CChildFrame* child : m_pMainFrame->ChildFrames()) {
        CGlyphaneDoc* doc = child->GetDocument();
        if (doc && !doc->GetPathName().isEmpty() && QFileInfo(doc->GetPathName()).canonicalFilePath() == wanted)
            return doc;
    }
    return nullptr;
}

CGlyphaneDoc* CGlyphaneApp::OpenNewWindowFor(CGlyphaneDoc* doc)
{
    if (!m_pMainFrame) {
        delete doc;
        return nullptr;
    }
    if (doc->GetTitle().isEmpty())
        doc->SetTitle(QStringLiteral("Glypha%1").arg(++m_nUntitledCount));
    connect(doc, &CGlyphaneDoc::fileSaved, m_pMainFrame, &CMainFrame::AddToRecentFileList);
    auto* child = new CChildFrame(doc, &m_host);
    auto* view = new CGlyphaneView(doc, &m_host);
    child->SetView(view);
    m_pMainFrame->AddChildFrame(child);
    view->OnInitialUpdate();
    return doc;
}

void CGlyphaneApp::OnFileOpen()
{
    // The logo files first, then every picture that can be converted.
    const QString path = GetOpenFileName(m_pMainFrame, QString(), QString(),
                                         QStringLiteral("BMP files (*.bmp)|*.bmp|") + picture::PictureFileFilter()
                                             + QStringLiteral("All Files (*.*)|*.*||"),
                                         QStringLiteral(".bmp"));
    if (path.isEmpty())
        return;
    m_strLastOpenName = QFileInfo(path).fileName();
    OpenDocumentFile(path);
}

void CGlyphaneApp::OnAppAbout()
{
    // The running Qt, which may be newer than the one the program was built with.
    const CAboutDlg::Facts facts{buildinfo::Build(), QString::fromLatin1(qVersion()), buildinfo::Licence(),
                                 buildinfo::DocumentationPath()};
    CAboutDlg dlg(m_strAppName, m_strVersion, facts, m_pMainFrame);
    dlg.DoModal();
}

QString CGlyphaneApp::WebAddress()
{
    return QStringLiteral("https://glyphane.example.org/");
}

void CGlyphaneApp::ReportShellResult(int result)
{
    if (result > 32)
        return;
    MessageBox(nullptr, LoadString(ShellResultStringId(result)), LoadString(1035),
                       MB_OK | MB_ICONSTOP);
}

void CGlyphaneApp::OnHtmlHelp()
{
    const QString helpFile = m_pAppCfg ? m_pAppCfg->GetHelpFileName() : QString();
    ReportShellResult(ShellOpen(NativePath(helpFile), NativePath(m_strProgramPath)));
}

void CGlyphaneApp::OnWebLink()
{
    ReportShellResult(ShellOpen(WebAddress(), NativePath(m_strProgramPath)));
}

bool CGlyphaneApp::OnCommand(UINT id)
{
    switch (id) {
    case ID_FILE_NEW:
        OnFileNew();
        return true;
    case ID_FILE_OPEN:
        OnFileOpen();
        return true;
    case ID_FILE_PRINT_SETUP:
        if (IDesktopPrinting* printing = DesktopPrintingOrSay(m_pMainFrame))
            printing->PrintSetup(m_pMainFrame, RunModal);
        return true;
    case ID_APP_ABOUT:
        OnAppAbout();
        return true;
    case ID_APP_EXIT:
        if (m_pMainFrame)
            m_pMainFrame->close();
        return true;
    case ID_HTML_HELP:
        OnHtmlHelp();
        return true;
    case ID_WEB_LINK:
        OnWebLink();
        return true;
    default:
        return false;
    }
}

bool CGlyphaneApp::OnUpdateCommand(UINT id, CCmdUI& cmdUI)
{
    switch (id) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_FILE_PRINT_SETUP:
    case ID_APP_ABOUT:
    case ID_APP_EXIT:
    case ID_HTML_HELP:
    case ID_WEB_LINK:
        cmdUI.Enable(true);
        return true;
    default:
        return false;
    }
}
