// "Test Logo" and "Program Logo" over a serial port, through the real view and
// job against the virtual printer in line-time mode: what reaches the printer,
// the RAM shortcut, the stop, a printer that falls silent, a window closed
// mid-transfer, and the model rules of the transfer speed.
#include "TransferFixture.h"

#include "frame/ChildFrame.h"
#include "frame/MainFrame.h"
#include "transfer/TransferJob.h"


#include <QProgressBar>

using namespace transfertest;
using testenv::ScriptedUi;

namespace {

// ESC L of the WGJ33 configuration: a 576 x 240 logo into RAM.
const std::vector<uint8_t> kWgj33Download = {0x1B, 0x4C, 0x00, 0x40, 0x02, 0xF0, 0x00};

bool Contains(const std::vector<uint8_t>& haystack, const std::vector<uint8_t>& needle)
{
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

} // namespace

TEST_F(TransferTest, ThePrinterReceivesTheStreamInBlocksWithAStatusRequestBeforeEach)
{
    StartLinePrinter(QStringLiteral("WGJ33"));
    OpenLogoFor(QStringLiteral("WGJ33"), 64, 32);
    ScriptedUi ui;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    const std::vector<uint8_t> received = m_printer->TakeReceivedBytes();
    const auto start = std::search(received.begin(), received.end(), kWgj33Download.begin(), kWgj33Download.end());
    ASSERT_NE(start, received.end()) << "understood " << m_printer->BytesUnderstood() << ", ignored "
                                     << m_printer->BytesIgnored() << "\n"
                                     << AppLog().toStdString();

    // ESC L 576 x 240, the complemented raster, in blocks of 2048 bytes with
    // DLE EOT 1 before every block after the first; then ESC P 0, six line
    // feeds and ESC i print the RAM logo.
    const std::vector<uint8_t> stream = Join({kWgj33Download, CentredBlackDots(*m_doc->Picture().GetLogoBitmap(), 576, 240)});
    ASSERT_EQ(stream.size(), 17287u);
    std::vector<uint8_t> expected;
    for (size_t offset = 0; offset < stream.size(); offset += 2048) {
        if (offset > 0)
            expected.insert(expected.end(), {0x10, 0x04, 0x01});
        expected.insert(expected.end(), stream.begin() + static_cast<long>(offset),
                        stream.begin() + static_cast<long>(std::min(stream.size(), offset + 2048)));
    }
    expected.insert(expected.end(), {0x1B, 0x50, 0x00, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x1B, 0x69});
    EXPECT_TRUE(std::vector<uint8_t>(start, received.end()) == expected)
        << "received " << (received.end() - start) << " bytes from the download on, expected " << expected.size();
}

TEST_F(TransferTest, TestLoadsAndPrintsTheLogoThenProgramOnlyCopiesRamToFlash)
{
    StartLinePrinter(QStringLiteral("WGJ33"));
    OpenLogoFor(QStringLiteral("WGJ33"), 64, 32);
    ScriptedUi ui;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    EXPECT_TRUE(ui.Prompts().empty()) << "a test shows no box";
    EXPECT_TRUE(HoldsCentredLogo(m_printer->RamLogo(), *m_doc->Picture().GetLogoBitmap(), 576, 240));
    EXPECT_EQ(m_printer->Pages().size(), 1) << "the RAM logo was printed";
    EXPECT_TRUE(m_view->Link().IsLogoInRam());
    const std::vector<uint8_t> first = m_printer->TakeReceivedBytes();
    EXPECT_TRUE(Contains(first, kWgj33Download));
    EXPECT_GE(first.size(), 17280u);

    // Program: slot 2 is chosen; the logo is in RAM, so only RAM goes to flash.
    ui.Then(ChooseSlot(2));
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(RunJob(ID_PROGRAM_LOGO));
    EXPECT_GE(clock.elapsed(), 1500) << "the pause before the port opens again";
    const std::vector<uint8_t> second = m_printer->TakeReceivedBytes();
    EXPECT_FALSE(Contains(second, kWgj33Download)) << "no raster the second time";
    EXPECT_TRUE(Contains(second, {0x1B, 0x46, 0x02})) << "RAM to flash slot 2";
    EXPECT_TRUE(HoldsCentredLogo(m_printer->FlashLogo(2), *m_doc->Picture().GetLogoBitmap(), 576, 240));
    ASSERT_EQ(MessageTexts(ui), QStringList{LoadString(61459)}) << AppLog().toStdString();
    EXPECT_FALSE(m_view->Link().IsLogoInRam());
    EXPECT_EQ(m_view->Link().LogoNumber(), 2);
}

TEST_F(TransferTest, ReverseColourAfterATestForcesAFullTransfer)
{
    StartLinePrinter(QStringLiteral("WGJ33"));
    OpenLogoFor(QStringLiteral("WGJ33"), 64, 32);
    ScriptedUi ui;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    m_printer->TakeReceivedBytes();
    ASSERT_TRUE(m_view->Link().IsLogoInRam());
    m_view->OnCommand(ID_REVERSE_COLOR);
    EXPECT_FALSE(m_view->Link().IsLogoInRam());
    ui.Then(ChooseSlot(1));
    ASSERT_TRUE(RunJob(ID_PROGRAM_LOGO));
    EXPECT_TRUE(Contains(m_printer->TakeReceivedBytes(), kWgj33Download));
}

TEST_F(TransferTest, TheProgressFiguresCountWhatTheLineHasCarried)
{
    // A write returns a block ahead of the line: counted as sent, the first
    // figures once read 157538 bytes/s and "1 s left" with 18 s to go.
    StartLinePrinter(QStringLiteral("WGJ33"));
    OpenLogoFor(QStringLiteral("WGJ33"), 64, 32);
    ScriptedUi ui;
    m_view->OnCommand(ID_TEST_LOGO);
    int samples = 0;
    while (m_view->IsTransferRunning()) {
        const CTransferJob::CProgress p = m_view->LastJob()->Progress();
        if (p.baud != 0 && p.handedBytes > 0) {
            ++samples;
            // The line carries baud / 10 bytes a second, from the moment the bar opened.
            ASSERT_LE(p.sentBytes, static_cast<qint64>(p.baud) / 10 * (p.elapsedMs + 1) / 1000 + 1)
                << "after " << p.elapsedMs << " ms at " << p.baud << " baud";
            ASSERT_LE(p.sentBytes, p.handedBytes);
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EXPECT_GT(samples, 10);
    ASSERT_TRUE(WaitForJob(10000));
    EXPECT_EQ(m_view->LastJob()->Progress().sentBytes, m_view->LastJob()->Progress().totalBytes);
}

TEST_F(TransferTest, TheRamShortcutServesOnlyTheLogoTheRamHolds)
{
    StartLinePrinter(QStringLiteral("WGJ33"));
    OpenLogoFor(QStringLiteral("WGJ33"), 64, 32);
    ScriptedUi ui;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    ASSERT_TRUE(m_view->RamHoldsTheLogo());
    const auto dispatch = [](UINT id) {
        CMainFrame* frame = GetApp()->GetMainFrame();
        frame->Router()->UpdateAll();
        frame->Router()->Dispatch(id);
    };
    // Edits that leave "logo in RAM" set yet change what a transfer would
    // send; undone, the RAM holds the logo again. One after another.
    const struct {
        const char* what;
        UINT command;
        bool holds;
    } edits[] = {
        {"Invert", ID_IMAGE_INVERT, false},          {"Invert again", ID_IMAGE_INVERT, true},
        {"flip horizontally", ID_IMAGE_FLIP_HORIZONTAL, false}, {"Undo", ID_EDIT_UNDO, true},
        {"flip vertically", ID_IMAGE_FLIP_VERTICAL, false},     {"Undo", ID_EDIT_UNDO, true},
    };
    for (const auto& edit : edits) {
        dispatch(edit.command);
        EXPECT_TRUE(m_view->Link().IsLogoInRam()) << edit.what;
        EXPECT_EQ(m_view->RamHoldsTheLogo(), edit.holds) << edit.what;
    }

    // Test, Invert, Program slot 2: the whole logo goes, and slot 2 prints it inverted.
    m_printer->TakeReceivedBytes();
    dispatch(ID_IMAGE_INVERT);
    ui.Then(ChooseSlot(2));
    ASSERT_TRUE(RunJob(ID_PROGRAM_LOGO));
    EXPECT_TRUE(Contains(m_printer->TakeReceivedBytes(), kWgj33Download)) << "a full transfer";
    EXPECT_TRUE(HoldsCentredLogo(m_printer->FlashLogo(2), *m_doc->Picture().GetLogoBitmap(), 576, 240));
    const qsizetype pages = m_printer->Pages().size();
    ui.Then(ChooseSlot(2));
    m_view->OnCommand(ID_PRINT_LOGO);
    ASSERT_TRUE(WaitForJob(30000));
    EXPECT_EQ(m_printer->Pages().size(), pages + 1) << "Print Logo slot 2 printed";
    EXPECT_TRUE(Contains(m_printer->TakeReceivedBytes(), {0x1B, 0x52, 0x02})) << "slot 2 into RAM, then printed";
    EXPECT_TRUE(HoldsCentredLogo(m_printer->RamLogo(), *m_doc->Picture().GetLogoBitmap(), 576, 240));
}

TEST_F(TransferTest, TheRamShortcutAsksEveryPrinterItsStatusBeforeTheCopy)
{
    // Not only the WGJ33: a QNND, left at 38400 baud by its test, is found by
    // its status, then by its identification, before RAM goes to flash.
    StartLinePrinter(QStringLiteral("QNND"));
    OpenLogoFor(QStringLiteral("QNND"), 64, 32);
    ScriptedUi ui;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    m_printer->TakeReceivedBytes();
    ui.Then(ChooseSlot(3));
    ASSERT_TRUE(RunJob(ID_PROGRAM_LOGO));
    const std::vector<uint8_t> second = m_printer->TakeReceivedBytes();
    const std::vector<uint8_t> status = {0x10, 0x04, 0x01}, identification = {0x1D, 0x49, 0x31},
                               copy = {0x1B, 0x46, 0x03};
    const auto at = [&](const std::vector<uint8_t>& needle) {
        return std::search(second.begin(), second.end(), needle.begin(), needle.end()) - second.begin();
    };
    EXPECT_LT(at(status), at(identification)) << "the status first";
    EXPECT_LT(at(identification), at(copy));
    EXPECT_LT(at(copy), static_cast<long>(second.size())) << "RAM to flash slot 3";
    EXPECT_TRUE(HoldsCentredLogo(m_printer->FlashLogo(3), *m_doc->Picture().GetLogoBitmap(), 576, 240));
}

TEST_F(TransferTest, StopBeforeTheFourthBlockEndsWithoutAnErrorBox)
{
    StartLinePrinter(QStringLiteral("WGJ33"));
    OpenLogoFor(QStringLiteral("WGJ33"), 64, 32);
    ScriptedUi ui;
    m_view->OnCommand(ID_TEST_LOGO);
    // Stop once two blocks are out: the third (i = 2) is on its way, waiting
    // for the printer to take the second.
    QElapsedTimer clock;
    clock.start();
    const auto stepsDone = [this] {
        return m_view->ProgressDialog() ? m_view->ProgressDialog()->Progress()->value() : 0;
    };
    while (m_view->IsTransferRunning() && stepsDone() < 2 && clock.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_NE(m_view->ProgressDialog(), nullptr);
    EXPECT_TRUE(m_view->ProgressDialog()->Details().contains(QStringLiteral(" of 17287 bytes")))
        << m_view->ProgressDialog()->Details().toStdString();
    m_view->ProgressDialog()->OnStop();
    ASSERT_TRUE(WaitForJob(30000));
    EXPECT_TRUE(AppLog().contains(QStringLiteral(
        "[CGlyphaneView::SendDataToGeneric()] Process send data stopped by user at: 3-esimo data packet")))
        << AppLog().right(400).toStdString();
    EXPECT_EQ(MessageTexts(ui), QStringList{LoadString(61464)}) << "the stop reminder, and no error box";
    EXPECT_EQ(m_view->ProgressDialog(), nullptr);
    EXPECT_FALSE(m_view->Link().IsLogoInRam());
    EXPECT_TRUE(AppLog().contains(QStringLiteral("Error detected during TestOrProgRamLogo() phase")));
}

TEST_F(TransferTest, APrinterThatFallsSilentEndsWithTheSendErrorAndTheViewStaysUsable)
{
    StartLinePrinter(QStringLiteral("WGJ33"), QStringLiteral("silent-after=3000"));
    OpenLogoFor(QStringLiteral("WGJ33"), 64, 32);
    ScriptedUi ui;
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(RunJob(ID_TEST_LOGO, 60000));
    EXPECT_LT(clock.elapsed(), 45000) << "ended within the stretched status time-out";
    EXPECT_EQ(MessageTexts(ui), QStringList{LoadString(61457)});
    EXPECT_TRUE(AppLog().contains(QStringLiteral("[CGlyphaneView::CommandToSendLogo] Printer is OFF")));
    EXPECT_EQ(m_view->ProgressDialog(), nullptr);
    EXPECT_TRUE(GetApp()->GetMainFrame()->PaneText(ID_PANE_PORT) == QStringLiteral("COM1"))
        << "the port is closed again";
    EXPECT_FALSE(m_view->IsTransferRunning());
}

// Closed mid-transfer, the window ends its worker at once, and what the
// closed window's port said last never reaches the shared port pane: the
// logo window left in front shows its own port, here none.
TEST_F(TransferTest, ClosingTheWindowMidTransferEndsTheWorkerQuickly)
{
    StartLinePrinter(QStringLiteral("WGJ33"));
    CGlyphaneDoc* other = OpenWhiteLogoFile(32, 16, QStringLiteral("other.bmp"));
    ASSERT_NE(other, nullptr);
    OpenLogoFor(QStringLiteral("WGJ33"), 64, 32);
    ScriptedUi ui;
    m_view->OnCommand(ID_TEST_LOGO);
    while (m_printer->BytesUnderstood() < 2048)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_TRUE(m_view->IsTransferRunning());
    CMainFrame* frame = GetApp()->GetMainFrame();
    EXPECT_TRUE(frame->PaneText(ID_PANE_PORT).startsWith(QStringLiteral("COM1"))) << "the open port's settings";
    // Closed as the operator closes it: the window goes, the other one comes
    // to the front, and the closed one is deleted afterwards.
    m_doc->SetModifiedFlag(false);
    QPointer<CGlyphaneView> closing = m_view;
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(m_view->parentWidget()->close());
    m_view = nullptr;
    m_doc = nullptr;
    while (closing && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_EQ(closing, nullptr);
    EXPECT_LT(clock.elapsed(), 2000);
    QCoreApplication::processEvents();
    ASSERT_EQ(frame->ActiveChildFrame()->GetDocument(), other);
    EXPECT_EQ(other->Binding().GetPortName().toStdString(), LoadString(61454).toStdString());
    EXPECT_EQ(frame->PaneText(ID_PANE_PORT).toStdString(), LoadString(61454).toStdString());
}

TEST_F(TransferTest, AFiscalPrinterWhoseBaudDialogIsCancelledGetsNothing)
{
    StartLinePrinter(QStringLiteral("MLQDGGQF"));
    OpenLogoFor(QStringLiteral("MLQDGGQF"), 64, 32);
    ScriptedUi ui;
    ui.Answer(IDCANCEL); // "Select BaudRate..."
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    EXPECT_EQ(DialogClasses(ui), QStringList{QStringLiteral("CBaudRateDlg")});
    EXPECT_TRUE(MessageTexts(ui).isEmpty());
    EXPECT_TRUE(m_printer->RamLogo().IsEmpty());
    EXPECT_TRUE(AppLog().contains(QStringLiteral("Error detected during TestOrProgRamLogo() phase")));
}

TEST_F(TransferTest, Wgj33SwitchesTo38400FromRelease180Only)
{
    for (const auto& [release, baud] : {std::pair{"1.80", 38400u}, std::pair{"1.79", 9600u}}) {
        StartLinePrinter(QStringLiteral("WGJ33"), QString(), QString::fromLatin1(release));
        if (!m_view)
            OpenLogoFor(QStringLiteral("WGJ33"), 64, 32);
        ScriptedUi ui;
        ASSERT_TRUE(RunJob(ID_TEST_LOGO));
        EXPECT_EQ(m_printer->CurrentBaud(), baud) << release;
        EXPECT_FALSE(m_printer->RamLogo().IsEmpty()) << release;
        m_view->Link().SetLogoInRam(false);
    }
}

TEST_F(TransferTest, Xnz11NeedsRelease040)
{
    StartLinePrinter(QStringLiteral("XNZ11"), QString(), QStringLiteral("0.39"));
    OpenLogoFor(QStringLiteral("XNZ11"), 64, 32);
    {
        ScriptedUi ui;
        ASSERT_TRUE(RunJob(ID_TEST_LOGO));
        ASSERT_EQ(ui.Prompts().size(), 1u);
        EXPECT_EQ(ui.Prompts()[0].text, QStringLiteral("Incompatible Firmware Release, upgrade required "));
        EXPECT_EQ(ui.Prompts()[0].caption, QStringLiteral("error"));
        EXPECT_EQ(m_printer->CurrentBaud(), 9600u) << "stopped before any speed change";
        EXPECT_TRUE(m_printer->RamLogo().IsEmpty());
    }
    StartLinePrinter(QStringLiteral("XNZ11"), QString(), QStringLiteral("0.40"));
    ScriptedUi ui;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    EXPECT_TRUE(MessageTexts(ui).isEmpty());
    EXPECT_EQ(m_printer->CurrentBaud(), 115200u);
    EXPECT_FALSE(m_printer->RamLogo().IsEmpty());
}

TEST_F(TransferTest, ASecondPressWhileAJobRunsDoesNothing)
{
    StartLinePrinter(QStringLiteral("WGJ33"));
    OpenLogoFor(QStringLiteral("WGJ33"), 64, 32);
    ScriptedUi ui;
    m_view->OnCommand(ID_TEST_LOGO);
    ASSERT_TRUE(m_view->IsTransferRunning());
    EXPECT_FALSE(State(ID_TEST_LOGO).enabled());
    EXPECT_FALSE(State(ID_CONNECT_PRINTER).enabled()) << "the job holds the port";
    EXPECT_EQ(m_view->StartThreadLogo(), 1);
    ASSERT_TRUE(WaitForJob(60000));
    EXPECT_EQ(m_printer->Pages().size(), 1) << "one job, one page";
}

// ---- glyphane-cli send ---------------------------------------------------------

TEST_F(TransferTest, CommandLineSendDetectsTheModelAndTestsTheLogo)
{
    StartLinePrinter(QStringLiteral("WGJ33"));
    const QString logo = WriteWhiteLogo(64, 32);
    ScriptedUi ui;
    QString err;
    ASSERT_EQ(RunCli({"send", logo, "--port", "COM1", "--test"}, &err), cli::kExitOk) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("detected printer WGJ33 on COM1"))) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("sent 100% (17287 of 17287 bytes)"))) << err.toStdString();
    EXPECT_EQ(m_printer->RamLogo().width, 576);
    EXPECT_EQ(m_printer->Pages().size(), 2) << "the feed owed after detection, then the logo";
}

TEST_F(TransferTest, CommandLineSendProgramsASlotAndRefusesBadRequests)
{
    StartLinePrinter(QStringLiteral("WGJ33"));
    const QString logo = WriteWhiteLogo(64, 32);
    ScriptedUi ui;
    QString err;
    ASSERT_EQ(RunCli({"send", logo, "--port", "COM1", "--model", "WGJ33", "--program", "2"}, &err), cli::kExitOk)
        << err.toStdString();
    EXPECT_FALSE(m_printer->FlashLogo(2).IsEmpty());

    EXPECT_EQ(RunCli({"send", logo, "--port", "COM1", "--model", "WGJ33", "--program", "3"}, &err), cli::kExitRefused);
    EXPECT_EQ(err, "glyphane-cli: --program takes a slot from 1 to 2 for WGJ33\n");
    EXPECT_EQ(RunCli({"send", logo, "--port", "COM1", "--test", "--program", "1"}, &err), cli::kExitUsage);
    EXPECT_EQ(RunCli({"send", logo, "--test"}, &err), cli::kExitUsage);
    EXPECT_EQ(RunCli({"send", logo, "--port", "COM1", "--test", "--baud", "4800"}, &err), cli::kExitRefused);
}

TEST_F(TransferTest, CommandLineSendToASilentPrinterFailsWithAOneLineReason)
{
    StartLinePrinter(QStringLiteral("WGJ33"), QStringLiteral("silent"));
    const QString logo = WriteWhiteLogo(64, 32);
    ScriptedUi ui;
    QString err;
    EXPECT_EQ(RunCli({"send", logo, "--port", "COM1", "--model", "WGJ33", "--test"}, &err), cli::kExitRefused);
    EXPECT_TRUE(err.endsWith(QStringLiteral("glyphane-cli: the printer does not answer on COM1\n"))) << err.toStdString();
}

TEST_F(TransferTest, BdqgmlwGetsTheBitmapStreamAndReportsSuccessItself)
{
    StartLinePrinter(QStringLiteral("BDQGMLW"));
    OpenLogoFor(QStringLiteral("BDQGMLW"), 384, 240);
    m_view->Link().SetLogoNumber(3);
    ScriptedUi ui;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    EXPECT_EQ(MessageTexts(ui), QStringList{LoadString(61459)});
    EXPECT_EQ(m_printer->CurrentBaud(), 115200u);
    const std::vector<uint8_t> received = m_printer->TakeReceivedBytes();
    // ESC B with the last chosen slot, then the 62-byte BMP header.
    const std::vector<uint8_t> command = {0x1B, 0x42, 0x03, 'B', 'M'};
    const auto start = std::search(received.begin(), received.end(), command.begin(), command.end());
    ASSERT_NE(start, received.end());
    // 1536-byte blocks: the status request comes 1536 bytes after the command.
    ASSERT_GT(received.end() - start, 1536 + 3);
    EXPECT_TRUE(std::equal(start + 1536, start + 1539, std::vector<uint8_t>{0x10, 0x04, 0x01}.begin()));
    EXPECT_TRUE(HoldsCentredLogo(m_printer->RamLogo(), *m_doc->Picture().GetLogoBitmap(), 384, 240));
    EXPECT_EQ(m_printer->Pages().size(), 1) << "a test ends by printing the RAM logo";
}

// The documentation's screenshot of the progress dialog: run under a display
// server with GLYPHANE_DOC_SHOTS naming the output folder (skipped otherwise).
TEST_F(TransferTest, DocumentationScreenshot)
{
    const QString folder = qEnvironmentVariable("GLYPHANE_DOC_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "set GLYPHANE_DOC_SHOTS to make the screenshot";
    StartLinePrinter(QStringLiteral("WGJ33"), QString(), QStringLiteral("1.79")); // stays at 9600
    OpenLogoFor(QStringLiteral("WGJ33"), 256, 128);
    ScriptedUi ui;
    m_view->OnCommand(ID_TEST_LOGO);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 60000
           && (!m_view->ProgressDialog() || m_view->ProgressDialog()->Progress()->value() < 3))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QTest::qWait(600);
    ASSERT_NE(m_view->ProgressDialog(), nullptr);
    EXPECT_TRUE(m_view->ProgressDialog()->grab().save(folder + QStringLiteral("/progress.png")));
    m_view->ProgressDialog()->OnStop();
    ASSERT_TRUE(WaitForJob(60000));
}

TEST_F(TransferTest, MzvzvrxhProgramIsConfirmedByThePrinterAndTheSpeedRestoredEitherWay)
{
    // Slot 3 is one the printer lacks (it has two): it refuses the copy.
    const struct {
        int slot;
        UINT box;
    } cases[] = {{1, 61459}, {3, 61532}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slot);
        StartLinePrinter(QStringLiteral("MZVZVRXH"));
        OpenLogoFor(QStringLiteral("MZVZVRXH"), 64, 32);
        m_doc->Binding().SetNumLogos(3);
        ScriptedUi ui;
        ui.Then(ChooseSlot(c.slot));
        ASSERT_TRUE(RunJob(ID_PROGRAM_LOGO));
        EXPECT_EQ(MessageTexts(ui), QStringList{LoadString(c.box)}) << AppLog().toStdString();
        EXPECT_EQ(m_printer->FlashLogo(1).IsEmpty(), c.slot != 1);
        EXPECT_EQ(m_printer->CurrentBaud(), 9600u) << "back to 9600 after the copy, stored or not";
        EXPECT_EQ(m_view->Link().IsLogoInRam(), c.slot != 1) << "a refused copy leaves the logo in RAM";
        EXPECT_TRUE(m_view->Link().IsRxhPrinter());
    }
}
