// Opening pictures of every format the conversion takes, and refusing the
// ones it cannot use with one message that names the file and the reason.
#include "picture/PictureConversion.h"
#include "support/PictureFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

using namespace picture;
using picturefiles::Half;

namespace {

const QSize kPicture(40, 20);
const QSize kArea(64, 32);

class PictureFilesTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return m_folder.filePath(name); }

    // The file opened and converted with the threshold method, stretched
    // over the area; a null logo and the message when either step refuses.
    QImage Convert(const QString& path, QString* message, int page = 1, Fit fit = Fit::Stretch)
    {
        const std::optional<CPicture> picture = OpenPicture(path, message);
        if (!picture)
            return QImage();
        CPictureConversion conversion(*picture);
        CPictureSettings settings;
        settings.fit = fit;
        settings.page = page;
        settings.method.method = dither::Method::Threshold;
        QString why;
        const QImage logo = conversion.Convert(kArea, settings, &why);
        if (logo.isNull())
            *message = PictureFailure(path, why);
        return logo;
    }

    QTemporaryDir m_folder;
};

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_F(PictureFilesTest, EveryFormatAndPixelLayoutBecomesTheSameLogo)
{
    using Writer = std::function<bool(const QString&)>;
    const auto qt = [](QImage::Format format, const char* writer) -> Writer {
        return [=](const QString& path) { return picturefiles::Save(picturefiles::HalfBlack(kPicture, Half::Left, format), path, writer); };
    };
    const struct {
        const char* name;
        Writer write;
        const char* format;
    } cases[] = {
        {"a.png", qt(QImage::Format_RGB32, "png"), "PNG"},
        {"a.jpg", qt(QImage::Format_RGB32, "jpeg"), "JPEG"},
        {"a.tif", qt(QImage::Format_RGB32, "tiff"), "TIFF"},
        {"a.webp", qt(QImage::Format_RGB32, "webp"), "WEBP"},
        {"a.bmp", qt(QImage::Format_RGB888, "bmp"), "BMP"},
        {"sixteen.png", qt(QImage::Format_RGBA64, "png"), "PNG"},
        {"grey.png", qt(QImage::Format_Grayscale8, "png"), "PNG"},
        {"grey16.png", qt(QImage::Format_Grayscale16, "png"), "PNG"},
        {"palette.png", qt(QImage::Format_Indexed8, "png"), "PNG"},
        {"palette.tif", qt(QImage::Format_Indexed8, "tiff"), "TIFF"},
        {"cmyk.jpg", [](const QString& p) { return picturefiles::WriteCmykJpeg(p, kPicture); }, "JPEG"},
        // Two frames: the first is taken.
        {"a.gif",
         [](const QString& p) {
             return picturefiles::WriteFile(p, picturefiles::Gif({picturefiles::HalfBlack(kPicture, Half::Left),
                                                                  picturefiles::HalfBlack(kPicture, Half::Right)}));
         },
         "GIF"},
        // The right half clear: transparency lies on white.
        {"clear.png",
         [](const QString& p) {
             QImage image(kPicture, QImage::Format_ARGB32);
             image.fill(Qt::transparent);
             for (int y = 0; y < kPicture.height(); ++y)
                 for (int x = 0; x < kPicture.width() / 2; ++x)
                     image.setPixel(x, y, 0xFF000000u);
             return picturefiles::Save(image, p, "png");
         },
         "PNG"},
        {"a.svg", [](const QString& p) { return picturefiles::WriteFile(p, picturefiles::HalfBlackSvg(kPicture)); }, "SVG"},
        {"a.pdf", [](const QString& p) { return picturefiles::WritePdf(p, QSizeF(kPicture), {Half::Left}); }, "PDF"},
    };
    for (const auto& c : cases) {
        const QString path = Path(QLatin1String(c.name));
        ASSERT_TRUE(c.write(path)) << c.name;
        QString message;
        const std::optional<CPicture> picture = OpenPicture(path, &message);
        ASSERT_TRUE(picture) << c.name << ": " << message.toStdString();
        EXPECT_EQ(picture->FormatName(), QLatin1String(c.format)) << c.name;
        EXPECT_EQ(picture->Name(), QLatin1String(c.name));
        const QImage logo = Convert(path, &message);
        ASSERT_EQ(logo.size(), kArea) << c.name << ": " << message.toStdString();
        EXPECT_TRUE(picturefiles::LooksHalfBlack(logo)) << c.name << ": black "
            << picturefiles::BlackShare(logo, QRect(0, 0, 32, 32)) << " / " << picturefiles::BlackShare(logo, QRect(32, 0, 32, 32));
    }
}

TEST_F(PictureFilesTest, VectorPicturesAreDrawnAtTheDotSizeAndAPdfPageIsChosen)
{
    const QString svg = Path(QStringLiteral("small.svg"));
    ASSERT_TRUE(picturefiles::WriteFile(svg, picturefiles::HalfBlackSvg(QSize(4, 2))));
    QString message;
    std::optional<CPicture> picture = OpenPicture(svg, &message);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(picture->IsVector());
    CPictureConversion conversion(*picture);
    ASSERT_TRUE(conversion.FitTo(kArea, Fit::Within, Placement::Center, 1, &message));
    EXPECT_EQ(conversion.Fitted().size(), kArea) << "drawn at 64 x 32, not at 4 x 2 and scaled";
    // A 4 x 2 picture scaled would blur its edge over 16 dots; drawn at the
    // dot size the edge is one dot wide.
    const QImage drawn = conversion.Fitted().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(drawn.pixel(31, 16), 0xFF000000u);
    EXPECT_EQ(qAlpha(drawn.pixel(32, 16)), 0) << "nothing drawn beside the edge";

    const QString pdf = Path(QStringLiteral("two.pdf"));
    ASSERT_TRUE(picturefiles::WritePdf(pdf, QSizeF(200, 100), {Half::Left, Half::Right}));
    picture = OpenPicture(pdf, &message);
    ASSERT_TRUE(picture) << message.toStdString();
    EXPECT_EQ(picture->PageCount(), 2);
    EXPECT_EQ(picture->NaturalSize(2), QSize(200, 100));
    EXPECT_TRUE(picturefiles::LooksHalfBlack(Convert(pdf, &message, 1), Half::Left));
    EXPECT_TRUE(picturefiles::LooksHalfBlack(Convert(pdf, &message, 2), Half::Right));
    EXPECT_TRUE(Convert(pdf, &message, 3).isNull());
    EXPECT_EQ(message, pdf + QStringLiteral(" cannot be opened: the PDF has no page 3 (it has 2)"));
}

TEST_F(PictureFilesTest, BadInputGivesOneMessageNamingTheFileAndTheReason)
{
    QByteArray png, jpeg, webp, tiff;
    {
        const QImage half = picturefiles::HalfBlack(kPicture);
        ASSERT_TRUE(picturefiles::Save(half, Path("whole.png"), "png"));
        ASSERT_TRUE(picturefiles::Save(half, Path("whole.jpg"), "jpeg"));
        ASSERT_TRUE(picturefiles::Save(half, Path("whole.webp"), "webp"));
        ASSERT_TRUE(picturefiles::Save(half, Path("whole.tif"), "tiff"));
        png = Bytes(Path("whole.png"));
        jpeg = Bytes(Path("whole.jpg"));
        webp = Bytes(Path("whole.webp"));
        tiff = Bytes(Path("whole.tif"));
    }
    const QByteArray gif = picturefiles::Gif({picturefiles::HalfBlack(kPicture)});
    const struct {
        const char* name;
        QByteArray bytes;
        const char* message; // after the file's path
    } cases[] = {
        {"short.png", png.left(png.size() / 2), " cannot be opened: the file is cut short"},
        {"short.jpg", jpeg.left(jpeg.size() - 40), " cannot be opened: the file is cut short"},
        {"short.gif", gif.left(40), " cannot be opened: the file is cut short"},
        {"short.webp", webp.left(webp.size() / 2), " cannot be opened: the WEBP picture is damaged or cut short"},
        {"short.tif", tiff.left(tiff.size() / 3), " cannot be opened: the TIFF picture is damaged or cut short"},
        {"short.svg", picturefiles::HalfBlackSvg(kPicture).left(120), " cannot be opened: the file is cut short"},
        {"notes.txt", "Shop logo: ask the designer for a PNG.\n", " cannot be opened: it isn't a picture"},
        {"page.html", "<html><body>logo</body></html>", " cannot be opened: it isn't a picture"},
        {"empty.png", "", " cannot be opened: the file is empty"},
        {"logo.heic", QByteArray("\0\0\0\x18" "ftypheic\0\0\0\0mif1heic", 24),
         " cannot be opened: it is a HEIC picture, a format that cannot be read here (PNG, JPEG, GIF, TIFF, WebP, BMP, SVG and PDF can)"},
        {"logo.psd", "8BPS\0\x01", " cannot be opened: it is a Photoshop (PSD) picture, a format that cannot be read here"},
        {"locked.pdf", picturefiles::PasswordPdf(), " cannot be opened: the PDF is protected by a password"},
        {"broken.pdf", picturefiles::PasswordPdf().left(30), " cannot be opened: the PDF is damaged or cut short"},
        {"broken.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect width=\"4\"></svg>",
         " cannot be opened: the SVG cannot be parsed: "},
        {"wide.png", picturefiles::PngClaiming(QSize(100000, 10)),
         " is too large to open: 100000 x 10 pixels is larger than 32768 pixels a side"},
        {"huge.png", picturefiles::PngClaiming(QSize(20000, 20000)),
         " is too large to open: 20000 x 20000 pixels is more than the 64 million pixels a picture may have"},
    };
    for (const auto& c : cases) {
        const QString path = Path(QLatin1String(c.name));
        ASSERT_TRUE(picturefiles::WriteFile(path, c.bytes));
        QString message;
        QElapsedTimer clock;
        clock.start();
        EXPECT_TRUE(Convert(path, &message).isNull()) << c.name;
        EXPECT_TRUE(message.startsWith(path + QLatin1String(c.message))) << c.name << ": " << message.toStdString();
        EXPECT_FALSE(message.contains(u'\n')) << c.name;
        EXPECT_LT(clock.elapsed(), 5000) << c.name << ": refused from the header, not after decoding";
    }
    QString message;
    EXPECT_TRUE(Convert(Path("missing.png"), &message).isNull());
    EXPECT_EQ(message, Path("missing.png") + QStringLiteral(" cannot be opened: no such file"));
}

TEST_F(PictureFilesTest, AnSvgNeverReadsFilesOrAddressesOutsideItself)
{
    // A black picture on disk that the drawing tries to pull in every way.
    QImage black(8, 8, QImage::Format_RGB32);
    black.fill(Qt::black);
    const QString file = Path(QStringLiteral("black.png"));
    ASSERT_TRUE(picturefiles::Save(black, file, "png"));
    const QByteArray blackPng = Bytes(file);
    const QByteArray nested = "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                              "width=\"8\" height=\"8\"><image width=\"8\" height=\"8\" xlink:href=\"file://"
                              + file.toUtf8() + "\"/></svg>";
    const QString previous = QDir::currentPath();
    QDir::setCurrent(m_folder.path()); // so the relative name would be found
    const QList<QByteArray> references = {
        "black.png", file.toUtf8(), "file://" + file.toUtf8(), "http://127.0.0.1:9/black.png",
        "data:image/svg+xml;base64," + nested.toBase64(),
    };
    for (const QByteArray& reference : references) {
        for (const QByteArray& attribute : {QByteArray("xlink:href"), QByteArray("href")}) {
            const QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                                   "width=\"40\" height=\"20\"><image x=\"0\" y=\"0\" width=\"40\" height=\"20\" "
                                   + attribute + "=\"" + reference + "\"/></svg>";
            const QString path = Path(QStringLiteral("pulls.svg"));
            ASSERT_TRUE(picturefiles::WriteFile(path, svg));
            QString message;
            const QImage logo = Convert(path, &message);
            ASSERT_FALSE(logo.isNull()) << message.toStdString();
            EXPECT_DOUBLE_EQ(picturefiles::BlackShare(logo, logo.rect()), 0.0) << attribute.constData() << "=" << reference.left(60).constData();
        }
    }
    QDir::setCurrent(previous);

    // A picture inside the drawing itself is drawn.
    const QByteArray inside = "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                              "width=\"40\" height=\"20\"><image width=\"20\" height=\"20\" preserveAspectRatio=\"none\" "
                              "xlink:href=\"data:image/png;base64,"
                              + blackPng.toBase64() + "\"/></svg>";
    ASSERT_TRUE(picturefiles::WriteFile(Path("inside.svg"), inside));
    QString message;
    EXPECT_TRUE(picturefiles::LooksHalfBlack(Convert(Path("inside.svg"), &message))) << message.toStdString();
}

TEST_F(PictureFilesTest, ALargeJpegIsDecodedReduced)
{
    // 81 million pixels: whole, more than a picture may have; an eighth a
    // side is about 1.3 million, so a logo can be made of it all the same.
    const QString path = Path(QStringLiteral("large.jpg"));
    ASSERT_TRUE(picturefiles::WriteLargeGreyJpeg(path, QSize(9000, 9000), 40));
    QString message;
    const QImage logo = Convert(path, &message, 1, Fit::Within);
    ASSERT_FALSE(logo.isNull()) << message.toStdString();
    EXPECT_DOUBLE_EQ(picturefiles::BlackShare(logo, QRect(16, 0, 32, 32)), 1.0);
    EXPECT_TRUE(Convert(path, &message, 1, Fit::Original).isNull());
    EXPECT_EQ(message, path + QStringLiteral(" cannot be opened: 9000 x 9000 pixels is more than the 64 million pixels a picture may have"));
}
