// "Print Logo" over a serial port, through the real view against the virtual
// printer in line-time mode: the bytes that follow the baud detection for
// flash-printing, fiscal, extra-feed and no-cut printers and for printers
// that print from RAM, a logo programmed and then printed back dot for dot,
// the failures that end the command, and the enabling rule.
#include "TransferFixture.h"

#include "app/CliCommands.h"
#include "dialogs/DialogDriving.h"
#include "dialogs/PrinterPreviewDlg.h"
#include "transfer/PrinterPreview.h"

#include <QDir>
#include <QTemporaryDir>

using namespace transfertest;
using testenv::ScriptedUi;

namespace {

// GS I 1: the identification request of the baud detection; what follows the
// last one is the print.
const std::vector<uint8_t> kIdentify = {0x1D, 0x49, 0x31};

std::vector<uint8_t> Feeds(int count)
{
    return std::vector<uint8_t>(static_cast<size_t>(count), 0x0A);
}

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::string Hex(const std::vector<uint8_t>& bytes)
{
    std::string text;
    char buf[4];
    for (const uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X ", b);
        text += buf;
    }
    return text;
}

void Tick(const QDialog* d, int id, bool ticked)
{
    if (dialogtest::Control<QCheckBox>(d, id)->isChecked() != ticked)
        dialogtest::Click(d, id);
}

// "Select Sub Logos" answered with "Print Part of Logo" and only the given
// sub-logos ticked (all four start ticked), or with "Print All Logo".
testenv::ScriptedUi::Step PickSubLogos(std::initializer_list<int> keep)
{
    std::vector<int> kept(keep);
    return [kept](CUiPrompt& p, QDialog* d) {
        dialogtest::Click(d, 1022);
        for (int k = 1; k <= 4; ++k)
            if (std::find(kept.begin(), kept.end(), k) == kept.end())
                Tick(d, 1016 + k, false);
        p.result = IDOK;
    };
}
testenv::ScriptedUi::Step PickWholeLogo()
{
    return [](CUiPrompt& p, QDialog* d) {
        dialogtest::Click(d, 1021);
        p.result = IDOK;
    };
}

} // namespace

class PrintLogoTest : public TransferTest {
protected:
    // A logo window bound to model on COM1 with the model's flash printing
    // flag, as Connect leaves it, and the virtual printer of that model.
    void PrinterAndLogo(const QString& model)
    {
        StartLinePrinter(model);
        OpenLogoFor(model, 64, 32);
        int flash = 1;
        m_doc->Binding().GetPrinterCfg()->GetOptionPrintersToTest(QStringLiteral("PrnLogoFlash"), &flash, 1);
        m_doc->Binding().SetPrnLogoFlash(flash);
    }

    // "Print Logo" with the answers of ui; returns when the command has.
    void PrintLogo()
    {
        m_view->OnCommand(ID_PRINT_LOGO);
        QCoreApplication::processEvents();
    }

    // Everything the printer has taken once the line is quiet: bytes still on
    // their way at line speed are waited for.
    std::vector<uint8_t> TakeAllReceived()
    {
        std::vector<uint8_t> all;
        QElapsedTimer quiet;
        quiet.start();
        while (quiet.elapsed() < 300) {
            const std::vector<uint8_t> more = m_printer->TakeReceivedBytes();
            if (!more.empty()) {
                all.insert(all.end(), more.begin(), more.end());
                quiet.restart();
            }
            QThread::msleep(20);
        }
        return all;
    }

    // The bytes after the last identification request; empty when there is none.
    std::vector<uint8_t> PrintBytes()
    {
        const std::vector<uint8_t> all = TakeAllReceived();
        const auto last = std::find_end(all.begin(), all.end(), kIdentify.begin(), kIdentify.end());
        if (last == all.end())
            return {};
        return std::vector<uint8_t>(last + static_cast<long>(kIdentify.size()), all.end());
    }
};

TEST_F(PrintLogoTest, SlotThreeOnAFlashPrintingPrinterIsItsCommandSixFeedsAndTheCut)
{
    PrinterAndLogo(QStringLiteral("FRNDR"));
    m_view->Link().SetPrinterDetected(true);
    ScriptedUi ui;
    ui.Then(ChooseSlot(3));
    PrintLogo();
    // CmdPrtLogo3 = 1B 50 03, six LF, Ctotcut = 1B 69.
    const std::vector<uint8_t> expected = Join({{0x1B, 0x50, 0x03}, Feeds(6), {0x1B, 0x69}});
    EXPECT_EQ(Hex(PrintBytes()), Hex(expected));
    EXPECT_EQ(DialogClasses(ui), QStringList{QStringLiteral("CChooseLogoDlg")});
    EXPECT_TRUE(MessageTexts(ui).isEmpty()) << "no box on success";
    EXPECT_EQ(m_view->Link().LogoNumber(), 3);
    EXPECT_FALSE(m_view->Link().IsPrinterDetected()) << "the feed owed after an identification is paid";
    EXPECT_EQ(m_view->Link().Serial(), nullptr) << "the port object is dropped";
}

TEST_F(PrintLogoTest, FiscalPrinterPrintsTheTickedSubLogosInOrderOrTheWholeLogo)
{
    PrinterAndLogo(QStringLiteral("MLQDGGQF"));
    ScriptedUi ui;
    ui.Then(ChooseSlot(2)).Then(PickSubLogos({1, 4}));
    PrintLogo();
    // CmdPrtLogo0201 = 1B 50 02 01, CmdPrtLogo0204 = 1B 50 02 04, Ctotcut; no feeds.
    EXPECT_EQ(Hex(PrintBytes()), Hex({0x1B, 0x50, 0x02, 0x01, 0x1B, 0x50, 0x02, 0x04, 0x1B, 0x69}));
    EXPECT_EQ(m_view->SubLogoBits(), 9);

    ui.Then(ChooseSlot(2)).Then(PickWholeLogo());
    PrintLogo();
    // CmdPrtLogo02 = 1B 50 02 FF, then the cut.
    EXPECT_EQ(Hex(PrintBytes()), Hex({0x1B, 0x50, 0x02, 0xFF, 0x1B, 0x69}));
    EXPECT_EQ(m_view->SubLogoBits(), 255);
}

TEST_F(PrintLogoTest, ExtraFeedAndNoCutPrintersEndThePageTheirWay)
{
    PrinterAndLogo(QStringLiteral("GB6853"));
    ScriptedUi ui;
    ui.Then(ChooseSlot(1));
    PrintLogo();
    // 6 + 12 line feeds before the cut.
    EXPECT_EQ(Hex(PrintBytes()), Hex(Join({{0x1B, 0x50, 0x01}, Feeds(18), {0x1B, 0x69}})));

    PrinterAndLogo(QStringLiteral("BDQGMLW"));
    ui.Then(ChooseSlot(4));
    PrintLogo();
    // Six line feeds and no cut.
    EXPECT_EQ(Hex(PrintBytes()), Hex(Join({{0x1B, 0x50, 0x04}, Feeds(6)})));
}

TEST_F(PrintLogoTest, ALogoProgrammedIntoSlotTwoPrintsBackDotForDot)
{
    PrinterAndLogo(QStringLiteral("GB6853"));
    ScriptedUi ui;
    ui.Then(ChooseSlot(2));
    ASSERT_TRUE(RunJob(ID_PROGRAM_LOGO));
    ASSERT_TRUE(HoldsCentredLogo(m_printer->FlashLogo(2), *m_doc->Picture().GetLogoBitmap(), 576, 240)) << AppLog().toStdString();
    const qsizetype pagesBefore = m_printer->Pages().size();

    // The transfer left the printer at 115200 baud: the print finds it there.
    ui.Then(ChooseSlot(2));
    PrintLogo();
    TakeAllReceived();
    ASSERT_EQ(m_printer->Pages().size(), pagesBefore + 1) << AppLog().toStdString();
    const QImage page(m_printer->Pages().last());
    ASSERT_EQ(page.width(), 576);
    ASSERT_EQ(page.height(), 240 + 18 * 24) << "the logo, then 18 line feeds of 24 dots";
    CEmuLogo printed;
    printed.width = 576;
    printed.height = 240;
    printed.bits.assign(576 / 8 * 240, 0);
    bool feedsWhite = true;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const bool black = (page.pixel(x, y) & 0xFFFFFF) == 0;
            if (y < 240 && black)
                printed.bits[static_cast<size_t>(y * 72 + x / 8)] |= 0x80 >> (x % 8);
            else if (y >= 240 && black)
                feedsWhite = false;
        }
    EXPECT_TRUE(HoldsCentredLogo(printed, *m_doc->Picture().GetLogoBitmap(), 576, 240));
    EXPECT_TRUE(feedsWhite);
}

TEST_F(PrintLogoTest, APrinterPrintingFromRamLoadsTheSlotFirst)
{
    // WGJ33 ("PrnLogoFlash" 0) is not identified by detection: its time-outs
    // are stretched and the print goes straight on.
    PrinterAndLogo(QStringLiteral("WGJ33"));
    ScriptedUi ui;
    ui.Then(ChooseSlot(2));
    ASSERT_TRUE(RunJob(ID_PROGRAM_LOGO));
    m_view->Link().SetLogoInRam(true);
    TakeAllReceived();
    const qsizetype pagesBefore = m_printer->Pages().size();

    ui.Then(ChooseSlot(2));
    PrintLogo();
    // CmdFlashRAM 1B 52 00 with the slot as its last byte, then CmdPrtRAM
    // 1B 50 00, six LF and the cut; after the status request that found the printer.
    const std::vector<uint8_t> all = TakeAllReceived();
    const std::vector<uint8_t> print = Join({{0x1B, 0x52, 0x02, 0x1B, 0x50, 0x00}, Feeds(6), {0x1B, 0x69}});
    ASSERT_GE(all.size(), print.size());
    EXPECT_EQ(Hex(std::vector<uint8_t>(all.end() - static_cast<long>(print.size()), all.end())), Hex(print));
    EXPECT_EQ(std::search(all.begin(), all.end(), kIdentify.begin(), kIdentify.end()), all.end())
        << "no baud detection for the WGJ33";
    EXPECT_FALSE(m_view->Link().IsLogoInRam()) << "RAM now holds the stored logo, not the document's";
    ASSERT_EQ(m_printer->Pages().size(), pagesBefore + 1);
    EXPECT_TRUE(HoldsCentredLogo(m_printer->RamLogo(), *m_doc->Picture().GetLogoBitmap(), 576, 240));
}

TEST_F(PrintLogoTest, FailuresEndTheCommandWithThePortClosed)
{
    // Cancel in "Choose Logo": nothing opened, nothing sent.
    PrinterAndLogo(QStringLiteral("FRNDR"));
    ScriptedUi ui;
    ui.Then([](CUiPrompt& p, QDialog*) { p.result = IDCANCEL; });
    PrintLogo();
    EXPECT_TRUE(TakeAllReceived().empty());

    // Cancel in "Select Sub Logos" of a fiscal printer: the same.
    PrinterAndLogo(QStringLiteral("MLQDGGQF"));
    ui.Then(ChooseSlot(1)).Then([](CUiPrompt& p, QDialog*) { p.result = IDCANCEL; });
    PrintLogo();
    EXPECT_TRUE(TakeAllReceived().empty());

    // A printer that answers but is on no list: the detection fails and says so.
    StartLinePrinter(QStringLiteral("VD8"));
    OpenLogoFor(QStringLiteral("VD8"), 64, 32);
    m_doc->Binding().SetPrnLogoFlash(1);
    m_view->Link().SetPrinterDetected(true);
    ui.Then(ChooseSlot(1));
    PrintLogo();
    EXPECT_TRUE(AppLog().contains(QStringLiteral("Autodetect BaudRate NOT passed")));
    EXPECT_TRUE(PrintBytes().empty()) << "no print command";
    EXPECT_TRUE(m_view->Link().IsPrinterDetected()) << "cleared only after a detection";
    EXPECT_EQ(m_view->Link().Serial(), nullptr);
    EXPECT_EQ(MessageTexts(ui),
              QStringList{QStringLiteral("The logo was not printed: no printer of the list answered at any speed")})
        << "a failure without a box of its own still tells the operator";
}

TEST_F(PrintLogoTest, ACommandLongerThanAPrinterTakesIsRefusedWithALogLine)
{
    PrinterAndLogo(QStringLiteral("FRNDR"));
    // The model's configuration with a 257-byte CmdPrtLogo1 and a 256-byte CmdPrtLogo2.
    QFile original(QDir(testenv::ProgramDir()).filePath(QStringLiteral("CfgFile/FRNDR.cfg")));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    QByteArray text = original.readAll();
    auto bytes = [](int count, const char* last) {
        QByteArray line = "1B 50";
        for (int i = 2; i < count - 1; ++i)
            line += " 00";
        return line + " " + last;
    };
    text.replace("CmdPrtLogo1 = 1B 50 01", "CmdPrtLogo1 = " + bytes(257, "01"));
    text.replace("CmdPrtLogo2 = 1B 50 02", "CmdPrtLogo2 = " + bytes(256, "02"));
    const QString path = TempPath(QStringLiteral("LONG.cfg"));
    QFile long_(path);
    ASSERT_TRUE(long_.open(QIODevice::WriteOnly));
    long_.write(text);
    long_.close();
    ASSERT_TRUE(m_doc->Binding().GetPrinterCfg()->LoadPublicCfgFile(path));

    ScriptedUi ui;
    ui.Then(ChooseSlot(1));
    PrintLogo();
    EXPECT_TRUE(PrintBytes().empty()) << "nothing of the command, no feed, no cut";
    EXPECT_TRUE(AppLog().contains(QStringLiteral("CmdPrtLogo1 has 257 bytes, more than the 256")))
        << AppLog().toStdString();
    ASSERT_EQ(MessageTexts(ui).size(), 1);
    EXPECT_TRUE(MessageTexts(ui).first().startsWith(QStringLiteral("The logo was not printed: the configured command CmdPrtLogo1 has 257 bytes")))
        << MessageTexts(ui).first().toStdString();

    // 256 bytes are sent whole.
    ui.Then(ChooseSlot(2));
    PrintLogo();
    const std::vector<uint8_t> print = PrintBytes();
    ASSERT_EQ(print.size(), 256u + 6 + 2);
    EXPECT_EQ(print[255], 0x02);
}

TEST_F(PrintLogoTest, PrintLogoIsOfferedOnlyWithAUsablePortAndNoJobRunning)
{
    PrinterAndLogo(QStringLiteral("FRNDR"));
    EXPECT_TRUE(State(ID_PRINT_LOGO).enabled());
    m_view->Link().SetRxhPrinter(true);
    EXPECT_FALSE(State(ID_PRINT_LOGO).enabled()) << "not for the MZVZVRXH";
    m_view->Link().SetRxhPrinter(false);
    m_doc->Binding().SetPortName(LoadString(61454));
    EXPECT_FALSE(State(ID_PRINT_LOGO).enabled()) << "no usable port";
    m_doc->Binding().SetPortName(QStringLiteral("COM1"));

    ScriptedUi ui;
    m_view->OnCommand(ID_TEST_LOGO);
    ASSERT_TRUE(m_view->IsTransferRunning());
    EXPECT_FALSE(State(ID_PRINT_LOGO).enabled()) << "not while a job runs";
    // A key press that still arrives does nothing: no dialog is shown.
    PrintLogo();
    EXPECT_TRUE(DialogClasses(ui).isEmpty());
    ASSERT_TRUE(WaitForJob(120000));
    EXPECT_TRUE(State(ID_PRINT_LOGO).enabled());
}

// ---- Printer Preview -----------------------------------------------------------

namespace {

::testing::AssertionResult SameDots(const QImage& dots, const CEmuLogo& held)
{
    if (dots.width() != held.width || dots.height() != held.height)
        return ::testing::AssertionFailure() << "preview " << dots.width() << " x " << dots.height() << ", printer "
                                             << held.width << " x " << held.height;
    for (int y = 0; y < held.height; ++y)
        for (int x = 0; x < held.width; ++x)
            if (((dots.pixel(x, y) & 0xFFFFFF) == 0) != held.IsBlack(x, y))
                return ::testing::AssertionFailure() << "dot " << x << ", " << y;
    return ::testing::AssertionSuccess();
}

// The dots of a paper strip without its margins.
QImage StripDots(const QImage& strip, int width, int height)
{
    QImage dots(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            dots.setPixel(x, y, strip.pixel(x, y + kPaperMarginDots) == kDotColour.rgb() ? qRgb(0, 0, 0)
                                                                                          : qRgb(255, 255, 255));
    return dots;
}

} // namespace

TEST_F(PrintLogoTest, ThePreviewShowsTheDotsThePrinterHoldsAfterATest)
{
    struct Case {
        const char* model;
        std::vector<UINT> options;
    };
    // A plain model with a mirrored, framed logo; one with Reverse Color and
    // Reverse Image; a model that takes a BMP image.
    const Case cases[] = {
        {"WGJ33", {ID_REVERSE_ROW, ID_FRAME_THIN}},
        {"FRNDR", {ID_REVERSE_COLOR, ID_REVERSE_IMAGE}},
        {"BDQGMLW", {ID_REVERSE_ROW, ID_FRAME_BOLD}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        PrinterAndLogo(QString::fromLatin1(c.model));
        for (const UINT option : c.options)
            m_view->OnCommand(option);
        ScriptedUi ui;
        QImage shown;
        int perDot = 0;
        ui.Then([&](CUiPrompt& p, QDialog* d) {
            auto* view = d ? d->findChild<CPaperStripView*>() : nullptr;
            ASSERT_NE(view, nullptr);
            shown = view->Strip();
            perDot = view->DevicePixelsPerDot();
            p.result = IDOK;
        });
        ASSERT_TRUE(State(ID_PRINTER_PREVIEW).enabled());
        m_view->OnCommand(ID_PRINTER_PREVIEW);
        ASSERT_EQ(DialogClasses(ui), QStringList{QStringLiteral("CPrinterPreviewDlg")})
            << MessageTexts(ui).join(QLatin1Char('|')).toStdString();
        ASSERT_FALSE(shown.isNull());
        EXPECT_EQ(perDot, 1) << "one device pixel per dot on an unscaled screen";
        EXPECT_TRUE(m_printer->TakeReceivedBytes().empty()) << "a preview sends nothing";

        ASSERT_TRUE(RunJob(ID_TEST_LOGO)) << AppLog().toStdString();
        const CEmuLogo held = m_printer->RamLogo();
        ASSERT_FALSE(held.IsEmpty()) << AppLog().toStdString();
        EXPECT_EQ(shown.width(), m_doc->Binding().GetDotX()) << "the strip is the printer's width";
        EXPECT_TRUE(SameDots(StripDots(shown, held.width, held.height), held));
    }
}

// ---- glyphane-cli print-logo and preview ----------------------------------------


TEST_F(PrintLogoTest, CommandLinePrintLogoFindsThePrinterAndPrintsTheSlot)
{
    StartLinePrinter(QStringLiteral("FRNDR"));
    ScriptedUi ui;
    QString err;
    ASSERT_EQ(RunCli({"print-logo", "--port", "COM1", "--slot", "3"}, &err), cli::kExitOk) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("detected printer FRNDR on COM1"))) << err.toStdString();
    EXPECT_EQ(Hex(PrintBytes()), Hex(Join({{0x1B, 0x50, 0x03}, Feeds(6), {0x1B, 0x69}})));
}

TEST_F(PrintLogoTest, CommandLinePrintLogoTakesSubLogosOrTheWholeLogoOfAFiscalPrinter)
{
    StartLinePrinter(QStringLiteral("MLQDGGQF"));
    ScriptedUi ui;
    QString err;
    const QStringList base = {"print-logo", "--port", "COM1", "--model", "MLQDGGQF", "--slot", "3"};
    ASSERT_EQ(RunCli(base + QStringList{"--sub-logos", "4,1"}, &err), cli::kExitOk) << err.toStdString();
    EXPECT_EQ(Hex(PrintBytes()), Hex({0x1B, 0x50, 0x03, 0x01, 0x1B, 0x50, 0x03, 0x04, 0x1B, 0x69}));
    ASSERT_EQ(RunCli(base + QStringList{"--all"}, &err), cli::kExitOk) << err.toStdString();
    EXPECT_EQ(Hex(PrintBytes()), Hex({0x1B, 0x50, 0x03, 0xFF, 0x1B, 0x69}));
    ASSERT_EQ(RunCli(base, &err), cli::kExitOk) << "the whole logo when nothing is said";
    EXPECT_EQ(Hex(PrintBytes()), Hex({0x1B, 0x50, 0x03, 0xFF, 0x1B, 0x69}));
}

TEST_F(PrintLogoTest, CommandLinePrintLogoRefusesBadRequestsBeforeTheLineIsTouched)
{
    StartLinePrinter(QStringLiteral("MLQDGGQF"));
    ScriptedUi ui;
    QString err;
    const QStringList base = {"print-logo", "--port", "COM1", "--model", "MLQDGGQF", "--slot"};
    EXPECT_EQ(RunCli(base + QStringList{"5"}, &err), cli::kExitRefused);
    EXPECT_EQ(err, "glyphane-cli: --slot takes a slot from 1 to 4 for MLQDGGQF\n");
    EXPECT_EQ(RunCli(base + QStringList{"1", "--sub-logos", "1,5"}, &err), cli::kExitRefused);
    EXPECT_TRUE(err.contains(QStringLiteral("--sub-logos takes sub-logo numbers 1 to 4"))) << err.toStdString();
    EXPECT_EQ(RunCli(base + QStringList{"1", "--sub-logos", "2,2"}, &err), cli::kExitRefused);
    EXPECT_EQ(RunCli(base + QStringList{"1", "--sub-logos", "1", "--all"}, &err), cli::kExitRefused);
    EXPECT_EQ(RunCli({"print-logo", "--port", "COM1", "--model", "FRNDR", "--slot", "1", "--all"}, &err),
              cli::kExitRefused);
    EXPECT_EQ(err, "glyphane-cli: FRNDR has no sub-logos: only fiscal printers take --sub-logos or --all\n");
    EXPECT_EQ(RunCli({"print-logo", "--port", "COM1", "--model", "MLQDGGQF"}, &err), cli::kExitUsage);
    EXPECT_TRUE(TakeAllReceived().empty()) << "nothing reached the printer";

    // A printer that does not answer: the reason in one line.
    StartLinePrinter(QStringLiteral("FRNDR"), QStringLiteral("silent"));
    EXPECT_EQ(RunCli({"print-logo", "--port", "COM1", "--model", "FRNDR", "--slot", "1"}, &err), cli::kExitRefused);
    EXPECT_EQ(err, "glyphane-cli: the printer does not answer on COM1\n");
}

TEST_F(PrintLogoTest, CommandLinePreviewIsWhatTheSameSendLeavesInThePrinter)
{
    PrinterAndLogo(QStringLiteral("WGJ33"));
    const QString logo = TempPath(QStringLiteral("logo.bmp"));
    ASSERT_TRUE(m_doc->WriteBitmapFile(logo));
    const QString png = TempPath(QStringLiteral("preview.png"));
    ScriptedUi ui;
    QString err;
    const QStringList options = {"--model", "WGJ33", "--reverse-row", "--frame", "double"};
    ASSERT_EQ(RunCli(QStringList{"preview", logo} + options + QStringList{png}, &err), cli::kExitOk)
        << err.toStdString();
    ASSERT_EQ(RunCli(QStringList{"send", logo, "--port", "COM1", "--test"} + options, &err), cli::kExitOk)
        << err.toStdString();
    const QImage strip(png);
    ASSERT_EQ(strip.size(), QSize(576, 240 + 2 * kPaperMarginDots));
    EXPECT_TRUE(SameDots(StripDots(strip, 576, 240), m_printer->RamLogo()));

    // A preview that cannot be written changes nothing.
    EXPECT_EQ(RunCli(QStringList{"preview", logo, "--model", "WGJ33", TempPath("no-such-dir/p.png")}, &err),
              cli::kExitRefused);
    EXPECT_TRUE(err.contains(QStringLiteral("cannot be written"))) << err.toStdString();
    EXPECT_EQ(RunCli(QStringList{"preview", logo, "--model", "WGJ33", "--frame", "wide", png}, &err),
              cli::kExitRefused);
    EXPECT_EQ(QImage(png), strip) << "the refused preview left the earlier file alone";
}

// The documentation's pictures of the preview and of the page the virtual
// printer prints for the same slot: run with GLYPHANE_DOC_SHOTS naming the
// output folder (skipped otherwise).
TEST_F(PrintLogoTest, DocumentationScreenshot)
{
    const QString folder = qEnvironmentVariable("GLYPHANE_DOC_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "set GLYPHANE_DOC_SHOTS to make the screenshots";
    StartLinePrinter(QStringLiteral("GB6853"));
    OpenLogoFor(QStringLiteral("GB6853"), 256, 128);
    m_doc->Binding().SetPrnLogoFlash(1);
    m_view->OnCommand(ID_FRAME_THIN);
    ScriptedUi ui;
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        d->resize(640, 420);
        d->show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(d->grab().save(folder + QStringLiteral("/printer-preview.png")));
        p.result = IDOK;
    });
    m_view->OnCommand(ID_PRINTER_PREVIEW);
    ui.Then(ChooseSlot(2));
    ASSERT_TRUE(RunJob(ID_PROGRAM_LOGO));
    ui.Then(ChooseSlot(2));
    PrintLogo();
    TakeAllReceived();
    ASSERT_FALSE(m_printer->Pages().isEmpty());
    const QImage page(m_printer->Pages().last());
    EXPECT_TRUE(page.save(folder + QStringLiteral("/printed-page.png")));
}

// ---- the parallel port and USB -------------------------------------------------

namespace {

// LPT1 and USB001 lead to the virtual printer, which serves as a parallel
// port (bytes in, no answers) or as a USB printer.
class PrintLogoPortsTest : public PrintLogoTest {
protected:
    QByteArray Settings() const override
    {
        const QByteArray link = LinkPath().toUtf8();
        return Registry() + "\n[Ports]\nCOM1=" + link + "\nLPT1=" + link + "\nUSB001=" + link + "\n";
    }

    void StartOn(EmuPort port, const QString& portName, const QString& model,
                 const std::function<void(CEmuOptions&)>& tweak = [](CEmuOptions&) {})
    {
        StartLinePrinterWith(model, [&](CEmuOptions& o) {
            o.port = port;
            o.baud = 115200;
            tweak(o);
        });
        OpenLogoFor(model, 64, 32);
        int flash = 1;
        m_doc->Binding().GetPrinterCfg()->GetOptionPrintersToTest(QStringLiteral("PrnLogoFlash"), &flash, 1);
        m_doc->Binding().SetPrnLogoFlash(flash);
        m_doc->Binding().SetPortName(portName);
    }

    static testenv::ScriptedUi::Step FirstUsbPrinter()
    {
        return [](CUiPrompt& p, QDialog*) { p.result = IDOK; };
    }
};

// ESC P: the print commands of the configurations.
const std::vector<uint8_t> kPrint = {0x1B, 0x50};

bool Holds(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& part)
{
    return std::search(bytes.begin(), bytes.end(), part.begin(), part.end()) != bytes.end();
}

} // namespace

TEST_F(PrintLogoPortsTest, AParallelPrinterPrintingFromRamLoadsTheSlotThenPrintsItsRam)
{
    StartOn(EmuPort::Parallel, QStringLiteral("LPT1"), QStringLiteral("QNND"));
    ScriptedUi ui;
    ui.Then(ChooseSlot(3));
    PrintLogo();
    // CmdFlashRAM 1B 52 00 with the slot as its last byte, CmdPrtRAM, six LF, the cut.
    EXPECT_EQ(Hex(TakeAllReceived()), Hex(Join({{0x1B, 0x52, 0x03, 0x1B, 0x50, 0x00}, Feeds(6), {0x1B, 0x69}})));
    EXPECT_TRUE(MessageTexts(ui).isEmpty());
    EXPECT_EQ(m_view->Link().Parallel(), nullptr) << "the port object is dropped";
}

TEST_F(PrintLogoPortsTest, AParallelSelectLinePrinterIsWarnedAboutThenPrintsItsSlot)
{
    StartOn(EmuPort::Parallel, QStringLiteral("LPT1"), QStringLiteral("QXB978"));
    ScriptedUi ui;
    ui.Then(ChooseSlot(2));
    PrintLogo();
    EXPECT_EQ(MessageTexts(ui), QStringList{LoadString(61533)});
    EXPECT_EQ(Hex(TakeAllReceived()), Hex(Join({{0x1B, 0x50, 0x02}, Feeds(6), {0x1B, 0x69}})));
}

TEST_F(PrintLogoPortsTest, OverUsbOnlyThePrintModelsPrintAndOnlyWhenOnLineAndRightlyIdentified)
{
    // JMQ9534: opened and asked, nothing printed.
    StartOn(EmuPort::Usb, QStringLiteral("USB001"), QStringLiteral("JMQ9534"));
    ScriptedUi ui;
    ui.Then(ChooseSlot(1)).Then(FirstUsbPrinter());
    PrintLogo();
    EXPECT_EQ(DialogClasses(ui), (QStringList{QStringLiteral("CChooseLogoDlg"), QStringLiteral("CDialogSelPrn")}));
    EXPECT_FALSE(Holds(TakeAllReceived(), kPrint));
    EXPECT_TRUE(MessageTexts(ui).isEmpty());
    EXPECT_EQ(m_view->Link().Usb(), nullptr);

    // VD8, a USB bitmap model: the slot's command and six feeds, no cut.
    StartOn(EmuPort::Usb, QStringLiteral("USB001"), QStringLiteral("VD8"));
    ui.Then(ChooseSlot(2)).Then(FirstUsbPrinter());
    PrintLogo();
    std::vector<uint8_t> received = TakeAllReceived();
    const std::vector<uint8_t> vd8 = Join({{0x1B, 0x50, 0x02}, Feeds(6)});
    ASSERT_GE(received.size(), vd8.size());
    EXPECT_EQ(Hex(std::vector<uint8_t>(received.end() - static_cast<long>(vd8.size()), received.end())), Hex(vd8));

    // J4: the same and the cut.
    StartOn(EmuPort::Usb, QStringLiteral("USB001"), QStringLiteral("J4"));
    ui.Then(ChooseSlot(2)).Then(FirstUsbPrinter());
    PrintLogo();
    received = TakeAllReceived();
    const std::vector<uint8_t> j4 = Join({{0x1B, 0x50, 0x02}, Feeds(6), {0x1B, 0x69}});
    ASSERT_GE(received.size(), j4.size());
    EXPECT_EQ(Hex(std::vector<uint8_t>(received.end() - static_cast<long>(j4.size()), received.end())), Hex(j4));
    EXPECT_EQ(m_view->Link().Usb(), nullptr);
    EXPECT_TRUE(m_view->Link().UsbPrinterName().isEmpty()) << "the next print asks for the printer again";

    // Off line: 61545 and nothing printed; another printer: 61546.
    StartOn(EmuPort::Usb, QStringLiteral("USB001"), QStringLiteral("J4"), [](CEmuOptions& o) { o.offline = true; });
    ScriptedUi offline;
    offline.Then(ChooseSlot(1)).Then(FirstUsbPrinter());
    PrintLogo();
    EXPECT_EQ(MessageTexts(offline), QStringList{LoadString(61545)});
    EXPECT_FALSE(Holds(TakeAllReceived(), kPrint));
    StartOn(EmuPort::Usb, QStringLiteral("USB001"), QStringLiteral("J4"), [](CEmuOptions& o) { o.id = 0x33; });
    ScriptedUi other;
    other.Then(ChooseSlot(1)).Then(FirstUsbPrinter());
    PrintLogo();
    EXPECT_EQ(MessageTexts(other), QStringList{LoadString(61546)});
    EXPECT_FALSE(Holds(TakeAllReceived(), kPrint));
}

TEST_F(PrintLogoPortsTest, OnPrinterDevicesThePrintEndsOnceThePrinterTookTheCut)
{
    // usblp returns from the cut's write before the printer has it, and the
    // port is closed right after; lp returns once the bytes went through.
    QString why;
    if (!CPrinterEmulator::DeviceModesUsable(&why))
        GTEST_SKIP() << "no device file here: " << why.toStdString();
    const auto atNineSixHundred = [](CEmuOptions& o) { o.baud = 9600; };
    StartOn(EmuPort::UsbDevice, QStringLiteral("USB001"), QStringLiteral("J4"), atNineSixHundred);
    ScriptedUi ui;
    ui.Then(ChooseSlot(2)).Then(FirstUsbPrinter());
    PrintLogo();
    EXPECT_TRUE(MessageTexts(ui).isEmpty());
    EXPECT_EQ(m_printer->Cuts(), 1) << "the cut was dropped at close";

    StartOn(EmuPort::UsbDevice, QStringLiteral("USB001"), QStringLiteral("J4"), atNineSixHundred);
    QString err;
    ASSERT_EQ(RunCli({"print-logo", "--port", "USB001", "--model", "J4", "--slot", "2"}, &err), cli::kExitOk)
        << err.toStdString();
    EXPECT_EQ(m_printer->Cuts(), 1) << "glyphane-cli dropped the cut at close";

    StartOn(EmuPort::LpDevice, QStringLiteral("LPT1"), QStringLiteral("QNND"));
    ui.Then(ChooseSlot(3));
    PrintLogo();
    EXPECT_EQ(Hex(TakeAllReceived()), Hex(Join({{0x1B, 0x52, 0x03, 0x1B, 0x50, 0x00}, Feeds(6), {0x1B, 0x69}})));
    EXPECT_TRUE(MessageTexts(ui).isEmpty());
}

TEST_F(PrintLogoPortsTest, CommandLinePrintLogoOnTheParallelPortAndUsb)
{
    StartOn(EmuPort::Parallel, QStringLiteral("LPT1"), QStringLiteral("QNND"));
    ScriptedUi ui;
    QString err;
    EXPECT_EQ(RunCli({"print-logo", "--port", "LPT1", "--slot", "1"}, &err), cli::kExitRefused);
    EXPECT_TRUE(err.contains(QStringLiteral("name it with --model"))) << err.toStdString();
    ASSERT_EQ(RunCli({"print-logo", "--port", "LPT1", "--model", "QNND", "--slot", "2"}, &err), cli::kExitOk)
        << err.toStdString();
    EXPECT_EQ(Hex(TakeAllReceived()), Hex(Join({{0x1B, 0x52, 0x02, 0x1B, 0x50, 0x00}, Feeds(6), {0x1B, 0x69}})));

    StartOn(EmuPort::Usb, QStringLiteral("USB001"), QStringLiteral("J4"), [](CEmuOptions& o) { o.offline = true; });
    EXPECT_EQ(RunCli({"print-logo", "--port", "USB001", "--model", "J4", "--slot", "1"}, &err), cli::kExitRefused);
    EXPECT_TRUE(err.contains(LoadString(61545))) << err.toStdString();
    EXPECT_TRUE(err.endsWith(QStringLiteral("glyphane-cli: the printer is off line\n"))) << err.toStdString();
}
