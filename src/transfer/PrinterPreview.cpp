#include "transfer/PrinterPreview.h"


namespace {

constexpr int kBmpHeaderSize = 62;

int Le32(const BYTE* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (p[3] << 24);
}

bool BitSet(const BYTE* row, int x)
{
    return (row[x / 8] >> (7 - x % 8)) & 1;
}

QImage BlankDots(int width, int height)
{
    QImage dots(width, height, QImage::Format_RGB32);
    dots.fill(Qt::white);
    return dots;
}

} // namespace

QImage PrintedDots(const CPortStream& stream, int dotX, int dotY)
{
    const BYTE* data = stream.bytes.GetpBuf();
    const int length = stream.length;
    const int commandLength = stream.commandLength;
    if (stream.bitmap) {
        if (length < commandLength + kBmpHeaderSize)
            return {};
        const BYTE* header = data + commandLength;
        const int width = Le32(header + 18), height = Le32(header + 22);
        const int rowBytes = width / 8;
        if (header[0] != 'B' || header[1] != 'M' || width <= 0 || height <= 0
            || length - commandLength - kBmpHeaderSize < static_cast<qint64>(rowBytes) * height)
            return {};
        QImage dots = BlankDots(width, height);
        const BYTE* rows = header + kBmpHeaderSize;
        for (int y = 0; y < height; ++y) {
            const BYTE* row = rows + static_cast<qint64>(height - 1 - y) * rowBytes;
            for (int x = 0; x < rowBytes * 8; ++x)
                if (!BitSet(row, x))
                    dots.setPixel(x, y, qRgb(0, 0, 0));
        }
        return dots;
    }
    const int rowBytes = dotX / 8;
    if (dotX <= 0 || dotY <= 0 || length - commandLength < static_cast<qint64>(rowBytes) * dotY)
        return {};
    QImage dots = BlankDots(dotX, dotY);
    for (int y = 0; y < dotY; ++y) {
        const BYTE* row = data + commandLength + static_cast<qint64>(y) * rowBytes;
        for (int x = 0; x < rowBytes * 8; ++x)
            if (BitSet(row, x))
                dots.setPixel(x, y, qRgb(0, 0, 0));
    }
    return dots;
}

QImage PreviewDots(const CTransferRequest& request, const FrameMayCoverLogo& mayCoverLogo, QString* why)
{
    CPortStream stream;
    if (!BuildPortStream(request, mayCoverLogo, &stream, why))
        return {};
    QImage dots = PrintedDots(stream, request.dotX, request.dotY);
    if (dots.isNull())
        *why = QStringLiteral("the stream is shorter than the logo it announces");
    return dots;
}
