// The fault matrix: every transfer path (the generic serial stream, the flash
// area, the fixed area, the echoed bytes, the parallel port, USB) and "Print
// Logo", run through the real view and job against the virtual printer in
// line-time mode while the printer misbehaves, the operator presses Stop or
// the window is closed. Each path is one table; each row is one cell. For
// every cell: the box the program shows and the reason it logs, the port
// closed again (no descriptor of this process left on the printer's device),
// the worker ended within the row's bound (measured), no flash slot holding
// what the printer did not acknowledge, and the same view usable for the next
// row; each table ends with a clean job on the view the faults went through.
//
// GLYPHANE_FAULT_TABLE=<file> appends one line per cell with the measured end
// time (docs/reliability.md tables them).
#include "TransferFixture.h"

#include "components/dialogs/MessageDlg.h"
#include "frame/MainFrame.h"
#include "transfer/TransferJob.h"

#include <QDir>
#include <QFile>
#include <QProgressBar>

#include <cstdio>
#include <unistd.h>

using namespace transfertest;
using testenv::ScriptedUi;

namespace {

// ---- the bounds ------------------------------------------------------------
// How long a cell may take from the command (or the Stop, or the window
// closing) until the worker has ended. They follow the components' time-outs:
// a serial request is given up after its read time-out, the baud detection
// asks at every speed in turn, a parallel write retries within its deadline.
// They leave room for the ThreadSanitizer run, several times slower; the
// times measured in an ordinary build are in docs/reliability.md.

// The worker ends once the current block is taken: a block at line speed.
constexpr int kStopBoundMs = 5000;
// Closing the window kills the job: every wait and device call returns at once.
constexpr int kCloseBoundMs = 2000;
// A printer that says nothing (or nothing usable) from the start: the status
// request and the detection at every speed, each given up after its time-out.
constexpr int kSilentBoundMs = 10000;
// A printer that stops answering mid-transfer: the request before the next
// block (or the next area block, the next echoed byte) times out.
constexpr int kSilentMidBoundMs = 10000;
// The device gone: the next read or write fails at once.
constexpr int kGoneBoundMs = 10000;
// A refusal the protocol counts (checksum storms) ends after the fourth.
constexpr int kRefusedBoundMs = 10000;
// A printer that keeps asking for blocks is given up after every block of
// its area was asked for four times: 128 blocks of 129 bytes at 9600 baud.
constexpr int kAskedForEverBoundMs = 30000;
// A whole clean transfer of the table's logo, the reset wait included.
constexpr int kCleanBoundMs = 60000;
// Polling bounds while a phase is waited for.
constexpr int kPhaseBoundMs = 30000;

enum class Act { Fault, Stop, Close };
// Where a Stop or a close comes: while the printer is asked (no progress yet),
// once the first block went out, halfway through the blocks, or with every
// block but the last one taken (the last one on its way).
enum class Phase { None, Handshake, FirstBlock, Halfway, LastBlock };
enum class Ends { Fails, Succeeds };

// Not a string id: the program's own box for a failure nothing else told the
// operator of, "The logo was not sent: <reason>" ("... printed: ..." for Print Logo).
constexpr int kUntold = 0;

struct Cell {
    const char* name;
    const char* fault;   // the virtual printer's --fault (or --info-errors ...); "" none
    Act act;
    Phase phase;
    Ends ends;
    std::vector<int> boxes; // the message boxes expected, in order (string ids)
    const char* reason;     // in the failure logged; "" when it varies (the call a kill cut short)
    int boundMs;
};

struct PathSetup {
    const char* name;
    const char* model;
    EmuPort port;
    const char* portName;
    unsigned baud;  // the printer's speed
    UINT command;   // ID_TEST_LOGO, ID_PROGRAM_LOGO or ID_PRINT_LOGO
    int slot;       // chosen for Program and Print Logo; checked afterwards
    int width, height;
};

// Descriptors of this process open on device (the printer's pseudo-terminal).
int DescriptorsOn(const QString& device)
{
    int count = 0;
    const QByteArray want = device.toLocal8Bit();
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& entry : fds.entryList(QDir::NoDotAndDotDot | QDir::System | QDir::Files)) {
        char target[256] = {};
        const ssize_t n = ::readlink(fds.filePath(entry).toLocal8Bit().constData(), target, sizeof target - 1);
        if (n > 0 && QByteArray(target, static_cast<int>(n)).startsWith(want))
            ++count;
    }
    return count;
}

// The texts of message boxes, readable in a failure.
std::string Texts(const std::vector<int>& ids)
{
    QStringList texts;
    for (const int id : ids)
        texts << (id == kUntold ? QStringLiteral("<the program's box naming the reason>") : LoadString(static_cast<UINT>(id)));
    return texts.join(QStringLiteral(" | ")).toStdString();
}

// Failures recorded so far in the running test.
int FailuresSoFar()
{
    const ::testing::TestResult* result = ::testing::UnitTest::GetInstance()->current_test_info()->result();
    int failed = 0;
    for (int i = 0; i < result->total_part_count(); ++i)
        failed += result->GetTestPartResult(i).failed() ? 1 : 0;
    return failed;
}

// When a cell fails, when each of its moments came, and how loaded the
// machine was: a bound missed by chance shows as such in the CI log.
class CCellTimes {
public:
    CCellTimes() { m_clock.start(); }
    void Mark(const char* moment) { m_marks.emplace_back(moment, m_clock.elapsed()); }
    void PrintIfFailed(const PathSetup& path, const Cell& cell, int failuresBefore) const
    {
        if (FailuresSoFar() == failuresBefore)
            return;
        QFile load(QStringLiteral("/proc/loadavg"));
        const QByteArray loadAverage = load.open(QIODevice::ReadOnly) ? load.readAll().trimmed() : QByteArray("?");
        std::printf("timing of the failed cell \"%s / %s\" (bound %d ms, load %s):\n", path.name, cell.name,
                    cell.boundMs, loadAverage.constData());
        for (const auto& [moment, ms] : m_marks)
            std::printf("  %8lld ms  %s\n", static_cast<long long>(ms), moment);
        std::fflush(stdout);
    }

private:
    QElapsedTimer m_clock;
    std::vector<std::pair<const char*, qint64>> m_marks;
};

void Record(const PathSetup& path, const Cell& cell, qint64 endedMs)
{
    const QString file = qEnvironmentVariable("GLYPHANE_FAULT_TABLE");
    if (file.isEmpty())
        return;
    if (FILE* out = std::fopen(file.toLocal8Bit().constData(), "a")) {
        std::fprintf(out, "%s|%s|%d|%lld\n", path.name, cell.name, cell.boundMs, static_cast<long long>(endedMs));
        std::fclose(out);
    }
}

class FaultMatrixTest : public TransferTest {
protected:
    // LPT1 and USB001 lead to the virtual printer too; USB002 to a folder,
    // which exists but opens as no device does.
    QByteArray Settings() const override
    {
        const QByteArray link = LinkPath().toUtf8();
        return Registry() + "\n[Ports]\nCOM1=" + link + "\nLPT1=" + link + "\nUSB001=" + link
               + "\nUSB002=" + testenv::ProgramDir().toUtf8() + "\n";
    }

    void StartPrinter(const PathSetup& path, const char* fault)
    {
        StartLinePrinterWith(QLatin1String(path.model), [&](CEmuOptions& o) {
            o.port = path.port;
            o.baud = path.baud;
            if (*fault) {
                QString error;
                // A bare fault is --fault's value; options of their own come whole.
                QString text = QString::fromLatin1(fault);
                if (!text.startsWith(QLatin1String("--")))
                    text.prepend(QLatin1String("--fault "));
                const QStringList args = QStringList{QStringLiteral("--model"), o.model} + text.split(QLatin1Char(' '));
                ASSERT_TRUE(ParseEmuArguments(args, &o, &error)) << error.toStdString();
            }
        });
    }

    void OpenLogo(const PathSetup& path)
    {
        OpenLogoFor(QLatin1String(path.model), path.width, path.height);
        m_doc->Binding().SetPortName(QLatin1String(path.portName));
        int flash = 1;
        m_doc->Binding().GetPrinterCfg()->GetOptionPrintersToTest(QStringLiteral("PrnLogoFlash"), &flash, 1);
        m_doc->Binding().SetPrnLogoFlash(flash);
    }

    // The operator's answers a command of the path asks for.
    static void Script(const PathSetup& path, ScriptedUi& ui)
    {
        if (path.command == ID_PROGRAM_LOGO || path.command == ID_PRINT_LOGO)
            ui.Then(ChooseSlot(path.slot));
        if (path.port == EmuPort::Usb || path.port == EmuPort::UsbDevice)
            ui.Then([](CUiPrompt& p, QDialog*) { p.result = IDOK; }); // the first USB printer listed
    }

    static std::string Shown(const ScriptedUi& ui)
    {
        return MessageTexts(ui).join(QStringLiteral(" | ")).toStdString();
    }
    // The boxes shown are the row's, in order; the program's own box for an
    // untold failure names the row's reason.
    static bool ShownAsExpected(const ScriptedUi& ui, const Cell& cell, UINT command)
    {
        const QStringList shown = MessageTexts(ui);
        if (shown.size() != static_cast<int>(cell.boxes.size()))
            return false;
        for (int i = 0; i < shown.size(); ++i) {
            const int id = cell.boxes[static_cast<size_t>(i)];
            if (id != kUntold) {
                if (shown[i] != LoadString(static_cast<UINT>(id)))
                    return false;
                continue;
            }
            const QString prefix = command == ID_PRINT_LOGO ? QStringLiteral("The logo was not printed: ")
                                                            : QStringLiteral("The logo was not sent: ");
            // The log line of Print Logo says "the print failed: <reason>"; the box, the reason.
            const QString reason = QString::fromLatin1(cell.reason).remove(QStringLiteral("the print failed: "));
            if (!shown[i].startsWith(prefix) || !shown[i].contains(reason))
                return false;
        }
        return true;
    }

    int StepsDone() const
    {
        return m_view->ProgressDialog() ? m_view->ProgressDialog()->Progress()->value() : -1;
    }
    int StepsPlanned() const
    {
        return m_view->ProgressDialog() ? m_view->ProgressDialog()->Progress()->maximum() : -1;
    }

    // Runs the event loop until the phase is reached (or the job ended).
    bool WaitForPhase(Phase phase)
    {
        QElapsedTimer clock;
        clock.start();
        const auto reached = [&] {
            switch (phase) {
            case Phase::Handshake:
                return m_printer->BytesUnderstood() > 0;
            case Phase::FirstBlock:
                return StepsDone() >= 1;
            case Phase::Halfway:
                return StepsPlanned() > 0 && StepsDone() >= StepsPlanned() / 2;
            case Phase::LastBlock:
                return StepsPlanned() > 0 && StepsDone() >= StepsPlanned() - 1;
            case Phase::None:
                break;
            }
            return true;
        };
        while (!reached()) {
            if (!m_view->IsTransferRunning() || clock.elapsed() > kPhaseBoundMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        }
        return true;
    }

    // One row: the printer started with its fault, the command, the act, and
    // every check. Returns the measured end time in ms.
    qint64 RunCell(const PathSetup& path, const Cell& cell)
    {
        SCOPED_TRACE(std::string(path.name) + " / " + cell.name);
        const int failuresBefore = FailuresSoFar();
        CCellTimes times;
        StartPrinter(path, cell.fault);
        times.Mark("printer started");
        if (!m_view)
            OpenLogo(path);
        const QString device = m_printer->DevicePath();
        const qsizetype logFrom = AppLog().size();
        ScriptedUi ui;
        Script(path, ui);

        QElapsedTimer clock;
        clock.start();
        times.Mark("command");
        m_view->OnCommand(path.command);
        qint64 ended = -1;
        if (cell.act == Act::Fault) {
            EXPECT_TRUE(WaitForJob(cell.boundMs * 3)) << "the worker did not end";
            ended = clock.elapsed();
        } else if (cell.act == Act::Stop) {
            EXPECT_TRUE(WaitForPhase(cell.phase)) << "phase not reached";
            times.Mark("phase reached, stop");
            EXPECT_NE(m_view->ProgressDialog(), nullptr);
            clock.restart();
            if (m_view->ProgressDialog())
                m_view->ProgressDialog()->OnStop();
            EXPECT_TRUE(WaitForJob(cell.boundMs * 3)) << "the worker did not end";
            ended = clock.elapsed();
        } else {
            EXPECT_TRUE(WaitForPhase(cell.phase)) << "phase not reached";
            times.Mark("phase reached, close");
            EXPECT_TRUE(m_view->IsTransferRunning()) << "the job ended before the window closed";
            // Closed as the operator closes it: "Close" on the logo window,
            // nothing to save; the window goes at the next deferred delete.
            m_doc->SetModifiedFlag(false);
            CMainFrame* frame = GetApp()->GetMainFrame();
            const int windows = static_cast<int>(frame->ChildFrames().size());
            clock.restart();
            frame->Router()->UpdateAll();
            frame->Router()->Dispatch(ID_FILE_CLOSE);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            ended = clock.elapsed();
            EXPECT_EQ(static_cast<int>(frame->ChildFrames().size()), windows - 1) << "the window did not close";
            m_view = nullptr;
            m_doc = nullptr;
            QCoreApplication::processEvents();
        }
        times.Mark("worker ended");
        Record(path, cell, ended);
        EXPECT_LE(ended, cell.boundMs) << "ended after " << ended << " ms";

        // The box and the reason.
        const QString log = AppLog().mid(logFrom);
        EXPECT_TRUE(ShownAsExpected(ui, cell, path.command))
            << "shown: " << Shown(ui) << "\nexpected: " << Texts(cell.boxes) << "\n" << log.toStdString();
        if (*cell.reason) {
            EXPECT_TRUE(log.contains(QLatin1String(cell.reason))) << log.toStdString();
        }
        if (cell.ends == Ends::Fails && path.command != ID_PRINT_LOGO) {
            EXPECT_TRUE(log.contains(QLatin1String("Error detected during TestOrProgRamLogo() phase")))
                << "the job did not end as a failure\n" << log.toStdString();
        }

        // The port closed: nothing of this process left on the device but
        // the virtual printer's own end of a terminal (gone with the device
        // when it disappeared; a device file has none).
        m_printer->WaitUntilSettled(2000);
        const int printersOwn = m_printer->IsDisconnected() || IsDevicePort(path.port) ? 0 : 1;
        EXPECT_EQ(DescriptorsOn(device), printersOwn) << "a descriptor on " << device.toStdString() << " is left open";
        if (path.port == EmuPort::Serial) {
            EXPECT_EQ(GetApp()->GetMainFrame()->PaneText(ID_PANE_PORT), QString::fromLatin1(path.portName))
                << "the port pane still shows open settings";
        }

        // No slot holds what the printer did not take whole, and a success
        // means the printer holds the logo.
        if (cell.ends == Ends::Fails) {
            EXPECT_TRUE(m_printer->FlashLogo(path.slot).IsEmpty()) << "slot " << path.slot << " was written";
        } else if (path.command == ID_PROGRAM_LOGO) {
            EXPECT_TRUE(HoldsCentredLogo(m_printer->FlashLogo(path.slot), *m_doc->Picture().GetLogoBitmap(), m_doc->Binding().GetDotX(),
                                         m_doc->Binding().GetDotY()))
                << "success with slot " << path.slot << " not holding the logo";
        }

        // The figures never pass their end, whatever the printer asked for.
        if (m_view && m_view->LastJob()) {
            const CTransferJob::CProgress p = m_view->LastJob()->Progress();
            EXPECT_LE(p.stepsDone, p.plannedSteps);
            EXPECT_LE(p.sentBytes, p.totalBytes);
        }

        // Usable for the next job; a port that could not be opened goes back
        // to "not init" until Connect binds it again, as it does here.
        if (m_view) {
            EXPECT_FALSE(m_view->IsTransferRunning());
            if (m_doc->Binding().GetPortName() == LoadString(61454))
                m_doc->Binding().SetPortName(QLatin1String(path.portName));
            EXPECT_TRUE(State(path.command).enabled());
            EXPECT_EQ(m_view->ProgressDialog(), nullptr);
            if (cell.ends == Ends::Fails) {
                EXPECT_FALSE(m_view->Link().IsLogoInRam()) << "a failed job left the logo marked as in RAM";
            }
            EXPECT_EQ(m_view->Link().Serial(), nullptr);
            EXPECT_EQ(m_view->Link().Parallel(), nullptr);
            EXPECT_EQ(m_view->Link().Usb(), nullptr);
        }
        EXPECT_EQ(ui.Pending(), 0u) << "a scripted answer was not asked for";
        times.Mark("checked");
        times.PrintIfFailed(path, cell, failuresBefore);
        return ended;
    }

    // The last row of every table: a printer without fault on the view the
    // faults went through takes the logo whole.
    void RunCleanJob(const PathSetup& path, const std::vector<int>& boxes, bool logoInSlot)
    {
        SCOPED_TRACE(std::string(path.name) + " / clean job");
        StartPrinter(path, "");
        if (!m_view)
            OpenLogo(path);
        m_view->Link().SetLogoInRam(false);
        ScriptedUi ui;
        Script(path, ui);
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(RunJob(path.command, kCleanBoundMs));
        if (path.port != EmuPort::Serial) {
            // A parallel or USB write ends when the bytes are queued.
            QElapsedTimer quiet;
            long long seen = -1;
            while (quiet.isValid() ? quiet.elapsed() < 300 : true) {
                if (m_printer->BytesUnderstood() != seen) {
                    seen = m_printer->BytesUnderstood();
                    quiet.start();
                }
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            }
        }
        Cell clean{"clean job", "", Act::Fault, Phase::None, Ends::Succeeds, boxes, "", kCleanBoundMs};
        Record(path, clean, clock.elapsed());
        EXPECT_EQ(Shown(ui), Texts(boxes)) << AppLog().right(1500).toStdString();
        if (logoInSlot)
            EXPECT_TRUE(HoldsCentredLogo(m_printer->FlashLogo(path.slot), *m_doc->Picture().GetLogoBitmap(), m_doc->Binding().GetDotX(),
                                         m_doc->Binding().GetDotY()));
        else
            EXPECT_TRUE(HoldsCentredLogo(m_printer->RamLogo(), *m_doc->Picture().GetLogoBitmap(), m_doc->Binding().GetDotX(),
                                         m_doc->Binding().GetDotY()));
    }

    void RunTable(const PathSetup& path, const std::vector<Cell>& cells)
    {
        for (const Cell& cell : cells)
            RunCell(path, cell);
    }
};

// Message ids the rows name.
constexpr int kSendError = 61457;      // "the printer does not take data"
constexpr int kSuccess = 61459;        // the logo was transferred
constexpr int kStopReminder = 61464;   // restart the printer after a stop
constexpr int kAreaNoInfo = 61511;     // the printer did not describe its area
constexpr int kAreaNoAnswer = 61512;   // the printer did not answer a frame
constexpr int kAreaRefused = 61513;    // too many checksum errors
constexpr int kUsbOtherModel = 61546;
constexpr int kUsbOffline = 61545;     // also a printer that cannot be opened
constexpr int kAreaUnknown = 61516;    // an answer outside the protocol
constexpr int kPaperWarning = 61507;   // a warning before the job, no failure

} // namespace

// ---- the generic serial stream: XNZ11, programmed into slot 2 --------------------

TEST_F(FaultMatrixTest, GenericSerialStream)
{
    const PathSetup path{"generic serial", "XNZ11", EmuPort::Serial, "COM1", 9600, ID_PROGRAM_LOGO, 2, 64, 32};
    RunTable(path, {
        {"silent from the start", "silent", Act::Fault, Phase::None, Ends::Fails, {kUntold}, "does not answer on COM1", kSilentBoundMs},
        {"silent after 3000 bytes", "silent-after=3000", Act::Fault, Phase::None, Ends::Fails, {kSendError}, "stopped taking", kSilentMidBoundMs},
        {"garbage answers", "garbage", Act::Fault, Phase::None, Ends::Fails, {kUntold}, "does not answer on COM1", kSilentBoundMs},
        {"answers at 19200", "answer-baud=19200", Act::Fault, Phase::None, Ends::Fails, {kUntold}, "does not answer on COM1", kSilentBoundMs},
        {"gone mid-block", "disconnect-after=3000", Act::Fault, Phase::None, Ends::Fails, {kSendError}, "stopped taking the logo", kGoneBoundMs},
        {"stop at the first block", "", Act::Stop, Phase::FirstBlock, Ends::Fails, {kStopReminder}, "ThreadLogo() stopped", kStopBoundMs},
        {"stop halfway", "", Act::Stop, Phase::Halfway, Ends::Fails, {kStopReminder}, "ThreadLogo() stopped", kStopBoundMs},
        {"closed while asking", "", Act::Close, Phase::Handshake, Ends::Fails, {}, "", kCloseBoundMs},
        {"closed halfway", "", Act::Close, Phase::Halfway, Ends::Fails, {}, "", kCloseBoundMs},
    });
    RunCleanJob(path, {kSuccess}, true);
}

// The families below offer no "Test Logo" (the command is disabled for them):
// their tables program slot 1.

// ---- the flash area: HVCZL, its logo area written block by block ------------------

TEST_F(FaultMatrixTest, FlashArea)
{
    const PathSetup path{"flash area", "HVCZL", EmuPort::Serial, "COM1", 9600, ID_PROGRAM_LOGO, 1, 64, 32};
    RunTable(path, {
        {"silent from the start", "silent", Act::Fault, Phase::None, Ends::Fails, {kUntold}, "does not answer on COM1", kSilentBoundMs},
        {"silent after 1000 bytes", "silent-after=1000", Act::Fault, Phase::None, Ends::Fails, {kAreaNoAnswer}, "did not answer a block", kSilentMidBoundMs},
        {"garbage answers", "garbage", Act::Fault, Phase::None, Ends::Fails, {kUntold}, "does not answer on COM1", kSilentBoundMs},
        {"answers at 19200", "answer-baud=19200", Act::Fault, Phase::None, Ends::Fails, {kUntold}, "does not answer on COM1", kSilentBoundMs},
        {"gone mid-block", "disconnect-after=1000", Act::Fault, Phase::None, Ends::Fails, {kAreaNoAnswer}, "did not answer a block", kGoneBoundMs},
        {"checksum storm on the information", "--info-errors 3", Act::Fault, Phase::None, Ends::Fails, {kAreaNoInfo}, "did not describe", kRefusedBoundMs},
        {"checksum storm on a block", "--fault checksum-errors=4@5", Act::Fault, Phase::None, Ends::Fails, {kAreaRefused}, "refused a block", kRefusedBoundMs},
        {"checksum error naming address 0", "--zero-address 2", Act::Fault, Phase::None, Ends::Fails, {kAreaUnknown}, "outside its logo area", kRefusedBoundMs},
        {"asks for a block for ever", "--ask-again 2", Act::Fault, Phase::None, Ends::Fails, {kAreaUnknown}, "asked for more than 128 blocks", kAskedForEverBoundMs},
        {"stop at the first block", "", Act::Stop, Phase::FirstBlock, Ends::Fails, {kStopReminder}, "ThreadLogo() stopped", kStopBoundMs},
        {"stop halfway", "", Act::Stop, Phase::Halfway, Ends::Fails, {kStopReminder}, "ThreadLogo() stopped", kStopBoundMs},
        {"closed while asking", "", Act::Close, Phase::Handshake, Ends::Fails, {}, "", kCloseBoundMs},
        {"closed halfway", "", Act::Close, Phase::Halfway, Ends::Fails, {}, "", kCloseBoundMs},
    });
    RunCleanJob(path, {kSuccess}, true);
}

// ---- the fixed area: FQ054, its information at 0x0480 -----------------------------

TEST_F(FaultMatrixTest, FixedArea)
{
    const PathSetup path{"fixed area", "FQ054", EmuPort::Serial, "COM1", 9600, ID_PROGRAM_LOGO, 1, 64, 32};
    RunTable(path, {
        {"silent from the start", "silent", Act::Fault, Phase::None, Ends::Fails, {kUntold}, "does not answer on COM1", kSilentBoundMs},
        {"silent after 1000 bytes", "silent-after=1000", Act::Fault, Phase::None, Ends::Fails, {kAreaNoAnswer}, "did not answer a block", kSilentMidBoundMs},
        {"garbage answers", "garbage", Act::Fault, Phase::None, Ends::Fails, {kUntold}, "does not answer on COM1", kSilentBoundMs},
        {"answers at 19200", "answer-baud=19200", Act::Fault, Phase::None, Ends::Fails, {kUntold}, "does not answer on COM1", kSilentBoundMs},
        {"gone mid-block", "disconnect-after=1000", Act::Fault, Phase::None, Ends::Fails, {kAreaNoAnswer}, "did not answer a block", kGoneBoundMs},
        {"checksum storm on the information", "--info-errors 3", Act::Fault, Phase::None, Ends::Fails, {kAreaNoInfo}, "did not describe", kRefusedBoundMs},
        {"checksum storm on a block", "--fault checksum-errors=4@5", Act::Fault, Phase::None, Ends::Fails, {kAreaRefused}, "refused a block", kRefusedBoundMs},
        {"stop halfway", "", Act::Stop, Phase::Halfway, Ends::Fails, {kStopReminder}, "ThreadLogo() stopped", kStopBoundMs},
        {"closed halfway", "", Act::Close, Phase::Halfway, Ends::Fails, {}, "", kCloseBoundMs},
    });
    RunCleanJob(path, {kSuccess}, true);
}

// ---- the echoed bytes: LB36, every raster byte acknowledged ---------------------------

TEST_F(FaultMatrixTest, EchoedBytes)
{
    const PathSetup path{"echoed bytes", "LB36", EmuPort::Serial, "COM1", 9600, ID_PROGRAM_LOGO, 1, 64, 32};
    RunTable(path, {
        {"silent from the start", "silent", Act::Fault, Phase::None, Ends::Fails, {kUntold}, "does not answer on COM1", kSilentBoundMs},
        {"silent after 1000 bytes", "silent-after=1000", Act::Fault, Phase::None, Ends::Fails, {kUntold}, "stopped acknowledging", kSilentMidBoundMs},
        {"garbage answers", "garbage", Act::Fault, Phase::None, Ends::Fails, {kUntold}, "does not answer on COM1", kSilentBoundMs},
        {"answers at 19200", "answer-baud=19200", Act::Fault, Phase::None, Ends::Fails, {kUntold}, "does not answer on COM1", kSilentBoundMs},
        {"gone mid-block", "disconnect-after=1000", Act::Fault, Phase::None, Ends::Fails, {kUntold}, "stopped acknowledging at byte", kGoneBoundMs},
        {"stop at the first block", "", Act::Stop, Phase::FirstBlock, Ends::Fails, {kStopReminder}, "ThreadLogo() stopped", kStopBoundMs},
        {"stop halfway", "", Act::Stop, Phase::Halfway, Ends::Fails, {kStopReminder}, "ThreadLogo() stopped", kStopBoundMs},
        {"closed while asking", "", Act::Close, Phase::Handshake, Ends::Fails, {}, "", kCloseBoundMs},
        {"closed halfway", "", Act::Close, Phase::Halfway, Ends::Fails, {}, "", kCloseBoundMs},
    });
    RunCleanJob(path, {kSuccess}, true);
}

// ---- the parallel port: WGJ33's stream in one-byte writes; nothing comes back -------
// A parallel port carries no answers: silence, garbage, another speed and
// checksum storms cannot happen on it. What can: the device disappearing,
// the stop and the closed window. A pseudo-terminal takes some 18 KB
// before a write waits and cannot tell how much of it the far end has read,
// so the whole stream is handed over at once: a device gone mid-stream (after
// the last write) and a stop "halfway" cannot be staged here; a device gone
// as the stream starts and the stop at the first block can.

TEST_F(FaultMatrixTest, ParallelPort)
{
    const PathSetup path{"parallel", "WGJ33", EmuPort::Parallel, "LPT1", 115200, ID_TEST_LOGO, 1, 64, 32};
    RunTable(path, {
        {"gone as the stream starts", "disconnect-after=1", Act::Fault, Phase::None, Ends::Fails, {kSendError}, "the printer stopped taking the logo", kGoneBoundMs},
        {"stop at the first block", "", Act::Stop, Phase::FirstBlock, Ends::Fails, {kStopReminder}, "ThreadLogo() stopped", kStopBoundMs},
        {"closed at the first block", "", Act::Close, Phase::FirstBlock, Ends::Fails, {}, "write stopped", kCloseBoundMs},
    });
    RunCleanJob(path, {kStopReminder}, false);
}

// A warning before the job names no failure: a port that cannot be opened
// still gets the box naming why.
TEST_F(FaultMatrixTest, ParallelPortAfterAWarning)
{
    const PathSetup path{"parallel, warned first", "MZVZV", EmuPort::Parallel, "LPT1", 115200, ID_TEST_LOGO, 1, 64, 32};
    RunTable(path, {
        {"cannot be opened", "absent", Act::Fault, Phase::None, Ends::Fails, {kPaperWarning, kUntold}, "LPT1 cannot be opened", kGoneBoundMs},
    });
    RunCleanJob(path, {kPaperWarning, kStopReminder}, false);
}

// ---- USB: J4, programmed into slot 2 by its own stream ---------------------------------
// The printer behind a device file that behaves as usblp does: a write
// returns with its transfer in flight, the next waits until the printer took
// it, and closing the device drops a transfer still in flight. Only the two
// questions before the stream are answered; the stream itself needs no
// answer, so a printer falling silent after them still takes it. A silent or
// garbled printer counts as on line (no lp status comes through the device
// file, and a printer that answers nothing to the status request is on line)
// and fails the identification. The stream goes in six blocks of at most
// 2048 bytes, 178 ms each at the printer's pace.

TEST_F(FaultMatrixTest, Usb)
{
    QString why;
    if (!CPrinterEmulator::DeviceModesUsable(&why))
        GTEST_SKIP() << "the USB printer's device file cannot be mounted here: " << why.toStdString();
    const PathSetup path{"USB", "J4", EmuPort::UsbDevice, "USB001", 115200, ID_PROGRAM_LOGO, 2, 64, 32};
    RunTable(path, {
        {"silent from the start", "silent", Act::Fault, Phase::None, Ends::Fails, {kUsbOtherModel}, "is no J4 (identification 255)", kSilentBoundMs},
        {"silent after the questions", "silent-after=9", Act::Fault, Phase::None, Ends::Succeeds, {kSuccess}, "", kSilentMidBoundMs},
        {"garbage answers", "garbage", Act::Fault, Phase::None, Ends::Fails, {kUsbOtherModel}, "is no J4", kSilentBoundMs},
        {"gone during the questions", "disconnect-after=7", Act::Fault, Phase::None, Ends::Fails, {kUsbOtherModel}, "is no J4 (identification 255)", kGoneBoundMs},
        {"gone mid-stream", "disconnect-after=5000", Act::Fault, Phase::None, Ends::Fails, {kSendError}, "the printer stopped taking the logo", kGoneBoundMs},
        {"stop at the first block", "", Act::Stop, Phase::FirstBlock, Ends::Fails, {kStopReminder}, "ThreadLogo() stopped", kStopBoundMs},
        {"stop halfway", "", Act::Stop, Phase::Halfway, Ends::Fails, {kStopReminder}, "ThreadLogo() stopped", kStopBoundMs},
        // A silent printer keeps the job in its questions: an answering one
        // may have taken the whole stream before the window closes.
        {"closed during the questions", "silent", Act::Close, Phase::Handshake, Ends::Fails, {}, "", kCloseBoundMs},
        // USB001 is gone; the one port listed is USB002, a folder.
        {"cannot be opened", "absent", Act::Fault, Phase::None, Ends::Fails, {kUsbOffline}, "USB002 cannot be opened", kGoneBoundMs},
        {"closed while the last block is in flight", "", Act::Close, Phase::LastBlock, Ends::Fails, {}, "", kCloseBoundMs},
    });
    RunCleanJob(path, {kSuccess}, true);
}

// A printer that takes no logo over USB is told so; nothing is sent, and
// there is no clean job to end the table with.
TEST_F(FaultMatrixTest, UsbModelWithoutATransfer)
{
    const PathSetup path{"USB, no logo over USB", "WGJ33", EmuPort::Usb, "USB001", 115200, ID_TEST_LOGO, 1, 64, 32};
    RunTable(path, {
        {"takes no logo over USB", "", Act::Fault, Phase::None, Ends::Fails, {kUntold}, "this printer takes no logo over USB", kSilentBoundMs},
    });
}

// ---- "Print Logo": FRNDR prints its slot 1 -----------------------------------------------
// The command runs on the user-interface thread with every call bounded by
// the component's time-outs: there is no Stop, and the window cannot be
// closed while it runs. Nothing is written to a slot. The print commands
// need no answer: a printer silent once detected still prints.

TEST_F(FaultMatrixTest, PrintStoredLogo)
{
    const PathSetup path{"print logo", "FRNDR", EmuPort::Serial, "COM1", 9600, ID_PRINT_LOGO, 1, 64, 32};
    RunTable(path, {
        {"silent from the start", "silent", Act::Fault, Phase::None, Ends::Fails, {kUntold}, "the print failed: the printer does not answer", kSilentBoundMs},
        {"silent after the detection", "silent-after=20", Act::Fault, Phase::None, Ends::Succeeds, {}, "", kSilentMidBoundMs},
        {"garbage answers", "garbage", Act::Fault, Phase::None, Ends::Fails, {kUntold}, "the print failed: the printer does not answer", kSilentBoundMs},
        {"answers at 19200", "answer-baud=19200", Act::Fault, Phase::None, Ends::Fails, {kUntold}, "the print failed: the printer does not answer", kSilentBoundMs},
        {"gone during the detection", "disconnect-after=5", Act::Fault, Phase::None, Ends::Fails, {kUntold}, "the print failed: no printer of the list answered", kGoneBoundMs},
    });
    // The same view prints the slot from a printer without fault: its print
    // command (ESC P 1), the feeds and the cut, and no failure logged.
    StartPrinter(path, "");
    const qsizetype logFrom = AppLog().size();
    ScriptedUi ui;
    Script(path, ui);
    m_view->OnCommand(ID_PRINT_LOGO);
    ASSERT_TRUE(WaitForJob(kCleanBoundMs));
    const std::vector<uint8_t> taken = m_printer->TakeReceivedBytes();
    const std::vector<uint8_t> print = {0x1B, 0x50, 0x01, 0x0A};
    EXPECT_NE(std::search(taken.begin(), taken.end(), print.begin(), print.end()), taken.end());
    EXPECT_FALSE(AppLog().mid(logFrom).contains(QStringLiteral("the print failed")));
    EXPECT_TRUE(MessageTexts(ui).isEmpty());
}
