#include "document/LogoBmpFile.h"

#include "document/BmpFile.h"
#include "document/DocEnvironment.h"
#include "document/DocMessages.h"
#include "document/LogoPicture.h"
#include "platform/AtomicFile.h"
#include "platform/NativePath.h"
#include "platform/UiSeam.h"

#include <QFile>
#include <QFileInfo>

namespace {

QByteArray ToByteArray(const CBufferUC& buffer)
{
    return QByteArray(reinterpret_cast<const char*>(buffer.GetpBuf()), buffer.GetSize());
}

} // namespace

CLogoBmpFile::CLogoBmpFile(const CDocEnvironment& env, const CDocMessages& messages, const CLogoPicture& picture)
    : m_env(env)
    , m_messages(messages)
    , m_picture(picture)
{
}

bool CLogoBmpFile::LoadHeaderTemplate(const QString& path)
{
    QFile file(NativePath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        m_messages.ReportError(61448, 61446, path);
        return false;
    }
    const QByteArray bytes = file.read(bmpfile::kTemplateSize);
    if (!bmpfile::IsOneBitHeader(bytes)) {
        // A short or foreign template would give every saved logo a broken
        // header; the file is there, so the message says what is wrong with it.
        ReportBadTemplate(path);
        return false;
    }
    if (!m_headerBuffer.InitANewBufferSize(bmpfile::kTemplateSize, 0))
        return false;
    m_headerBuffer.SetBytes(reinterpret_cast<const BYTE*>(bytes.constData()), bmpfile::kTemplateSize, 0);
    return true;
}

bool CLogoBmpFile::ReloadHeaderTemplate()
{
    return LoadHeaderTemplate(m_env.HeaderTemplatePath());
}

void CLogoBmpFile::PatchHeaderForLogo()
{
    QByteArray header = ToByteArray(m_headerBuffer);
    if (header.size() < bmpfile::kTemplateSize)
        return; // too short to hold the fields; the save path replaces it
    bmpfile::PatchHeader(header, m_picture.GetLogoWidth(), m_picture.GetLogoHeight());
    m_headerBuffer.SetBytes(reinterpret_cast<const BYTE*>(header.constData()), header.size(), 0);
}

bool CLogoBmpFile::ReadBitmapHeader(const QString& path)
{
    QFile file(NativePath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        m_messages.ReportError(61448, 61446, path);
        return false;
    }
    return TakeBitmapHeader(file.read(255));
}

bool CLogoBmpFile::TakeBitmapHeader(const QByteArray& file)
{
    if (file.size() < 14)
        return false;
    const int length = static_cast<BYTE>(file.at(10)); // only the low byte is the header length
    if (file.size() < length || !m_headerBuffer.InitANewBufferSize(length, 0))
        return false;
    m_headerBuffer.SetBytes(reinterpret_cast<const BYTE*>(file.constData()), length, 0);
    return true;
}

int CLogoBmpFile::ReadBitmapInfo(const QString& path, int* width, int* height)
{
    QFile file(NativePath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        m_messages.ReportError(61448, 61446, path);
        return 0;
    }
    const QByteArray head = file.read(30);
    const bmpfile::CBmpInfo info = bmpfile::ReadInfo(head);
    if (width)
        *width = info.width;
    if (height)
        *height = info.height;
    return info.bitCount & 0xFF;
}

CLogoBmpFile::COpened CLogoBmpFile::Open(const QString& path, bool keepPacked, QString* failure)
{
    // One failure, one box: the one that says what is wrong with the file.
    QFile file(NativePath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        ReportNotABmp(path, failure);
        return {};
    }
    const QByteArray bytes = file.readAll();
    file.close();
    if (!TakeBitmapHeader(bytes)) {
        ReportNotABmp(path, failure);
        return {};
    }
    const int bitCount = bmpfile::ReadInfo(bytes).bitCount & 0xFF;

    QString why;
    bool tooLarge = false;
    const QImage image = bmpfile::DecodeBmp(bytes, bitCount == 1, &why, &tooLarge, keepPacked);
    if (image.isNull()) {
        if (tooLarge)
            ReportTooLarge(path, why, failure);
        else
            ReportNotABmp(path, failure);
        return {};
    }
    return {image, bitCount};
}

void CLogoBmpFile::ReportBadTemplate(const QString& path) const
{
    const QString text = QStringLiteral("The BMP header template %1 isn't a 62-byte 1-bit BMP header "
                                        "(palette entry 0 black, entry 1 white)")
                             .arg(path);
    m_messages.LogLine(text);
    m_messages.ShowMessage(text, 61446, MB_OK | MB_ICONSTOP);
}

void CLogoBmpFile::ReportNotABmp(const QString& path, QString* failure) const
{
    *failure = QStringLiteral("%1 isn't a regular BMP file").arg(path);
    m_messages.ShowMessage(*failure, 61446, MB_OK);
}

void CLogoBmpFile::ReportTooLarge(const QString& path, const QString& why, QString* failure) const
{
    *failure = QStringLiteral("%1 is too large to open: %2").arg(path, why);
    m_messages.ShowMessage(*failure, 61446, MB_OK | MB_ICONSTOP);
}

bool CLogoBmpFile::Write(const QString& path)
{
    const QImage* bitmap = m_picture.GetLogoBitmap();
    if (!bitmap)
        return false;
    // An opened file's header is kept only when it describes 1-bit rows the way
    // they are written (dark palette entry 0, light entry 1); otherwise the
    // template's header is used.
    QByteArray header = ToByteArray(m_headerBuffer);
    if (!bmpfile::IsOneBitHeader(header)) {
        if (!ReloadHeaderTemplate())
            return false;
    }
    PatchHeaderForLogo();
    header = ToByteArray(m_headerBuffer);

    const bool existed = QFileInfo::exists(NativePath(path));
    const CSaveOutcome saved = SaveFile(
        NativePath(path),
        {header, bmpfile::PackRowsBottomUp(*bitmap, m_picture.GetLogoWidth(), m_picture.GetLogoHeight())});
    m_messages.LogSave(QStringLiteral("WriteBitmapFile"), path, saved);
    if (!saved.ok) {
        m_messages.ReportSaveFailure(path, saved, existed);
        return false;
    }
    return true;
}

void CLogoBmpFile::BuildBitmapHeader(CBufferUC& out)
{
    // A header read from an opened file is replaced by the template on purpose:
    // the printers only take the plain 62-byte 1-bit header.
    ReloadHeaderTemplate();
    PatchHeaderForLogo();
    // The printers take the unpadded raster layout (rows of width / 8 bytes),
    // so the sizes are those of that layout; only saved files pad their rows.
    QByteArray header = ToByteArray(m_headerBuffer);
    bmpfile::PatchHeaderPrinterLayout(header, m_picture.GetLogoWidth(), m_picture.GetLogoHeight());
    out = CBufferUC(reinterpret_cast<const BYTE*>(header.constData()), static_cast<int>(header.size()));
}
