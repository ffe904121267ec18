#pragma once
// One logo document: the picture (LogoPicture.h), the printer it is made for
// (PrinterBinding.h) and the files and rasters made of them (LogoBmpFile.h,
// PswLogos.h, QzLogFile.h, LogoRaster.h), with the document's life (new,
// open, save, modified, title), the drawing pen and strokes.
#include "document/DocEnvironment.h"
#include "document/DocMessages.h"
#include "document/LogoBmpFile.h"
#include "document/LogoPicture.h"
#include "document/LogoRaster.h"
#include "document/PrinterBinding.h"
#include "document/PswLogos.h"
#include "document/QzLogFile.h"
#include "document/Stroke.h"
#include "picture/DitherMethods.h"
#include "platform/CommandRouter.h"
#include "platform/WinTypes.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <list>
#include <memory>

class CSurface;

// The drawing pen of the document: a solid pen of a width and a colour.
struct CDocPen {
    int width = 1;
    COLORREF color = 0x000000;
};

class CGlyphaneDoc : public QObject, public CCmdTarget {
    Q_OBJECT
public:
    // A logo side longer than this is refused: no printer of the catalogue
    // comes near it, and it keeps the bitmap's memory bounded.
    static constexpr int kMaxLogoSide = 16384;
    static constexpr int kEraserTool = 30;

    using FrameQuestion = CLogoRaster::FrameQuestion;

    explicit CGlyphaneDoc(const CDocEnvironment& env = {}, QObject* parent = nullptr);
    ~CGlyphaneDoc() override;

    // The parts of the logo.
    CLogoPicture& Picture() { return m_picture; }
    const CLogoPicture& Picture() const { return m_picture; }
    CPrinterBinding& Binding() { return m_binding; }
    const CPrinterBinding& Binding() const { return m_binding; }
    CLogoRaster& Raster() { return m_raster; }
    const CLogoRaster& Raster() const { return m_raster; }
    CLogoBmpFile& BmpFile() { return m_bmpFile; }
    CPswLogos& Psw() { return m_psw; }
    CQzLogFile& QzLog() { return m_qzLog; }
    const CDocMessages& Messages() const { return m_messages; }

    // Document life: File New, File Open, the strokes.
    // A new white logo of the chosen printer's area.
    virtual bool OnNewDocument(const CPrinterChoice& choice);
    // A new logo of the chosen printer's area holding `logo`, a picture
    // converted for that area (picture/PictureConversion.h); false when the
    // printer cannot be bound or the logo is not of its area.
    bool OnNewDocumentFromPicture(const CPrinterChoice& choice, const QImage& logo);
    bool InitNewLogo();
    void ResetAfterLoad();
    // The file Save As offers for a logo never saved ("shop.bmp" beside "shop.png").
    void SetSuggestedFile(const QString& path) { m_strSuggestedFile = path; }
    QString SuggestedFile() const { return m_strSuggestedFile; }
    virtual bool OnOpenDocument(const QString& path);
    // What the last failed OnOpenDocument told the operator (empty after a success).
    QString OpenFailure() const { return m_strOpenFailure; }
    void DeleteContents();

    // Save (path given) and Save As (empty path: asks for one).
    bool DoSave(const QString& path);
    // The logo as a 1-bit BMP; the document then has that file.
    bool WriteBitmapFile(const QString& path);
    // Before the window closes: asks whether to save a modified logo. False
    // when the operator cancels or the save fails (the window stays open).
    bool SaveModified();

    // Whole-image operations on the picture, then the views redrawn.
    void InvertAllPixels(DWORD width, DWORD height);
    void FlipPixelsHorizontal(DWORD width, DWORD height);
    void FlipPixelsVertical(DWORD width, DWORD height);
    // The converted logo is also saved and sent with the plain 1-bit header.
    void ConvertToBlackWhite(DWORD width, DWORD height, DWORD threshold,
                             dither::Method method = dither::Method::FloydSteinberg);

    // Framework document state.
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true);
    QString GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& path);
    QString GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& title);
    void UpdateAllViews(int hint = 0) { emit updateAllViews(hint); }

    // Save (ID_FILE_SAVE), Save As (ID_FILE_SAVE_AS) and the QZ log (ID_SAVE_QZ_LOG).
    bool OnCommand(UINT id) override;
    bool OnUpdateCommand(UINT id, CCmdUI& cmdUI) override;
    bool HasCommandHandler(UINT id) const override;

    // The drawing pen, mode and strokes.
    void SetPenWidth(int width);
    int GetPenWidth() const { return m_nPenWidth; }
    const CDocPen& GetPen() const { return m_pen; }
    COLORREF GetPenColor() const { return m_crPenColor; }
    int GetDrawMode() const { return m_nDrawMode; }
    void SetDrawMode(int mode) { m_nDrawMode = mode; }
    CStroke* AddStroke();
    const std::list<std::unique_ptr<CStroke>>& Strokes() const { return m_strokes; }

    // The program around the document, and the view's surface it draws on.
    QObject* GetOwnerWindow() const { return m_env.messageOwner; }
    void SetOwnerWindow(QObject* owner) { m_env.messageOwner = owner; }
    const CDocEnvironment& Environment() const { return m_env; }
    CSurface* GetDrawingSurface() const { return m_pDC; }
    void SetDrawingSurface(CSurface* surface) { m_pDC = surface; }

signals:
    void updateAllViews(int hint);
    void modifiedChanged(bool modified);
    void titleChanged(const QString& title);
    // The logo was written to a file (for the recent-file list).
    void fileSaved(const QString& path);

private:
    void ResetDrawingState();
    bool LogoSizeAcceptable(int width, int height);

    // The environment comes first: the parts below hold references to it.
    CDocEnvironment m_env;
    CDocMessages m_messages;
    CPrinterBinding m_binding;
    CLogoPicture m_picture;
    CLogoBmpFile m_bmpFile;
    CLogoRaster m_raster;
    CPswLogos m_psw;
    CQzLogFile m_qzLog;

    int m_nPenWidth = 1;
    CDocPen m_pen;
    int m_nDrawMode = 0;
    COLORREF m_crPenColor = 0x000000;
    std::list<std::unique_ptr<CStroke>> m_strokes;
    CSurface* m_pDC = nullptr;

    bool m_bModified = false;
    QString m_strPathName;
    QString m_strTitle;
    QString m_strOpenFailure;
    QString m_strSuggestedFile;
};
