// Logos in printer upgrade files: one slot moves between the picture and
// the file. The upgrade-file component reads the header and scrambles the
// slot bytes; what the bytes mean (a bare raster or a BMP) is decided here by
// the printer named in the file.
#include "document/PswLogos.h"

#include "components/PswFile.h"
#include "document/BmpFile.h"
#include "document/DocEnvironment.h"
#include "document/DocMessages.h"
#include "document/LogoBmpFile.h"
#include "document/LogoPicture.h"
#include "document/PrinterBinding.h"
#include "document/RowPacker.h"
#include "platform/AtomicFile.h"
#include "platform/NativePath.h"
#include "platform/UiSeam.h"
#include "resources/StringTable.h"

#include <QFile>
#include <QtEndian>

#include <cstdlib>
#include <utility>

namespace {

constexpr int kBmpHeaderSize = 62;
const QString kNoCaption;

// Rows of width / 8 bytes one after the other, as the slots hold them.
dots::RowLayout SlotRows(int width, bool bottomUp)
{
    return {width / 8, width / 8, bottomUp};
}

// The geometry a BMP-group slot's own header gives its rows.
struct CStoredBmp {
    int width = 0;
    int height = 0;
    bool bottomUp = true;
    qint64 rowsAt = 0;
};

// The stored header (pairs already put back) read and checked against the
// slot and the bytes read: a 1-bit, uncompressed picture of whole bytes a row
// (the printers' layout: width / 8 bytes, no padding) that fits the slot.
bool ReadStoredBmp(const CBufferUC& block, int slotWidth, int slotHeight, CStoredBmp* out)
{
    if (block.GetSize() < kBmpHeaderSize)
        return false;
    const uchar* b = block.GetpBuf();
    const qint32 width = qFromLittleEndian<qint32>(b + 18), height = qFromLittleEndian<qint32>(b + 22);
    const quint32 rowsAt = qFromLittleEndian<quint32>(b + 10);
    if (b[0] != 'B' || b[1] != 'M' || qFromLittleEndian<quint16>(b + 28) != 1 || qFromLittleEndian<quint32>(b + 30) != 0)
        return false;
    if (width <= 0 || width % 8 != 0 || width > slotWidth || height == 0 || height < -slotHeight || height > slotHeight)
        return false;
    const qint64 rowBytes = width / 8;
    if (rowsAt < 14 + 40 || rowsAt + rowBytes * std::abs(height) > qint64(block.GetSize()))
        return false;
    *out = {width, std::abs(height), height > 0, rowsAt};
    return true;
}

} // namespace

CPswLogos::CPswLogos(const CDocEnvironment& env, const CDocMessages& messages, CLogoPicture& picture,
                     const CPrinterBinding& binding, CLogoBmpFile& bmpFile, std::function<void()> resetAfterLoad,
                     std::function<void()> picturePainted)
    : m_env(env)
    , m_messages(messages)
    , m_picture(picture)
    , m_binding(binding)
    , m_bmpFile(bmpFile)
    , m_resetAfterLoad(std::move(resetAfterLoad))
    , m_picturePainted(std::move(picturePainted))
{
}

CPswLogos::~CPswLogos() = default;

bool CPswLogos::IsPswBmpGroup(const QString& model)
{
    return model == QLatin1String("JMQ9534") || model == QLatin1String("BDQGMLW") || model == QLatin1String("VD8");
}

bool CPswLogos::PswCommandsEnabled() const
{
    return m_binding.GetPrinterModel() != QLatin1String("JMQ9534") && m_binding.IsHvczilMedel() != 1
           && m_binding.IsMonochrome() == 1;
}

void CPswLogos::SwapBytePairs(BYTE* buffer, int length)
{
    if (!buffer)
        return;
    for (int i = 0; i + 1 < length; i += 2)
        std::swap(buffer[i], buffer[i + 1]);
}

int CPswLogos::PswMessage(const QString& text, const QString& caption, UINT icon) const
{
    // The upgrade-file messages have no owner window.
    return MessageBox(nullptr, text, caption, MB_OK | icon);
}

void CPswLogos::ReportDamagedSlot(const QString& path) const
{
    PswMessage(FormatResString(61524, path), LoadString(1035), MB_ICONSTOP);
}

bool CPswLogos::TransferLogoPsw(const QString& path, int direction)
{
    m_bPswOk = 0;
    if (direction == 1)
        LoadLogoFromPsw(path);
    else
        SaveLogoToPsw(path);
    m_picturePainted();
    if (m_bPswOk)
        PswMessage(LoadString(direction == 1 ? 61527 : 61526), LoadString(128), MB_ICONEXCLAMATION);
    m_bPswOk = 0;
    return true;
}

bool CPswLogos::CheckPswFile(const QString& path)
{
    QFile file(NativePath(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0) {
        PswMessage(QStringLiteral("Error"), kNoCaption, MB_ICONEXCLAMATION);
        return true;
    }
    return false;
}

// The checks both directions start with; the header on success, kept until
// the next upgrade-file command.
CHeaderPsw* CPswLogos::OpenPswHeader(const QString& path)
{
    if (CheckPswFile(path))
        return nullptr;
    m_headerPsw = std::make_unique<CHeaderPsw>(m_env.appLog);
    if (!m_headerPsw->Init(path)) {
        PswMessage(LoadString(61521), kNoCaption, MB_ICONSTOP);
        return nullptr;
    }
    if (m_headerPsw->GetDeviceCode() == CHeaderPsw::kNoLogoDevice) {
        PswMessage(LoadString(61542), kNoCaption, MB_ICONSTOP);
        return nullptr;
    }
    if (m_headerPsw->GetNumSlots() == 0) {
        PswMessage(FormatResString(61524, path), kNoCaption, MB_ICONSTOP);
        return nullptr;
    }
    return m_headerPsw.get();
}

// The 0-based slot, or -1 when the operator cancelled. A file of one slot
// needs no question unless alwaysAsk.
int CPswLogos::ChoosePswSlot(CHeaderPsw& header, bool alwaysAsk)
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

bool CPswLogos::PswSlotFits(const QString& group, int slotWidth, int slotHeight) const
{
    if (IsPswBmpGroup(group))
        return slotWidth >= m_binding.GetDotX() && slotHeight >= m_binding.GetDotY();
    return slotWidth == m_binding.GetDotX() && slotHeight == m_binding.GetDotY();
}

bool CPswLogos::ReadPswSlot(const QString& path, qint64 position, CBufferUC& block)
{
    QFile file(NativePath(path));
    if (!file.open(QIODevice::ReadOnly) || !file.seek(position)) {
        PswMessage(FormatResString(61523, path), LoadString(1035), MB_ICONSTOP);
        return false;
    }
    const qint64 got = file.read(reinterpret_cast<char*>(block.GetpBuf()), block.GetSize());
    if (got != block.GetSize()) {
        ReportDamagedSlot(path);
        return false;
    }
    return true;
}

void CPswLogos::PaintPswRows(const BYTE* rows, qint64 size, int width, int height, bool bottomUp,
                                bool bitOneIsWhite)
{
    QImage* bitmap = m_picture.GetLogoBitmap();
    if (!bitmap)
        return;
    if (bitOneIsWhite) {
        dots::UnpackRows(rows, size, width, height, SlotRows(width, bottomUp), *bitmap);
        return;
    }
    CBufferUC whiteIsOne(rows, static_cast<int>(size));
    whiteIsOne = ~whiteIsOne;
    dots::UnpackRows(whiteIsOne.GetpBuf(), size, width, height, SlotRows(width, bottomUp), *bitmap);
}

// A BMP-group slot painted as its own header describes it: the slot may be
// larger than the picture saved into it, so its size says nothing of the rows.
bool CPswLogos::PaintStoredBmp(const CBufferUC& block, int slotWidth, int slotHeight)
{
    CStoredBmp stored;
    if (!ReadStoredBmp(block, slotWidth, slotHeight, &stored))
        return false;
    PaintPswRows(block.GetpBuf() + stored.rowsAt, block.GetSize() - stored.rowsAt, stored.width, stored.height,
                 stored.bottomUp, true);
    return true;
}

void CPswLogos::LoadLogoFromPsw(const QString& path)
{
    CHeaderPsw* header = OpenPswHeader(path);
    if (!header)
        return;
    const int slot = ChoosePswSlot(*header, false);
    if (slot < 0)
        return;
    const _headerLoghi record = header->GetIesimLogoStruct(slot);
    const int width = PswSlotWidth(record), height = PswSlotHeight(record);
    if (!PswSlotFits(m_binding.GetPrinterModel(), width, height)) {
        PswMessage(FormatResString(61528, slot + 1, path), kNoCaption, MB_ICONSTOP);
        return;
    }
    m_resetAfterLoad();

    const bool bmpData = IsPswBmpGroup(header->GetNomestampante().trimmed());
    const qint64 length = qint64(width) * height / 8 + (bmpData ? kBmpHeaderSize : 0);
    // A slot's bytes never reach past its capacity (the header check keeps
    // the capacity inside the file), so a slot too small is a damaged file.
    if (length > header->GetSlotCapacity(slot)) {
        ReportDamagedSlot(path);
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
        ReportDamagedSlot(path);
        return;
    }
    if (bmpData) {
        SwapBytePairs(block.GetpBuf(), block.GetSize());
        if (!PaintStoredBmp(block, width, height)) {
            ReportDamagedSlot(path);
            return;
        }
    } else {
        PaintPswRows(block.GetpBuf(), block.GetSize(), width, height, false, false);
    }
    m_bPswOk = 1;
}

// The picture's first width x height dots in rows of width / 8 bytes, by the
// dot rule: bit 1 = white.
CBufferUC CPswLogos::PackPswRows(int width, int height, bool bottomUp) const
{
    CBufferUC rows(width / 8 * height, 0);
    if (const QImage* bitmap = m_picture.GetLogoBitmap())
        dots::PackRows(*bitmap, width, height, SlotRows(width, bottomUp), rows.GetpBuf(), rows.GetSize());
    return rows;
}

void CPswLogos::SaveLogoToPsw(const QString& path)
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
        // A BMP of the printer's area, whatever room the slot has; its header
        // says so, and loading follows it.
        CBufferUC bmpHeader;
        m_bmpFile.BuildBitmapHeader(bmpHeader);
        if (bmpHeader.GetSize() != kBmpHeaderSize) {
            PswMessage(FormatResString(61523, path), LoadString(1035), MB_ICONSTOP);
            return;
        }
        QByteArray stored(reinterpret_cast<const char*>(bmpHeader.GetpBuf()), bmpHeader.GetSize());
        bmpfile::PatchHeaderPrinterLayout(stored, m_binding.GetDotX(), m_binding.GetDotY());
        block = CBufferUC(reinterpret_cast<const BYTE*>(stored.constData()), kBmpHeaderSize)
                + PackPswRows(m_binding.GetDotX(), m_binding.GetDotY(), true);
        SwapBytePairs(block.GetpBuf(), block.GetSize());
    } else {
        block = ~PackPswRows(width, height, false); // these printers take bit 1 = dot
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

    if (!WritePswSlot(path, *header, qint64(header->GetLogoAreaOffset()) + offset, block))
        return;
    m_bPswOk = 1;
}

// The whole file is rewritten beside the original and renamed over it: a full
// disk or a crash half-way leaves the old file, never a damaged one that could
// later reach a printer. Where the folder takes no new file, the slot is
// written where it stands, once the file is seen to be the one whose header
// was read.
bool CPswLogos::WritePswSlot(const QString& path, const CHeaderPsw& header, qint64 position, const CBufferUC& block)
{
    QFile file(NativePath(path));
    QByteArray whole;
    if (file.open(QIODevice::ReadOnly))
        whole = file.readAll();
    file.close();
    // The file must still be the one whose header was read: another size or
    // another header would put the slot somewhere else.
    const CFileExpectation unchanged{header.GetFileSize(), header.GetRawHeader()};
    if (whole.size() != unchanged.size || !whole.startsWith(unchanged.head) || position + block.GetSize() > whole.size()) {
        m_messages.LogLine(
            QStringLiteral("[CGlyphaneDoc::SaveLogoToPsw()] %1 not written: it changed since its header was read").arg(path));
        PswMessage(FormatResString(61523, path), LoadString(1035), MB_ICONSTOP);
        return false;
    }
    const QByteArray bytes(reinterpret_cast<const char*>(block.GetpBuf()), block.GetSize());
    whole.replace(position, bytes.size(), bytes);
    const CSaveOutcome saved = SaveFile(NativePath(path), {whole}, [&](QString* error, WriteFailure* failure) {
        return WriteBytesInPlace(NativePath(path), position, bytes, unchanged, error, failure);
    });
    m_messages.LogSave(QStringLiteral("SaveLogoToPsw"), path, saved);
    if (saved.ok)
        return true;
    if (saved.failure == WriteFailure::NoRoom)
        PswMessage(FormatResString(61551, path), LoadString(1035), MB_ICONSTOP);
    else
        PswMessage(FormatResString(61523, path), LoadString(1035), MB_ICONSTOP);
    return false;
}
