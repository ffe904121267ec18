#include "app/AppHost.h"

#include "app/GlyphaneApp.h"
#include "frame/ChildFrame.h"
#include "frame/MainFrame.h"

CAppHost::CAppHost(CGlyphaneApp& app)
    : m_app(app)
{
}

const CLoadCfgFileApp* CAppHost::AppCfg() const
{
    return m_app.GetAppCfg();
}

BYTE CAppHost::AutoBaudRateFlow() const
{
    const CLoadCfgFileAppEx* cfg = m_app.GetAppCfg();
    return cfg ? static_cast<BYTE>(cfg->GetAutoBaudRateFlow() & 0xFF) : 0;
}

CLoadCfgPrnFile* CAppHost::StartupPrinterCfg() const
{
    return m_app.GetStartupPrinterCfg();
}

CLogFile* CAppHost::AppLog()
{
    return m_app.GetAppLog();
}

QString CAppHost::ProgramPath() const
{
    return m_app.GetProgramPath();
}

DWORD CAppHost::ClientVariant() const
{
    return m_app.GetClientVariant();
}

CCommandRouter* CAppHost::Router() const
{
    return m_app.GetRouter();
}

// The main frame builds the pane texts itself from the same values; a view
// without a main frame only keeps its texts (printer/ViewPanes.h).
void CAppHost::SetPositionPane(int x, int y)
{
    if (CMainFrame* frame = m_app.GetMainFrame())
        frame->SetPositionPane(x, y);
}

void CAppHost::SetSizePane(int width, int height)
{
    if (CMainFrame* frame = m_app.GetMainFrame())
        frame->SetSizePane(width, height);
}

void CAppHost::SetToolPane(const QString& name)
{
    if (CMainFrame* frame = m_app.GetMainFrame())
        frame->SetToolPane(name);
}

void CAppHost::SetPrinterPane(const QString& text)
{
    if (CMainFrame* frame = m_app.GetMainFrame())
        frame->SetPrinterPane(text);
}

void CAppHost::SetPortPane(const QString& text)
{
    if (CMainFrame* frame = m_app.GetMainFrame())
        frame->SetPortPane(text);
}

void CAppHost::SetMessagePane(const QString& text)
{
    if (CMainFrame* frame = m_app.GetMainFrame())
        frame->SetMessagePane(text);
}

bool CAppHost::IsFrontWindow(const QWidget* window) const
{
    CMainFrame* frame = m_app.GetMainFrame();
    if (!frame)
        return true;
    const CChildFrame* front = frame->ActiveChildFrame();
    // With no other logo window in front, a window that is closing still
    // writes that its port closed: the pane must not keep its open settings.
    return !front || !window || front->isAncestorOf(window) || front->isHidden();
}

void CAppHost::ConvertPictureToLogo(const picture::CPicture& picture, const QString& suggestedFile)
{
    m_app.ConvertPictureToLogo(picture, suggestedFile);
}

CCmdTarget* CAppHost::ProgramCommands()
{
    return &m_app;
}

bool CAppHost::OpenDocumentFile(const QString& path, bool* cancelled)
{
    return m_app.OpenDocumentFile(path, cancelled) != nullptr;
}

QString CAppHost::WebAddress() const
{
    return CGlyphaneApp::WebAddress();
}

void CAppHost::LogoWindowClosed()
{
    m_app.SetSettingsValue(0);
}
