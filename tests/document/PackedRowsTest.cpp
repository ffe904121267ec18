// A 1-bit file kept at one bit a pixel (as the command-line tool opens it):
// every operation on the packed rows must give what the same operation gives
// on the file's 32-bit pixels, whatever the palette, the row order, the width
// and the padding bits the other program left.
#include "document/BmpFile.h"
#include "document/GlyphaneDoc.h"
#include "document/RasterOps.h"
#include "support/OneBitBmp.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

// A 1-bit file of random rows, padding bits included, with the given palette
// (blue, green, red bytes as stored: entries are written as QRgb values).
QByteArray RandomOneBitFile(int width, int height, QRgb zero, QRgb one, bool topDown, unsigned seed)
{
    QByteArray file = onebit::Header(width, height);
    auto* p = reinterpret_cast<uchar*>(file.data());
    if (topDown)
        qToLittleEndian<qint32>(-height, p + 22);
    qToLittleEndian<quint32>(zero & 0xFFFFFF, p + 54);
    qToLittleEndian<quint32>(one & 0xFFFFFF, p + 58);
    std::mt19937 random(seed);
    for (int i = 0; i < onebit::StoredRowBytes(width) * height; ++i)
        file.append(static_cast<char>(random() & 0xFF));
    return file;
}

struct Opened {
    testenv::ScriptedUi ui;
    CGlyphaneDoc doc{testenv::DocEnvironment()};
    Opened(const QString& path, bool packed)
    {
        doc.Picture().SetKeepOneBitPacked(packed);
        EXPECT_TRUE(doc.OnOpenDocument(path));
    }
    const QImage& image() const { return *doc.Picture().GetLogoBitmap(); }
};

using Operation = std::function<void(CGlyphaneDoc&)>;

} // namespace

TEST(PackedRowsTest, PackedRowsGiveWhatThePixelsGive)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("logo.bmp"));
    struct Palette {
        QRgb zero, one;
    };
    // Black-white, turned round, both dark, both light, colours either side of the dot rule.
    const Palette palettes[] = {{0x000000, 0xFFFFFF}, {0xFFFFFF, 0x000000}, {0x101010, 0x7F7F7F},
                                {0xFFFFFF, 0x808080}, {0x0000FF, 0xFF0000}};
    const std::pair<const char*, Operation> operations[] = {
        {"none", [](CGlyphaneDoc&) {}},
        {"invert", [](CGlyphaneDoc& d) { d.InvertAllPixels(d.Picture().GetLogoWidth(), d.Picture().GetLogoHeight()); }},
        {"flip-h", [](CGlyphaneDoc& d) { d.FlipPixelsHorizontal(d.Picture().GetLogoWidth(), d.Picture().GetLogoHeight()); }},
        {"flip-v", [](CGlyphaneDoc& d) { d.FlipPixelsVertical(d.Picture().GetLogoWidth(), d.Picture().GetLogoHeight()); }},
        {"all three",
         [](CGlyphaneDoc& d) {
             d.FlipPixelsHorizontal(d.Picture().GetLogoWidth(), d.Picture().GetLogoHeight());
             d.InvertAllPixels(d.Picture().GetLogoWidth(), d.Picture().GetLogoHeight());
             d.FlipPixelsVertical(d.Picture().GetLogoWidth(), d.Picture().GetLogoHeight());
         }},
        {"part of the width", [](CGlyphaneDoc& d) { d.FlipPixelsHorizontal(d.Picture().GetLogoWidth() - 1, d.Picture().GetLogoHeight()); }},
    };
    unsigned seed = 1;
    for (const int width : {1, 7, 8, 9, 31, 33, 100})
        for (const int height : {1, 6})
            for (const Palette& palette : palettes)
                for (const bool topDown : {false, true}) {
                    const QByteArray file = RandomOneBitFile(width, height, palette.zero, palette.one, topDown, seed++);
                    {
                        QFile out(path);
                        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
                        out.write(file);
                    }
                    for (const auto& [name, operation] : operations) {
                        SCOPED_TRACE(QStringLiteral("%1 x %2, palette %3/%4, %5, %6")
                                         .arg(width)
                                         .arg(height)
                                         .arg(palette.zero, 6, 16, QLatin1Char('0'))
                                         .arg(palette.one, 6, 16, QLatin1Char('0'))
                                         .arg(topDown ? "top-down" : "bottom-up", name)
                                         .toStdString());
                        Opened pixels(path, false), packed(path, true);
                        ASSERT_EQ(packed.image().format(), QImage::Format_Mono);
                        ASSERT_EQ(pixels.image().format(), QImage::Format_RGB32);
                        operation(pixels.doc);
                        operation(packed.doc);
                        EXPECT_EQ(packed.image().convertToFormat(QImage::Format_RGB32), pixels.image());
                        EXPECT_EQ(bmpfile::PackRowsBottomUp(packed.image(), width, height),
                                  bmpfile::PackRowsBottomUp(pixels.image(), width, height));
                        // Wider and taller than the picture: the dots outside are white.
                        for (const QSize size : {QSize(width, height), QSize(width + 13, height + 2), QSize(width / 2, 1)})
                            EXPECT_EQ(rasterops::PackRows(packed.image(), size.width(), size.height()),
                                      rasterops::PackRows(pixels.image(), size.width(), size.height()))
                                << size.width() << " x " << size.height();
                    }
                }
}

TEST(PackedRowsTest, PackedLogoIsSavedAsItsPixelsAre)
{
    QTemporaryDir folder;
    const QString in = folder.filePath(QStringLiteral("in.bmp"));
    {
        QFile out(in);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(RandomOneBitFile(45, 17, 0xFFFFFF, 0x000000, false, 99));
    }
    Opened pixels(in, false), packed(in, true);
    pixels.doc.InvertAllPixels(45, 17);
    packed.doc.InvertAllPixels(45, 17);
    ASSERT_TRUE(pixels.doc.WriteBitmapFile(folder.filePath(QStringLiteral("pixels.bmp"))));
    ASSERT_TRUE(packed.doc.WriteBitmapFile(folder.filePath(QStringLiteral("packed.bmp"))));
    QFile a(folder.filePath(QStringLiteral("pixels.bmp"))), b(folder.filePath(QStringLiteral("packed.bmp")));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    const QByteArray saved = a.readAll();
    EXPECT_EQ(saved.size(), 62 + 8 * 17);
    EXPECT_EQ(b.readAll(), saved);
}
