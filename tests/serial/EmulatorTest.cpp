// The virtual printer itself: printing, the flash-area and echoed-byte
// protocols, and its command line.
#include "SerialFixture.h"

#include "EmuUartSampling.h"
#include "components/PrinterProtocol.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

using serialtest::PrinterFixture;
using serialtest::WaitFor;

namespace {

// A logo with a black left half and a black bottom row, 1 = black.
CEmuLogo TestLogo(int width, int height)
{
    CEmuLogo logo;
    logo.width = width;
    logo.height = height;
    logo.bits.assign(static_cast<size_t>(width / 8) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (x < width / 2 || y == height - 1)
                logo.bits[static_cast<size_t>(y) * (width / 8) + x / 8] |= 0x80 >> (x % 8);
    return logo;
}

std::vector<BYTE> AreaFrame(uint16_t first, uint16_t last, BYTE op)
{
    std::vector<BYTE> f{0x1B, 0xFF, BYTE(first >> 8), BYTE(first), BYTE(last >> 8), BYTE(last), op};
    f.push_back(prnproto::Checksum(f.data(), 7));
    return f;
}

std::vector<BYTE> DataBlock(BYTE fill)
{
    std::vector<BYTE> b(128, fill);
    b.push_back(prnproto::Checksum(b.data(), 128));
    return b;
}

} // namespace

TEST_F(PrinterFixture, RamLogoPrintComesOutAsPaperPng)
{
    StartPrinter(Options(QStringLiteral("WGJ33")));
    CsComAm port;
    OpenPort(port, QStringLiteral("WGJ33"));
    const CEmuLogo logo = TestLogo(64, 16);
    std::vector<BYTE> stream{0x1B, 0x4C, 0x00, 64, 0, 16, 0};
    stream.insert(stream.end(), logo.bits.begin(), logo.bits.end());
    ASSERT_TRUE(port.SendCommandToComm(stream.data(), static_cast<DWORD>(stream.size())));
    ASSERT_TRUE(port.NewSendCommandToCom(QStringLiteral("CmdPrtRAM")));
    ASSERT_TRUE(port.NLfOutput(6));
    ASSERT_TRUE(port.NewSendCommandToCom(QStringLiteral("Ctotcut")));
    ASSERT_TRUE(WaitFor([&] { return m_printer->Pages().size() == 1; }));
    EXPECT_EQ(m_printer->LineFeeds(), 6);
    EXPECT_EQ(m_printer->RamLogo().bits, logo.bits);

    const QImage page(m_printer->Pages().first());
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(page.width(), 576);
    EXPECT_EQ(page.height(), 16 + 6 * CEmuPaper::kLineHeight);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(qGray(page.pixel(x, y)) < 128, logo.IsBlack(x, y)) << x << "," << y;
    EXPECT_EQ(page.pixel(100, 5), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(10, 16 + 10), qRgb(255, 255, 255));
}

TEST_F(PrinterFixture, RamToFlashAndStoredLogoPrint)
{
    StartPrinter(Options(QStringLiteral("WGJ33")));
    CsComAm port;
    OpenPort(port, QStringLiteral("WGJ33"));
    const CEmuLogo logo = TestLogo(32, 8);
    std::vector<BYTE> stream{0x1B, 0x4C, 0x00, 32, 0, 8, 0};
    stream.insert(stream.end(), logo.bits.begin(), logo.bits.end());
    const BYTE toFlash[] = {0x1B, 0x46, 0x02};
    const BYTE fromFlash[] = {0x1B, 0x52, 0x02};
    ASSERT_TRUE(port.SendCommandToComm(stream.data(), static_cast<DWORD>(stream.size())));
    ASSERT_TRUE(port.SendCommandToComm(toFlash, 3));
    ASSERT_TRUE(port.SendCommandToComm(fromFlash, 3));
    ASSERT_TRUE(WaitFor([&] { return !m_printer->FlashLogo(2).IsEmpty(); }));
    EXPECT_EQ(m_printer->FlashLogo(2).bits, logo.bits);
    EXPECT_TRUE(m_printer->FlashLogo(1).IsEmpty());
}

TEST_F(PrinterFixture, FlashAreaBlocksWithChecksumErrors)
{
    CEmuOptions options = Options(QStringLiteral("HVCZL"));
    options.fault = {CEmuFault::Kind::ChecksumErrors, 2};
    StartPrinter(options);
    CsComAm port;
    OpenPort(port, QStringLiteral("HVCZL"));

    // The info block names the logo area.
    const auto query = AreaFrame(0x8000, 0x807F, 0xFF);
    EXPECT_EQ(query, (std::vector<BYTE>{0x1B, 0xFF, 0x80, 0x00, 0x80, 0x7F, 0xFF, 0x98}));
    BYTE info[129] = {};
    DWORD length = 129;
    ASSERT_TRUE(port.SendCommandToComm(query.data(), 8, info, &length, nullptr));
    ASSERT_EQ(info[0], 0xAA);
    const QByteArray block(reinterpret_cast<const char*>(info + 1), 128);
    const int at = block.indexOf("LOGOS:");
    ASSERT_GE(at, 0);
    const int first = BYTE(block[at + 6]) << 8 | BYTE(block[at + 7]);
    const int last = BYTE(block[at + 8]) << 8 | BYTE(block[at + 9]);
    EXPECT_EQ(first, 0xC000);
    EXPECT_EQ(last, 0xC000 + 512 * 64 / 8 - 1);
    EXPECT_GE(block.indexOf("PRMOD:HVCZL"), 0);

    const auto frame = AreaFrame(0xC000, 0xC0FF, 0x00);
    BYTE reply[3] = {};
    length = 3;
    ASSERT_TRUE(port.SendCommandToComm(frame.data(), 8, reply, &length, nullptr));
    EXPECT_EQ(std::vector<BYTE>(reply, reply + 3), (std::vector<BYTE>{0xAA, 0xC0, 0x00}));
    auto send = [&](const std::vector<BYTE>& b) {
        DWORD n = 3;
        EXPECT_TRUE(port.SendCommandToCommPack(b.data(), 129, 129, reply, &n, nullptr));
        return std::vector<BYTE>(reply, reply + 3);
    };
    EXPECT_EQ(send(DataBlock(0x11)), (std::vector<BYTE>{0x99, 0xC0, 0x00}));
    EXPECT_EQ(send(DataBlock(0x11)), (std::vector<BYTE>{0x99, 0xC0, 0x00}));
    EXPECT_EQ(send(DataBlock(0x11)), (std::vector<BYTE>{0xAA, 0xC0, 0x80}));
    auto broken = DataBlock(0x22);
    broken[128] ^= 1;
    EXPECT_EQ(send(broken), (std::vector<BYTE>{0x99, 0xC0, 0x80}));
    EXPECT_EQ(send(DataBlock(0x22)), (std::vector<BYTE>{0xBB, 0x00, 0x00}));
    ASSERT_TRUE(WaitFor([&] { return !m_printer->FlashLogo(1).IsEmpty(); }));
    const CEmuLogo stored = m_printer->FlashLogo(1);
    EXPECT_EQ(stored.bits[0], 0x11);
    EXPECT_EQ(stored.bits[128], 0x22);
    EXPECT_EQ(stored.bits[256], 0x00);

    // A frame outside the logo area is a serious error.
    const auto outside = AreaFrame(0x1000, 0x10FF, 0x00);
    length = 3;
    ASSERT_TRUE(port.SendCommandToComm(outside.data(), 8, reply, &length, nullptr));
    EXPECT_EQ(reply[0], 0x88);
}

TEST_F(PrinterFixture, FixedAreaInfoBlockAt0480)
{
    StartPrinter(Options(QStringLiteral("FQ054")));
    CsComAm port;
    OpenPort(port, QStringLiteral("FQ054"));
    const auto query = AreaFrame(0x0480, 0x04FF, 0xFF);
    EXPECT_EQ(query.back(), 0xA0);
    BYTE info[129] = {};
    DWORD length = 129;
    ASSERT_TRUE(port.SendCommandToComm(query.data(), 8, info, &length, nullptr));
    EXPECT_EQ(info[0], 0xAA);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(info + 1), 6), QByteArray("PARAM:"));
}

TEST_F(PrinterFixture, EchoedBytesWithTrailingZeros)
{
    StartPrinter(Options(QStringLiteral("LR52-")));
    CsComAm port;
    OpenPort(port, QStringLiteral("LR52-"));
    BYTE id = 0;
    ASSERT_TRUE(port.GetModelToThePrinter(&id));
    EXPECT_EQ(id, 0x86);
    BYTE ack = 0;
    DWORD length = 1;
    ASSERT_TRUE(port.SendCommandToComm(prnproto::kEchoStart.data(), 3, &ack, &length, nullptr));
    EXPECT_EQ(ack, 0xAA);
    const int bytes = 512 * 64 / 8 + 16;
    for (int i = 0; i < bytes; ++i) {
        const BYTE b = i < bytes - 16 ? BYTE(i * 7) : 0;
        length = 1;
        ack = 0;
        ASSERT_TRUE(port.SendCommandToComm(&b, 1, &ack, &length, nullptr)) << i;
        ASSERT_EQ(ack, 0xAA) << i;
    }
    ASSERT_TRUE(WaitFor([&] { return !m_printer->FlashLogo(1).IsEmpty(); }));
    EXPECT_EQ(m_printer->FlashLogo(1).bits[3], BYTE(21));
    // Out of the echo session the printer answers plain requests again.
    EXPECT_TRUE(port.GetStatusPrinter(0));
}

// A run of the printer never writes over the pages of an earlier run: its
// first page comes after the highest page already in the folder.
TEST(EmulatorPaper, PagesAreNumberedOnFromTheHighestInTheFolder)
{
    struct Case {
        QStringList before;
        const char* first;
    };
    const Case cases[] = {
        {{}, "page-001.png"},
        {{"page-001.png", "page-002.png"}, "page-003.png"},
        {{"page-001.png", "page-009.png"}, "page-010.png"},
        {{"page-999.png"}, "page-1000.png"},
        {{"page-abc.png", "page-7.png.txt", "notes.png"}, "page-001.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        for (const QString& name : c.before) {
            QFile earlier(dir.filePath(name));
            ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
            earlier.write("an earlier run's page");
        }
        CEmuPaper paper(16, dir.path());
        paper.PrintLogo(TestLogo(16, 2));
        paper.Cut();
        paper.FeedLine();
        paper.Cut();
        ASSERT_EQ(paper.Pages().size(), 2);
        EXPECT_EQ(QFileInfo(paper.Pages()[0]).fileName(), QLatin1String(c.first));
        for (const QString& name : c.before) {
            QFile earlier(dir.filePath(name));
            ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
            EXPECT_EQ(earlier.readAll(), "an earlier run's page") << name.toStdString();
        }
        // A second run in the same folder goes on after the first.
        CEmuPaper next(16, dir.path());
        next.FeedLine();
        next.Cut();
        ASSERT_EQ(next.Pages().size(), 1);
        EXPECT_GT(next.Pages()[0], paper.Pages()[1]);
        EXPECT_EQ(QImage(paper.Pages()[0]).height(), 2) << "the first run's page was not written over";
    }
}

TEST(EmulatorOptions, ParsesArgumentsAndFaults)
{
    CEmuOptions o;
    QString error;
    ASSERT_TRUE(ParseEmuArguments({"--model", "WGJ33", "--baud", "19200", "--link", "/tmp/x",
                                   "--fault", "disconnect-after=12"},
                                  &o, &error));
    EXPECT_EQ(o.model, QStringLiteral("WGJ33"));
    EXPECT_EQ(o.baud, 19200u);
    EXPECT_EQ(o.fault.kind, CEmuFault::Kind::DisconnectAfter);
    EXPECT_EQ(o.fault.count, 12);
    CEmuFault f;
    EXPECT_TRUE(ParseEmuFault(QStringLiteral("checksum-errors=3"), &f));
    EXPECT_EQ(f.kind, CEmuFault::Kind::ChecksumErrors);
    EXPECT_FALSE(ParseEmuFault(QStringLiteral("checksum-errors=-1"), &f));
    EXPECT_FALSE(ParseEmuFault(QStringLiteral("noisy"), &f));
    CEmuOptions bad;
    EXPECT_FALSE(ParseEmuArguments({"--baud", "9600"}, &bad, &error));
    EXPECT_FALSE(ParseEmuArguments({"--model"}, &bad, &error));
    EXPECT_FALSE(ParseEmuArguments({"--model", "X", "--what", "1"}, &bad, &error));
}

// Every reply of the flash-area and echoed-byte protocols, and the other two
// kinds of port, can be asked for on the command line.
TEST(EmulatorOptions, ForcedRepliesAndPortKinds)
{
    CEmuOptions o;
    QString error;
    ASSERT_TRUE(ParseEmuArguments({"--model", "BDQG", "--port", "usb", "--offline", "--id", "0x86", "--fault",
                                   "checksum-errors=4@5", "--info-errors", "2", "--serious-error", "7",
                                   "--unknown-status", "9", "--complete-first", "--zero-address", "3",
                                   "--ask-again", "4", "--bad-byte", "100", "--link", "/tmp/a", "--link", "/tmp/b"},
                                  &o, &error))
        << error.toStdString();
    EXPECT_EQ(o.area.zeroAddressAt, 3);
    EXPECT_EQ(o.area.askAgainFrom, 4);
    EXPECT_EQ(o.area.badByteAt, 100);
    EXPECT_EQ(o.linkPath, QStringLiteral("/tmp/a"));
    EXPECT_EQ(o.moreLinks, QStringList{QStringLiteral("/tmp/b")}) << "--link again: one more printer";
    EXPECT_EQ(o.port, EmuPort::Usb);
    EXPECT_TRUE(o.offline);
    EXPECT_EQ(o.id, 0x86);
    EXPECT_EQ(o.area.checksumErrors, 4);
    EXPECT_EQ(o.area.checksumFrom, 5);
    EXPECT_EQ(o.area.infoErrors, 2);
    EXPECT_EQ(o.area.seriousAt, 7);
    EXPECT_EQ(o.area.unknownAt, 9);
    EXPECT_TRUE(o.area.completeFirst);
    EXPECT_EQ(o.fault.kind, CEmuFault::Kind::None);

    CEmuOptions parallel;
    ASSERT_TRUE(ParseEmuArguments({"--model", "BDQG", "--port", "parallel", "--fault", "checksum-errors=3"},
                                  &parallel, &error));
    EXPECT_EQ(parallel.port, EmuPort::Parallel);
    EXPECT_EQ(parallel.area.checksumErrors, 3);
    EXPECT_EQ(parallel.area.checksumFrom, 0);
    // The device files that play usblp and lp, and lp's busy spells.
    CEmuOptions usbDevice, lpDevice;
    ASSERT_TRUE(ParseEmuArguments({"--model", "J4", "--port", "usb-device"}, &usbDevice, &error));
    EXPECT_EQ(usbDevice.port, EmuPort::UsbDevice);
    ASSERT_TRUE(ParseEmuArguments({"--model", "QNND", "--port", "lp-device", "--fault", "busy-after=100"}, &lpDevice, &error));
    EXPECT_EQ(lpDevice.port, EmuPort::LpDevice);
    EXPECT_EQ(lpDevice.fault.kind, CEmuFault::Kind::BusyAfter);
    EXPECT_EQ(lpDevice.fault.count, 100);
    CEmuOptions bad;
    EXPECT_FALSE(ParseEmuArguments({"--model", "QNND", "--fault", "busy-after=0"}, &bad, &error));
    EXPECT_FALSE(ParseEmuArguments({"--model", "BDQG", "--port", "firewire"}, &bad, &error));
    EXPECT_FALSE(ParseEmuArguments({"--model", "BDQG", "--id", "256"}, &bad, &error));
    EXPECT_FALSE(ParseEmuArguments({"--model", "BDQG", "--fault", "checksum-errors=2@x"}, &bad, &error));
}

// Every option the command line takes is in the --help text, and each is
// taken with a value of its kind.
TEST(EmulatorOptions, HelpListsEveryOption)
{
    const QString usage = EmuUsage();
    for (const char* option : {"--model", "--link", "--baud", "--out", "--data", "--log", "--release",
                               "--submodel", "--submodel-length", "--fault", "--line-time", "--help", "silent-after=N",
                               "disconnect-after=N", "checksum-errors=N", "garbage", "--port", "--offline", "--id",
                               "--info-errors", "--serious-error", "--unknown-status", "--complete-first",
                               "usb-device", "lp-device", "busy-after=N", "--zero-address", "--ask-again",
                               "--bad-byte", "absent"})
        EXPECT_TRUE(usage.contains(QLatin1String(option))) << option;
    CEmuOptions o;
    QString error;
    ASSERT_TRUE(ParseEmuArguments({"--model", "XNZ11", "--link", "/tmp/p", "--baud", "115200", "--out", "/tmp/o",
                                   "--data", "/tmp/d", "--log", "/tmp/l", "--release", "0.39", "--submodel", "3",
                                   "--submodel-length", "2", "--fault", "silent-after=40", "--line-time"},
                                  &o, &error))
        << error.toStdString();
    EXPECT_EQ(o.release, QStringLiteral("0.39"));
    EXPECT_EQ(o.subModel, 3);
    EXPECT_EQ(o.subModelLength, 2);
    CEmuOptions tooLong;
    EXPECT_FALSE(ParseEmuArguments({"--model", "X", "--submodel-length", "4"}, &tooLong, &error));
    EXPECT_EQ(o.fault.kind, CEmuFault::Kind::SilentAfter);
    EXPECT_EQ(o.fault.count, 40);
    CEmuFault f;
    EXPECT_FALSE(ParseEmuFault(QStringLiteral("silent-after="), &f));
    EXPECT_FALSE(ParseEmuFault(QStringLiteral("silent-after=x"), &f));
}

// A printer answering at another speed: the host's receiver samples the
// other speed's bits in the middle of its own bit times after each falling
// edge; a low stop bit is a framing error, read as a zero byte.
TEST(EmulatorOptions, AnswersAtAnotherSpeedAreReadAsTheHostsReceiverSamplesThem)
{
    CEmuFault f;
    ASSERT_TRUE(ParseEmuFault(QStringLiteral("answer-baud=4800"), &f));
    EXPECT_EQ(f.kind, CEmuFault::Kind::AnswerBaud);
    EXPECT_EQ(f.count, 4800);
    EXPECT_FALSE(ParseEmuFault(QStringLiteral("answer-baud=0"), &f));
    EXPECT_FALSE(ParseEmuFault(QStringLiteral("answer-baud=fast"), &f));
    EXPECT_TRUE(EmuUsage().contains(QLatin1String("answer-baud=N")));

    using Bytes = std::vector<uint8_t>;
    // The same speed changes nothing.
    EXPECT_EQ(ReadAtOtherSpeed({0x12, 0xAA}, 9600, 9600), (Bytes{0x12, 0xAA}));
    // 0xFF sent at 9600, read at 19200: the long start bit is also data bit 0,
    // the rest and the stop bit read high.
    EXPECT_EQ(ReadAtOtherSpeed({0xFF}, 9600, 19200), (Bytes{0xFE}));
    // 0x00 sent at 4800, read at 9600: the stop bit is sampled while the slow
    // data bits are still low, a framing error.
    EXPECT_EQ(ReadAtOtherSpeed({0x00}, 4800, 9600), (Bytes{0x00}));
    // 0xFF sent at 19200, read at 9600: every sample after the short start bit is high.
    EXPECT_EQ(ReadAtOtherSpeed({0xFF}, 19200, 9600), (Bytes{0xFF}));
    // 0x0F sent at 4800, read at 9600: two frames. The first samples the
    // start bit, then data bits 0-3 twice each (0xFE, its stop sample on bit
    // 3, high); the second starts at data bit 4 and reads 4-7 low and the
    // sender's stop bit as its bit 7 (0x80).
    EXPECT_EQ(ReadAtOtherSpeed({0x0F}, 4800, 9600), (Bytes{0xFE, 0x80}));
}

// The family follows the serial transfer's rule: the first five characters
// equal to the family code, ignoring case.
TEST(EmulatorModels, FamilyByTheFirstFiveCharacters)
{
    const std::vector<std::pair<QString, CEmuModel::Family>> expected{
        {"BDQG", CEmuModel::Family::Area},      {"BDQGMLW", CEmuModel::Family::Plain},
        {"HVCZL98C", CEmuModel::Family::Area},  {"FQ054-07", CEmuModel::Family::Area},
        {"LR52-", CEmuModel::Family::Echo},     {"LB36", CEmuModel::Family::Echo},
        {"MLQDGGQF", CEmuModel::Family::Fiscal}, {"WGJ33", CEmuModel::Family::Plain}};
    for (const auto& [code, family] : expected) {
        SCOPED_TRACE(code.toStdString());
        CEmuModel model;
        QString error;
        ASSERT_TRUE(CEmuModel::Load(testenv::ProgramDir(), code, &model, &error)) << error.toStdString();
        EXPECT_EQ(model.family, family);
    }
}

TEST(EmulatorStart, RefusesUnknownModelsAndSpeeds)
{
    CEmuOptions o;
    o.dataDir = testenv::ProgramDir();
    o.model = QStringLiteral("NOSUCH");
    QString error;
    CPrinterEmulator missing(o);
    EXPECT_FALSE(missing.Start(&error));
    EXPECT_FALSE(error.isEmpty());
    o.model = QStringLiteral("WGJ33");
    o.baud = 12345;
    CPrinterEmulator badBaud(o);
    EXPECT_FALSE(badBaud.Start(&error));
}

TEST(EmulatorAreaProtocol, BlockAtTheTopOfTheAddressSpaceStaysInsideTheMemory)
{
    // A logo this large makes the logo area reach the last address, so a write
    // may start less than one block below the end of the memory.
    CEmuModel model;
    model.code = QStringLiteral("BDQG");
    model.family = CEmuModel::Family::Area;
    model.dotX = 1024;
    model.dotY = 512;
    ASSERT_EQ(model.LogoLast(), 0xFFFF);
    CEmuPaper paper(model.dotX, QString());
    CEmuProtocol protocol(model, &paper, QStringLiteral("1.0"), 1);
    std::vector<uint8_t> reply;
    for (const BYTE b : AreaFrame(0xFFF0, 0xFFFF, prnproto::kAreaWrite))
        protocol.Feed(b, reply);
    ASSERT_EQ(reply.size(), 3u);
    EXPECT_EQ(reply[0], prnproto::kAreaAccepted);
    reply.clear();
    for (const BYTE b : DataBlock(0x5A))
        protocol.Feed(b, reply);
    ASSERT_EQ(reply.size(), 3u);
    EXPECT_EQ(reply[0], prnproto::kAreaComplete);
    const CEmuLogo stored = protocol.FlashLogo(1);
    ASSERT_EQ(stored.bits.size(), static_cast<size_t>(1024 / 8 * 512));
    // 0xFFF0 - 0xC000 bytes into the logo; only the 16 bytes that fit were kept.
    EXPECT_EQ(stored.bits[0xFFF0 - 0xC000], 0x5A);
    EXPECT_EQ(stored.bits[0xFFFF - 0xC000], 0x5A);
}
