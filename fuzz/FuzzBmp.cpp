// The BMP opener: the header checks and the decoding of a whole file in
// memory, as a document opens one, and the header inspection the command
// line runs on an open file. Any bytes must end in a picture that keeps the
// opener's promises or in a refusal that says why; never in a crash, a read
// outside the file or an unbounded allocation.
#include "FuzzSupport.h"

#include "document/BmpFile.h"

#include <QBuffer>
#include <QImage>

#include <cstdlib>

namespace {

// The opener takes pictures up to 16384 dots a side, which a run-length file
// of a few bytes can claim: decoding those is a gigabyte of memory per run
// and tells nothing the smaller ones do not. The fuzzer decodes pictures up
// to this many dots (every check of the header still runs on all of them).
constexpr qint64 kMaxDecodedDots = qint64(2048) * 2048;

void CheckDecoded(const QImage& image, bool monochrome, bool keepPacked, const QString& why)
{
    if (image.isNull()) {
        FUZZ_CHECK(!why.isEmpty());
        return;
    }
    FUZZ_CHECK(image.width() > 0 && image.height() > 0);
    FUZZ_CHECK(image.width() <= bmpfile::kMaxSide && image.height() <= bmpfile::kMaxSide);
    if (image.format() == QImage::Format_Mono) {
        FUZZ_CHECK(monochrome && keepPacked);
        FUZZ_CHECK(image.colorTable().size() == 2);
        FUZZ_CHECK(image.color(0) == 0xFF000000u && image.color(1) == 0xFFFFFFFFu);
        return;
    }
    FUZZ_CHECK(image.format() == QImage::Format_RGB32);
    if (!monochrome)
        return;
    // Pure black and white only, by the dot rule.
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            FUZZ_CHECK((row[x] & 0xFFFFFF) == 0 || (row[x] & 0xFFFFFF) == 0xFFFFFF);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::SilenceQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray file = fuzzsupport::Bytes(data, size);

    QBuffer device;
    device.setData(file);
    device.open(QIODevice::ReadOnly);
    bmpfile::CBmpInfo info;
    QString why;
    bool tooLarge = false;
    const bool inspected = bmpfile::InspectBmp(device, &info, &why, &tooLarge);
    FUZZ_CHECK(inspected || !why.isEmpty());
    FUZZ_CHECK(!tooLarge || !inspected);
    if (inspected) {
        FUZZ_CHECK(info.width > 0 && info.width <= bmpfile::kMaxSide);
        FUZZ_CHECK(info.height != 0 && std::abs(info.height) <= bmpfile::kMaxSide);
        if (qint64(info.width) * std::abs(info.height) > kMaxDecodedDots)
            return 0;
    }

    // The document decodes 1-bit files in black and white, packed when asked.
    const bool oneBit = (bmpfile::ReadInfo(file).bitCount & 0xFF) == 1;
    for (const bool keepPacked : {false, true}) {
        QString decodeWhy;
        bool decodeTooLarge = false;
        const QImage image = bmpfile::DecodeBmp(file, oneBit, &decodeWhy, &decodeTooLarge, keepPacked);
        CheckDecoded(image, oneBit, keepPacked, decodeWhy);
        // Whatever passes the full decoding passed the header inspection.
        FUZZ_CHECK(image.isNull() || inspected);
        if (!oneBit)
            break;
    }
    return 0;
}
