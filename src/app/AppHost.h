#pragma once
// The application as the layers below it see it: what the logo views and
// their roles use (CViewHost) and what the frames use (CFrameHost), each
// forwarded to the one application object, which owns this host.
#include "frame/FrameHost.h"
#include "view/ViewHost.h"

class CGlyphaneApp;

class CAppHost final : public CViewHost, public CFrameHost {
public:
    explicit CAppHost(CGlyphaneApp& app);

    // CProgramHost
    const CLoadCfgFileApp* AppCfg() const override;
    BYTE AutoBaudRateFlow() const override;
    CLoadCfgPrnFile* StartupPrinterCfg() const override;
    CLogFile* AppLog() override;
    QString ProgramPath() const override;
    DWORD ClientVariant() const override;
    CCommandRouter* Router() const override;
    void SetPositionPane(int x, int y) override;
    void SetSizePane(int width, int height) override;
    void SetToolPane(const QString& name) override;
    void SetPrinterPane(const QString& text) override;
    void SetPortPane(const QString& text) override;
    void SetMessagePane(const QString& text) override;
    bool IsFrontWindow(const QWidget* window) const override;

    // CViewHost
    void ConvertPictureToLogo(const picture::CPicture& picture, const QString& suggestedFile) override;

    // CFrameHost
    CCmdTarget* ProgramCommands() override;
    bool OpenDocumentFile(const QString& path, bool* cancelled) override;
    QString WebAddress() const override;
    void LogoWindowClosed() override;

private:
    CGlyphaneApp& m_app;
};
