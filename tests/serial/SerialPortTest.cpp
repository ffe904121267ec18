// The termios layer on a bare pseudo-terminal.
#include "components/PrinterDevice.h"
#include "components/SerialPort.h"
#include "platform/ManualResetEvent.h"

#include <QElapsedTimer>
#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

class BarePty {
public:
    BarePty()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        grantpt(master);
        unlockpt(master);
        char name[128] = {};
        ptsname_r(master, name, sizeof name);
        device = QString::fromLocal8Bit(name);
    }
    ~BarePty() { ::close(master); }
    int master = -1;
    QString device;
};

// Shuts the running user out of a device while it lives: mode 000 refuses its
// owner, and a run as root gives up its power over files (its effective user
// becomes nobody) until the end.
class AccessRefused {
public:
    explicit AccessRefused(const QString& device) : m_path(device.toLocal8Bit())
    {
        struct stat info {};
        ::stat(m_path.constData(), &info);
        m_mode = info.st_mode & 07777;
        m_ok = ::chmod(m_path.constData(), 0) == 0;
        if (m_ok && ::geteuid() == 0)
            m_ok = m_wasRoot = ::seteuid(65534) == 0;
    }
    ~AccessRefused()
    {
        if (m_wasRoot)
            (void)::seteuid(0);
        ::chmod(m_path.constData(), m_mode);
    }
    bool Ok() const { return m_ok; }

private:
    QByteArray m_path;
    mode_t m_mode = 0600;
    bool m_ok = false;
    bool m_wasRoot = false;
};

QString GroupOf(const QString& device)
{
    struct stat info {};
    ::stat(device.toLocal8Bit().constData(), &info);
    const group* entry = ::getgrgid(info.st_gid);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString();
}

} // namespace

TEST(SerialPort, OpensRawAndMovesBytesBothWays)
{
    BarePty pty;
    CSerialPort port;
    ASSERT_TRUE(port.Open(pty.device, 19200, true)) << port.LastErrorText().toStdString();
    termios tio{};
    ASSERT_EQ(tcgetattr(pty.master, &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), B19200);
    EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO));

    const BYTE out[] = {0x0A, 0x0D, 0x00, 0xFF};
    ASSERT_TRUE(port.Write(out, 4, 200));
    usleep(20000);
    BYTE seen[8] = {};
    ASSERT_EQ(::read(pty.master, seen, sizeof seen), 4);  // no newline translation
    EXPECT_EQ(0, memcmp(seen, out, 4));

    ASSERT_EQ(::write(pty.master, "\x11\x13\x03", 3), 3);  // no flow control, no signals
    BYTE in[3] = {};
    int got = 0;
    ASSERT_TRUE(port.Read(in, 3, 200, 20, &got));
    EXPECT_EQ(got, 3);
    EXPECT_EQ(in[0], 0x11);

    EXPECT_TRUE(port.SetBaudRate(115200));
    EXPECT_FALSE(port.SetBaudRate(12345));
    EXPECT_EQ(port.LastError(), SerialError::Unsupported);
    EXPECT_EQ(port.BaudRate(), 115200u);
    int bits = 0;
    bool supported = true;
    EXPECT_TRUE(port.ModemLines(&bits, &supported));
    EXPECT_FALSE(supported);
}

TEST(SerialPort, ReadsEndAtTheirDeadline)
{
    BarePty pty;
    CSerialPort port;
    ASSERT_TRUE(port.Open(pty.device, 9600, false));
    BYTE in[4] = {};
    int got = -1;
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(port.Read(in, 4, 40, 0, &got));
    EXPECT_GE(timer.elapsed(), 35);
    EXPECT_LT(timer.elapsed(), 200);
    EXPECT_EQ(got, 0);
    EXPECT_EQ(port.LastError(), SerialError::Timeout);

    // The interval limit ends a read once bytes stop coming.
    ASSERT_EQ(::write(pty.master, "ab", 2), 2);
    timer.restart();
    EXPECT_FALSE(port.Read(in, 4, 1000, 30, &got));
    EXPECT_EQ(got, 2);
    EXPECT_LT(timer.elapsed(), 300);
}

TEST(SerialPort, ErrorsAreNamed)
{
    CSerialPort port;
    EXPECT_FALSE(port.Open(QStringLiteral("/nonexistent/tty"), 9600, true));
    EXPECT_EQ(port.LastError(), SerialError::NotFound);
    EXPECT_FALSE(port.Open(QStringLiteral("/dev/null"), 9600, true));
    EXPECT_EQ(port.LastError(), SerialError::Unsupported);
    BYTE b = 0;
    int got = 0;
    EXPECT_FALSE(port.Read(&b, 1, 10, 0, &got));
    EXPECT_EQ(port.LastError(), SerialError::NotOpen);
    EXPECT_EQ(SerialErrorFromErrno(EIO), SerialError::Disconnected);
    EXPECT_EQ(SerialErrorFromErrno(EBUSY), SerialError::Busy);
    EXPECT_EQ(SerialErrorFromErrno(EACCES), SerialError::Permission);
}

// A user outside the device's group is told which group to join, by the serial
// line and by the printer device (parallel and USB ports) alike.
TEST(SerialPort, ARefusedOpenNamesTheDevicesGroup)
{
    const std::vector<std::pair<const char*, std::function<QString(const QString&)>>> openers = {
        {"serial line",
         [](const QString& device) {
             CSerialPort port;
             return port.Open(device, 9600, true) ? QString() : port.LastErrorText();
         }},
        {"printer device",
         [](const QString& device) {
             CPrinterDevice printer;
             return printer.Open(device, true) ? QString() : printer.LastErrorText();
         }},
    };
    for (const auto& [what, open] : openers) {
        SCOPED_TRACE(what);
        BarePty pty;
        const QString group = GroupOf(pty.device);
        ASSERT_FALSE(group.isEmpty());
        QString text;
        {
            AccessRefused refused(pty.device);
            if (!refused.Ok())
                GTEST_SKIP() << "the device cannot be refused to this user";
            text = open(pty.device);
        }
        EXPECT_EQ(text, QStringLiteral("open %1: Permission denied; the user needs the group \"%2\"").arg(pty.device, group));
    }
}

TEST(SerialPort, HangUpIsADisconnect)
{
    auto pty = std::make_unique<BarePty>();
    CSerialPort port;
    ASSERT_TRUE(port.Open(pty->device, 9600, false));
    pty.reset();
    BYTE b = 0;
    int got = 0;
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(port.Read(&b, 1, 500, 0, &got));
    EXPECT_EQ(port.LastError(), SerialError::Disconnected);
    EXPECT_FALSE(port.Write(&b, 1, 500));
    EXPECT_LT(timer.elapsed(), 400);
}

TEST(SerialPort, ClosingAHungUpLineDoesNotWaitForItsBytes)
{
    // 300 bytes at 1200 baud are 2.5 s of line time, which a close waits for
    // while the printer is there; once it has hung up, they cannot leave.
    auto pty = std::make_unique<BarePty>();
    CSerialPort port;
    ASSERT_TRUE(port.Open(pty->device, 1200, false));
    const std::vector<BYTE> block(300, 0x55);
    ASSERT_TRUE(port.Write(block.data(), static_cast<int>(block.size()), 500));
    pty.reset();
    QElapsedTimer timer;
    timer.start();
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_LT(timer.elapsed(), 300);
}

// Runs call on this thread while another sets event after delayMs; returns how
// long the call went on after the event was set.
template <class F>
qint64 MsPastEvent(CManualResetEvent& event, int delayMs, F call)
{
    QElapsedTimer timer;
    timer.start();
    std::atomic<qint64> setAt{-1};
    std::thread setter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        setAt = timer.elapsed();
        event.Set();
    });
    call();
    const qint64 end = timer.elapsed();
    setter.join();
    return end - setAt;
}

TEST(SerialPort, StopAndKillEndEveryBlockingCall)
{
    BarePty pty;  // nobody reads the far end: a large write fills the queue and blocks
    CSerialPort port;
    CManualResetEvent stop, kill;
    port.SetStopEvents(&stop, &kill);
    ASSERT_TRUE(port.Open(pty.device, 9600, false));

    BYTE in[4] = {};
    int got = -1;
    const qint64 readMs = MsPastEvent(stop, 50, [&] { EXPECT_FALSE(port.Read(in, 4, 60000, 0, &got)); });
    EXPECT_EQ(port.LastError(), SerialError::Stopped);
    EXPECT_LT(readMs, 500);

    // Set before the call: it does not start waiting at all.
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(port.Sleep(60000));
    EXPECT_LT(timer.elapsed(), 500);
    stop.Reset();
    EXPECT_TRUE(port.Sleep(1));

    const std::vector<BYTE> big(1 << 20, 0x55);
    int written = 0;
    const qint64 writeMs =
        MsPastEvent(kill, 100, [&] { EXPECT_FALSE(port.Write(big.data(), 1 << 20, 60000, &written)); });
    EXPECT_EQ(port.LastError(), SerialError::Stopped);
    EXPECT_LT(writeMs, 500);
    EXPECT_GT(written, 0);
    EXPECT_LT(written, 1 << 20);
    kill.Reset();

    // A stopped close discards what nobody reads instead of waiting out its
    // line time (about 20 s of queued bytes at 9600 baud here).
    timer.restart();
    kill.Set();
    port.Close();
    EXPECT_LT(timer.elapsed(), 500);
}

TEST(SerialPort, DiscardingInputLeavesOutputAlone)
{
    BarePty pty;
    CSerialPort port;
    ASSERT_TRUE(port.Open(pty.device, 115200, false));
    ASSERT_EQ(::write(pty.master, "\x12\x12", 2), 2);
    usleep(20000);
    ASSERT_TRUE(port.Write(reinterpret_cast<const BYTE*>("\x10\x04\x01"), 3, 200));
    ASSERT_TRUE(port.DiscardInput());
    BYTE in[2] = {};
    int got = -1;
    EXPECT_FALSE(port.Read(in, 2, 30, 0, &got));
    EXPECT_EQ(got, 0);
    BYTE seen[8] = {};
    usleep(20000);
    ASSERT_EQ(::read(pty.master, seen, sizeof seen), 3);
    EXPECT_EQ(seen[0], 0x10);
    EXPECT_EQ(seen[2], 0x01);
}
