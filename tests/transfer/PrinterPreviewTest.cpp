// The printer preview read from small streams whose dots are written out by
// hand: the plain models' complemented raster, Reverse Color, the bitmap
// models' bottom-up image, a stream cut short; and the paper strip around it.
#include "components/BufferUC.h"
#include "dialogs/PrinterPreviewDlg.h"
#include "support/TestEnv.h"
#include "transfer/PrinterPreview.h"

#include <QCoreApplication>
#include <QFile>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <cmath>

#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

// A 16 x 2 logo on a 16 x 2 printer: row 0 black on its left half, row 1
// black on every even dot.
QImage SmallLogo()
{
    QImage image(16, 2, QImage::Format_RGB32);
    for (int x = 0; x < 16; ++x) {
        image.setPixel(x, 0, x < 8 ? 0xFF000000 : 0xFFFFFFFF);
        image.setPixel(x, 1, x % 2 == 0 ? 0xFF000000 : 0xFFFFFFFF);
    }
    return image;
}

// The dots of an image as text rows, '#' = dot.
std::vector<std::string> Rows(const QImage& dots)
{
    std::vector<std::string> rows;
    for (int y = 0; y < dots.height(); ++y) {
        std::string row;
        for (int x = 0; x < dots.width(); ++x)
            row += (dots.pixel(x, y) & 0xFFFFFF) == 0 ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

// A 62-byte 1-bit BMP header for a width x height image.
Bytes BmpHeader(int width, int height)
{
    Bytes h(62, 0);
    h[0] = 'B';
    h[1] = 'M';
    h[18] = static_cast<BYTE>(width);
    h[22] = static_cast<BYTE>(height);
    return h;
}

CPortStream StreamOf(const Bytes& data, int commandLength, bool bitmap)
{
    CPortStream stream;
    stream.bytes = CBufferUC(data.data(), static_cast<int>(data.size()));
    stream.length = static_cast<int>(data.size());
    stream.commandLength = commandLength;
    stream.bitmap = bitmap;
    return stream;
}

CTransferRequest SmallRequest(const QString& model)
{
    CTransferRequest request;
    request.model = model;
    request.portName = QStringLiteral("COM1");
    request.logo = SmallLogo();
    request.logoWidth = request.dotX = 16;
    request.logoHeight = request.dotY = 2;
    return request;
}

} // namespace

TEST(PrinterPreviewTest, ThePrinterReadsTheRasterAfterTheCommandOneBitOneDot)
{
    // Command 1B 4C, then rows F0 0F / 01 80.
    const QImage dots = PrintedDots(StreamOf({0x1B, 0x4C, 0xF0, 0x0F, 0x01, 0x80}, 2, false), 16, 2);
    EXPECT_EQ(Rows(dots), (std::vector<std::string>{"####........####", ".......##......."}));
    EXPECT_TRUE(PrintedDots(StreamOf({0x1B, 0x4C, 0xF0, 0x0F, 0x01}, 2, false), 16, 2).isNull())
        << "a stream a byte short has no preview";
}

TEST(PrinterPreviewTest, ABitmapModelsImageIsReadBottomUpWithClearBitsAsDots)
{
    Bytes data = {0x1B, 0x42, 0x01};
    const Bytes header = BmpHeader(16, 2);
    data.insert(data.end(), header.begin(), header.end());
    // Bottom row first: FF FE, then the top row 0F FF.
    data.insert(data.end(), {0xFF, 0xFE, 0x0F, 0xFF});
    const QImage dots = PrintedDots(StreamOf(data, 3, true), 384, 240);
    EXPECT_EQ(Rows(dots), (std::vector<std::string>{"####............", "...............#"}));
    data[3] = 'X';
    EXPECT_TRUE(PrintedDots(StreamOf(data, 3, true), 384, 240).isNull()) << "no BMP header, no preview";
}

TEST(PrinterPreviewTest, ThePreviewOfARequestShowsTheLogoAsTheModelTakesIt)
{
    CTransferRequest request = SmallRequest(QStringLiteral("WGJ33"));
    // Without a configuration there is no transfer command, hence no stream.
    QString why;
    EXPECT_TRUE(PreviewDots(request, {}, &why).isNull());
    EXPECT_EQ(why, QStringLiteral("the printer configuration has no \"CmdTxLogo\""));

    ASSERT_TRUE(request.printerCfg.LoadPublicCfgFile(testenv::ProgramDir() + QStringLiteral("/CfgFile/WGJ33.cfg")));
    const std::vector<std::string> logo = {"########........", "#.#.#.#.#.#.#.#."};
    EXPECT_EQ(Rows(PreviewDots(request, {}, &why)), logo);
    request.options.reverseColor = true;
    EXPECT_EQ(Rows(PreviewDots(request, {}, &why)),
              (std::vector<std::string>{"........########", ".#.#.#.#.#.#.#.#"}));
    request.options.reverseColor = false;
    request.options.reverseRow = true;
    request.options.reverseImage = true;
    EXPECT_EQ(Rows(PreviewDots(request, {}, &why)),
              (std::vector<std::string>{".#.#.#.#.#.#.#.#", "........########"}));
}

TEST(PrinterPreviewTest, AUsbBitmapModelIsPreviewedFromItsUsbStream)
{
    // VD8 takes a BMP image over USB whatever Reverse Color says, where the
    // serial stream would carry the raster as it is: the preview follows the port.
    CTransferRequest request = SmallRequest(QStringLiteral("VD8"));
    ASSERT_TRUE(request.printerCfg.LoadPublicCfgFile(testenv::ProgramDir() + QStringLiteral("/CfgFile/VD8.cfg")));
    QFile templateFile(testenv::ProgramDir() + QStringLiteral("/HeaderNewFile.bmp"));
    ASSERT_TRUE(templateFile.open(QIODevice::ReadOnly));
    request.bitmapHeader = templateFile.read(62);
    request.options.reverseColor = true;
    QString why;
    request.portName = QStringLiteral("COM1");
    EXPECT_EQ(Rows(PreviewDots(request, {}, &why)),
              (std::vector<std::string>{"........########", ".#.#.#.#.#.#.#.#"}));
    request.portName = QStringLiteral("USB001");
    EXPECT_EQ(Rows(PreviewDots(request, {}, &why)),
              (std::vector<std::string>{"########........", "#.#.#.#.#.#.#.#."})) << why.toStdString();

    // A logo narrower than the area lies centred in an image of the whole area.
    request.dotX = 32;
    EXPECT_EQ(Rows(PreviewDots(request, {}, &why)),
              (std::vector<std::string>{"........########................", "........#.#.#.#.#.#.#.#........."}));

    request.model = QStringLiteral("WGJ33");
    EXPECT_TRUE(PreviewDots(request, {}, &why).isNull());
    EXPECT_EQ(why, QStringLiteral("this printer takes no logo over USB"));
}

TEST(PrinterPreviewTest, ThePaperStripIsThePrintersWidthWithPaperAboveAndBelow)
{
    QImage dots(16, 2, QImage::Format_RGB32);
    dots.fill(Qt::white);
    dots.setPixel(0, 0, qRgb(0, 0, 0));
    dots.setPixel(15, 1, qRgb(0, 0, 0));
    const QImage strip = PaperStrip(dots, 24);
    ASSERT_EQ(strip.size(), QSize(24, 2 + 2 * kPaperMarginDots));
    int dotsSeen = 0;
    for (int y = 0; y < strip.height(); ++y)
        for (int x = 0; x < strip.width(); ++x) {
            const QRgb c = strip.pixel(x, y);
            if (c == kDotColour.rgb())
                ++dotsSeen;
            else
                EXPECT_EQ(c, kPaperColour.rgb()) << x << ", " << y;
        }
    EXPECT_EQ(dotsSeen, 2);
    EXPECT_EQ(strip.pixel(0, kPaperMarginDots), kDotColour.rgb());
    EXPECT_EQ(strip.pixel(15, kPaperMarginDots + 1), kDotColour.rgb());
}

// Run at the screen's own scale and again at a scale of 2 (test_transfer_scale2):
// every dot is a whole square of device pixels of its own colour, never a blend.
TEST(PrinterPreviewTest, TheStripViewPaintsEachDotAsAWholeSquareOfDevicePixels)
{
    QImage strip(5, 3, QImage::Format_RGB32);
    strip.fill(kPaperColour);
    strip.setPixel(0, 0, kDotColour.rgb());
    strip.setPixel(2, 1, kDotColour.rgb());
    strip.setPixel(4, 2, kDotColour.rgb());
    CPaperStripView view(strip);
    view.show();
    const double ratio = view.devicePixelRatioF();
    if (qEnvironmentVariable("QT_SCALE_FACTOR") == QLatin1String("2")) {
        EXPECT_DOUBLE_EQ(ratio, 2.0) << "the scaled run really is scaled";
    }
    const int n = view.DevicePixelsPerDot();
    EXPECT_EQ(n, std::max(1, static_cast<int>(std::lround(ratio))));

    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_GE(shown.width(), strip.width() * n);
    ASSERT_GE(shown.height(), strip.height() * n);
    for (int y = 0; y < strip.height() * n; ++y)
        for (int x = 0; x < strip.width() * n; ++x)
            ASSERT_EQ(shown.pixel(x, y), strip.pixel(x / n, y / n)) << "device pixel " << x << ", " << y;
}

// Run at the screen's own scale, at 2 (test_transfer_scale2) and at 1.5
// (test_transfer_scale1_5): the preview opens as wide as the strip needs, so
// the printers' usual widths show no horizontal scroll bar, whether or not the
// strip is tall enough for a vertical one.
TEST(PrinterPreviewTest, ThePreviewOfAStripViewHasNoHorizontalScrollBarItDoesNotNeed)
{
    const struct {
        int dotX;
        int dotY;
    } cases[] = {{384, 64}, {448, 120}, {576, 240}, {640, 240}, {576, 1200}};
    for (const auto& c : cases) {
        QImage dots(c.dotX, c.dotY, QImage::Format_RGB32);
        dots.fill(Qt::white);
        CPrinterPreviewDlg dlg(nullptr, PaperStrip(dots, c.dotX), QStringLiteral("WGJ33 on COM1"));
        dlg.show();
        QCoreApplication::processEvents();
        auto* scroll = dlg.findChild<QScrollArea*>();
        ASSERT_NE(scroll, nullptr);
        const QSize strip = dlg.StripView()->size();
        ASSERT_LE(strip.width() + 100, dlg.screen()->availableGeometry().width())
            << "the screen has room for the strip";
        EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible())
            << c.dotX << " x " << c.dotY << " dots, " << strip.width() << " px wide in a viewport of "
            << scroll->viewport()->width() << " px at a scale of " << dlg.devicePixelRatioF();
        EXPECT_EQ(scroll->verticalScrollBar()->isVisible(), scroll->widget()->height() > scroll->viewport()->height())
            << c.dotX << " x " << c.dotY;
    }
}
