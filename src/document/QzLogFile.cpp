#include "document/QzLogFile.h"

#include "document/DocEnvironment.h"
#include "document/DocMessages.h"
#include "document/LogoPicture.h"
#include "document/LogoRaster.h"

#include "platform/AtomicFile.h"
#include "platform/NativePath.h"
#include "platform/UiSeam.h"
#include "resources/StringTable.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kQzHeaderSize = 48;
constexpr int kDosNameLength = 12; // eight characters, the dot and three
constexpr int kNameAt = 18;
constexpr int kLengthAt = 31;

void PutText(CBufferUC& buffer, int at, const QByteArray& text)
{
    buffer.SetBytes(reinterpret_cast<const BYTE*>(text.constData()), static_cast<int>(text.size()), at);
}

} // namespace

CQzLogFile::CQzLogFile(const CDocEnvironment& env, const CDocMessages& messages, const CLogoPicture& picture,
                       const CLogoRaster& raster)
    : m_env(env)
    , m_messages(messages)
    , m_picture(picture)
    , m_raster(raster)
{
}

QString CQzLogFile::QzDosName(const QString& chosenName, UINT* messageId)
{
    const int n = static_cast<int>(chosenName.size());
    if (messageId)
        *messageId = 0;
    if (n == kDosNameLength)
        return chosenName;
    const QString base = chosenName.left(std::max(0, n - 4));
    if (n < kDosNameLength) {
        if (messageId)
            *messageId = 61519;
        return base.leftJustified(8, QLatin1Char('_')) + QStringLiteral(".log");
    }
    if (messageId)
        *messageId = 61518;
    return base.left(8) + QStringLiteral(".log");
}

void CQzLogFile::OnSaveQzLogFile()
{
    const QString folder = m_env.programFolder.isEmpty() ? QString() : NativePath(m_env.programFolder);
    const QString chosen = GetSaveFileName(WindowOf(m_env.messageOwner), QString(), folder,
                                           QStringLiteral("Log QZ files (*.log)|*.log|All Files (*.*)|*.*||"),
                                           QStringLiteral(".log"));
    if (chosen.isEmpty())
        return;
    const QFileInfo info(chosen);
    if (!(m_env.customer & 1) || info.suffix().toLower() != QLatin1String("log"))
        return;
    UINT messageId = 0;
    const QString name = QzDosName(info.fileName(), &messageId);
    if (messageId != 0)
        m_messages.ShowMessage(FormatResString(messageId, info.fileName(), name), 61446, MB_OK | MB_ICONSTOP);
    SaveQzLogFile(QDir(info.path()).filePath(name), name);
}

bool CQzLogFile::SaveQzLogFile(const QString& path, const QString& name)
{
    if (m_nQzHeaderSize == 0) {
        // The size is recorded first, so a failed allocation is not retried.
        m_nQzHeaderSize = kQzHeaderSize;
        if (!m_qzHeader.InitANewBufferSize(kQzHeaderSize, 0)) {
            m_messages.ShowMessage(LoadString(61520), 61446, MB_OK | MB_ICONSTOP);
            return false;
        }
    }
    const QImage* bitmap = m_picture.GetLogoBitmap();
    if (!bitmap || m_qzHeader.GetSize() != kQzHeaderSize)
        return false;
    CBufferUC buffer = m_qzHeader + ~m_raster.BuildPrintRaster(*bitmap);
    if (!FillQzHeader(buffer, name, buffer.GetSize()))
        return false; // nothing is written, so an older file stays as it was
    WORD checksum = 0;
    QzChecksum(buffer, &checksum);
    const BYTE tail[2] = {static_cast<BYTE>(checksum & 0xFF), static_cast<BYTE>(checksum >> 8)};
    buffer += CBufferUC(tail, 2);
    const QByteArray bytes(reinterpret_cast<const char*>(buffer.GetpBuf()), buffer.GetSize());
    const bool existed = QFileInfo::exists(NativePath(path));
    const CSaveOutcome saved = SaveFile(NativePath(path), {bytes});
    m_messages.LogSave(QStringLiteral("SaveQzLogFile"), path, saved);
    if (!saved.ok) {
        m_messages.ReportSaveFailure(path, saved, existed);
        return false;
    }
    return true;
}

bool CQzLogFile::FillQzHeader(CBufferUC& buffer, const QString& name, int length)
{
    if (buffer.GetSize() < kQzHeaderSize)
        return false;
    PutText(buffer, 0, QByteArray("$MOD$\0", 6));
    PutText(buffer, 6, QDate::currentDate().toString(QStringLiteral("yyMMdd")).toLatin1());
    unsigned release = 0, version = 0;
    if (!m_env.askQzHeader || !m_env.askQzHeader(m_env.messageOwner, &release, &version))
        return false;
    PutText(buffer, 13, FormatPrintf(QStringLiteral("%02d%02d"), {release, version}).toLatin1().left(4));
    // Only the 8.3 name's twelve bytes fit between the version and byte 30.
    PutText(buffer, kNameAt, name.toUpper().toLatin1().left(kDosNameLength));
    buffer.SetByte(0, 30);
    const DWORD total = static_cast<DWORD>(length) + 2;
    for (int i = 0; i < 3; ++i)
        buffer.SetByte(static_cast<BYTE>(total >> (8 * i)), kLengthAt + i);
    return true;
}

bool CQzLogFile::QzChecksum(const CBufferUC& buffer, WORD* sum)
{
    WORD total = 0;
    const BYTE* bytes = buffer.GetpBuf();
    for (int k = 0; k < buffer.GetSize(); ++k)
        total = static_cast<WORD>(total + ((k % 2 == 0) ? bytes[k] : bytes[k] * 256));
    if (sum)
        *sum = static_cast<WORD>(0 - total);
    return true;
}
