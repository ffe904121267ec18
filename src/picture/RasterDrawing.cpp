// Pictures of pixels: BMP through the logo file's own checked decoder, every
// other format through Qt's image readers. The size comes from the header;
// a JPEG much larger than it is drawn is decoded at a half, a quarter or an
// eighth of its size (the decoder leaves out the finer frequencies).
#include "picture/PictureDrawing.h"

#include "document/BmpFile.h"
#include "picture/LargePages.h"
#include "picture/PictureIntegrity.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>

namespace picture {

namespace {

// The reader's own allocation bound in MiB: the largest decoded picture at
// four bytes a pixel, and a little.
constexpr int kAllocationLimitMiB = static_cast<int>(kMaxDecodedPixels * 4 / (1024 * 1024)) + 16;

QString Upper(const QByteArray& format)
{
    return QString::fromLatin1(format).toUpper();
}

int CeilDiv(int a, int b)
{
    return (a + b - 1) / b;
}

QString Damaged(const QByteArray& format)
{
    return QStringLiteral("the %1 picture is damaged or cut short").arg(Upper(format));
}

QString TooManyPixels(QSize size)
{
    return QStringLiteral("%1 x %2 pixels is more than the %3 million pixels a picture may have")
        .arg(size.width())
        .arg(size.height())
        .arg(kMaxDecodedPixels / (1024 * 1024));
}

class CRasterDrawing : public CPictureDrawing {
public:
    CRasterDrawing(const QByteArray& bytes, const QByteArray& format, QSize stored, bool turned)
        : m_bytes(bytes), m_format(format), m_stored(stored), m_turned(turned)
    {
    }
    CRasterDrawing(const QImage& image, const QString& formatName)
        : m_formatName(formatName), m_stored(image.size()), m_decoded(image), m_decodedWhole(true)
    {
    }

    QString FormatName() const override { return m_formatName.isEmpty() ? Upper(m_format) : m_formatName; }
    bool IsVector() const override { return false; }
    QSize NaturalSize(int) const override { return m_turned ? m_stored.transposed() : m_stored; }

    QImage Draw(int, const CFitPlan& plan, QString* why) override
    {
        const QImage decoded = DecodedFor(plan.drawn, why);
        if (decoded.isNull())
            return QImage();
        if (decoded.size() == plan.drawn)
            return plan.visible == decoded.rect() ? decoded : decoded.copy(plan.visible);
        // The visible part in decoded pixels, scaled on its own: a picture
        // cut by the area is never scaled whole.
        const double kx = double(decoded.width()) / plan.drawn.width();
        const double ky = double(decoded.height()) / plan.drawn.height();
        const QRect source = QRectF(plan.visible.x() * kx, plan.visible.y() * ky, plan.visible.width() * kx,
                                    plan.visible.height() * ky)
                                 .toAlignedRect()
                             & decoded.rect();
        const QImage part = source == decoded.rect() ? decoded : decoded.copy(source);
        return part.scaled(plan.visible.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }

private:
    // The stored size a JPEG is decoded at to be drawn at `drawn`: the
    // smallest of its reductions that is not smaller than that; invalid for
    // the whole picture.
    QSize ReducedSizeFor(QSize drawn) const
    {
        if (m_format != "jpeg")
            return QSize();
        for (const int factor : {8, 4, 2}) {
            const QSize reduced(CeilDiv(m_stored.width(), factor), CeilDiv(m_stored.height(), factor));
            const QSize shown = m_turned ? reduced.transposed() : reduced;
            if (shown.width() >= drawn.width() && shown.height() >= drawn.height())
                return reduced;
        }
        return QSize();
    }

    QImage DecodedFor(QSize drawn, QString* why)
    {
        if (!m_decoded.isNull()
            && (m_decodedWhole || (m_decoded.width() >= drawn.width() && m_decoded.height() >= drawn.height())))
            return m_decoded;
        const QSize reduced = ReducedSizeFor(drawn);
        const QSize decodedSize = reduced.isValid() ? reduced : m_stored;
        if (qint64(decodedSize.width()) * decodedSize.height() > kMaxDecodedPixels) {
            *why = TooManyPixels(m_stored);
            return QImage();
        }
        QByteArray bytes = m_bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, m_format);
        reader.setAutoTransform(true);
        reader.setAllocationLimit(kAllocationLimitMiB);
        if (reduced.isValid())
            reader.setScaledSize(reduced);
        // Decoded into pixels laid out in large pages: the reader keeps an
        // image of the size and format it would make.
        QImage image;
        if (const QImage::Format format = reader.imageFormat(); format != QImage::Format_Invalid)
            image = LargeImage(decodedSize, format);
        if (!reader.read(&image) || image.isNull()) {
            *why = Damaged(m_format);
            return QImage();
        }
        m_decoded = image;
        m_decodedWhole = !reduced.isValid();
        return m_decoded;
    }

    QByteArray m_bytes;
    QByteArray m_format;
    QString m_formatName;
    QSize m_stored;      // as the file stores it
    bool m_turned = false; // turned a quarter on decoding (an orientation tag)
    QImage m_decoded;
    bool m_decodedWhole = false;
};

std::unique_ptr<CPictureDrawing> OpenBmp(const QByteArray& bytes, QString* why, bool* tooLarge)
{
    const QImage image = bmpfile::DecodeBmp(bytes, false, why, tooLarge);
    if (image.isNull())
        return nullptr;
    return std::make_unique<CRasterDrawing>(image, QStringLiteral("BMP"));
}

} // namespace

std::unique_ptr<CPictureDrawing> RasterOf(const QImage& image)
{
    return std::make_unique<CRasterDrawing>(image, QStringLiteral("BMP"));
}

std::unique_ptr<CPictureDrawing> OpenRaster(const QByteArray& bytes, QString* why, bool* tooLarge)
{
    if (bytes.startsWith("BM"))
        return OpenBmp(bytes, why, tooLarge);
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (format.isEmpty()) {
        why->clear(); // no reader knows these bytes; the caller names the format
        return nullptr;
    }
    if ((format == "png" && !PngComplete(bytes)) || (format == "jpeg" && !JpegComplete(bytes))
        || (format == "gif" && !GifFirstFrameComplete(bytes))) {
        *why = QStringLiteral("the file is cut short");
        return nullptr;
    }
    const QSize stored = reader.size();
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    if (!stored.isValid()) {
        *why = Damaged(format);
        return nullptr;
    }
    if (stored.width() > kMaxPictureSide || stored.height() > kMaxPictureSide) {
        *tooLarge = true;
        *why = QStringLiteral("%1 x %2 pixels is larger than %3 pixels a side")
                   .arg(stored.width())
                   .arg(stored.height())
                   .arg(kMaxPictureSide);
        return nullptr;
    }
    // The fewest pixels it can be decoded into: an eighth a side for a JPEG.
    const int reduction = format == "jpeg" ? 8 : 1;
    if (qint64(CeilDiv(stored.width(), reduction)) * CeilDiv(stored.height(), reduction) > kMaxDecodedPixels) {
        *tooLarge = true;
        *why = TooManyPixels(stored);
        return nullptr;
    }
    return std::make_unique<CRasterDrawing>(bytes, format, stored, turned);
}

} // namespace picture
