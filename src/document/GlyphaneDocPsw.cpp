// Logos in printer upgrade files: one slot moves between the document and
// the file. The upgrade-file component reads the header and scrambles the
// slot bytes; what the bytes mean (a bare raster or a BMP) is decided here by
// the printer named in the file.
#include "document/GlyphaneDoc.h"

#include "components/PswFile.h"
#include "platform/AtomicFile.h"
#include "platform/NativePath.h"
#include "platform/SurfaceTypes.h"
#include "platform/UiSeam.h"
#include "resources/StringTable.h"

#include <QFile>

#include <utility>

namespace {

constexpr int kBmpHeaderSize = 62;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
const QString kNoCaption;

} // namespace

bool CGlyphaneDoc::IsPswBmpGroup(const QString& model)
{
    return model == QLatin1String("JMQ9534") || model == QLatin1String("BDQGMLW") || model == QLatin1String("VD8");
}

bool CGlyphaneDoc::PswCommandsEnabled() const
{
    return m_strPrinterModel != QLatin1String("JMQ9534") && m_bHvczilMedel != 1 && m_bMonochrome == 1;
}

void CGlyphaneDoc::SwapBytePairs(BYTE* buffer, int length)
{
    if (!buffer)
        return;
    for (int i = 0; i + 1 < length; i += 2)
        std::swap(buffer[i], buffer[i + 1]);
}

int CGlyphaneDoc::PswMessage(const QString& text, const QString& caption, UINT icon) const
{
    // The upgrade-file messages have no owner window.
    return MessageBox(nullptr, text, caption, MB_OK | icon);
}

bool CGlyphaneDoc::TransferLogoPsw(const QString& path, int direction)
{
    m_bPswOk = 0;
    if (direction == 1)
        LoadLogoFromPsw(path);
    else
        SaveLogoToPsw(path);
    UpdateAllViews();
    if (m_bPswOk)
        PswMessage(LoadString(direction == 1 ? 61527 : 61526), LoadString(128), MB_ICONEXCLAMATION);
    m_bPswOk = 0;
    return true;
}

bool CGlyphaneDoc::CheckPswFile(const QString& path)
{
    QFile file(NativePath(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0) {
        PswMessage(QStringLiteral("Error"), kNoCaption, MB_ICONEXCLAMATION);
        return true;
    }
    return false;
}

// The checks both directions start with; the header on success, kept by the
// document until the next upgrade-file command.
CHeaderPsw* CGlyphaneDoc::OpenPswHeader(const QString& path)
{
    if (CheckPswFile(path))
        return nullptr;
    m_headerPswOwned = std::make_unique<CHeaderPsw>(m_env.appLog);
    m_pHeaderPsw = m_headerPswOwned.get();
    if (!m_pHeaderPsw->Init(path)) {
        PswMessage(LoadString(61521), kNoCaption, MB_ICONSTOP);
        return nullptr;
    }
    if (m_pHeaderPsw->GetDeviceCode() == CHeaderPsw::kNoLogoDevice) {
        PswMessage(LoadString(61542), kNoCaption, MB_ICONSTOP);
        return nullptr;
    }
    if (m_pHeaderPsw->GetNumSlots() == 0) {
        PswMessage(FormatResString(61524, path), kNoCaption, MB_ICONSTOP);
        return nullptr;
    }
    return m_pHeaderPsw;
}

// The 0-based slot, or -1 when the operator cancelled. A file of one slot
// needs no question unless alwaysAsk.
int CGlyphaneDoc::ChoosePswSlot(CHeaderPsw& header, bool alwaysAsk)
{
    QStringList lines;
    for (int i = 0; i < header.GetNumSlots(); ++i) {
        const _headerLoghi slot = header.GetIesimLogoStruct(i);
        lines << FormatResString(61522, i + 1, PswSlotWidth(slot), PswSlotHeight(slot));
    }
    if (lines.size() == 1 && !alwaysAsk)
        return 0;
    if (!m_env.selectLogo)
        return -1;
    const int chosen = m_env.selectLogo(m_env.messageOwner, lines);
    return (chosen >= 0 && chosen < lines.size()) ? chosen : -1;
}

bool CGlyphaneDoc::PswSlotFits(const QString& group, int slotWidth, int slotHeight) const
{
    if (IsPswBmpGroup(group))
        return slotWidth >= m_nDotX && slotHeight >= m_nDotY;
    return slotWidth == m_nDotX && slotHeight == m_nDotY;
}

bool CGlyphaneDoc::ReadPswSlot(const QString& path, qint64 position, CBufferUC& block)
{
    QFile file(NativePath(path));
    if (!file.open(QIODevice::ReadOnly) || !file.seek(position)) {
        PswMessage(FormatResString(61523, path), LoadString(1035), MB_ICONSTOP);
        return false;
    }
    const qint64 got = file.read(reinterpret_cast<char*>(block.GetpBuf()), block.GetSize());
    if (got != block.GetSize()) {
        PswMessage(FormatResString(61524, path), LoadString(1035), MB_ICONSTOP);
        return false;
    }
    return true;
}

void CGlyphaneDoc::PaintPswSlot(const CBufferUC& rows, int slotWidth, int slotHeight, bool bitOneIsBlack)
{
    QImage* bitmap = GetLogoBitmap();
    if (!bitmap)
        return;
    const int rowBytes = slotWidth / 8;
    const BYTE* bytes = rows.GetpBuf();
    for (int y = 0; y < slotHeight && y < bitmap->height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(bitmap->scanLine(y));
        for (int b = 0; b < rowBytes; ++b) {
            const qint64 at = qint64(y) * rowBytes + b;
            if (at >= rows.GetSize())
                return;
            for (int bit = 0; bit < 8; ++bit) {
                const int x = 8 * b + bit;
                if (x >= bitmap->width())
                    break; // outside the bitmap, as drawing there would be
                const bool one = (bytes[at] >> (7 - bit)) & 1;
                line[x] = (one == bitOneIsBlack) ? kBlack : kWhite;
            }
        }
    }
}

void CGlyphaneDoc::LoadLogoFromPsw(const QString& path)
{
    CHeaderPsw* header = OpenPswHeader(path);
    if (!header)
        return;
    const int slot = ChoosePswSlot(*header, false);
    if (slot < 0)
        return;
    const _headerLoghi record = header->GetIesimLogoStruct(slot);
    const int width = PswSlotWidth(record), height = PswSlotHeight(record);
    if (!PswSlotFits(m_strPrinterModel, width, height)) {
        PswMessage(FormatResString(61528, slot + 1, path), kNoCaption, MB_ICONSTOP);
        return;
    }
    ResetAfterLoad();

    const bool bmpData = IsPswBmpGroup(header->GetNomestampante().trimmed());
    const qint64 length = qint64(width) * height / 8 + (bmpData ? kBmpHeaderSize : 0);
    // A slot's bytes never reach past its capacity (the header check keeps
    // the capacity inside the file), so a slot too small is a damaged file.
    if (length > header->GetSlotCapacity(slot)) {
        PswMessage(FormatResString(61524, path), LoadString(1035), MB_ICONSTOP);
        return;
    }
    CBufferUC block(static_cast<int>(length), 0);
    const DWORD offset = PswSlotOffset(record);
    if (!ReadPswSlot(path, qint64(header->GetLogoAreaOffset()) + offset, block))
        return;

    CCrittoPswFile critto(m_env.messageOwner, path);
    BYTE key = 0;
    if (!critto.InitCCrittoPswFile(path) || !critto.GetScrByteFromPswFile(&key))
        return;
    if (!critto.DeCrittoBufferFromPswFile(block.GetpBuf(), offset, static_cast<DWORD>(length), key)) {
        PswMessage(FormatResString(61524, path), LoadString(1035), MB_ICONSTOP);
        return;
    }
    if (bmpData) {
        SwapBytePairs(block.GetpBuf(), block.GetSize());
        const CBufferUC rows(block.GetpBuf() + kBmpHeaderSize, block.GetSize() - kBmpHeaderSize);
        PaintPswSlot(FlipRowsUpsideDown(rows), width, height, false);
    } else {
        PaintPswSlot(block, width, height, true);
    }
    m_bPswOk = 1;
}

// Rows of the document pixels from the top, width / 8 bytes each, leftmost
// pixel in the most significant bit.
CBufferUC CGlyphaneDoc::PackPswRows(int width, int height, bool darkIsOne) const
{
    const int rowBytes = width / 8;
    CBufferUC rows(rowBytes * height, 0);
    const QImage* bitmap = GetLogoBitmap();
    BYTE* out = rows.GetpBuf();
    if (!bitmap || !out)
        return rows;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < rowBytes * 8; ++x) {
            // Outside the bitmap a pixel reads as no colour at all: light.
            const bool inside = x < bitmap->width() && y < bitmap->height();
            const COLORREF color = inside ? surface::ToColorRef(bitmap->pixel(x, y)) : CLR_INVALID;
            const bool dark = color <= 0x7F7F7F;
            if (dark == darkIsOne)
                out[y * rowBytes + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
        }
    }
    return rows;
}

void CGlyphaneDoc::SaveLogoToPsw(const QString& path)
{
    CHeaderPsw* header = OpenPswHeader(path);
    if (!header)
        return;
    const int slot = ChoosePswSlot(*header, true);
    if (slot < 0)
        return;
    const QString fileModel = header->GetNomestampante().trimmed();
    const _headerLoghi record = header->GetIesimLogoStruct(slot);
    const int width = PswSlotWidth(record), height = PswSlotHeight(record);
    if (!PswSlotFits(fileModel, width, height)) {
        PswMessage(FormatResString(61528, slot + 1, path), kNoCaption, MB_ICONSTOP);
        return;
    }

    CBufferUC block;
    if (IsPswBmpGroup(fileModel)) {
        // A BMP of the printer's area, whatever room the slot has.
        CBufferUC bmpHeader;
        BuildBitmapHeader(bmpHeader);
        if (bmpHeader.GetSize() != kBmpHeaderSize) {
            PswMessage(FormatResString(61523, path), LoadString(1035), MB_ICONSTOP);
            return;
        }
        block = bmpHeader + FlipRowsUpsideDown(PackPswRows(m_nDotX, m_nDotY, false));
        SwapBytePairs(block.GetpBuf(), block.GetSize());
    } else {
        block = PackPswRows(width, height, true);
    }
    if (block.GetSize() == 0 || DWORD(block.GetSize()) > header->GetSlotCapacity(slot)) {
        PswMessage(FormatResString(61523, path), LoadString(1035), MB_ICONSTOP);
        return;
    }

    CCrittoPswFile critto(m_env.messageOwner, path);
    BYTE key = 0;
    if (!critto.InitCCrittoPswFile(path) || !critto.GetScrByteFromPswFile(&key))
        return;
    const DWORD offset = PswSlotOffset(record);
    if (!critto.CrittoBufferFromPswFile(block.GetpBuf(), offset, static_cast<DWORD>(block.GetSize()), key)) {
        PswMessage(FormatResString(61523, path), LoadString(1035), MB_ICONSTOP);
        return;
    }

    // The whole file is rewritten beside the original and renamed over it: a
    // full disk or a crash half-way leaves the old file, never a damaged one
    // that could later reach a printer.
    QFile file(NativePath(path));
    QByteArray whole;
    if (file.open(QIODevice::ReadOnly))
        whole = file.readAll();
    file.close();
    const qint64 position = qint64(header->GetLogoAreaOffset()) + offset;
    if (whole.size() != header->GetFileSize() || position + block.GetSize() > whole.size()) {
        PswMessage(FormatResString(61523, path), LoadString(1035), MB_ICONSTOP);
        return;
    }
    whole.replace(position, block.GetSize(),
                  QByteArray(reinterpret_cast<const char*>(block.GetpBuf()), block.GetSize()));
    if (!WriteFileAtomically(NativePath(path), {whole})) {
        PswMessage(FormatResString(61523, path), LoadString(1035), MB_ICONSTOP);
        return;
    }
    m_bPswOk = 1;
}
