#pragma once
// One logo: its black-and-white bitmap in printer dots, the printer it is made
// for, the drawing pen and strokes, the print raster and the file headers.
#include "components/BufferUC.h"
#include "document/DocEnvironment.h"
#include "document/PrinterBinding.h"
#include "document/Stroke.h"
#include "picture/DitherMethods.h"
#include "platform/CommandRouter.h"
#include "platform/WinTypes.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <list>
#include <memory>

class CHeaderPsw;
class CSurface;
struct CSaveOutcome;

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

    // Asked before a frame that would cover part of the logo is drawn; true
    // when it may be drawn. The caller decides how the question is put.
    using FrameQuestion = std::function<bool()>;

    explicit CGlyphaneDoc(const CDocEnvironment& env = {}, QObject* parent = nullptr);
    ~CGlyphaneDoc() override;

    // The printer the logo is made for.
    CPrinterBinding& Binding() { return m_binding; }
    const CPrinterBinding& Binding() const { return m_binding; }

    // The logo bitmap, or none before one is attached.
    QImage* GetLogoBitmap() { return m_bitmap.isNull() ? nullptr : &m_bitmap; }
    const QImage* GetLogoBitmap() const { return m_bitmap.isNull() ? nullptr : &m_bitmap; }
    // Replaces the bitmap by a new one of the given image's size and format;
    // the caller then copies the pixels it wants into it.
    void ReplaceLogoBitmap(const QImage& description);
    // Attaches an image as the logo bitmap (converted to the surface format).
    void AttachLogoBitmap(const QImage& image);

    void SetPenWidth(int width);
    CStroke* AddStroke();
    void ResetDrawingState();
    void ResetAfterLoad();
    bool InitNewLogo();
    void ReportError(UINT textId, UINT captionId, const QString& arg);
    void ReportError(UINT textId, UINT captionId, const QString& arg1, const QString& arg2);

    // Document life: File New, File Open, the strokes.
    // A new white logo of the chosen printer's area.
    virtual bool OnNewDocument(const CPrinterChoice& choice);
    // A new logo of the chosen printer's area holding `logo`, a picture
    // converted for that area (picture/PictureConversion.h); false when the
    // printer cannot be bound or the logo is not of its area.
    bool OnNewDocumentFromPicture(const CPrinterChoice& choice, const QImage& logo);
    // The file Save As offers for a logo never saved ("shop.bmp" beside "shop.png").
    void SetSuggestedFile(const QString& path) { m_strSuggestedFile = path; }
    QString SuggestedFile() const { return m_strSuggestedFile; }
    virtual bool OnOpenDocument(const QString& path);
    // What the last failed OnOpenDocument told the operator (empty after a success).
    QString OpenFailure() const { return m_strOpenFailure; }
    // A 1-bit file opened after this keeps its rows packed, one bit a pixel
    // (Format_Mono, palette black and white), instead of four bytes a pixel.
    // For the command-line tool: the whole-image operations, the raster, the
    // print data and the save work on packed rows; the editor's drawing does not.
    void SetKeepOneBitPacked(bool keep) { m_bKeepOneBitPacked = keep; }
    void DeleteContents();

    // The logo file (GlyphaneDocFile.cpp).
    bool LoadHeaderTemplate(const QString& path);
    void PatchHeaderForLogo();
    bool ReadBitmapHeader(const QString& path);
    int ReadBitmapInfo(const QString& path, int* width, int* height);
    // Save (path given) and Save As (empty path: asks for one).
    bool DoSave(const QString& path, bool replace = true);
    virtual bool SaveLogoFile(const QString& path, const QString& fileName);
    bool WriteBitmapFile(const QString& path);

    // Printer raster (GlyphaneDocRaster.cpp). Rasters are one bit per dot,
    // leftmost dot in the most significant bit, bit 1 = white.
    CBufferUC BuildPrintRaster(const QImage& image) const;
    CBufferUC BuildPrintRaster(const CSurface& dc) const;
    CBufferUC CenterRasterOnPrinter(const CBufferUC& source) const;
    CBufferUC AddThinFrame(const CBufferUC& raster, const FrameQuestion& mayCoverLogo) const;
    CBufferUC AddBoldFrame(const CBufferUC& raster, const FrameQuestion& mayCoverLogo) const;
    CBufferUC AddDoubleFrame(const CBufferUC& raster, const FrameQuestion& mayCoverLogo) const;
    int ReverseRasterImage();
    int ReverseRasterRows();
    static BYTE* MirrorRow(BYTE* row, int widthDots);
    CBufferUC FlipRowsUpsideDown(const CBufferUC& source) const;
    void BuildBitmapHeader(CBufferUC& out);

    // Whole-image operations (GlyphaneDocImageOps.cpp), on the bitmap's memory.
    void InvertAllPixels(DWORD width, DWORD height);
    void FlipPixelsHorizontal(DWORD width, DWORD height);
    void FlipPixelsVertical(DWORD width, DWORD height);
    // Black and white by a method at a threshold; Floyd-Steinberg is "To Black White".
    void ConvertToBlackWhite(DWORD width, DWORD height, DWORD threshold,
                             dither::Method method = dither::Method::FloydSteinberg);

    // Logos in upgrade files (GlyphaneDocPsw.cpp); direction 1 loads, 0 saves.
    bool TransferLogoPsw(const QString& path, int direction);
    void LoadLogoFromPsw(const QString& path);
    void SaveLogoToPsw(const QString& path);
    // True when the file cannot be used (missing or empty).
    bool CheckPswFile(const QString& path);
    static void SwapBytePairs(BYTE* buffer, int length);
    // The printers whose upgrade-file slots hold a whole BMP.
    static bool IsPswBmpGroup(const QString& model);
    // "Load Logo from *.psw" and "Save Logo on *.psw" are enabled.
    bool PswCommandsEnabled() const;

    // The QZ log file (GlyphaneDocQz.cpp).
    void OnSaveQzLogFile();
    bool SaveQzLogFile(const QString& path, const QString& name);
    bool FillQzHeader(CBufferUC& buffer, const QString& name, int length);
    static bool QzChecksum(const CBufferUC& buffer, WORD* sum);
    // The 8.3 name a chosen name is saved under; *messageId is the string of
    // the message that tells the operator (0 when the name is kept).
    static QString QzDosName(const QString& chosenName, UINT* messageId);

    // Framework document state.
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true);
    QString GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& path);
    QString GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& title);
    void UpdateAllViews(int hint = 0) { emit updateAllViews(hint); }

    // Save (ID_FILE_SAVE) and Save As (ID_FILE_SAVE_AS).
    bool OnCommand(UINT id) override;
    bool OnUpdateCommand(UINT id, CCmdUI& cmdUI) override;
    bool HasCommandHandler(UINT id) const override;
    // Before the window closes: asks whether to save a modified logo. False
    // when the operator cancels or the save fails (the window stays open).
    bool SaveModified();

    // Plain state read and set by the view, the printer and the transfer code.
    int GetPenWidth() const { return m_nPenWidth; }
    const CDocPen& GetPen() const { return m_pen; }
    int GetDrawMode() const { return m_nDrawMode; }
    void SetDrawMode(int mode) { m_nDrawMode = mode; }
    COLORREF GetPenColor() const { return m_crPenColor; }
    int GetLogoWidth() const { return m_nLogoWidth; }
    int GetLogoHeight() const { return m_nLogoHeight; }
    void SetLogoSize(int width, int height);
    QObject* GetOwnerWindow() const { return m_env.messageOwner; }
    void SetOwnerWindow(QObject* owner) { m_env.messageOwner = owner; }
    const CDocEnvironment& Environment() const { return m_env; }
    CBufferUC GetPrintRaster() const { return m_printRaster; }
    void SetPrintRaster(const CBufferUC& raster) { m_printRaster = raster; }
    CBufferUC& HeaderBuffer() { return m_headerBuffer; }
    CSurface* GetDrawingSurface() const { return m_pDC; }
    void SetDrawingSurface(CSurface* surface) { m_pDC = surface; }
    int GetPswOk() const { return m_bPswOk; }
    void SetPswOk(int v) { m_bPswOk = v; }
    CHeaderPsw* GetHeaderPsw() const { return m_pHeaderPsw; }
    void SetHeaderPsw(CHeaderPsw* header) { m_pHeaderPsw = header; }
    CBufferUC& QzHeader() { return m_qzHeader; }
    int GetQzHeaderSize() const { return m_nQzHeaderSize; }
    void SetQzHeaderSize(int size) { m_nQzHeaderSize = size; }
    const std::list<std::unique_ptr<CStroke>>& Strokes() const { return m_strokes; }

signals:
    void updateAllViews(int hint);
    void modifiedChanged(bool modified);
    void titleChanged(const QString& title);
    // The logo was written to a file (for the recent-file list).
    void fileSaved(const QString& path);

private:
    bool CreateWhiteBitmap(int width, int height);
    void ReportNotABmp(const QString& path);
    void ReportTooLarge(const QString& path, const QString& why);
    void ReportBadTemplate(const QString& path);
    // Keeps the header of a whole file (its length is the low byte of the
    // pixel data offset); false when the file is shorter than that.
    bool TakeBitmapHeader(const QByteArray& file);
    bool LogoSizeAcceptable(int width, int height);
    int ShowMessage(const QString& text, UINT captionId, UINT flags) const;
    bool ReloadHeaderTemplate();
    CHeaderPsw* OpenPswHeader(const QString& path);
    int ChoosePswSlot(CHeaderPsw& header, bool alwaysAsk);
    bool PswSlotFits(const QString& group, int slotWidth, int slotHeight) const;
    void PaintPswRows(const BYTE* rows, qint64 size, int width, int height, bool bottomUp, bool bitOneIsWhite);
    CBufferUC PackPswRows(int width, int height, bool bottomUp) const;
    bool ReadPswSlot(const QString& path, qint64 position, CBufferUC& block);
    bool PaintStoredBmp(const CBufferUC& block, int slotWidth, int slotHeight);
    bool WritePswSlot(const QString& path, const CHeaderPsw& header, qint64 position, const CBufferUC& block);
    int PswMessage(const QString& text, const QString& caption, UINT icon) const;
    // The application log's line on a save: which way the file was written
    // (see SaveFile), or why it was not. operation names the caller.
    void LogSave(const QString& operation, const QString& path, const CSaveOutcome& outcome) const;
    // The message of a failed save of a logo or QZ file; existed tells
    // whether there was a file before, which a full disk left as it was.
    void ReportSaveFailure(const QString& path, const CSaveOutcome& outcome, bool existed);

    int m_nPenWidth = 1;
    CDocPen m_pen;
    int m_nDrawMode = 0;
    COLORREF m_crPenColor = 0x000000;
    int m_nLogoWidth = 0;
    int m_nLogoHeight = 0;
    CDocEnvironment m_env;
    CPrinterBinding m_binding;
    CBufferUC m_printRaster;
    CBufferUC m_headerBuffer;
    CSurface* m_pDC = nullptr;
    int m_bPswOk = 0;
    CHeaderPsw* m_pHeaderPsw = nullptr; // the last upgrade file's header, owned below
    std::unique_ptr<CHeaderPsw> m_headerPswOwned;
    CBufferUC m_qzHeader;
    int m_nQzHeaderSize = 0;
    std::list<std::unique_ptr<CStroke>> m_strokes;
    QImage m_bitmap; // Format_RGB32 (white 0xFFFFFFFF, black 0xFF000000); Format_Mono when kept packed

    bool m_bModified = false;
    QString m_strPathName;
    QString m_strTitle;
    QString m_strOpenFailure;
    QString m_strSuggestedFile;
    bool m_bKeepOneBitPacked = false;
};
