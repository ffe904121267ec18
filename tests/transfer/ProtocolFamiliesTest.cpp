// The flash-area, fixed-area and echoed-byte protocols through the real view
// and job against the virtual printer in line-time mode, with the printer's
// replies forced from its options: what goes on the wire, the boxes the
// operator sees, and the logo the printer ends up holding, dot for dot.
#include "TransferFixture.h"

#include "transfer/TransferJob.h"
#include <QTest>
#include <QListWidget>
#include "frame/MainFrame.h"
#include "dialogs/NextPrinterDlg.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace transfertest;
using testenv::ScriptedUi;

namespace {

using Bytes = std::vector<uint8_t>;

// The information queries: read 0x8000-0x807F and 0x0480-0x04FF.
const Bytes kInfoQuery8000 = {0x1B, 0xFF, 0x80, 0x00, 0x80, 0x7F, 0xFF, 0x98};
const Bytes kInfoQuery0480 = {0x1B, 0xFF, 0x04, 0x80, 0x04, 0xFF, 0xFF, 0xA0};
// The write frame of the logo area 0xC000-0xCFFF (BDQG's and HVCZL's 4096 bytes).
const Bytes kWriteC000 = {0x1B, 0xFF, 0xC0, 0x00, 0xCF, 0xFF, 0x00, 0xA8};
const Bytes kEchoStart = {0x1B, 0xFF, 0x08};

int Count(const Bytes& haystack, const Bytes& needle)
{
    int count = 0;
    for (auto it = haystack.begin();
         (it = std::search(it, haystack.end(), needle.begin(), needle.end())) != haystack.end(); ++it)
        ++count;
    return count;
}

Bytes After(const Bytes& haystack, const Bytes& needle)
{
    const auto at = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end());
    return at == haystack.end() ? Bytes() : Bytes(at + static_cast<long>(needle.size()), haystack.end());
}

QStringList Captions(const ScriptedUi& ui)
{
    QStringList captions;
    for (const CUiPrompt& p : ui.Prompts())
        if (p.kind == UiPromptKind::MessageBox)
            captions << p.caption;
    return captions;
}

class ProtocolFamiliesTest : public TransferTest {
protected:
    // LPT1 and USB001 lead to the virtual printer too; USB002 to a folder,
    // which exists but opens as no device does; COM2, COM3 and USB003 to
    // printers of their own, where a test starts them.
    QByteArray Settings() const override
    {
        const QByteArray link = LinkPath().toUtf8();
        return Registry() + "\n[Ports]\nCOM1=" + link + "\nLPT1=" + link + "\nUSB001=" + link
               + "\nUSB002=" + testenv::ProgramDir().toUtf8() + "\nCOM2=" + Link(2).toUtf8()
               + "\nCOM3=" + Link(3).toUtf8() + "\nUSB003=" + Link(4).toUtf8() + "\n";
    }
    QString Link(int n) const { return TempPath(QStringLiteral("ttyPRINTER%1").arg(n)); }

    // The printer of model answering as script says, and a 64 x 32 logo bound to it.
    void Start(const QString& model, const std::function<void(CEmuOptions&)>& tweak = [](CEmuOptions&) {})
    {
        StartLinePrinterWith(model, tweak);
        OpenLogoFor(model, 64, 32);
    }
    // The printer of model behind port (its kind of port), fast as a parallel
    // port or USB is, and a logo bound to it on portName.
    void StartOn(EmuPort port, const QString& portName, const QString& model, int width, int height,
                 const std::function<void(CEmuOptions&)>& tweak = [](CEmuOptions&) {})
    {
        StartLinePrinterWith(model, [&](CEmuOptions& o) {
            o.port = port;
            o.baud = 115200;
            tweak(o);
        });
        OpenLogoFor(model, width, height);
        m_doc->Binding().SetPortName(portName);
    }
    // A parallel or USB write ends when the bytes are in the port's queue, not
    // when the printer has them: waits (the event loop running) until it has
    // taken count bytes in all, or a bound passes.
    bool WaitUntilTaken(long long count, int boundMs = 60000)
    {
        QElapsedTimer clock;
        clock.start();
        while (m_printer->BytesUnderstood() < count && clock.elapsed() < boundMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return m_printer->BytesUnderstood() >= count;
    }
    // The same when the count is not known: until no byte has come for quietMs.
    void WaitUntilQuiet(int quietMs = 300, int boundMs = 60000)
    {
        QElapsedTimer clock, quiet;
        clock.start();
        quiet.start();
        long long seen = m_printer->BytesUnderstood();
        while (quiet.elapsed() < quietMs && clock.elapsed() < boundMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            if (m_printer->BytesUnderstood() != seen) {
                seen = m_printer->BytesUnderstood();
                quiet.restart();
            }
        }
    }
    CTransferJob::CProgress Progress() const { return m_view->LastJob()->Progress(); }
    // The USB printer choice: the first printer listed.
    static testenv::ScriptedUi::Step FirstUsbPrinter()
    {
        return [](CUiPrompt& p, QDialog*) { p.result = IDOK; };
    }
    ::testing::AssertionResult HoldsLogo(const CEmuLogo& held) const
    {
        return HoldsCentredLogo(held, *m_doc->Picture().GetLogoBitmap(), m_doc->Binding().GetDotX(), m_doc->Binding().GetDotY());
    }
};

} // namespace

TEST_F(ProtocolFamiliesTest, FlashAreaInfoQueryAnsweredWithChecksumErrorsTwiceIsAskedAThirdTime)
{
    Start(QStringLiteral("HVCZL"), [](CEmuOptions& o) { o.area.infoErrors = 2; });
    ScriptedUi ui;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    EXPECT_EQ(MessageTexts(ui), QStringList{LoadString(61459)}) << AppLog().toStdString();
    const Bytes received = m_printer->TakeReceivedBytes();
    EXPECT_EQ(Count(received, kInfoQuery8000), 3);
    // GS I 1 picks the writer, then the 32 blocks of 129 bytes follow the frame.
    EXPECT_EQ(Count(After(received, kInfoQuery8000), {0x1D, 0x49, 0x31}), 1);
    EXPECT_EQ(After(received, kWriteC000).size(), 32u * 129u);
    EXPECT_TRUE(HoldsLogo(m_printer->FlashLogo(1)));
    EXPECT_TRUE(m_view->Link().IsLogoInRam());

    // Three checksum errors in a row never get an answer at all: the box says so.
    Start(QStringLiteral("HVCZL"), [](CEmuOptions& o) { o.area.infoErrors = 3; });
    ScriptedUi second;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    EXPECT_EQ(MessageTexts(second), QStringList{LoadString(61511)});
    EXPECT_EQ(Count(m_printer->TakeReceivedBytes(), kWriteC000), 0);
}

TEST_F(ProtocolFamiliesTest, ABlockRefusedFourTimesInARowAbortsWhileThreeRefusalsAreResent)
{
    Start(QStringLiteral("BDQG"), [](CEmuOptions& o) {
        o.area.checksumErrors = 3;
        o.area.checksumFrom = 5;
    });
    ScriptedUi ui;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    EXPECT_EQ(MessageTexts(ui), QStringList{LoadString(61459)});
    const Bytes data = After(m_printer->TakeReceivedBytes(), kWriteC000);
    EXPECT_EQ(data.size(), 35u * 129u) << "block 5 went out four times";
    EXPECT_TRUE(std::equal(data.begin() + 5 * 129, data.begin() + 6 * 129, data.begin() + 8 * 129));
    EXPECT_TRUE(HoldsLogo(m_printer->FlashLogo(1)));

    Start(QStringLiteral("BDQG"), [](CEmuOptions& o) {
        o.area.checksumErrors = 4;
        o.area.checksumFrom = 5;
    });
    ScriptedUi refused;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    EXPECT_EQ(MessageTexts(refused), QStringList{LoadString(61513)});
    EXPECT_EQ(Captions(refused), QStringList{LoadString(61514)});
    EXPECT_EQ(After(m_printer->TakeReceivedBytes(), kWriteC000).size(), 9u * 129u) << "no block after the fourth refusal";
    EXPECT_TRUE(m_printer->FlashLogo(1).IsEmpty());
}

TEST_F(ProtocolFamiliesTest, ThePrintersOtherAnswersEndTheTransferWithTheirOwnBox)
{
    // Nothing to write: the success box and no data block.
    Start(QStringLiteral("BDQG"), [](CEmuOptions& o) { o.area.completeFirst = true; });
    ScriptedUi complete;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    EXPECT_EQ(MessageTexts(complete), QStringList{LoadString(61459)});
    const Bytes received = m_printer->TakeReceivedBytes();
    ASSERT_EQ(Count(received, kWriteC000), 1);
    EXPECT_TRUE(After(received, kWriteC000).empty());

    Start(QStringLiteral("BDQG"), [](CEmuOptions& o) { o.area.seriousAt = 2; });
    ScriptedUi serious;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    EXPECT_EQ(MessageTexts(serious), QStringList{LoadString(61515)});
    EXPECT_EQ(Captions(serious), QStringList{LoadString(61517)});

    // A status nobody knows is not taken for a success.
    Start(QStringLiteral("BDQG"), [](CEmuOptions& o) { o.area.unknownAt = 2; });
    ScriptedUi unknown;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    EXPECT_EQ(MessageTexts(unknown), QStringList{LoadString(61516)});
    EXPECT_EQ(Captions(unknown), QStringList{LoadString(1035)});
    EXPECT_TRUE(m_printer->FlashLogo(1).IsEmpty());
}

TEST_F(ProtocolFamiliesTest, TheFixedAreaFamilyReadsItsInformationAt0480)
{
    Start(QStringLiteral("FQ054"));
    ScriptedUi ui;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    EXPECT_EQ(MessageTexts(ui), QStringList{LoadString(61459)});
    const Bytes received = m_printer->TakeReceivedBytes();
    EXPECT_EQ(Count(received, kInfoQuery0480), 1);
    EXPECT_EQ(Count(received, kInfoQuery8000), 0);
    EXPECT_EQ(Count(received, {0x1D, 0x49, 0x31}), 1) << "only detection asks the identification";
    EXPECT_TRUE(HoldsLogo(m_printer->FlashLogo(1)));
}

TEST_F(ProtocolFamiliesTest, EchoedBytesGetSixteenAcknowledgedZerosOnlyAfterTheAnswers16And86)
{
    // LR52- answers 0x86.
    Start(QStringLiteral("LR52-"));
    ScriptedUi ui;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    EXPECT_EQ(MessageTexts(ui), QStringList{LoadString(61459)}) << AppLog().toStdString();
    Bytes expected = CentredBlackDots(*m_doc->Picture().GetLogoBitmap(), 512, 64);
    expected.insert(expected.end(), 16, 0x00);
    EXPECT_TRUE(After(m_printer->TakeReceivedBytes(), kEchoStart) == expected);
    EXPECT_TRUE(HoldsLogo(m_printer->FlashLogo(1)));
    EXPECT_TRUE(m_view->Link().IsFlashAfterTx());

    // LB36 answers 0x17: the raster alone.
    Start(QStringLiteral("LB36"));
    ScriptedUi plain;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    EXPECT_EQ(MessageTexts(plain), QStringList{LoadString(61459)});
    EXPECT_TRUE(After(m_printer->TakeReceivedBytes(), kEchoStart) == CentredBlackDots(*m_doc->Picture().GetLogoBitmap(), 256, 128));
    EXPECT_TRUE(HoldsLogo(m_printer->FlashLogo(1)));
}

// ---- the parallel port -------------------------------------------------------------

TEST_F(ProtocolFamiliesTest, BdqgOnTheParallelPortWritesItsAreaIn32BlocksWithoutAnyCommand)
{
    StartOn(EmuPort::Parallel, QStringLiteral("LPT1"), QStringLiteral("BDQG"), 64, 32);
    const qsizetype logBefore = AppLog().size();
    ScriptedUi ui;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    ASSERT_TRUE(WaitUntilTaken(8 + 32 * 129)) << AppLog().toStdString();
    EXPECT_EQ(MessageTexts(ui), QStringList{LoadString(61459)});
    const Bytes received = m_printer->TakeReceivedBytes();
    // The frame, then block after block in address order: nothing else, no "CmdTxLogo".
    ASSERT_EQ(received.size(), 8u + 32u * 129u);
    EXPECT_TRUE(Bytes(received.begin(), received.begin() + 8) == kWriteC000);
    const Bytes dots = CentredBlackDots(*m_doc->Picture().GetLogoBitmap(), 256, 128);
    EXPECT_TRUE(std::equal(dots.begin(), dots.begin() + 128, received.begin() + 8));
    EXPECT_EQ(Progress().plannedSteps, 32);
    EXPECT_EQ(Progress().stepsDone, 32);
    EXPECT_TRUE(HoldsLogo(m_printer->FlashLogo(1)));
    EXPECT_FALSE(m_view->Link().IsLogoInRam()) << "the area is flash";
    EXPECT_FALSE(AppLog().mid(logBefore).contains(QStringLiteral("Error detected during TestOrProgRamLogo()"))) << AppLog().mid(logBefore).toStdString();
}

TEST_F(ProtocolFamiliesTest, BlockModelsTakeTwentyTwoByteBlocksTheLastPaddedWithZeros)
{
    StartOn(EmuPort::Parallel, QStringLiteral("LPT1"), QStringLiteral("QVGDCMR"), 64, 32);
    m_view->Link().SetLogoNumber(2);
    const qsizetype logBefore = AppLog().size();
    ScriptedUi ui;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    // The stop reminder comes after every parallel transfer.
    EXPECT_EQ(MessageTexts(ui), QStringList{LoadString(61464)});
    // CmdTxLogo2 and the raster, 17287 bytes: 785 whole blocks and one with 5
    // zero bytes after the stream; then CmdPrtRAM, six line feeds, Ctotcut.
    Bytes expected = {0x1B, 0x4C, 0x02, 0x40, 0x02, 0xF0, 0x00};
    const Bytes dots = CentredBlackDots(*m_doc->Picture().GetLogoBitmap(), 576, 240);
    expected.insert(expected.end(), dots.begin(), dots.end());
    expected.insert(expected.end(), 5, 0x00);
    expected.insert(expected.end(), {0x1B, 0x50, 0x00, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x1B, 0x69});
    ASSERT_TRUE(WaitUntilTaken(static_cast<long long>(expected.size()))) << AppLog().toStdString();
    EXPECT_TRUE(m_printer->TakeReceivedBytes() == expected);
    EXPECT_EQ(Progress().plannedSteps, 786);
    EXPECT_EQ(Progress().stepsDone, 786);
    EXPECT_TRUE(HoldsLogo(m_printer->RamLogo()));
    EXPECT_EQ(m_printer->Pages().size(), 1);
    EXPECT_FALSE(AppLog().mid(logBefore).contains(QStringLiteral("Error detected during TestOrProgRamLogo()")))
        << "a parallel transfer that worked is no error";
}

TEST_F(ProtocolFamiliesTest, OneByteWritesReachTheDialogInFewMessagesAndOnlyTheMzvzvFamilyKeepsRam)
{
    StartOn(EmuPort::Parallel, QStringLiteral("LPT1"), QStringLiteral("QNND"), 64, 32);
    m_view->Link().SetQnndMode(true);
    ScriptedUi ui;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    ASSERT_TRUE(WaitUntilTaken(17287 + 11)) << AppLog().toStdString();
    const Bytes received = m_printer->TakeReceivedBytes();
    EXPECT_TRUE(HoldsLogo(m_printer->RamLogo()));
    const CTransferJob::CProgress p = Progress();
    EXPECT_EQ(p.plannedSteps, 17287);
    EXPECT_EQ(p.stepsDone, 17287);
    // A message per 40 ms at most, not one per byte.
    EXPECT_LE(p.stepMessages, 17287 / 20);
    EXPECT_FALSE(m_view->Link().IsLogoInRam()) << "a parallel job ends the QNND mode";
    EXPECT_FALSE(m_view->Link().IsQnndMode());

    StartOn(EmuPort::Parallel, QStringLiteral("LPT1"), QStringLiteral("MZVZV"), 64, 32);
    ScriptedUi mzvzv;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    EXPECT_EQ(MessageTexts(mzvzv), (QStringList{LoadString(61507), LoadString(61464)}));
    ASSERT_TRUE(WaitUntilTaken(7 + 24960 + 11)) << AppLog().toStdString();
    EXPECT_TRUE(HoldsLogo(m_printer->RamLogo()));
    EXPECT_TRUE(m_view->Link().IsLogoInRam());
    EXPECT_TRUE(m_view->Link().LptKeepsRam());

    // The logo is in RAM: a Program only copies it to the slot.
    m_printer->TakeReceivedBytes();
    mzvzv.Then(ChooseSlot(2));
    ASSERT_TRUE(RunJob(ID_PROGRAM_LOGO));
    EXPECT_TRUE(m_printer->TakeReceivedBytes() == (Bytes{0x1B, 0x46, 0x02}));
    EXPECT_TRUE(HoldsLogo(m_printer->FlashLogo(2)));
    EXPECT_FALSE(m_view->Link().IsLogoInRam());
}

TEST_F(ProtocolFamiliesTest, TheSelectLineWarningComesBeforeAParallelJobOnly)
{
    const QString warning = QStringLiteral(
        "Warning!\nPlease check if in your Printer, the \"Select Line\" is Set to \"Select\" and the "
        "\"Fault Line\" is set to \"Fault\".");
    StartOn(EmuPort::Parallel, QStringLiteral("LPT1"), QStringLiteral("QXB978"), 64, 32);
    ScriptedUi lpt;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    ASSERT_FALSE(MessageTexts(lpt).isEmpty());
    EXPECT_EQ(MessageTexts(lpt).first(), warning);
    EXPECT_EQ(Captions(lpt).first(), QStringLiteral("Glyphane"));
    EXPECT_EQ(MessageTexts(lpt).size(), 2) << "the warning, then the outcome";
    WaitUntilQuiet();
    EXPECT_TRUE(HoldsLogo(m_printer->RamLogo())) << "the job goes on after the warning";

    // The same printer on a serial port has no select line to set.
    Start(QStringLiteral("QXB978"), [](CEmuOptions& o) { o.baud = 115200; });
    ScriptedUi com;
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    EXPECT_FALSE(MessageTexts(com).contains(warning));
}

// ---- USB -------------------------------------------------------------------------------

TEST_F(ProtocolFamiliesTest, ABdqgmlwTestOverUsbSendsTheBitmapStreamAndLeavesItsCopy)
{
    StartOn(EmuPort::Usb, QStringLiteral("USB001"), QStringLiteral("BDQGMLW"), 384, 240);
    m_view->Link().SetLogoNumber(3);
    QFile::remove(testenv::ProgramDir() + QStringLiteral("glyphane.bin"));
    ScriptedUi ui;
    ui.Then(FirstUsbPrinter());
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    WaitUntilQuiet();
    EXPECT_EQ(MessageTexts(ui), QStringList{LoadString(61459)});
    QFile dump(testenv::ProgramDir() + QStringLiteral("glyphane.bin"));
    ASSERT_TRUE(dump.open(QIODevice::ReadOnly));
    const QByteArray copy = dump.readAll();
    // ESC B 3, the 62-byte header, 384 x 240 dots bottom row first.
    ASSERT_EQ(copy.size(), 3 + 62 + 11520);
    EXPECT_EQ(copy.left(5), QByteArray("\x1B\x42\x03" "BM", 5));
    const Bytes received = m_printer->TakeReceivedBytes();
    ASSERT_GE(received.size(), static_cast<size_t>(copy.size()));
    EXPECT_TRUE(std::equal(copy.begin(), copy.end(), received.end() - copy.size(),
                           [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; }))
        << "the stream ends what the printer took";
    EXPECT_EQ(Progress().plannedSteps, 8) << "7 blocks of 1536 bytes and 833 bytes";
    EXPECT_TRUE(HoldsLogo(m_printer->FlashLogo(3)));
    EXPECT_TRUE(m_view->Link().IsLogoInRam());
}

TEST_F(ProtocolFamiliesTest, AJ4ProgramOverUsbEndsItsStreamWithTheRamToFlashCommandForTheSlot)
{
    StartOn(EmuPort::Usb, QStringLiteral("USB001"), QStringLiteral("J4"), 64, 32);
    ScriptedUi ui;
    ui.Then(ChooseSlot(2)).Then(FirstUsbPrinter());
    ASSERT_TRUE(RunJob(ID_PROGRAM_LOGO));
    WaitUntilQuiet();
    EXPECT_EQ(MessageTexts(ui), QStringList{LoadString(61459)});
    QFile dump(testenv::ProgramDir() + QStringLiteral("glyphane.bin"));
    ASSERT_TRUE(dump.open(QIODevice::ReadOnly));
    const QByteArray copy = dump.readAll();
    EXPECT_EQ(copy.size(), 7 + 11520 + 3);
    EXPECT_EQ(copy.left(7), QByteArray("\x1B\x4C\x02\x80\x01\xF0\x00", 7));
    EXPECT_EQ(copy.right(3), QByteArray("\x1B\x46\x02", 3));
    EXPECT_EQ(Progress().plannedSteps, 6) << "5 blocks of 2048 bytes and 390 bytes";
    EXPECT_TRUE(HoldsLogo(m_printer->FlashLogo(2)));
}

TEST_F(ProtocolFamiliesTest, AJ4ProgramOverAUsbPrinterDeviceSucceedsOnlyOnceItsSlotHoldsTheLogo)
{
    // usblp returns from the last write with its transfer in flight (here
    // the raster's end and the RAM-to-flash command with the slot), and
    // closing the device cancels it: success only once the printer has it.
    QString why;
    if (!CPrinterEmulator::DeviceModesUsable(&why))
        GTEST_SKIP() << "no device file here: " << why.toStdString();
    StartOn(EmuPort::UsbDevice, QStringLiteral("USB001"), QStringLiteral("J4"), 64, 32);
    ScriptedUi ui;
    ui.Then(ChooseSlot(2)).Then(FirstUsbPrinter());
    ASSERT_TRUE(RunJob(ID_PROGRAM_LOGO));
    EXPECT_EQ(MessageTexts(ui), QStringList{LoadString(61459)});
    EXPECT_TRUE(HoldsLogo(m_printer->FlashLogo(2))) << "success was reported with the last block in flight";

    // glyphane-cli closes the device as soon as the job has ended.
    const QString file = TempPath(QStringLiteral("usb-device.bmp"));
    ASSERT_TRUE(m_doc->Picture().GetLogoBitmap()->convertToFormat(QImage::Format_Mono, Qt::ThresholdDither).save(file, "BMP"));
    StartLinePrinterWith(QStringLiteral("J4"), [](CEmuOptions& o) {
        o.port = EmuPort::UsbDevice;
        o.baud = 115200;
    });
    QString err;
    ASSERT_EQ(RunCli({"send", file, "--port", "USB001", "--model", "J4", "--program", "2"}, &err), cli::kExitOk)
        << err.toStdString();
    EXPECT_TRUE(HoldsLogo(m_printer->FlashLogo(2))) << "glyphane-cli closed with the last block in flight";
}

TEST_F(ProtocolFamiliesTest, AUsbPrinterOffLineOrOfAnotherModelGetsNothing)
{
    StartOn(EmuPort::Usb, QStringLiteral("USB001"), QStringLiteral("VD8"), 64, 32, [](CEmuOptions& o) { o.offline = true; });
    ScriptedUi offline;
    offline.Then(FirstUsbPrinter());
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    EXPECT_EQ(MessageTexts(offline), QStringList{LoadString(61545)});
    EXPECT_TRUE(m_printer->RamLogo().IsEmpty());

    StartOn(EmuPort::Usb, QStringLiteral("USB001"), QStringLiteral("VD8"), 64, 32, [](CEmuOptions& o) { o.id = 0x33; });
    ScriptedUi other;
    other.Then(FirstUsbPrinter());
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    EXPECT_EQ(MessageTexts(other), QStringList{LoadString(61546)});
    EXPECT_TRUE(m_printer->RamLogo().IsEmpty());
    EXPECT_FALSE(m_view->Link().IsLogoInRam());

    // A model that takes no logo over USB: nothing is sent, and the operator is told so.
    StartOn(EmuPort::Usb, QStringLiteral("USB001"), QStringLiteral("WGJ33"), 64, 32);
    ScriptedUi none;
    none.Then(FirstUsbPrinter());
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    ASSERT_EQ(MessageTexts(none).size(), 1);
    EXPECT_TRUE(MessageTexts(none).front().contains(QLatin1String("this printer takes no logo over USB")));
    // Only the questions: identification (the list and the job), status.
    EXPECT_TRUE(m_printer->TakeReceivedBytes()
                == (Bytes{0x1D, 0x49, 0x31, 0x10, 0x04, 0x01, 0x1D, 0x49, 0x31}));
    EXPECT_FALSE(m_view->Link().IsLogoInRam()) << "nothing sent is no success";

    // A device that cannot be opened is off line to the operator: with the
    // printer gone, the one USB port listed is the folder of USB002.
    m_printer.reset();
    ScriptedUi absent;
    absent.Then(FirstUsbPrinter());
    ASSERT_TRUE(RunJob(ID_TEST_LOGO));
    EXPECT_EQ(MessageTexts(absent), QStringList{LoadString(61545)});
    EXPECT_TRUE(AppLog().contains(QLatin1String("USB002 cannot be opened")));
}

// ---- glyphane-cli send ---------------------------------------------------------

TEST_F(ProtocolFamiliesTest, CommandLineSendProgramsEveryFamilyOnEveryKindOfPort)
{
    // A 64 x 32 logo with a pattern, as a 1-bit BMP file.
    QImage logo(64, 32, QImage::Format_Mono);
    logo.setColorTable({0xFF000000u, 0xFFFFFFFFu});
    logo.fill(1);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            if ((x + 2 * y) % 5 == 0 || y == 0)
                logo.setPixel(x, y, 0);
    const QString file = TempPath(QStringLiteral("pattern.bmp"));
    ASSERT_TRUE(logo.save(file, "BMP"));

    struct Case {
        EmuPort kind;
        const char* port;
        const char* model;
        const char* job;
        int slot; // where the printer holds the logo afterwards; 0 = RAM
        int dotX, dotY;
    };
    const Case cases[] = {
        {EmuPort::Serial, "COM1", "HVCZL", "--test", 1, 512, 64},       // flash area
        {EmuPort::Serial, "COM1", "FQ054", "--test", 1, 384, 96},       // fixed area
        {EmuPort::Serial, "COM1", "LB36", "--test", 1, 256, 128},       // echoed bytes
        {EmuPort::Parallel, "LPT1", "BDQG", "--test", 1, 256, 128},     // parallel area
        {EmuPort::Parallel, "LPT1", "QVGDCMR", "--test", 1, 576, 240},  // generic, 22-byte blocks
        {EmuPort::Usb, "USB001", "J4", "--program", 2, 384, 240},       // USB
        // The BMP image of the whole area, a logo smaller than it centred
        {EmuPort::Usb, "USB001", "BDQGMLW", "--program", 3, 384, 240},
        {EmuPort::Serial, "COM1", "JMQ9534", "--program", 2, 384, 240},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        StartLinePrinterWith(QLatin1String(c.model), [&](CEmuOptions& o) {
            o.port = c.kind;
            if (c.kind != EmuPort::Serial)
                o.baud = 115200;
        });
        ScriptedUi ui;
        QString err;
        QStringList args{"send", file, "--port", c.port, "--model", c.model, c.job};
        if (QLatin1String(c.job) == QLatin1String("--program"))
            args << QString::number(c.slot);
        ASSERT_EQ(RunCli(args, &err), cli::kExitOk) << err.toStdString();
        WaitUntilQuiet();
        EXPECT_TRUE(HoldsCentredLogo(m_printer->FlashLogo(c.slot), logo, c.dotX, c.dotY));
    }

    // Nothing can be detected on a parallel port, and an unknown port is refused.
    QString err;
    EXPECT_EQ(RunCli({"send", file, "--port", "LPT1", "--test"}, &err), cli::kExitRefused);
    EXPECT_EQ(err, "glyphane-cli: LPT1: --model is needed; only a printer on a serial port can be detected\n");
    EXPECT_EQ(RunCli({"send", file, "--port", "LPT7", "--model", "BDQG", "--test"}, &err), cli::kExitRefused);
}

TEST_F(ProtocolFamiliesTest, CommandLineSendFailsWhenThePrinterRefusesTheLogo)
{
    const QString file = WriteWhiteLogo(64, 32);
    const struct {
        const char* model;
        EmuPort port;
        const char* portName;
        std::function<void(CEmuOptions&)> script;
        const char* reason;
    } cases[] = {
        {"BDQG", EmuPort::Serial, "COM1", [](CEmuOptions& o) { o.area.seriousAt = 0; },
         "the printer reported a serious error"},
        {"BDQG", EmuPort::Serial, "COM1", [](CEmuOptions& o) { o.area.zeroAddressAt = 0; },
         "the printer asked for address 0000, outside its logo area"},
        {"WGJ33", EmuPort::Usb, "USB001", [](CEmuOptions&) {}, "this printer takes no logo over USB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        StartLinePrinterWith(QLatin1String(c.model), [&](CEmuOptions& o) {
            o.port = c.port;
            c.script(o);
        });
        ScriptedUi ui;
        QString err;
        EXPECT_EQ(RunCli({"send", file, "--port", c.portName, "--model", c.model, "--test"}, &err), cli::kExitRefused);
        EXPECT_TRUE(err.endsWith(QStringLiteral("glyphane-cli: %1\n").arg(QLatin1String(c.reason)))) << err.toStdString();
    }
}

// ---- several printers at once -----------------------------------------------------

TEST_F(ProtocolFamiliesTest, CommandLineScanFindsEveryPrinterAtOnceAndSaysWhyNotElsewhere)
{
    StartLinePrinterWith(QStringLiteral("WGJ33"), [](CEmuOptions&) {});
    // An HVCZL left at 38400 by its last transfer, a J4 on USB; nothing on COM3.
    const auto second = StartPrinterAt(Link(2), QStringLiteral("HVCZL"), EmuPort::Serial, 38400);
    const auto usb = StartPrinterAt(Link(4), QStringLiteral("J4"), EmuPort::Usb, 115200);
    QString out, err;
    EXPECT_EQ(RunCli({"scan", "--ports", "COM1,COM2,COM3,USB003"}, &err, &out), cli::kExitOk) << err.toStdString();
    const QStringList expected = {
        QStringLiteral("COM1\t%1\tWGJ33 at 9600 baud, firmware 1.80").arg(LinkPath()),
        QStringLiteral("COM2\t%1\tHVCZL at 38400 baud").arg(Link(2)),
        QStringLiteral("COM3\t%1\tabsent").arg(Link(3)),
        QStringLiteral("USB003\t%1\tJ4").arg(Link(4)),
    };
    EXPECT_EQ(out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected) << out.toStdString();

    // The next scan asks COM2 first at the speed its printer was found at:
    // not one byte more goes out at a speed it does not listen at.
    const long long ignored = second->BytesIgnored();
    ASSERT_GT(ignored, 0) << "the first scan climbed from 9600";
    EXPECT_EQ(RunCli({"scan", "--ports", "COM2"}, &err, &out), cli::kExitOk) << err.toStdString();
    EXPECT_EQ(second->BytesIgnored(), ignored);

    // Nothing found anywhere: exit 1.
    EXPECT_EQ(RunCli({"scan", "--ports", "COM3"}, &err, &out), cli::kExitRefused);
}

TEST_F(ProtocolFamiliesTest, CommandLineSendProgramsABatchAtOnceAndAFailingPrinterFailsAlone)
{
    const QString file = WriteWhiteLogo(64, 32);
    StartLinePrinterWith(QStringLiteral("QNND"), [](CEmuOptions&) {});
    const auto second = StartPrinterAt(Link(2), QStringLiteral("QNND"), EmuPort::Serial, 9600);
    const auto third = StartPrinterAt(Link(3), QStringLiteral("QNND"), EmuPort::Serial, 9600,
                                      [](CEmuOptions& o) { o.fault.kind = CEmuFault::Kind::Silent; });
    const QString report = TempPath(QStringLiteral("report.json"));
    ScriptedUi ui;
    QString err;
    EXPECT_EQ(RunCli({"send", file, "--port", "COM1,COM2,COM3", "--program", "2", "--report", report}, &err),
              cli::kExitRefused);
    // The silent printer is not found; the other two are detected and programmed.
    EXPECT_TRUE(err.contains(QLatin1String("detected printer QNND on COM1\n"))) << err.toStdString();
    EXPECT_TRUE(err.contains(QLatin1String("detected printer QNND on COM2\n")));
    EXPECT_TRUE(err.contains(QLatin1String("COM2: sent "))) << "each printer has its line of progress";
    EXPECT_TRUE(err.endsWith(QLatin1String("COM1 QNND slot 2: programmed\nCOM2 QNND slot 2: programmed\n"
                                           "COM3: failed: no printer answered on COM3\n")))
        << err.toStdString();
    EXPECT_FALSE(m_printer->FlashLogo(2).IsEmpty());
    EXPECT_FALSE(second->FlashLogo(2).IsEmpty());
    EXPECT_TRUE(third->FlashLogo(2).IsEmpty());

    QFile json(report);
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    const QJsonArray printers = QJsonDocument::fromJson(json.readAll()).object().value("printers").toArray();
    ASSERT_EQ(printers.size(), 3);
    const struct {
        const char* port;
        const char* outcome;
        bool hasBytes;
    } rows[] = {{"COM1", "sent", true}, {"COM2", "sent", true}, {"COM3", "failed", false}};
    for (int i = 0; i < 3; ++i) {
        const QJsonObject p = printers[i].toObject();
        SCOPED_TRACE(rows[i].port);
        EXPECT_EQ(p.value("port").toString(), QLatin1String(rows[i].port));
        EXPECT_EQ(p.value("outcome").toString(), QLatin1String(rows[i].outcome));
        EXPECT_EQ(p.value("slot").toInt(), 2);
        EXPECT_EQ(p.value("bytes").toDouble() > 17000, rows[i].hasBytes) << "the raster of 576 x 240 and its command";
        EXPECT_EQ(p.value("baud").toDouble() == 38400, rows[i].hasBytes);
        EXPECT_EQ(p.value("seconds").toDouble() > 0, rows[i].hasBytes);
    }
    EXPECT_EQ(printers[2].toObject().value("reason").toString(), QStringLiteral("no printer answered on COM3"));
}

TEST_F(ProtocolFamiliesTest, CommandLineSendProvesTheLogoLanded)
{
    const QString file = WriteWhiteLogo(64, 32);
    const struct {
        const char* model;
        const char* proof;
        std::function<void(CEmuOptions&)> tweak;
        int status;
        const char* summary;
    } cases[] = {
        {"HVCZL", "--verify", [](CEmuOptions&) {}, cli::kExitOk, "COM1 HVCZL slot 1: programmed and verified\n"},
        // A worn flash: byte 100 of the area reads back wrong.
        {"HVCZL", "--verify", [](CEmuOptions& o) { o.area.badByteAt = 100; }, cli::kExitRefused,
         "glyphane-cli: the logo read back differs from the one sent from address c064\n"},
        {"WGJ33", "--print-after", [](CEmuOptions&) {}, cli::kExitOk, "COM1 WGJ33 slot 2: programmed and printed\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.proof);
        StartLinePrinterWith(QLatin1String(c.model), c.tweak);
        ScriptedUi ui;
        const QString slot = QLatin1String(c.model) == QLatin1String("WGJ33") ? QStringLiteral("2") : QStringLiteral("1");
        QString err;
        EXPECT_EQ(RunCli({"send", file, "--port", "COM1", "--model", c.model, "--program", slot, c.proof}, &err), c.status)
            << err.toStdString();
        EXPECT_TRUE(err.endsWith(QLatin1String(c.summary))) << err.toStdString();
    }
    EXPECT_EQ(m_printer->Pages().size(), 1) << "the WGJ33 printed its slot";
}

TEST_F(ProtocolFamiliesTest, FindPrintersConnectsTheLogoToThePrinterChosen)
{
    StartLinePrinterWith(QStringLiteral("WGJ33"), [](CEmuOptions&) {});
    const auto second = StartPrinterAt(Link(2), QStringLiteral("HVCZL"), EmuPort::Serial, 9600);
    OpenLogoFor(QStringLiteral("WGJ33"), 64, 32);
    QStringList rows;
    ScriptedUi ui;
    ui.Then([&rows](CUiPrompt& p, QDialog* d) {
        auto* list = d ? d->findChild<QListWidget*>(QStringLiteral("findings")) : nullptr;
        ASSERT_NE(list, nullptr);
        for (int i = 0; i < list->count(); ++i)
            rows << list->item(i)->text();
        const auto chosen = list->findItems(QStringLiteral("COM2"), Qt::MatchStartsWith);
        ASSERT_EQ(chosen.size(), 1);
        list->setCurrentItem(chosen.front());
        p.result = IDOK;
    }).Then([](CUiPrompt& p, QDialog*) { p.result = IDOK; }); // the logo placed on the larger area
    m_view->OnCommand(ID_FIND_PRINTERS);
    // Every port at once; one device named twice is asked once.
    EXPECT_TRUE(rows.contains(QStringLiteral("COM1   %1   WGJ33 at 9600 baud, firmware 1.80").arg(LinkPath())))
        << rows.join('\n').toStdString();
    EXPECT_TRUE(rows.contains(QStringLiteral("COM2   %1   HVCZL at 9600 baud").arg(Link(2))));
    EXPECT_TRUE(rows.contains(QStringLiteral("LPT1   %1   the same device as COM1").arg(LinkPath())));
    EXPECT_EQ(m_doc->Binding().GetPrinterModel(), QStringLiteral("HVCZL"));
    EXPECT_EQ(m_doc->Binding().GetPortName(), QStringLiteral("COM2"));
    EXPECT_TRUE(m_view->Link().IsPrinterDetected()) << "found by its identification, as detection finds it";
    EXPECT_EQ(ui.Pending(), 0u);
}

TEST_F(ProtocolFamiliesTest, ProgramNextPrinterProgramsEachPrinterThatComesAfterTheOneBefore)
{
    StartLinePrinterWith(QStringLiteral("QNND"), [](CEmuOptions&) {});
    OpenLogoFor(QStringLiteral("QNND"), 64, 32);
    ScriptedUi ui;
    EXPECT_FALSE(State(ID_PROGRAM_NEXT_PRINTER).enabled()) << "only after a Program Logo";
    ui.Then(ChooseSlot(2));
    ASSERT_TRUE(RunJob(ID_PROGRAM_LOGO));
    ASSERT_EQ(MessageTexts(ui), QStringList{LoadString(61459)});
    ASSERT_TRUE(State(ID_PROGRAM_NEXT_PRINTER).enabled());
    m_view->OnCommand(ID_PROGRAM_NEXT_PRINTER);
    ASSERT_NE(m_view->NextPrinterBox(), nullptr);
    const auto waitFor = [this](const std::function<bool()>& reached) {
        QElapsedTimer clock;
        clock.start();
        while (!reached() && clock.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return reached();
    };
    // The printer programmed before is still there: nothing happens until it goes.
    QTest::qWait(1500);
    EXPECT_FALSE(m_view->IsTransferRunning());
    m_printer.reset();
    ASSERT_TRUE(waitFor([this] { return m_view->NextPrinterBox()->StateText().startsWith("Waiting for the next printer"); }));
    // The next printer: programmed without a question, into slot 2.
    StartLinePrinterWith(QStringLiteral("QNND"), [](CEmuOptions&) {});
    ASSERT_TRUE(waitFor([this] { return m_view->NextPrinterBox()->CountsText().startsWith("Done: 1"); }))
        << m_view->NextPrinterBox()->CountsText().toStdString();
    ASSERT_TRUE(WaitForJob(60000));
    EXPECT_TRUE(HoldsLogo(m_printer->FlashLogo(2)));
    EXPECT_EQ(MessageTexts(ui), QStringList{LoadString(61459)}) << "no box for the printers of the run";
    EXPECT_TRUE(GetApp()->GetMainFrame()->PaneText(ID_SEPARATOR).startsWith("Program Next Printer: 1 done, 0 failed"));
    m_view->OnCommand(ID_PROGRAM_NEXT_PRINTER); // checked while it runs: stops it
    EXPECT_FALSE(m_view->IsProgrammingNextPrinters());
    EXPECT_EQ(ui.Pending(), 0u);
}
