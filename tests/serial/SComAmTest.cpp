// The serial component against the virtual printer on a pseudo-terminal.
#include "SerialFixture.h"

#include "components/PrinterProtocol.h"
#include "platform/PostedMessage.h"

#include <QFile>
#include <QObject>
#include <vector>

using serialtest::PrinterFixture;
using serialtest::WaitFor;

namespace {

class MessageRecorder : public CMessageReceiver<QObject> {
public:
    struct Message {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    };
    LPARAM OnPostedMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back({msg, wParam, lParam});
        return 0;
    }
    std::vector<Message> messages;
};

QString ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

TEST_F(PrinterFixture, IdentifiesThePrinterAtEachStartingBaudRate)
{
    for (const unsigned baud : {9600u, 19200u, 38400u, 57600u, 115200u}) {
        SCOPED_TRACE(baud);
        StartPrinter(Options(QStringLiteral("WGJ33"), baud));
        CsComAm port;
        OpenPort(port, QStringLiteral("WGJ33"));
        EXPECT_EQ(port.m_dwBaudRate, 9600u);
        const BYTE ids[] = {0x40, 0x33, 0x86};
        int index = -1;
        ASSERT_TRUE(port.PubAutodetectBaudRateLightType(ids, 3, &index, nullptr, 0, 1, 0, WM_PORT_STATUS));
        EXPECT_EQ(index, 1);
        EXPECT_TRUE(port.Get_m_strSerConfig().endsWith(QStringLiteral(" %1,N,8,1").arg(baud)));
        EXPECT_TRUE(port.GetStatusPrinter(0));
        EXPECT_TRUE(port.IsPrinterOn(0));
        BYTE id = 0xFF;
        EXPECT_TRUE(port.GetModelToThePrinter(&id));
        EXPECT_EQ(id, 0x33);
        port.DeInitializePort();
        m_printer->Stop();
    }
}

TEST_F(PrinterFixture, BytesAtAnotherSpeedAreNotUnderstood)
{
    StartPrinter(Options(QStringLiteral("WGJ33"), 19200));
    CsComAm port;
    OpenPort(port, QStringLiteral("WGJ33"));
    EXPECT_FALSE(port.GetStatusPrinter(0));
    EXPECT_GT(m_printer->BytesIgnored(), 0);
    EXPECT_TRUE(port.PubSetBaudRate(19200));
    EXPECT_TRUE(port.GetStatusPrinter(0));
    // A list without the printer's byte fails and leaves the line where it was.
    const BYTE other[] = {0x40};
    int index = -1;
    EXPECT_FALSE(port.PubAutodetectBaudRateLightType(other, 1, &index, nullptr, 0, 0, 0, WM_PORT_STATUS));
    EXPECT_EQ(index, -1);
    EXPECT_TRUE(port.Get_m_strSerConfig().endsWith(QStringLiteral(" 19200,N,8,1")));
    EXPECT_TRUE(port.PubAutodetectBaudRate(0x33, nullptr, 0, 1, WM_PORT_STATUS));
}

TEST_F(PrinterFixture, SwitchesPrinterAndPortTogether)
{
    StartPrinter(Options(QStringLiteral("XNZ11")));
    CsComAm port;
    OpenPort(port, QStringLiteral("XNZ11"));
    ASSERT_TRUE(port.SetAutomaticComPort(QStringLiteral("C1152XXnoP8bt")));
    EXPECT_EQ(m_printer->CurrentBaud(), 115200u);
    EXPECT_EQ(port.Get_m_strSerConfig(),
              QStringLiteral("COM1 %1 115200,N,8,1").arg(m_printer->LinkPath()));
    EXPECT_TRUE(port.GetStatusPrinter(0));
    for (const auto& [text, baud] : std::vector<std::pair<QString, unsigned>>{
             {"C0384XXnoP8bt", 38400}, {"C19200XXnoP8bt", 19200}, {"C38400XXnoP8bt", 38400},
             {"C9600XXnoP8bt", 9600}}) {
        SCOPED_TRACE(text.toStdString());
        ASSERT_TRUE(port.SetAutomaticComPort(text));
        EXPECT_EQ(m_printer->CurrentBaud(), baud);
        EXPECT_TRUE(port.GetStatusPrinter(0));
    }
    // Strings it cannot read change nothing.
    for (const char* bad : {"C1234XXnoP8bt", "C9600XXevP8bt", "", "9600"})
        EXPECT_FALSE(port.SetAutomaticComPort(QString::fromLatin1(bad)));
    EXPECT_EQ(m_printer->CurrentBaud(), 9600u);
    EXPECT_TRUE(port.Get_m_strSerConfig().endsWith(QStringLiteral(" 9600,N,8,1")));
}

TEST_F(PrinterFixture, ConfigurationStringsNameTheirSpeeds)
{
    EXPECT_EQ(CsComAm::BaudOfComConfig(QStringLiteral("C9600XXnoP8bt")), 9600u);
    EXPECT_EQ(CsComAm::BaudOfComConfig(QStringLiteral("C19200XXnoP8bt")), 19200u);
    EXPECT_EQ(CsComAm::BaudOfComConfig(QStringLiteral("C38400XXnoP8bt")), 38400u);
    EXPECT_EQ(CsComAm::BaudOfComConfig(QStringLiteral("C0384XXnoP8bt")), 38400u);
    EXPECT_EQ(CsComAm::BaudOfComConfig(QStringLiteral("C1152XXnoP8bt")), 115200u);
    EXPECT_EQ(CsComAm::BaudOfComConfig(QStringLiteral("C1152XXnoP7bt")), 0u);
}

TEST_F(PrinterFixture, SilentPrinterFailsWithinItsTimeout)
{
    CEmuOptions options = Options(QStringLiteral("WGJ33"));
    options.fault.kind = CEmuFault::Kind::Silent;
    StartPrinter(options);
    CsComAm port;
    OpenPort(port, QStringLiteral("WGJ33"));
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(port.GetStatusPrinter(0));
    EXPECT_LT(timer.elapsed(), 300);
    timer.restart();
    int index = -1;
    const BYTE ids[] = {0x33};
    EXPECT_FALSE(port.PubAutodetectBaudRateLightType(ids, 1, &index, nullptr, 0, 0, 0, WM_PORT_STATUS));
    EXPECT_LT(timer.elapsed(), 5 * 40 + 400);
    EXPECT_TRUE(port.GetReleaseSwStampante().isEmpty());
}

TEST_F(PrinterFixture, PrinterThatStopsMidReplyFailsWithinItsTimeout)
{
    StartPrinter(Options(QStringLiteral("WGJ33")));
    CsComAm port;
    OpenPort(port, QStringLiteral("WGJ33"));
    BYTE reply[8] = {};
    DWORD length = 5, written = 0;
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(port.SendCommandToComm(prnproto::kModelRequest.data(), 3, reply, &length, &written));
    EXPECT_LT(timer.elapsed(), 300);
    EXPECT_EQ(length, 1u);
    EXPECT_EQ(written, 3u);
    EXPECT_EQ(reply[0], 0x33);
}

TEST_F(PrinterFixture, DisconnectMidTransferGivesFailureAndLogLine)
{
    CEmuOptions options = Options(QStringLiteral("WGJ33"));
    options.fault = {CEmuFault::Kind::DisconnectAfter, 6};
    StartPrinter(options);
    CsComAm port;
    OpenPort(port, QStringLiteral("WGJ33"));
    EXPECT_TRUE(port.GetStatusPrinter(0));
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(port.GetStatusPrinter(0));
    ASSERT_TRUE(WaitFor([&] { return m_printer->IsDisconnected(); }));
    const std::vector<BYTE> block(512, 0x55);
    EXPECT_FALSE(port.SendCommandToComm(block.data(), 512));
    EXPECT_FALSE(port.NLfOutput(6));
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_TRUE(ReadAll(LogPath()).contains(QStringLiteral("ERROR")));
}

TEST_F(PrinterFixture, GarbageAnswersAreRefused)
{
    CEmuOptions options = Options(QStringLiteral("WGJ33"));
    options.fault.kind = CEmuFault::Kind::Garbage;
    StartPrinter(options);
    CsComAm port;
    OpenPort(port, QStringLiteral("WGJ33"));
    EXPECT_FALSE(port.GetStatusPrinter(0));
    EXPECT_FALSE(port.IsPrinterOn(0));
    BYTE id = 0xFF;
    port.GetModelToThePrinter(&id);
    EXPECT_NE(id, 0x33);
    const BYTE ids[] = {0x33};
    int index = -1;
    EXPECT_FALSE(port.PubAutodetectBaudRateLightType(ids, 1, &index, nullptr, 0, 0, 0, WM_PORT_STATUS));
    EXPECT_FALSE(port.SetAutomaticComPort(QStringLiteral("C1152XXnoP8bt")));
}

TEST_F(PrinterFixture, TransferLogHoldsHexOfEveryByte)
{
    StartPrinter(Options(QStringLiteral("WGJ33")));
    {
        CsComAm port;
        OpenPort(port, QStringLiteral("WGJ33"));
        EXPECT_TRUE(port.GetStatusPrinter(0));
        EXPECT_TRUE(port.NLfOutput(3));
        const std::vector<BYTE> big(40, 0xAB);
        EXPECT_TRUE(port.SendCommandToComm(big.data(), 40));
    }
    const QStringList lines = ReadAll(LogPath()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    auto has = [&](const QString& tail) {
        return std::any_of(lines.begin(), lines.end(), [&](const QString& l) { return l.endsWith(tail); });
    };
    EXPECT_TRUE(has(QStringLiteral(" TX 10 04 01")));
    EXPECT_TRUE(has(QStringLiteral(" RX 12")));
    EXPECT_TRUE(has(QStringLiteral(" TX 0A 0A 0A")));
    // Long writes are cut into lines of 32 bytes.
    EXPECT_TRUE(has(QStringLiteral(" TX") + QStringLiteral(" AB").repeated(32)));
    EXPECT_TRUE(has(QStringLiteral(" TX") + QStringLiteral(" AB").repeated(8)));
    // Every line starts with its time stamp.
    for (const QString& l : lines)
        EXPECT_TRUE(l.at(4) == QLatin1Char('-') && l.at(13) == QLatin1Char(':')) << l.toStdString();
}

TEST_F(PrinterFixture, SettingsTextAndStatusMessage)
{
    StartPrinter(Options(QStringLiteral("WGJ33")));
    MessageRecorder window;
    CsComAm port;
    EXPECT_EQ(port.Get_m_strSerConfig(), QStringLiteral(" (closed)"));
    OpenPort(port, QStringLiteral("WGJ33"), &window);
    EXPECT_EQ(port.Get_m_strSerConfig(), QStringLiteral("COM1 %1 9600,N,8,1").arg(m_printer->LinkPath()));
    ASSERT_TRUE(port.PubSetBaudRate(9600));
    ASSERT_TRUE(port.SetAutomaticComPort(QStringLiteral("C19200XXnoP8bt"), 645, &window, 0, 1, WM_PORT_STATUS));
    QCoreApplication::processEvents();
    ASSERT_EQ(window.messages.size(), 2u);
    EXPECT_EQ(window.messages[0].msg, WM_PORT_STATUS);
    EXPECT_EQ(window.messages[0].lParam, 1);
    EXPECT_EQ(window.messages[1].wParam, 645u);
    port.DeInitializePort();
    EXPECT_EQ(port.Get_m_strSerConfig(), QStringLiteral("COM1 (closed)"));
}

TEST_F(PrinterFixture, OpeningFailsCleanly)
{
    StartPrinter(Options(QStringLiteral("WGJ33")));
    const CLoadCfgPrnFile cfg = serialtest::LoadModelCfg(QStringLiteral("WGJ33"));
    CsComAm port;
    EXPECT_FALSE(port.InitThisObject(nullptr, QStringLiteral("COM77"), 1, QString(), &cfg));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.GetStatusPrinter(0));
    m_printer->Stop();  // the link is gone with the printer
    EXPECT_FALSE(port.InitThisObject(nullptr, QStringLiteral("COM1"), 1, QString(), &cfg));
}

TEST_F(PrinterFixture, CtsReadyOnALineWithoutModemLinesAndPurge)
{
    StartPrinter(Options(QStringLiteral("WGJ33")));
    CsComAm port;
    OpenPort(port, QStringLiteral("WGJ33"));
    DWORD status = 7;
    EXPECT_EQ(port.GetCtsStatusPrinter(&status, 1), 0u);
    EXPECT_EQ(status, 0u);
    // An unread answer is discarded by the purge.
    ASSERT_TRUE(port.SendCommandToComm(prnproto::kStatusRequest.data(), 3));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(port.PurgePort());
    BYTE b = 0;
    DWORD count = 1, elapsed = 0, missing = 0;
    EXPECT_FALSE(port.WaitTimeoutReadNBytes(&b, &count, &elapsed, &missing));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(missing, 1u);
}

TEST_F(PrinterFixture, ReleasesAndSubModel)
{
    CEmuOptions options = Options(QStringLiteral("WQWRFW0"));
    options.release = QStringLiteral("0.39");
    options.subModel = 2;
    StartPrinter(options);
    CsComAm port;
    OpenPort(port, QStringLiteral("WQWRFW0"));
    EXPECT_EQ(port.GetReleaseSwStampante(), QStringLiteral("0.39"));
    EXPECT_EQ(port.GetReleaseFirmwareWgj33(), QStringLiteral("0.39"));
    BYTE reply[3] = {};
    DWORD length = 0;
    EXPECT_TRUE(port.NewSendCommandToCom(QStringLiteral("Csubmodel"), reply, &length));
    EXPECT_EQ(length, 1u);
    EXPECT_EQ(reply[0], 2);
    EXPECT_FALSE(port.NewSendCommandToCom(QStringLiteral("NoSuchCommand")));
}

// The caller's reply length is what is read, whatever the configuration says
// the command is answered with (one byte for Csubmodel): the answer's real
// length shows, and a longer answer cannot run past the caller's buffer.
TEST_F(PrinterFixture, ReplyLengthIsTheCallersOwn)
{
    for (const int answered : {1, 2}) {
        SCOPED_TRACE(answered);
        CEmuOptions options = Options(QStringLiteral("WQWRFW0"));
        options.subModel = 2;
        options.subModelLength = answered;
        StartPrinter(options);
        CsComAm port;
        OpenPort(port, QStringLiteral("WQWRFW0"));
        BYTE reply[4] = {0xEE, 0xEE, 0xEE, 0xEE};
        DWORD length = 3;
        port.NewSendCommandToCom(QStringLiteral("Csubmodel"), reply, &length);
        EXPECT_EQ(length, DWORD(answered));
        EXPECT_EQ(reply[0], 2);
        if (answered == 2) {
            EXPECT_EQ(reply[1], 0);
        }
        EXPECT_EQ(reply[3], 0xEE) << "nothing is written past the caller's length";
    }
}
