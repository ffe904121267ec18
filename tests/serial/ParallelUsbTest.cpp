// The parallel and USB components on pseudo-terminals standing in for lp and
// usblp devices, and on the virtual printer's device files, which behave as
// those drivers do (docs/drivers.md).
#include "SerialFixture.h"

#include "components/PComAm.h"
#include "components/UComAm.h"

#include "platform/ManualResetEvent.h"

#include <cstring>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

using serialtest::PrinterFixture;

TEST_F(PrinterFixture, ParallelWritesCommandsAndFeeds)
{
    StartPrinter(Options(QStringLiteral("WGJ33")));
    testenv::ScopedSettingsFile ports("[Ports]\nLPT1=" + m_printer->LinkPath().toUtf8() + "\n");
    const CLoadCfgPrnFile cfg = serialtest::LoadModelCfg(QStringLiteral("WGJ33"));
    CQvPComAm lpt(QStringLiteral("LPT1"), 15, 30);
    ASSERT_TRUE(lpt.InitLptComPort(&cfg)) << lpt.LastErrorText().toStdString();
    EXPECT_EQ(lpt.Get_m_strLptName(), QStringLiteral("LPT1"));
    EXPECT_TRUE(lpt.NLfOutput(6));
    EXPECT_TRUE(lpt.NewSendCommandToCom(QStringLiteral("Ctotcut")));
    EXPECT_FALSE(lpt.NewSendCommandToCom(QStringLiteral("NoSuchCommand")));
    ASSERT_TRUE(serialtest::WaitFor([&] { return m_printer->Cuts() == 1; }));
    EXPECT_EQ(m_printer->LineFeeds(), 6);
    const BYTE block[129] = {};
    EXPECT_TRUE(lpt.SendPacketToCommSize(block, 129, 20));
    BYTE status = 0;
    EXPECT_FALSE(lpt.GetLptStatus(&status));  // a terminal has no lp status
    EXPECT_TRUE(lpt.CloseLptPort());
    EXPECT_FALSE(lpt.SendCommandToComm(block, 1));
    CQvPComAm none(QStringLiteral("LPT9"), 15, 30);
    EXPECT_FALSE(none.InitLptComPort(&cfg));
}

TEST_F(PrinterFixture, ParallelWriteToAStalledPrinterEndsAtItsDeadline)
{
    // A terminal nobody reads fills up like a printer that stopped taking data.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    grantpt(master);
    unlockpt(master);
    testenv::ScopedSettingsFile ports(QByteArray("[Ports]\nLPT1=") + ptsname(master) + "\n");
    CQvPComAm lpt(QStringLiteral("LPT1"), 3, 30);
    lpt.SetTimeoutMs(100);
    ASSERT_TRUE(lpt.InitLptComPort(nullptr));
    const std::vector<BYTE> big(1 << 20, 0x55);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(lpt.SendCommandToComm(big.data(), static_cast<DWORD>(big.size())));
    EXPECT_LT(timer.elapsed(), 1000);
    ::close(master);
}

TEST_F(PrinterFixture, UsbIdentifiesAndWrites)
{
    StartPrinter(Options(QStringLiteral("BDQGMLW")));
    testenv::ScopedSettingsFile ports("[Ports]\nUSB001=" + m_printer->LinkPath().toUtf8() + "\n");
    CQvComAm usb;
    usb.SetTimeouts(200, 100);
    EXPECT_EQ(usb.GetPrinterGSI(), 0xFF);  // not bound yet
    ASSERT_TRUE(usb.OpenPrinter(QStringLiteral("USB001")));
    EXPECT_EQ(usb.GetPrinterGSI(), 0x7E);
    EXPECT_TRUE(usb.IsPrinterOnline());
    DWORD written = 0;
    const BYTE cut[] = {0x1B, 0x69};
    EXPECT_EQ(usb.UsbWrite(cut, 2, &written), 2u);
    EXPECT_EQ(written, 2u);
    EXPECT_TRUE(usb.NLfOutput(6));
    ASSERT_TRUE(serialtest::WaitFor([&] { return m_printer->LineFeeds() == 6; }));
    m_printer->Stop();
    EXPECT_EQ(usb.GetPrinterGSI(), 0xFF);
    EXPECT_NE(usb.UsbWrite(cut, 2, &written), 2u);
    CQvComAm unbound;
    EXPECT_FALSE(unbound.OpenPrinter(QStringLiteral("USB009")));
    EXPECT_FALSE(unbound.IsPrinterOnline());
}

namespace {

// The printer behind a device file that plays driver, at 115200 baud's pace,
// as USB001 and LPT1. Empty when FUSE cannot be used here (the reason then).
QString StartDevicePrinter(std::unique_ptr<CPrinterEmulator>& printer, CEmuOptions o,
                           std::unique_ptr<testenv::ScopedSettingsFile>& ports)
{
    QString why;
    if (!CPrinterEmulator::DeviceModesUsable(&why))
        return why;
    o.lineTime = true;
    printer = std::make_unique<CPrinterEmulator>(o);
    QString error;
    EXPECT_TRUE(printer->Start(&error)) << error.toStdString();
    ports = std::make_unique<testenv::ScopedSettingsFile>(
        "[Ports]\nUSB001=" + o.linkPath.toUtf8() + "\nLPT1=" + o.linkPath.toUtf8() + "\n");
    return QString();
}

} // namespace

TEST_F(PrinterFixture, OnAUsbPrinterDeviceAWriteEndsOnceThePrinterTookItsTransfer)
{
    // usblp returns from a non-blocking write with the transfer in flight and
    // cancels it at close: the component's write waits for its completion.
    CEmuOptions o = Options(QStringLiteral("J4"), 115200);
    o.port = EmuPort::UsbDevice;
    std::unique_ptr<testenv::ScopedSettingsFile> ports;
    if (const QString why = StartDevicePrinter(m_printer, o, ports); !why.isEmpty())
        GTEST_SKIP() << "no device file here: " << why.toStdString();
    CQvComAm usb;
    usb.SetTimeouts(5000, 500);
    ASSERT_TRUE(usb.OpenPrinter(QStringLiteral("USB001"))) << usb.LastErrorText().toStdString();
    const std::vector<BYTE> block(4096, 0);
    ASSERT_TRUE(usb.SendCommandToComm(block.data(), static_cast<DWORD>(block.size()))) << usb.LastErrorText().toStdString();
    EXPECT_EQ(m_printer->BytesUnderstood(), 4096) << "the write ended with its transfer in flight";
    EXPECT_TRUE(usb.WaitUntilTaken());

    // A stop ends the wait for a transfer in flight; the close then drops it.
    CManualResetEvent stop;
    usb.SetStopEvents(&stop, nullptr);
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        stop.Set();
    });
    const std::vector<BYTE> longer(8192, 0);
    EXPECT_FALSE(usb.SendCommandToComm(longer.data(), static_cast<DWORD>(longer.size())));
    stopper.join();
    EXPECT_TRUE(usb.LastErrorText().contains(QStringLiteral("stopped"))) << usb.LastErrorText().toStdString();
    usb.ClosePrinter();
    ASSERT_TRUE(m_printer->WaitUntilSettled(2000));
    EXPECT_EQ(m_printer->BytesUnderstood(), 4096) << "the printer took a transfer the close cancelled";

    // Unplugged with a transfer in flight: it completes unread, and the
    // wait for the output names the printer gone.
    o.fault.kind = CEmuFault::Kind::DisconnectAfter;
    o.fault.count = 100;
    ports.reset();
    m_printer.reset();
    ASSERT_TRUE(StartDevicePrinter(m_printer, o, ports).isEmpty());
    CQvComAm unplugged;
    unplugged.SetTimeouts(5000, 500);
    ASSERT_TRUE(unplugged.OpenPrinter(QStringLiteral("USB001")));
    unplugged.SendCommandToComm(block.data(), static_cast<DWORD>(block.size()));
    EXPECT_FALSE(unplugged.WaitUntilTaken());
    EXPECT_TRUE(unplugged.LastErrorText().contains(QStringLiteral("went away"))) << unplugged.LastErrorText().toStdString();
    EXPECT_EQ(m_printer->BytesUnderstood(), 100);
}

TEST_F(PrinterFixture, OnAParallelPrinterDeviceBusyAndOffLineAreTheDriversAnswers)
{
    // lp: a write returns once its bytes went through; a busy printer ends a
    // non-blocking one early (the bytes so far), then refuses it (EAGAIN)
    // until it is ready: the component tries again within its budget.
    CEmuOptions o = Options(QStringLiteral("WGJ33"), 115200);
    o.port = EmuPort::LpDevice;
    o.fault.kind = CEmuFault::Kind::BusyAfter;
    o.fault.count = 1000;
    std::unique_ptr<testenv::ScopedSettingsFile> ports;
    if (const QString why = StartDevicePrinter(m_printer, o, ports); !why.isEmpty())
        GTEST_SKIP() << "no device file here: " << why.toStdString();
    CQvPComAm lpt(QStringLiteral("LPT1"), 15, 30);
    lpt.SetTimeoutMs(5000);
    ASSERT_TRUE(lpt.InitLptComPort(nullptr)) << lpt.LastErrorText().toStdString();
    const std::vector<BYTE> bytes(3000, 0);
    EXPECT_TRUE(lpt.SendCommandToComm(bytes.data(), static_cast<DWORD>(bytes.size()))) << lpt.LastErrorText().toStdString();
    EXPECT_EQ(m_printer->BytesUnderstood(), 3000) << "a write ended before its bytes went through";
    EXPECT_TRUE(lpt.WaitUntilTaken());
    BYTE status = 0;
    EXPECT_FALSE(lpt.GetLptStatus(&status)) << "a device file cannot carry the lp status";
    lpt.CloseLptPort();

    // Off line: lp's status check fails the write with EIO at once.
    o.fault = CEmuFault();
    o.offline = true;
    ports.reset();
    m_printer.reset();
    ASSERT_TRUE(StartDevicePrinter(m_printer, o, ports).isEmpty());
    CQvPComAm offline(QStringLiteral("LPT1"), 15, 30);
    offline.SetTimeoutMs(5000);
    ASSERT_TRUE(offline.InitLptComPort(nullptr));
    EXPECT_FALSE(offline.SendCommandToComm(bytes.data(), 10));
    EXPECT_TRUE(offline.LastErrorText().contains(QString::fromLocal8Bit(std::strerror(EIO))))
        << offline.LastErrorText().toStdString();
}
