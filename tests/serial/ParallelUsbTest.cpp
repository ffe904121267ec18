// The parallel and USB components on pseudo-terminals standing in for lp and
// usblp devices.
#include "SerialFixture.h"

#include "components/PComAm.h"
#include "components/UComAm.h"

#include <fcntl.h>
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
