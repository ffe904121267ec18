#pragma once
// The logo picture: its black-and-white bitmap in printer dots and the logo
// size, and the operations on all of its pixels. A value that stands alone:
// it knows nothing of the printer, the files or the views.
#include "picture/DitherMethods.h"
#include "platform/WinTypes.h"

#include <QImage>

class CLogoPicture {
public:
    // The logo bitmap, or none before one is attached.
    QImage* GetLogoBitmap() { return m_bitmap.isNull() ? nullptr : &m_bitmap; }
    const QImage* GetLogoBitmap() const { return m_bitmap.isNull() ? nullptr : &m_bitmap; }
    // Replaces the bitmap by a new one of the given image's size and format;
    // the caller then copies the pixels it wants into it.
    void ReplaceLogoBitmap(const QImage& description);
    // Attaches an image as the logo bitmap (converted to the surface format).
    void AttachLogoBitmap(const QImage& image);
    // Attaches a decoded file's image; one kept packed (Format_Mono) stays so.
    void AttachDecodedBitmap(const QImage& image);
    // A white bitmap of the size; false (and the bitmap as it was) when the
    // memory cannot be had.
    bool CreateWhiteBitmap(int width, int height);
    void DropLogoBitmap() { m_bitmap = QImage(); }

    int GetLogoWidth() const { return m_nLogoWidth; }
    int GetLogoHeight() const { return m_nLogoHeight; }
    void SetLogoSize(int width, int height);

    // A 1-bit file opened after this keeps its rows packed, one bit a pixel
    // (Format_Mono, palette black and white), instead of four bytes a pixel.
    // For the command-line tool: the whole-image operations, the raster, the
    // print data and the save work on packed rows; the editor's drawing does not.
    void SetKeepOneBitPacked(bool keep) { m_bKeepOneBitPacked = keep; }
    bool KeepOneBitPacked() const { return m_bKeepOneBitPacked; }

    // Whole-image operations (LogoPictureOps.cpp) on the first width x height
    // pixels, clamped to the bitmap; false when there is no bitmap.
    bool InvertAllPixels(DWORD width, DWORD height);
    bool FlipPixelsHorizontal(DWORD width, DWORD height);
    bool FlipPixelsVertical(DWORD width, DWORD height);
    // Black and white by a method at a threshold; Floyd-Steinberg is "To Black White".
    bool ConvertToBlackWhite(DWORD width, DWORD height, DWORD threshold,
                             dither::Method method = dither::Method::FloydSteinberg);

private:
    QImage m_bitmap; // Format_RGB32 (white 0xFFFFFFFF, black 0xFF000000); Format_Mono when kept packed
    int m_nLogoWidth = 0;
    int m_nLogoHeight = 0;
    bool m_bKeepOneBitPacked = false;
};
