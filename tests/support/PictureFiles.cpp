#include "support/PictureFiles.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QtEndian>

#include <cstdio>
#include <jpeglib.h>
#include <vector>

namespace picturefiles {

namespace {

quint32 Crc32(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<uchar>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray BigEndian32(quint32 v)
{
    QByteArray out(4, '\0');
    qToBigEndian(v, out.data());
    return out;
}

QByteArray PngChunk(const QByteArray& type, const QByteArray& data)
{
    return BigEndian32(static_cast<quint32>(data.size())) + type + data + BigEndian32(Crc32(type + data));
}

// LZW codes of a GIF frame with two colours: three-bit codes, a clear code
// before every second pixel, so the code size never grows.
QByteArray GifImageData(const QImage& frame)
{
    QByteArray codes;
    quint32 bits = 0;
    int count = 0;
    auto put = [&](int code) {
        bits |= static_cast<quint32>(code) << count;
        count += 3;
        while (count >= 8) {
            codes.append(static_cast<char>(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    };
    int pixel = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x, ++pixel) {
            if (pixel % 2 == 0)
                put(4); // clear
            put(qGray(frame.pixel(x, y)) < 128 ? 0 : 1);
        }
    put(5); // end of information
    if (count > 0)
        codes.append(static_cast<char>(bits & 0xFF));
    QByteArray blocks(1, '\x02'); // minimum code size
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        blocks.append(static_cast<char>(block.size()));
        blocks.append(block);
    }
    blocks.append('\0');
    return blocks;
}

QByteArray Le16(int v)
{
    QByteArray out(2, '\0');
    qToLittleEndian<quint16>(static_cast<quint16>(v), out.data());
    return out;
}

} // namespace

QImage HalfBlack(QSize size, Half half, QImage::Format format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int middle = size.width() / 2;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if ((x < middle) == (half == Half::Left))
                image.setPixel(x, y, 0xFF000000u);
    return image.convertToFormat(format);
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool Save(const QImage& image, const QString& path, const char* format)
{
    QImageWriter writer(path, format);
    return writer.write(image);
}

QByteArray Gif(const QList<QImage>& frames)
{
    const QSize size = frames.isEmpty() ? QSize(1, 1) : frames.first().size();
    QByteArray gif("GIF89a");
    gif += Le16(size.width()) + Le16(size.height());
    gif += QByteArray("\x80\x00\x00", 3);                // a global palette of two entries
    gif += QByteArray("\x00\x00\x00\xFF\xFF\xFF", 6);    // black, white
    for (const QImage& frame : frames) {
        gif += QByteArray("\x21\xF9\x04\x00\x0A\x00\x00\x00", 8); // 100 ms, no transparency
        gif += QByteArray(1, '\x2C') + Le16(0) + Le16(0) + Le16(size.width()) + Le16(size.height()) + QByteArray(1, '\0');
        gif += GifImageData(frame);
    }
    gif += ';';
    return gif;
}

QByteArray HalfBlackSvg(QSize size, Half half, const QByteArray& extra)
{
    const int middle = size.width() / 2;
    const int x = half == Half::Left ? 0 : middle;
    return QStringLiteral("<?xml version=\"1.0\"?>\n"
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                          "width=\"%1\" height=\"%2\" viewBox=\"0 0 %1 %2\">\n"
                          "  <rect x=\"%3\" y=\"0\" width=\"%4\" height=\"%2\" fill=\"black\"/>\n")
               .arg(size.width())
               .arg(size.height())
               .arg(x)
               .arg(half == Half::Left ? middle : size.width() - middle)
               .toUtf8()
           + extra + "</svg>\n";
}

bool WritePdf(const QString& path, QSizeF points, const QList<Half>& halves)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(points, QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(72);
    QPainter painter(&writer);
    if (!painter.isActive())
        return false;
    const double middle = points.width() / 2;
    for (int page = 0; page < halves.size(); ++page) {
        if (page > 0)
            writer.newPage();
        const double x = halves[page] == Half::Left ? 0 : middle;
        painter.fillRect(QRectF(x, 0, points.width() - middle, points.height()), Qt::black);
    }
    return painter.end();
}

QByteArray PasswordPdf()
{
    QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 100] >>",
        // Owner and user entries that no empty password matches.
        "<< /Filter /Standard /V 1 /R 2 /P -44 "
        "/O <0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF> "
        "/U <FEDCBA9876543210FEDCBA9876543210FEDCBA9876543210FEDCBA9876543210> >>",
    };
    QByteArray pdf("%PDF-1.4\n");
    QList<qsizetype> offsets;
    for (int i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1)
           + " /Root 1 0 R /Encrypt 4 0 R /ID [<00112233445566778899AABBCCDDEEFF> <00112233445566778899AABBCCDDEEFF>] >>\n"
           + "startxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

namespace {

// libjpeg writing a file row by row; rows(y, buffer) fills one scanline.
template <typename Rows>
bool WriteJpeg(const QString& path, QSize size, int components, J_COLOR_SPACE space, Rows rows)
{
    FILE* out = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!out)
        return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = static_cast<JDIMENSION>(size.width());
    info.image_height = static_cast<JDIMENSION>(size.height());
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> line(static_cast<size_t>(size.width() * components));
    for (int y = 0; y < size.height(); ++y) {
        rows(y, line.data());
        JSAMPROW row = line.data();
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(out) == 0;
}

} // namespace

bool WriteCmykJpeg(const QString& path, QSize size)
{
    const int middle = size.width() / 2;
    // Inverted as Adobe writes it: 0 is full ink. Left: full black ink only.
    return WriteJpeg(path, size, 4, JCS_CMYK, [&](int, JSAMPLE* row) {
        for (int x = 0; x < size.width(); ++x) {
            JSAMPLE* p = row + 4 * x;
            p[0] = p[1] = p[2] = 255;
            p[3] = x < middle ? 0 : 255;
        }
    });
}

bool WriteLargeGreyJpeg(const QString& path, QSize size, int grey)
{
    return WriteJpeg(path, size, 1, JCS_GRAYSCALE, [&](int, JSAMPLE* row) {
        std::fill(row, row + size.width(), static_cast<JSAMPLE>(grey));
    });
}

QByteArray PngClaiming(QSize size)
{
    QByteArray header = BigEndian32(static_cast<quint32>(size.width())) + BigEndian32(static_cast<quint32>(size.height()));
    header += QByteArray("\x08\x02\x00\x00\x00", 5); // 8-bit RGB, no interlace
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header) + PngChunk("IDAT", QByteArray())
           + PngChunk("IEND", QByteArray());
}

double BlackShare(const QImage& logo, const QRect& rect)
{
    const QRect inside = rect & logo.rect();
    if (inside.isEmpty())
        return 0.0;
    qint64 black = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            black += (logo.pixel(x, y) & 0xFFFFFF) == 0 ? 1 : 0;
    return double(black) / (qint64(inside.width()) * inside.height());
}

bool LooksHalfBlack(const QImage& logo, Half half, int margin)
{
    const int middle = logo.width() / 2;
    const QRect left(margin, margin, middle - 2 * margin, logo.height() - 2 * margin);
    const QRect right(middle + margin, margin, logo.width() - middle - 2 * margin, logo.height() - 2 * margin);
    const QRect& black = half == Half::Left ? left : right;
    const QRect& white = half == Half::Left ? right : left;
    return BlackShare(logo, black) >= 0.95 && BlackShare(logo, white) <= 0.05;
}

} // namespace picturefiles
