#include "PrinterEmulator.h"

#include "EmuUartSampling.h"
#include "components/LogFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kPollMs = 20;
// A command left half-sent for this long is abandoned, as a printer's input
// parser times out; the next byte starts a new command.
constexpr int kIdleResetMs = 1000;
// A host that waits for an answer writes nothing more; a pause this long
// after a possible status request inside a download makes it one.
constexpr int kQuietMs = 5;
// How long Start waits for the reading loop to begin.
constexpr int kReadyBoundMs = 5000;

struct CSpeed {
    speed_t speed;
    unsigned baud;
};
constexpr CSpeed kSpeeds[] = {{B1200, 1200},   {B2400, 2400},   {B4800, 4800},
                              {B9600, 9600},   {B19200, 19200}, {B38400, 38400},
                              {B57600, 57600}, {B115200, 115200}, {B230400, 230400}};

unsigned BaudOf(speed_t speed)
{
    for (const auto& s : kSpeeds)
        if (s.speed == speed)
            return s.baud;
    return 0;
}

speed_t SpeedOf(unsigned baud)
{
    for (const auto& s : kSpeeds)
        if (s.baud == baud)
            return s.speed;
    return B9600;
}

QString Hex(const unsigned char* bytes, int count)
{
    // A device file hands over 8 KB at a time: this stays cheap at that size.
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(bytes), count).toHex(' ').toUpper());
}

} // namespace

CPrinterEmulator::CPrinterEmulator(CEmuOptions options) : m_options(std::move(options)) {}

CPrinterEmulator::~CPrinterEmulator()
{
    Stop();
}

bool CPrinterEmulator::Start(QString* error)
{
    QString dummy;
    QString& err = error ? *error : dummy;
    if (m_thread.joinable()) {
        err = QStringLiteral("already running");
        return false;
    }
    if (!CEmuModel::Load(m_options.dataDir, m_options.model, &m_model, &err))
        return false;
    if (m_options.baud == 0 || BaudOf(SpeedOf(m_options.baud)) != m_options.baud) {
        err = QStringLiteral("unsupported baud rate %1").arg(m_options.baud);
        return false;
    }
    m_model.baud = m_options.baud;
    if (m_options.id >= 0)
        m_model.id = static_cast<uint8_t>(m_options.id);
    m_pPaper = std::make_unique<CEmuPaper>(m_model.dotX, m_options.outDir);
    m_pProtocol = std::make_unique<CEmuProtocol>(m_model, m_pPaper.get(), m_options.release,
                                                 m_options.subModel);
    m_pProtocol->SetSubModelLength(m_options.subModelLength);
    CEmuAreaScript script = m_options.area;
    if (m_options.fault.kind == CEmuFault::Kind::ChecksumErrors)
        script.checksumErrors = m_options.fault.count;
    m_pProtocol->SetAreaScript(script);
    m_pProtocol->SetOffline(m_options.offline);
    QString logPath = m_options.logPath;
    if (logPath.isEmpty() && !m_options.outDir.isEmpty()) {
        QDir().mkpath(m_options.outDir);
        logPath = QDir(m_options.outDir).filePath(QStringLiteral("printer.log"));
    }
    if (!logPath.isEmpty()) {
        m_pLog = std::make_unique<CLogFile>();
        if (!m_pLog->CreateLogFile(nullptr, logPath)) {
            err = QStringLiteral("cannot write the log %1").arg(logPath);
            return false;
        }
    }
    const bool opened = IsDevicePort(m_options.port) ? StartDevice(&err) : OpenTerminal(&err);
    if (!opened || !MakeLink(&err)) {
        Stop();
        return false;
    }
    Log(QStringLiteral("START %1 on %2 at %3 baud%4")
            .arg(m_model.code, m_strDevice)
            .arg(m_model.baud)
            .arg(m_options.lineTime ? QStringLiteral(", line time") : QString()));
    m_bStop = false;
    m_pacer = CEmuLinePacer();
    m_thread = std::thread([this] {
        if (m_pDevice)
            RunDevice();
        else
            Run();
    });
    // A printer is ready once it listens: the host's first request must not
    // wait for the thread to get going (slow under the sanitizers).
    QElapsedTimer clock;
    clock.start();
    while (m_turns == 0 && clock.elapsed() < kReadyBoundMs)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

bool CPrinterEmulator::OpenTerminal(QString* error)
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        *error = QStringLiteral("pseudo-terminal: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    char name[128] = {};
    if (ptsname_r(m_master, name, sizeof name) != 0) {
        *error = QStringLiteral("pseudo-terminal name unknown");
        return false;
    }
    m_strDevice = QString::fromLocal8Bit(name);
    // Holding the far end open keeps the terminal alive between the program's
    // opens and closes of the port, as a cable stays plugged in.
    m_slaveHold = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_slaveHold < 0) {
        *error = QStringLiteral("open %1: %2").arg(m_strDevice, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    termios tio{};
    tcgetattr(m_slaveHold, &tio);
    cfmakeraw(&tio);
    cfsetispeed(&tio, SpeedOf(m_model.baud));
    cfsetospeed(&tio, SpeedOf(m_model.baud));
    tcsetattr(m_slaveHold, TCSANOW, &tio);
    return true;
}

bool CPrinterEmulator::StartDevice(QString* error)
{
    const bool usb = m_options.port == EmuPort::UsbDevice;
    CEmuDeviceFile::CHooks hooks;
    hooks.take = [this](const uint8_t* bytes, int count) { TakeFromDevice(bytes, count); };
    hooks.log = [this](const QString& text) { Log(text); };
    // The printer's pace in line-time mode: baud / 10 bytes a second.
    const unsigned pace = m_options.lineTime ? m_model.baud / 10 : 0;
    m_pDevice = std::make_unique<CEmuDeviceFile>(usb ? EmuDriver::Usblp : EmuDriver::Lp, pace, std::move(hooks));
    if (!usb) {
        m_pDevice->SetOffline(m_options.offline);
        if (m_options.fault.kind == CEmuFault::Kind::BusyAfter)
            m_pDevice->SetBusyAfter(m_options.fault.count);
    }
    if (!m_pDevice->Mount(error))
        return false;
    m_strDevice = m_pDevice->Path();
    return true;
}

void CPrinterEmulator::TakeFromDevice(const uint8_t* bytes, int count)
{
    HandleInput(bytes, count);
    if (m_bDisconnected) {
        m_pDevice->Disappear();
        GoneAway();
    }
}

bool CPrinterEmulator::MakeLink(QString* error)
{
    if (m_options.linkPath.isEmpty())
        return true;
    const QByteArray link = m_options.linkPath.toLocal8Bit();
    const QFileInfo existing(m_options.linkPath);
    if (existing.isSymLink())
        ::unlink(link.constData());
    else if (existing.exists()) {
        *error = QStringLiteral("%1 exists and is not a link").arg(m_options.linkPath);
        return false;
    }
    if (m_options.fault.kind == CEmuFault::Kind::Absent)
        return true; // nothing leads to the printer

    if (::symlink(m_strDevice.toLocal8Bit().constData(), link.constData()) != 0) {
        *error = QStringLiteral("link %1: %2").arg(m_options.linkPath, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    m_bLinkMade = true;
    return true;
}

void CPrinterEmulator::Stop()
{
    m_bStop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_bLinkMade) {
        ::unlink(m_options.linkPath.toLocal8Bit().constData());
        m_bLinkMade = false;
    }
    Disconnect();
    if (m_pDevice)
        m_pDevice->Unmount();
    m_pDevice.reset();
}

void CPrinterEmulator::GoneAway()
{
    Log(QStringLiteral("DISCONNECT"));
    if (m_bLinkMade) {
        ::unlink(m_options.linkPath.toLocal8Bit().constData());
        m_bLinkMade = false;
    }
    // A device file stays mounted until Stop: the host's descriptor on it
    // answers as an unplugged device does.
    if (!m_pDevice)
        Disconnect();
}

void CPrinterEmulator::Disconnect()
{
    std::lock_guard lock(m_mutex);
    if (m_slaveHold >= 0)
        ::close(m_slaveHold);
    if (m_master >= 0)
        ::close(m_master);
    m_slaveHold = m_master = -1;
}

unsigned CPrinterEmulator::LineSpeed() const
{
    termios tio{};
    // On the master side this reads the settings the far end has set.
    if (tcgetattr(m_master, &tio) != 0)
        return 0;
    return BaudOf(cfgetospeed(&tio));
}

void CPrinterEmulator::Run()
{
    QElapsedTimer sinceInput;
    sinceInput.start();
    while (!m_bStop && m_master >= 0) {
        pollfd p{m_master, POLLIN, 0};
        ++m_turns;
        if (::poll(&p, 1, kPollMs) <= 0) {
            ReadIdle(sinceInput);
            ++m_idlePolls;
            continue;
        }
        if (!ReadLine())
            continue;
        m_idlePolls = 0;
        sinceInput.restart();
        if (m_bDisconnected)
            GoneAway();
    }
}

void CPrinterEmulator::RunDevice()
{
    QElapsedTimer sinceInput;
    sinceInput.start();
    while (!m_bStop) {
        ++m_turns;
        if (!m_pDevice->Turn(kPollMs)) {
            ReadIdle(sinceInput);
            ++m_idlePolls;
            continue;
        }
        m_idlePolls = 0;
        sinceInput.restart();
    }
}

bool CPrinterEmulator::WaitUntilSettled(int boundMs) const
{
    QElapsedTimer clock;
    clock.start();
    // Two empty polls in a row, after the loop has turned a few times since
    // the call: everything queued before it was read and handled, and a reply
    // held for a quiet line has gone out.
    const long long from = m_turns;
    while ((m_turns < from + 3 || m_idlePolls < 2) && !m_bDisconnected && m_thread.joinable()) {
        if (clock.elapsed() > boundMs)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void CPrinterEmulator::ReadIdle(QElapsedTimer& sinceInput)
{
    m_pacer.Idle();
    AnswerHeldRequestWhenQuiet();
    if (sinceInput.elapsed() > kIdleResetMs) {
        std::lock_guard lock(m_mutex);
        m_pProtocol->ResetParser();
        sinceInput.restart();
    }
}

bool CPrinterEmulator::ReadLine()
{
    unsigned char buffer[512];
    size_t want = sizeof buffer;
    if (m_options.lineTime) {
        // The bytes travel at the speed the host set; a printer listening at
        // another speed still has to wait for them.
        unsigned baud = LineSpeed();
        if (baud == 0)
            baud = m_model.baud;
        const size_t allowed = m_pacer.Allowance(baud);
        if (allowed == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(m_pacer.DelayMs(baud)));
            return false;
        }
        want = std::min(want, allowed);
    }
    const ssize_t n = ::read(m_master, buffer, want);
    if (m_options.lineTime)
        m_pacer.Took(n > 0 ? static_cast<size_t>(n) : 0, want);
    if (n <= 0)
        return false;
    HandleInput(buffer, static_cast<int>(n));
    AnswerHeldRequestWhenQuiet();
    return true;
}

void CPrinterEmulator::AnswerHeldRequestWhenQuiet()
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_pProtocol->HoldsStatusRequest() || (m_master < 0 && !m_pDevice))
            return;
    }
    // A device file calls this after a turn without input: quiet already.
    pollfd p{m_master, POLLIN, 0};
    if (!m_pDevice && ::poll(&p, 1, kQuietMs) > 0 && (p.revents & POLLIN))
        return;  // more bytes follow: the held ones are raster
    std::lock_guard lock(m_mutex);
    std::vector<uint8_t> reply;
    m_pProtocol->LineQuiet(reply);
    if (!reply.empty())
        Answer(reply, m_understood);
}

void CPrinterEmulator::HandleInput(const unsigned char* bytes, int count)
{
    std::lock_guard lock(m_mutex);
    const unsigned line = LineSpeed();
    // Only a serial line has a speed the two ends must agree on.
    if (m_options.port == EmuPort::Serial && line != m_pProtocol->Baud()) {
        m_ignored += count;
        Log(QStringLiteral("IGNORED at %1 baud (printer at %2): %3")
                .arg(line)
                .arg(m_pProtocol->Baud())
                .arg(Hex(bytes, count)));
        return;
    }
    const auto& fault = m_options.fault;
    if (fault.kind == CEmuFault::Kind::DisconnectAfter) {
        const long long room = fault.count - m_understood;
        if (room <= 0) {
            m_bDisconnected = true;
            return;
        }
        if (count >= room) {
            count = static_cast<int>(room);
            m_bDisconnected = true;
        }
    }
    m_understood += count;
    if (m_options.recordInput)
        m_received.insert(m_received.end(), bytes, bytes + count);
    Log(QStringLiteral("RX @%1: %2").arg(line).arg(Hex(bytes, count)));
    if (fault.kind == CEmuFault::Kind::Silent)
        return;
    const long long takenBefore = m_understood - count;
    std::vector<uint8_t> reply;
    for (int i = 0; i < count; ++i) {
        m_pProtocol->Feed(bytes[i], reply);
        // An answer goes out as soon as its command is complete, before the
        // printer reads on (it may have switched speed meanwhile).
        if (!reply.empty())
            Answer(reply, takenBefore + i + 1);
    }
}

void CPrinterEmulator::Answer(std::vector<uint8_t>& reply, long long taken)
{
    if (m_options.port == EmuPort::Parallel || m_options.port == EmuPort::LpDevice) {
        // A parallel port carries nothing back.
        Log(QStringLiteral("NO ANSWER on a parallel port: %1").arg(Hex(reply.data(), static_cast<int>(reply.size()))));
        reply.clear();
        return;
    }
    const auto& fault = m_options.fault;
    if (fault.kind == CEmuFault::Kind::SilentAfter && taken > fault.count) {
        Log(QStringLiteral("SILENT: %1").arg(Hex(reply.data(), static_cast<int>(reply.size()))));
        reply.clear();
        return;
    }
    Reply(reply);
}

void CPrinterEmulator::Reply(std::vector<uint8_t>& reply)
{
    if (m_options.fault.kind == CEmuFault::Kind::Garbage)
        for (auto& b : reply)
            b = static_cast<uint8_t>(~b);
    if (m_options.fault.kind == CEmuFault::Kind::AnswerBaud) {
        const unsigned line = LineSpeed();
        reply = ReadAtOtherSpeed(reply, static_cast<unsigned>(m_options.fault.count), line ? line : m_model.baud);
    }
    if (!m_bDisconnected && m_pDevice) {
        Log(QStringLiteral("TX: %1").arg(Hex(reply.data(), static_cast<int>(reply.size()))));
        m_pDevice->Answer(reply);
    } else if (!m_bDisconnected) {
        Log(QStringLiteral("TX: %1").arg(Hex(reply.data(), static_cast<int>(reply.size()))));
        size_t done = 0;
        QElapsedTimer timer;
        timer.start();
        while (done < reply.size() && timer.elapsed() < 1000) {
            const ssize_t n = ::write(m_master, reply.data() + done, reply.size() - done);
            if (n > 0)
                done += static_cast<size_t>(n);
            else if (n < 0 && errno != EAGAIN && errno != EINTR)
                break;
            else
                ::usleep(1000);
        }
    }
    reply.clear();
}

void CPrinterEmulator::Log(const QString& text)
{
    if (m_pLog)
        m_pLog->LogToFile(text, 0);
}

std::vector<uint8_t> CPrinterEmulator::TakeReceivedBytes()
{
    std::lock_guard lock(m_mutex);
    std::vector<uint8_t> taken;
    taken.swap(m_received);
    return taken;
}

unsigned CPrinterEmulator::CurrentBaud() const
{
    std::lock_guard lock(m_mutex);
    return m_pProtocol ? m_pProtocol->Baud() : 0;
}

CEmuLogo CPrinterEmulator::RamLogo() const
{
    std::lock_guard lock(m_mutex);
    return m_pProtocol ? m_pProtocol->RamLogo() : CEmuLogo();
}

CEmuLogo CPrinterEmulator::FlashLogo(int slot) const
{
    std::lock_guard lock(m_mutex);
    return m_pProtocol ? m_pProtocol->FlashLogo(slot) : CEmuLogo();
}

QStringList CPrinterEmulator::Pages() const
{
    std::lock_guard lock(m_mutex);
    return m_pPaper ? m_pPaper->Pages() : QStringList();
}

int CPrinterEmulator::LineFeeds() const
{
    std::lock_guard lock(m_mutex);
    return m_pProtocol ? m_pProtocol->LineFeeds() : 0;
}

int CPrinterEmulator::Cuts() const
{
    std::lock_guard lock(m_mutex);
    return m_pPaper ? m_pPaper->Cuts() : 0;
}
