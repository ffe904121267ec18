#include "picture/Picture.h"

#include "picture/LargePages.h"
#include "picture/PictureDrawing.h"
#include "platform/NativePath.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

namespace picture {

namespace {

// A file larger than this is no logo artwork; it is refused before it is read.
constexpr qint64 kMaxFileBytes = qint64(512) * 1024 * 1024;

bool IsPdf(const QByteArray& bytes)
{
    // The PDF header may follow up to 1024 bytes of anything.
    return bytes.left(1024).contains("%PDF-");
}

// Text that starts as XML does, naming an <svg> element early on, or a file
// named *.svg: an SVG drawing (or a broken one, which then says why).
bool LooksLikeSvg(const QByteArray& bytes, const QString& suffix)
{
    qsizetype at = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (at < bytes.size() && QChar::isSpace(static_cast<uchar>(bytes.at(at))))
        ++at;
    if (at >= bytes.size() || bytes.at(at) != '<')
        return false;
    return suffix == QLatin1String("svg") || bytes.left(4096).contains("<svg");
}

// Pictures of formats that no reader here takes, told by their first bytes
// or, failing that, by the file's suffix; empty for anything else.
QString UnreadableFormatOf(const QByteArray& bytes, const QString& suffix)
{
    const QByteArray brand = bytes.mid(4, 4) == "ftyp" ? bytes.mid(8, 4) : QByteArray();
    if (brand == "heic" || brand == "heix" || brand == "mif1" || brand == "msf1" || brand == "hevc")
        return QStringLiteral("HEIC");
    if (brand == "avif" || brand == "avis")
        return QStringLiteral("AVIF");
    if (bytes.startsWith("8BPS"))
        return QStringLiteral("Photoshop (PSD)");
    if (bytes.startsWith("\xFF\x0A") || bytes.startsWith(QByteArray("\0\0\0\x0CJXL ", 8)))
        return QStringLiteral("JPEG XL");
    if (bytes.startsWith(QByteArray("\0\0\0\x0CjP  ", 8)))
        return QStringLiteral("JPEG 2000");
    if (bytes.startsWith("%!PS"))
        return QStringLiteral("PostScript");
    if (bytes.startsWith("gimp xcf"))
        return QStringLiteral("GIMP (XCF)");
    if (bytes.startsWith("\x1F\x8B") && suffix == QLatin1String("svgz"))
        return QStringLiteral("compressed SVG (SVGZ)");
    static const QStringList kPictureSuffixes = {
        QStringLiteral("heic"), QStringLiteral("heif"), QStringLiteral("avif"), QStringLiteral("psd"),
        QStringLiteral("jxl"),  QStringLiteral("jp2"),  QStringLiteral("eps"),  QStringLiteral("ai"),
        QStringLiteral("xcf"),  QStringLiteral("cdr"),  QStringLiteral("emf"),  QStringLiteral("wmf"),
        QStringLiteral("raw"),  QStringLiteral("dng"),  QStringLiteral("cr2"),  QStringLiteral("nef"),
        QStringLiteral("svgz"),
    };
    if (kPictureSuffixes.contains(suffix))
        return suffix.toUpper();
    return QString();
}

QString UnrecognisedReason(const QByteArray& bytes, const QString& suffix)
{
    const QString format = UnreadableFormatOf(bytes, suffix);
    if (format.isEmpty())
        return QStringLiteral("it isn't a picture");
    return QStringLiteral("it is a %1 picture, a format that cannot be read here "
                          "(PNG, JPEG, GIF, TIFF, WebP, BMP, SVG and PDF can)")
        .arg(format);
}

QString Failure(const QString& path, const QString& why, bool tooLarge)
{
    return tooLarge ? QStringLiteral("%1 is too large to open: %2").arg(path, why)
                    : QStringLiteral("%1 cannot be opened: %2").arg(path, why);
}

} // namespace

QString PictureFailure(const QString& path, const QString& why)
{
    return Failure(path, why, false);
}

bool DrawnSizeRefused(const CFitPlan& plan, QString* why)
{
    const QSize drawn = plan.drawn;
    if (drawn.width() <= kMaxPictureSide && drawn.height() <= kMaxPictureSide
        && qint64(drawn.width()) * drawn.height() <= kMaxDecodedPixels)
        return false;
    *why = QStringLiteral("drawn at %1 x %2 dots it would be larger than a picture may be")
               .arg(drawn.width())
               .arg(drawn.height());
    return true;
}

CPicture::CPicture(std::shared_ptr<CPictureDrawing> drawing, const QString& name, const QString& source)
    : m_drawing(std::move(drawing)), m_name(name), m_source(source)
{
}

CPicture CPicture::FromImage(const QImage& image, const QString& name)
{
    return CPicture(RasterOf(image), name);
}

QString CPicture::FormatName() const
{
    return m_drawing->FormatName();
}

bool CPicture::IsVector() const
{
    return m_drawing->IsVector();
}

int CPicture::PageCount() const
{
    return m_drawing->PageCount();
}

QSize CPicture::NaturalSize(int page) const
{
    return m_drawing->NaturalSize(std::clamp(page, 1, PageCount()));
}

QImage CPicture::Draw(int page, const CFitPlan& plan, QString* why) const
{
    return m_drawing->Draw(page, plan, why);
}

std::optional<CPicture> OpenPicture(const QString& path, QString* message)
{
    const QFileInfo info(path);
    QFile file(NativePath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        *message = Failure(path, info.exists() ? QStringLiteral("it cannot be read") : QStringLiteral("no such file"), false);
        return std::nullopt;
    }
    if (file.size() > kMaxFileBytes) {
        *message = Failure(path, QStringLiteral("the file is larger than %1 MiB").arg(kMaxFileBytes / (1024 * 1024)), true);
        return std::nullopt;
    }
    // Read once: what is checked is what is decoded, whatever happens to the file meanwhile.
    QByteArray bytes(file.size(), Qt::Uninitialized);
    PreferLargePages(bytes.data(), bytes.size());
    bytes.resize(std::max<qint64>(0, file.read(bytes.data(), bytes.size())));
    if (bytes.isEmpty()) {
        *message = Failure(path, QStringLiteral("the file is empty"), false);
        return std::nullopt;
    }
    const QString suffix = info.suffix().toLower();
    QString why;
    bool tooLarge = false;
    std::unique_ptr<CPictureDrawing> drawing;
    if (IsPdf(bytes))
        drawing = OpenPdf(bytes, &why);
    else if (LooksLikeSvg(bytes, suffix))
        drawing = OpenSvg(bytes, &why, &tooLarge);
    else
        drawing = OpenRaster(bytes, &why, &tooLarge);
    if (!drawing) {
        *message = Failure(path, why.isEmpty() ? UnrecognisedReason(bytes, suffix) : why, tooLarge);
        return std::nullopt;
    }
    return CPicture(std::move(drawing), info.fileName(), path);
}

bool LooksLikeBmp(const QString& path)
{
    QFile file(NativePath(path));
    return file.open(QIODevice::ReadOnly) && file.read(2) == "BM";
}

QString PictureFileFilter()
{
    // The common formats first, then whatever else the image readers here take.
    QStringList suffixes = {QStringLiteral("png"), QStringLiteral("jpg"),  QStringLiteral("jpeg"),
                            QStringLiteral("gif"), QStringLiteral("tif"),  QStringLiteral("tiff"),
                            QStringLiteral("webp"), QStringLiteral("bmp"), QStringLiteral("svg"),
                            QStringLiteral("pdf")};
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        const QString suffix = QString::fromLatin1(format).toLower();
        if (!suffixes.contains(suffix) && suffix != QLatin1String("svgz"))
            suffixes << suffix;
    }
    QStringList patterns;
    for (const QString& suffix : suffixes)
        patterns << QStringLiteral("*.") + suffix;
    const QString list = patterns.join(u';');
    return QStringLiteral("Pictures (%1)|%1|").arg(list);
}

} // namespace picture
