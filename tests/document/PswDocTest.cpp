// Logos in upgrade files, through the document, on files made by scripts/make-psw.
#include "components/LogFile.h"
#include "components/PswFile.h"
#include "document/GlyphaneDoc.h"
#include "support/DiskConditions.h"
#include "support/PswMaker.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using pswmaker::CSlot;

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

// A document of a printer with a DotX x DotY area and a logo of that size
// holding a repeatable pattern.
std::unique_ptr<CGlyphaneDoc> MakeDoc(const CDocEnvironment& env, const QString& model, int dotX, int dotY,
                                      unsigned seed)
{
    auto doc = std::make_unique<CGlyphaneDoc>(env);
    doc->Binding().SetPrinterModel(model);
    doc->Binding().SetDotX(dotX);
    doc->Binding().SetDotY(dotY);
    QImage image(dotX, dotY, QImage::Format_RGB32);
    unsigned value = seed;
    for (int y = 0; y < dotY; ++y)
        for (int x = 0; x < dotX; ++x) {
            value = value * 1103515245u + 12345u;
            image.setPixel(x, y, (value >> 16) & 1 ? kBlack : kWhite);
        }
    doc->Picture().AttachLogoBitmap(image);
    doc->Picture().SetLogoSize(dotX, dotY);
    return doc;
}

QImage WhiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kWhite);
    return image;
}

class PswDocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_env = testenv::DocEnvironment();
        m_env.selectLogo = [this](QObject*, const QStringList& lines) {
            m_listsShown.push_back(lines);
            return m_choice;
        };
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    // The plain bytes of slot i, descrambled by the component.
    QByteArray PlainSlot(const QString& path, int i, int length) const
    {
        CHeaderPsw header(nullptr);
        EXPECT_TRUE(header.Init(path));
        const DWORD offset = PswSlotOffset(header.GetIesimLogoStruct(i));
        QByteArray bytes = pswmaker::ReadAll(path).mid(header.GetLogoAreaOffset() + offset, length);
        CCrittoPswFile critto(nullptr, path);
        EXPECT_TRUE(critto.InitCCrittoPswFile(path));
        BYTE key = 0;
        critto.GetScrByteFromPswFile(&key);
        critto.DeCrittoBufferFromPswFile(reinterpret_cast<BYTE*>(bytes.data()), offset, DWORD(bytes.size()), key);
        return bytes;
    }
    qint64 SlotPosition(const QString& path, int i) const
    {
        CHeaderPsw header(nullptr);
        EXPECT_TRUE(header.Init(path));
        return header.GetLogoAreaOffset() + PswSlotOffset(header.GetIesimLogoStruct(i));
    }
    std::vector<CUiPrompt> Messages(const testenv::ScriptedUi& ui) const
    {
        std::vector<CUiPrompt> out;
        for (const CUiPrompt& p : ui.Prompts())
            if (p.kind == UiPromptKind::MessageBox)
                out.push_back(p);
        return out;
    }

    QTemporaryDir m_dir;
    CDocEnvironment m_env;
    std::vector<QStringList> m_listsShown;
    int m_choice = 0;
};

} // namespace

TEST_F(PswDocTest, OneSlotLoadsWithoutTheListPaintsTheRasterAndSaveStillAsks)
{
    // 16 x 2 dots, bare raster, bit 1 = black: row 0 = 80 01, row 1 = FF 00.
    const QString path = Path(QStringLiteral("one.psw"));
    ASSERT_TRUE(pswmaker::Make(path, QStringLiteral("WGJ33"), {{16, 2, QByteArray::fromHex("8001FF00")}}));
    auto doc = std::make_unique<CGlyphaneDoc>(m_env);
    doc->Binding().SetPrinterModel(QStringLiteral("WGJ33"));
    doc->Binding().SetDotX(16);
    doc->Binding().SetDotY(2);
    doc->Picture().AttachLogoBitmap(WhiteImage(16, 2));
    doc->Picture().SetLogoSize(16, 2);

    testenv::ScriptedUi ui;
    doc->Psw().TransferLogoPsw(path, 1);
    EXPECT_TRUE(m_listsShown.empty()) << "one slot: no list on load";
    const QImage* bitmap = doc->Picture().GetLogoBitmap();
    for (int x = 0; x < 16; ++x) {
        EXPECT_EQ(bitmap->pixel(x, 0), (x == 0 || x == 15) ? kBlack : kWhite) << x;
        EXPECT_EQ(bitmap->pixel(x, 1), x < 8 ? kBlack : kWhite) << x;
    }
    EXPECT_EQ(doc->Binding().GetPrinterModel(), QStringLiteral("Printer not selected"));
    EXPECT_EQ(doc->Binding().GetDotX(), 16);
    EXPECT_EQ(doc->Binding().GetDotY(), 2);
    const auto loaded = Messages(ui);
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0].text, QStringLiteral("Logo Correctly Loaded From Psw File!"));
    EXPECT_EQ(loaded[0].caption, QStringLiteral("Glyphane"));
    EXPECT_EQ(loaded[0].icon(), UINT(MB_ICONEXCLAMATION));

    doc->Psw().TransferLogoPsw(path, 0);
    ASSERT_EQ(m_listsShown.size(), 1u) << "saving always shows the list";
    EXPECT_EQ(m_listsShown[0], QStringList{QStringLiteral("1) Logo 16 x 02")});
    ASSERT_EQ(Messages(ui).size(), 2u);
    EXPECT_EQ(Messages(ui)[1].text, QStringLiteral("Logo Correctly Saved on Psw File!"));
    EXPECT_EQ(PlainSlot(path, 0, 4).toHex(), QByteArray("8001ff00"));
}

TEST_F(PswDocTest, SaveThenLoadGivesBackTheLogoAndKeepsEveryOtherByte)
{
    for (const char* model : {"WGJ33", "VD8"}) {
        SCOPED_TRACE(model);
        const QString path = Path(QStringLiteral("three-%1.psw").arg(QString::fromLatin1(model)));
        ASSERT_TRUE(pswmaker::Make(path, QString::fromLatin1(model), {{32, 8, {}}, {64, 24, {}}, {64, 24, {}}}));
        const QByteArray before = pswmaker::ReadAll(path);
        auto source = MakeDoc(m_env, QString::fromLatin1(model), 64, 24, 7);
        m_choice = 1; // "2) Logo 64 x 24"
        testenv::ScriptedUi ui;
        source->Psw().TransferLogoPsw(path, 0);
        ASSERT_EQ(m_listsShown.back().size(), 3);
        EXPECT_EQ(m_listsShown.back()[1], QStringLiteral("2) Logo 64 x 24"));

        const QByteArray after = pswmaker::ReadAll(path);
        ASSERT_EQ(after.size(), before.size());
        const bool bmp = QByteArray(model) == "VD8";
        const qint64 at = SlotPosition(path, 1);
        const int written = 64 * 24 / 8 + (bmp ? 62 : 0);
        EXPECT_EQ(after.left(at), before.left(at));
        EXPECT_EQ(after.mid(at + written), before.mid(at + written));
        EXPECT_NE(after.mid(at, written), before.mid(at, written));

        auto target = std::make_unique<CGlyphaneDoc>(m_env);
        target->Binding().SetPrinterModel(QString::fromLatin1(model));
        target->Binding().SetDotX(64);
        target->Binding().SetDotY(24);
        target->Picture().AttachLogoBitmap(WhiteImage(64, 24));
        target->Picture().SetLogoSize(64, 24);
        target->Psw().TransferLogoPsw(path, 1);
        EXPECT_EQ(*target->Picture().GetLogoBitmap(), *source->Picture().GetLogoBitmap()) << "dot for dot";
        EXPECT_EQ(Messages(ui).size(), 2u);
    }
}

TEST_F(PswDocTest, BmpGroupSlotHoldsASwappedBottomUpBmpWithBitOneWhite)
{
    // A slot 8 dots wider than the printer: accepted for the BMP group, and
    // only the printer's 16 x 2 dots are written into it.
    const QString path = Path(QStringLiteral("bmp.psw"));
    ASSERT_TRUE(pswmaker::Make(path, QStringLiteral("BDQGMLW"), {{24, 2, {}}}));
    const QByteArray before = pswmaker::ReadAll(path);
    auto doc = std::make_unique<CGlyphaneDoc>(m_env);
    doc->Binding().SetPrinterModel(QStringLiteral("BDQGMLW"));
    doc->Binding().SetDotX(16);
    doc->Binding().SetDotY(2);
    QImage image = WhiteImage(16, 2);
    image.setPixel(0, 0, kBlack); // top row: 7F FF with bit 1 = white
    for (int x = 8; x < 16; ++x)
        image.setPixel(x, 1, kBlack); // bottom row: FF 00
    doc->Picture().AttachLogoBitmap(image);
    doc->Picture().SetLogoSize(16, 2);
    testenv::ScriptedUi ui;
    doc->Psw().TransferLogoPsw(path, 0);

    QByteArray plain = PlainSlot(path, 0, 62 + 4);
    // Undo the exchanged pairs by hand: the stored block is a BMP file image.
    for (int i = 0; i + 1 < plain.size(); i += 2)
        std::swap(plain[i], plain[i + 1]);
    EXPECT_EQ(plain.left(2), QByteArray("BM"));
    EXPECT_EQ(plain.mid(18, 8).toHex(), QByteArray("1000000002000000")) << "16 x 2 in the header";
    EXPECT_EQ(plain.mid(62).toHex(), QByteArray("ff007fff")) << "bottom row first";
    const qint64 at = SlotPosition(path, 0);
    const QByteArray after = pswmaker::ReadAll(path);
    EXPECT_EQ(after.mid(at + 66), before.mid(at + 66)) << "the slot's spare room is not written";
    EXPECT_EQ(after.left(at), before.left(at));
}

TEST_F(PswDocTest, BmpGroupSlotLargerThanThePrinterAreaReadsBackExactly)
{
    // The BMP saved into the slot is the printer's 384 x 240 area; the slot's
    // own size says nothing of its rows, its stored header does.
    struct Case {
        const char* model;
        int slotWidth, slotHeight;
    };
    for (const Case& c : {Case{"BDQGMLW", 392, 240}, Case{"VD8", 384, 248}, Case{"JMQ9534", 400, 256},
                          Case{"BDQGMLW", 384, 240}}) {
        const QString model = QString::fromLatin1(c.model);
        SCOPED_TRACE(QStringLiteral("%1 %2 x %3").arg(model).arg(c.slotWidth).arg(c.slotHeight).toStdString());
        const QString path = Path(QStringLiteral("%1-%2x%3.psw").arg(model).arg(c.slotWidth).arg(c.slotHeight));
        ASSERT_TRUE(pswmaker::Make(path, model, {{c.slotWidth, c.slotHeight, {}}}));
        auto source = MakeDoc(m_env, QStringLiteral("BDQGMLW"), 384, 240, 17);
        testenv::ScriptedUi ui;
        source->Psw().TransferLogoPsw(path, 0);
        auto target = std::make_unique<CGlyphaneDoc>(m_env);
        target->Binding().SetPrinterModel(QStringLiteral("BDQGMLW"));
        target->Binding().SetDotX(384);
        target->Binding().SetDotY(240);
        target->Picture().AttachLogoBitmap(WhiteImage(384, 240));
        target->Picture().SetLogoSize(384, 240);
        target->Psw().TransferLogoPsw(path, 1);
        ASSERT_EQ(Messages(ui).size(), 2u);
        EXPECT_EQ(Messages(ui)[1].text, QStringLiteral("Logo Correctly Loaded From Psw File!"));
        EXPECT_EQ(*target->Picture().GetLogoBitmap(), *source->Picture().GetLogoBitmap()) << "dot for dot";
    }
}

// The command-line tool keeps a 1-bit logo packed, one bit a pixel; a slot
// goes in and out of such a logo as out of the editor's.
TEST_F(PswDocTest, PackedOneBitLogoGoesIntoASlotAndBackDotForDot)
{
    for (const char* model : {"WGJ33", "VD8"}) {
        SCOPED_TRACE(model);
        const QString name = QString::fromLatin1(model);
        const QString psw = Path(name + QStringLiteral(".psw"));
        ASSERT_TRUE(pswmaker::Make(psw, name, {{64, 24, {}}}));
        auto pattern = MakeDoc(m_env, name, 64, 24, 23);
        auto white = MakeDoc(m_env, name, 64, 24, 0);
        white->Picture().GetLogoBitmap()->fill(kWhite);
        ASSERT_TRUE(pattern->WriteBitmapFile(Path(name + QStringLiteral("-pattern.bmp"))));
        ASSERT_TRUE(white->WriteBitmapFile(Path(name + QStringLiteral("-white.bmp"))));

        auto OpenPacked = [&](const QString& file) {
            auto doc = std::make_unique<CGlyphaneDoc>(m_env);
            doc->Picture().SetKeepOneBitPacked(true);
            EXPECT_TRUE(doc->OnOpenDocument(file));
            EXPECT_EQ(doc->Picture().GetLogoBitmap()->format(), QImage::Format_Mono);
            doc->Binding().SetPrinterModel(name);
            doc->Binding().SetDotX(64);
            doc->Binding().SetDotY(24);
            return doc;
        };
        testenv::ScriptedUi ui;
        auto source = OpenPacked(Path(name + QStringLiteral("-pattern.bmp")));
        source->Psw().TransferLogoPsw(psw, 0);
        auto target = OpenPacked(Path(name + QStringLiteral("-white.bmp")));
        target->Psw().TransferLogoPsw(psw, 1);
        ASSERT_EQ(Messages(ui).size(), 2u);
        EXPECT_EQ(Messages(ui)[1].text, QStringLiteral("Logo Correctly Loaded From Psw File!"));
        EXPECT_EQ(target->Picture().GetLogoBitmap()->format(), QImage::Format_Mono);
        EXPECT_EQ(target->Picture().GetLogoBitmap()->convertToFormat(QImage::Format_RGB32), *pattern->Picture().GetLogoBitmap());
    }
}

// A real full disk: a 64 KiB tmpfs of the test's own (skipped where it cannot
// be mounted). The whole-file rewrite finds no room, and says so.
TEST_F(PswDocTest, FullDiskLeavesTheFileAndSaysTheDiskIsFull)
{
    testenv::SmallDisk disk(64);
    if (!disk.IsReady())
        GTEST_SKIP() << disk.WhyNot().toStdString();
    const QString path = disk.Path(QStringLiteral("full.psw"));
    ASSERT_TRUE(pswmaker::Make(path, QStringLiteral("WGJ33"), {{64, 24, {}}}));
    QFile::remove(path + QStringLiteral(".logo1"));
    const QByteArray before = pswmaker::ReadAll(path);
    ASSERT_TRUE(disk.FillLeaving(before.size()));
    auto doc = MakeDoc(m_env, QStringLiteral("WGJ33"), 64, 24, 29);
    testenv::ScriptedUi ui;
    doc->Psw().TransferLogoPsw(path, 0);
    const auto messages = Messages(ui);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text.toStdString(),
              ("The disk is full: " + path + " could not be saved. The previous file is unchanged.").toStdString());
    EXPECT_EQ(messages[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(messages[0].icon(), UINT(MB_ICONSTOP));
    EXPECT_EQ(pswmaker::ReadAll(path), before);
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList({QStringLiteral("full*")}, QDir::Files),
              QStringList{QStringLiteral("full.psw")}) << "no temporary file is left";
}

// Where the folder takes no new file the slot is written in place, as long as
// the file is still the one whose header was read; the log says which way the
// file was written. The folder is closed for real (see ClosedFolder); skipped
// where that cannot be done.
TEST_F(PswDocTest, SlotIsWrittenInPlaceWhereTheFolderTakesNoNewFile)
{
    struct Case {
        bool closed;
        bool changedMeanwhile;
        const char* logged;
    };
    const Case cases[] = {
        {false, false, "written as a new file beside it, renamed over it"},
        {true, false, "written in place, as the folder takes no new file"},
        {false, true, "changed since its header was read"},
        {true, true, "changed since its header was read"},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("closed %1, changed %2").arg(c.closed).arg(c.changedMeanwhile).toStdString());
        const QString folder = Path(QStringLiteral("folder%1").arg(++index));
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/up.psw");
        ASSERT_TRUE(pswmaker::Make(path, QStringLiteral("WGJ33"), {{64, 24, {}}, {64, 24, {}}}));
        QFile::remove(path + QStringLiteral(".logo1"));
        const QString logPath = Path(QStringLiteral("app%1.log").arg(index));
        CLogFile log;
        ASSERT_TRUE(log.CreateLogFile(nullptr, logPath));
        testenv::ClosedFolder::OpenToAll(logPath); // the log is written meanwhile
        CDocEnvironment env = m_env;
        env.appLog = &log;
        QByteArray changed = pswmaker::ReadAll(path);
        changed[42] = static_cast<char>(changed[42] ^ 0x01); // another key byte
        env.selectLogo = [&](QObject*, const QStringList&) {
            if (c.changedMeanwhile) {
                EXPECT_TRUE(pswmaker::WriteAll(path, changed)); // another program writes the file meanwhile
            }
            return 1;
        };
        auto doc = MakeDoc(env, QStringLiteral("WGJ33"), 64, 24, 31);
        const QByteArray before = pswmaker::ReadAll(path);
        testenv::ScriptedUi ui;
        {
            std::unique_ptr<testenv::ClosedFolder> closed;
            if (c.closed) {
                closed = std::make_unique<testenv::ClosedFolder>(folder);
                if (!closed->IsClosed())
                    GTEST_SKIP() << closed->WhyNot().toStdString();
            }
            doc->Psw().TransferLogoPsw(path, 0);
        }
        const auto messages = Messages(ui);
        ASSERT_GE(messages.size(), 1u);
        const QByteArray after = pswmaker::ReadAll(path);
        if (c.changedMeanwhile) {
            EXPECT_EQ(messages[0].text.toStdString(), ("\nError open file: " + path).toStdString());
            EXPECT_EQ(after, changed) << "the other program's file is left alone";
        } else {
            EXPECT_EQ(messages[0].text, QStringLiteral("Logo Correctly Saved on Psw File!"));
            const qint64 at = SlotPosition(path, 1);
            EXPECT_EQ(after.size(), before.size());
            EXPECT_EQ(after.left(at), before.left(at));
            EXPECT_EQ(after.mid(at + 64 * 24 / 8), before.mid(at + 64 * 24 / 8));
            m_choice = 1;
            auto back = MakeDoc(m_env, QStringLiteral("WGJ33"), 64, 24, 0);
            back->Psw().TransferLogoPsw(path, 1);
            EXPECT_EQ(*back->Picture().GetLogoBitmap(), *doc->Picture().GetLogoBitmap());
        }
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("up.psw")});
        EXPECT_TRUE(QString::fromUtf8(pswmaker::ReadAll(logPath)).contains(QLatin1String(c.logged)))
            << pswmaker::ReadAll(logPath).toStdString();
    }
}

// scripts/make-psw stores a BMP given for a slot as the printer named in the
// file keeps a logo, so the document loads the picture itself; a BMP that
// cannot be a logo of that slot is refused rather than stored as bytes.
TEST_F(PswDocTest, MakePswStoresABmpAsThePrinterKeepsItOrRefusesIt)
{
    auto pattern = MakeDoc(m_env, QStringLiteral("WGJ33"), 64, 24, 37);
    const QImage picture = *pattern->Picture().GetLogoBitmap();
    // Written by Qt's own BMP writer: 1 bit a dot, its palette as Qt chooses.
    auto BmpOf = [](const QImage& image) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(image.save(&buffer, "BMP"));
        return bytes;
    };
    const QByteArray oneBit = BmpOf(picture.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither));
    ASSERT_EQ(static_cast<quint8>(oneBit[28]), 1);
    const QByteArray shortOne = BmpOf(picture.copy(0, 0, 64, 16).convertToFormat(QImage::Format_Mono));
    const QByteArray colour = BmpOf(picture);
    struct Case {
        const char* model;
        int slotWidth, slotHeight;
        QByteArray bmp;
        bool stored;
    };
    const Case cases[] = {
        {"WGJ33", 64, 24, oneBit, true},
        {"VD8", 64, 24, oneBit, true},
        {"BDQGMLW", 72, 32, oneBit, true},
        {"WGJ33", 64, 24, shortOne, false},
        {"WGJ33", 72, 24, oneBit, false},
        {"VD8", 56, 24, oneBit, false},
        {"VD8", 64, 24, colour, false},
    };
    int index = 0;
    for (const Case& c : cases) {
        const QString model = QString::fromLatin1(c.model);
        SCOPED_TRACE(QStringLiteral("%1 %2 x %3, case %4").arg(model).arg(c.slotWidth).arg(c.slotHeight).arg(index).toStdString());
        const QString path = Path(QStringLiteral("bmp%1.psw").arg(++index));
        QString error;
        const bool made = pswmaker::Make(path, model, {{c.slotWidth, c.slotHeight, c.bmp}}, 1, 0x5A, &error);
        ASSERT_EQ(made, c.stored) << error.toStdString();
        if (!c.stored) {
            EXPECT_TRUE(error.contains(QStringLiteral("cannot go into slot 1"))) << error.toStdString();
            continue;
        }
        auto target = MakeDoc(m_env, model, 64, 24, 0);
        target->Picture().GetLogoBitmap()->fill(kWhite);
        testenv::ScriptedUi ui;
        target->Psw().TransferLogoPsw(path, 1);
        ASSERT_EQ(Messages(ui).size(), 1u);
        EXPECT_EQ(Messages(ui)[0].text, QStringLiteral("Logo Correctly Loaded From Psw File!"));
        EXPECT_EQ(*target->Picture().GetLogoBitmap(), picture) << "upright and black where the picture is black";
    }
}

TEST_F(PswDocTest, SlotOfAnotherSizeIsRefusedOutsideTheBmpGroup)
{
    const QString path = Path(QStringLiteral("wide.psw"));
    ASSERT_TRUE(pswmaker::Make(path, QStringLiteral("WGJ33"), {{72, 24, {}}}));
    const QByteArray before = pswmaker::ReadAll(path);
    auto doc = MakeDoc(m_env, QStringLiteral("WGJ33"), 64, 24, 3);
    const QImage pixels = *doc->Picture().GetLogoBitmap();
    testenv::ScriptedUi ui;
    doc->Psw().TransferLogoPsw(path, 1);
    doc->Psw().TransferLogoPsw(path, 0);
    const auto messages = Messages(ui);
    ASSERT_EQ(messages.size(), 2u);
    for (const CUiPrompt& m : messages) {
        EXPECT_EQ(m.text, QStringLiteral("\nError! The Logo 1 from the file %1, isn't compatible with this Printer!").arg(path));
        EXPECT_EQ(m.icon(), UINT(MB_ICONSTOP));
    }
    EXPECT_EQ(pswmaker::ReadAll(path), before);
    EXPECT_EQ(*doc->Picture().GetLogoBitmap(), pixels);
    EXPECT_EQ(doc->Binding().GetPrinterModel(), QStringLiteral("WGJ33")) << "refused before the model is reset";
}

TEST_F(PswDocTest, UnusableFilesAreRefusedWithTheirMessageAndNothingChanges)
{
    const QString good = Path(QStringLiteral("good.psw"));
    ASSERT_TRUE(pswmaker::Make(good, QStringLiteral("WGJ33"), {{64, 24, {}}, {64, 24, {}}}));
    const QString noLogos = Path(QStringLiteral("150.psw"));
    ASSERT_TRUE(pswmaker::Make(noLogos, QStringLiteral("WGJ33"), {{64, 24, {}}}, 150));
    const QString noSlots = Path(QStringLiteral("none.psw"));
    ASSERT_TRUE(pswmaker::Make(noSlots, QStringLiteral("WGJ33"), {}));
    const QString cut = Path(QStringLiteral("cut.psw"));
    ASSERT_TRUE(pswmaker::WriteAll(cut, pswmaker::ReadAll(good).left(SlotPosition(good, 1) + 10)));
    QByteArray hostileBytes = pswmaker::ReadAll(good);
    pswmaker::PutBigEndian(hostileBytes, 48 + 16 + 7, 0xFFFF00, 3); // slot 2 far past the end
    const QString hostile = Path(QStringLiteral("hostile.psw"));
    ASSERT_TRUE(pswmaker::WriteAll(hostile, hostileBytes));
    const QString empty = Path(QStringLiteral("empty.psw"));
    ASSERT_TRUE(pswmaker::WriteAll(empty, {}));

    struct Case {
        QString path;
        QString text;
        QString caption;
        UINT icon;
    };
    const Case cases[] = {
        {noLogos, QStringLiteral("Sorry, but this function is not supported for this device!"), {}, MB_ICONSTOP},
        {noSlots, QStringLiteral("\nImpossible load data Logo to file: %1").arg(noSlots), {}, MB_ICONSTOP},
        {cut, QStringLiteral("Unable to load file!"), {}, MB_ICONSTOP},
        {hostile, QStringLiteral("Unable to load file!"), {}, MB_ICONSTOP},
        {empty, QStringLiteral("Error"), {}, MB_ICONEXCLAMATION},
        {Path(QStringLiteral("missing.psw")), QStringLiteral("Error"), {}, MB_ICONEXCLAMATION},
    };
    for (const Case& c : cases) {
        for (int direction : {1, 0}) {
            SCOPED_TRACE((c.path + QStringLiteral(" direction %1").arg(direction)).toStdString());
            const QByteArray before = pswmaker::ReadAll(c.path);
            auto doc = MakeDoc(m_env, QStringLiteral("WGJ33"), 64, 24, 11);
            const QImage pixels = *doc->Picture().GetLogoBitmap();
            m_listsShown.clear();
            testenv::ScriptedUi ui;
            doc->Psw().TransferLogoPsw(c.path, direction);
            const auto messages = Messages(ui);
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0].text, c.text);
            EXPECT_EQ(messages[0].caption, c.caption);
            EXPECT_EQ(messages[0].icon(), c.icon);
            EXPECT_TRUE(m_listsShown.empty()) << "refused before any slot is offered";
            EXPECT_EQ(pswmaker::ReadAll(c.path), before);
            EXPECT_EQ(*doc->Picture().GetLogoBitmap(), pixels);
            EXPECT_EQ(doc->Binding().GetPrinterModel(), QStringLiteral("WGJ33"));
        }
    }
}

TEST_F(PswDocTest, CancelledListChangesNothing)
{
    const QString path = Path(QStringLiteral("two.psw"));
    ASSERT_TRUE(pswmaker::Make(path, QStringLiteral("WGJ33"), {{64, 24, {}}, {64, 24, {}}}));
    const QByteArray before = pswmaker::ReadAll(path);
    auto doc = MakeDoc(m_env, QStringLiteral("WGJ33"), 64, 24, 5);
    const QImage pixels = *doc->Picture().GetLogoBitmap();
    m_choice = -1;
    testenv::ScriptedUi ui;
    doc->Psw().TransferLogoPsw(path, 1);
    doc->Psw().TransferLogoPsw(path, 0);
    EXPECT_EQ(m_listsShown.size(), 2u);
    EXPECT_TRUE(Messages(ui).empty());
    EXPECT_EQ(pswmaker::ReadAll(path), before);
    EXPECT_EQ(*doc->Picture().GetLogoBitmap(), pixels);
}

TEST(PswDoc, CommandsAreEnabledForMonochromeLogosOutsideJmq9534)
{
    CGlyphaneDoc doc;
    doc.Binding().SetPrinterModel(QStringLiteral("VD8"));
    EXPECT_TRUE(doc.Psw().PswCommandsEnabled());
    doc.Binding().SetMonochrome(0);
    EXPECT_FALSE(doc.Psw().PswCommandsEnabled());
    doc.Binding().SetMonochrome(1);
    doc.Binding().SetPrinterModel(QStringLiteral("JMQ9534"));
    EXPECT_FALSE(doc.Psw().PswCommandsEnabled());
}
