// The logo document's BMP file: opening any BMP the image reader accepts,
// saving a 1-bit BMP built from the header template and the logo's rows.
#include "document/GlyphaneDoc.h"

#include "components/LogFile.h"
#include "document/BmpFile.h"
#include "platform/AtomicFile.h"
#include "platform/NativePath.h"
#include "platform/UiSeam.h"
#include "resources/StringTable.h"

#include <QCursor>
#include <QGuiApplication>
#include <QFile>
#include <QFileInfo>

namespace {

// Shows the wait cursor for the lifetime of the object.
class CWaitCursor {
public:
    CWaitCursor()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~CWaitCursor()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::restoreOverrideCursor();
    }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

QByteArray ToByteArray(const CBufferUC& buffer)
{
    return QByteArray(reinterpret_cast<const char*>(buffer.GetpBuf()), buffer.GetSize());
}

} // namespace

bool CGlyphaneDoc::LoadHeaderTemplate(const QString& path)
{
    QFile file(NativePath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        ReportError(61448, 61446, path);
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

void CGlyphaneDoc::PatchHeaderForLogo()
{
    QByteArray header = ToByteArray(m_headerBuffer);
    if (header.size() < bmpfile::kTemplateSize)
        return; // too short to hold the fields; the save path replaces it
    bmpfile::PatchHeader(header, m_nLogoWidth, m_nLogoHeight);
    m_headerBuffer.SetBytes(reinterpret_cast<const BYTE*>(header.constData()), header.size(), 0);
}

bool CGlyphaneDoc::ReadBitmapHeader(const QString& path)
{
    QFile file(NativePath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        ReportError(61448, 61446, path);
        return false;
    }
    return TakeBitmapHeader(file.read(255));
}

bool CGlyphaneDoc::TakeBitmapHeader(const QByteArray& file)
{
    if (file.size() < 14)
        return false;
    const int length = static_cast<BYTE>(file.at(10)); // only the low byte is the header length
    if (file.size() < length || !m_headerBuffer.InitANewBufferSize(length, 0))
        return false;
    m_headerBuffer.SetBytes(reinterpret_cast<const BYTE*>(file.constData()), length, 0);
    return true;
}

int CGlyphaneDoc::ReadBitmapInfo(const QString& path, int* width, int* height)
{
    QFile file(NativePath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        ReportError(61448, 61446, path);
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

bool CGlyphaneDoc::OnOpenDocument(const QString& path)
{
    m_binding.SetWgj33(1); // a file carries no printer: Connect asks whether it is a WGJ33
    if (path.toUpper().contains(QStringLiteral("GLYPHANEPRN"))) {
        InitNewLogo();
        return false;
    }
    DeleteContents();
    SetModifiedFlag(false);
    m_strOpenFailure.clear();
    // The file is read once and the header, the bit count and the image all
    // come from that one copy, so a file changed while it is opened is seen
    // either whole or refused, never half of each.
    // One failure, one box: the one that says what is wrong with the file.
    QFile file(NativePath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        ReportNotABmp(path);
        return false;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    if (!TakeBitmapHeader(bytes)) {
        ReportNotABmp(path);
        return false;
    }
    const int bitCount = bmpfile::ReadInfo(bytes).bitCount & 0xFF;

    QString why;
    bool tooLarge = false;
    const QImage image = bmpfile::DecodeBmp(bytes, bitCount == 1, &why, &tooLarge, m_bKeepOneBitPacked);
    if (image.isNull()) {
        if (tooLarge)
            ReportTooLarge(path, why);
        else
            ReportNotABmp(path);
        return false;
    }
    m_binding.SetMonochrome((bitCount == 1) ? 1 : 0);
    if (image.format() == QImage::Format_Mono)
        m_bitmap = image; // kept packed, as asked
    else
        AttachLogoBitmap(image);
    ResetAfterLoad();
    // The decoded image is upright whatever the row order of the file, so its
    // size is the logo's size (a top-down file stores a negative height).
    m_nLogoHeight = image.height();
    m_nLogoWidth = image.width();
    return true;
}

void CGlyphaneDoc::ReportBadTemplate(const QString& path)
{
    const QString text = QStringLiteral("The BMP header template %1 isn't a 62-byte 1-bit BMP header "
                                        "(palette entry 0 black, entry 1 white)")
                             .arg(path);
    if (m_env.appLog)
        m_env.appLog->LogToFile(text, 0);
    ShowMessage(text, 61446, MB_OK | MB_ICONSTOP);
}

void CGlyphaneDoc::ReportNotABmp(const QString& path)
{
    m_strOpenFailure = QStringLiteral("%1 isn't a regular BMP file").arg(path);
    ShowMessage(m_strOpenFailure, 61446, MB_OK);
}

void CGlyphaneDoc::ReportTooLarge(const QString& path, const QString& why)
{
    m_strOpenFailure = QStringLiteral("%1 is too large to open: %2").arg(path, why);
    ShowMessage(m_strOpenFailure, 61446, MB_OK | MB_ICONSTOP);
}

bool CGlyphaneDoc::DoSave(const QString& path, bool /*replace*/)
{
    if (!GetLogoBitmap())
        return false;
    QString target = path;
    QString fileName = QFileInfo(path).fileName();
    if (target.isEmpty()) {
        const QString folder = !m_strSuggestedFile.isEmpty() ? m_strSuggestedFile
                               : m_env.programFolder.isEmpty() ? QString()
                                                               : NativePath(m_env.programFolder);
        target = GetSaveFileName(WindowOf(m_env.messageOwner), QString(), folder,
                                 QStringLiteral("BMP files (*.bmp)|*.bmp|All Files (*.*)|*.*||"),
                                 QStringLiteral(".bmp"));
        if (target.isEmpty())
            return false;
        target = bmpfile::ShortenAtReservedCharacter(target);
        if (target.isEmpty())
            return false;
        fileName = QFileInfo(target).fileName();
    }
    CWaitCursor wait;
    // The file is written beside the target and renamed over it, so a failed
    // save leaves the previous file as it was; nothing needs deleting.
    return SaveLogoFile(target, fileName);
}

bool CGlyphaneDoc::SaveLogoFile(const QString& path, const QString& /*fileName*/)
{
    if (!GetLogoBitmap())
        return false;
    return WriteBitmapFile(path);
}

bool CGlyphaneDoc::WriteBitmapFile(const QString& path)
{
    QImage* bitmap = GetLogoBitmap();
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
    const CSaveOutcome saved =
        SaveFile(NativePath(path), {header, bmpfile::PackRowsBottomUp(*bitmap, m_nLogoWidth, m_nLogoHeight)});
    LogSave(QStringLiteral("WriteBitmapFile"), path, saved);
    if (!saved.ok) {
        ReportSaveFailure(path, saved, existed);
        return false;
    }
    m_binding.SetMonochrome(1);
    SetPathName(path);
    SetModifiedFlag(false);
    emit fileSaved(path);
    return true;
}

void CGlyphaneDoc::LogSave(const QString& operation, const QString& path, const CSaveOutcome& outcome) const
{
    if (!m_env.appLog)
        return;
    const QString way = outcome.way == SaveWay::InPlace
                            ? QStringLiteral("in place, as the folder takes no new file")
                            : QStringLiteral("as a new file beside it, renamed over it");
    const QString line = outcome.ok ? QStringLiteral("[CGlyphaneDoc::%1()] %2 written %3").arg(operation, path, way)
                                    : QStringLiteral("[CGlyphaneDoc::%1()] %2 not written %3: %4")
                                          .arg(operation, path, way, outcome.error);
    m_env.appLog->LogToFile(line, 0);
}

void CGlyphaneDoc::ReportSaveFailure(const QString& path, const CSaveOutcome& outcome, bool existed)
{
    if (outcome.failure == WriteFailure::NoRoom)
        ShowMessage(FormatResString(existed ? 61551 : 61552, path), 61446, MB_OK | MB_ICONSTOP);
    else
        ReportError(61448, 61446, path);
}
