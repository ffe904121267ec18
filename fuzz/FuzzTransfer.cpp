// The printer's side of every transfer: arbitrary reply bytes, through a
// pseudo-terminal played by the target (FuzzPrinterLink.h), for a job of any
// kind on any printer model of data/CfgFile: the serial transfer (the generic
// stream, the flash-area, fixed-area and echoed-byte protocols, the RAM
// shortcut), the USB and parallel transfers and the printing of stored logos.
//
// Input: three bytes choosing the job, then the printer's replies (a length
// byte and that many bytes each; 0xFF presses stop, 0xFE hangs up). Whatever
// the replies, the job must end within a bound the script sets, with the port
// closed, the progress dialog opened and closed in pairs, and a failure that
// says why or a success; never a crash, a hang or a read out of range. A
// success must be true: the printer took the whole logo (or, driving the
// download itself, said it was complete), whatever stop or hang-up came.
#include "FuzzPrinterLink.h"
#include "FuzzSupport.h"

#include "components/LoadCfgPrnFile.h"
#include "components/PComAm.h"
#include "components/SComAm.h"
#include "components/UComAm.h"
#include "document/BmpFile.h"
#include "printer/ModelCatalogue.h"
#include "transfer/ParallelTransfer.h"
#include "transfer/SerialTransfer.h"
#include "transfer/StoredLogoPrint.h"
#include "transfer/TransferHost.h"
#include "transfer/TransferModels.h"
#include "transfer/UsbTransfer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// The serial time-outs of every run: a printer that answers answers at once
// (it is a thread of this process), so a short reply ends in tens of
// milliseconds instead of the real line's second.
_CalcTimeout ShortTimeouts()
{
    _CalcTimeout t;
    t.ReadIntervalTimeout = 10;
    t.ReadTotalTimeoutMultiplier = 0;
    t.ReadTotalTimeoutConstant = 20;
    t.WriteTotalTimeoutMultiplier = 0;
    t.WriteTotalTimeoutConstant = 200;
    return t;
}

// Every wait of a job is bounded by its time-outs; the longest single one is
// the RAM-to-flash answer of the MZVZVRXH (10 s). A job may take that once,
// plus a bounded time per reply of the script (a reply cut short waits for
// its time-out), plus the fixed waits of opening and closing.
constexpr qint64 kFixedBoundMs = 15000;
constexpr qint64 kBoundPerReplyMs = 1000;

enum class Job { SerialTransfer, SerialFromRam, SerialPrintStored, UsbTransfer, UsbPrintStored, ParallelTransfer };
constexpr int kJobCount = 6;

struct CModel {
    QString name;
    CLoadCfgPrnFile cfg;
};

struct CFixture {
    std::vector<CModel> models;
    std::vector<BYTE> printersToTest;
    QString linkPath;
    QString dumpPath;
};

CFixture& Fixture()
{
    static CFixture fixture;
    return fixture;
}

void LoadFixture()
{
    CFixture& f = Fixture();
    const QString data = QStringLiteral(GLYPHANE_SOURCE_DIR "/data/");
    QDir folder(data + QStringLiteral("CfgFile"));
    for (const QString& file : folder.entryList({QStringLiteral("*.cfg")}, QDir::Files, QDir::Name)) {
        CModel model;
        model.name = file.chopped(4);
        if (model.name == QLatin1String("Reserved") || !model.cfg.LoadPublicCfgFile(folder.filePath(file)))
            continue;
        f.models.push_back(std::move(model));
    }
    FUZZ_CHECK(!f.models.empty());
    CLoadCfgPrnFile toTest;
    FUZZ_CHECK(toTest.LoadPublicCfgFile(data + QStringLiteral("PrnToTest.cfg")));
    for (int i = 0; i < toTest.GetPrintersToTestCount(); ++i) {
        DWORD value = 0;
        toTest.GetOptionPrintersToTest(i, nullptr, nullptr, &value, nullptr);
        f.printersToTest.push_back(static_cast<BYTE>(value & 0xFF));
    }
    // Every port name leads to the link the printer of each run replaces.
    f.linkPath = fuzzsupport::ScratchFolder() + QStringLiteral("printer");
    f.dumpPath = fuzzsupport::ScratchFolder() + QStringLiteral("glyphane.bin");
    const QByteArray settings = "[Ports]\nCOM1=" + f.linkPath.toUtf8() + "\nLPT1=" + f.linkPath.toUtf8()
                                + "\nUSB001=" + f.linkPath.toUtf8() + "\n";
    qputenv("GLYPHANE_SETTINGS", fuzzsupport::WriteScratchFile(QStringLiteral("settings.ini"), settings).toLocal8Bit());
}

// The job's side of the program: records what the operator would see.
class CFuzzHost : public CTransferHost {
public:
    CFuzzHost(CManualResetEvent& stop, int chosenBaud)
        : m_stop(stop)
        , m_baud(chosenBaud)
    {
    }
    void ProgressStart(int steps, qint64 totalBytes, DWORD) override
    {
        FUZZ_CHECK(!m_bProgressOpen);
        FUZZ_CHECK(steps >= 0 && totalBytes >= 0);
        m_bProgressOpen = true;
    }
    void ProgressStep(qint64 bytes, int steps) override
    {
        FUZZ_CHECK(m_bProgressOpen);
        FUZZ_CHECK(bytes >= 0 && steps > 0);
    }
    void ProgressEnd() override { m_bProgressOpen = false; }
    void PortStatus(bool, const QString&) override {}
    void PostStopSend() override {}
    int Message(const QString& text, const QString& caption, UINT) override
    {
        FUZZ_CHECK(!text.isEmpty() && !caption.isEmpty());
        ++messages;
        return IDOK;
    }
    void Inform(const QString& text, const QString& caption, UINT) override
    {
        FUZZ_CHECK(!text.isEmpty() && !caption.isEmpty());
    }
    int ChooseBaudRate() override { return m_baud; }
    bool FrameMayCoverLogo() override { return true; }
    bool WaitForPrinterReset(bool, int ms) override
    {
        FUZZ_CHECK(ms >= 0);
        return true;
    }
    void Log(const QString&) override {}
    bool StopRequested() const override { return m_stop.IsSet(); }
    bool Sleep(int ms) override
    {
        FUZZ_CHECK(ms >= 0);
        return true;
    }

    bool ProgressOpen() const { return m_bProgressOpen; }
    int messages = 0;

private:
    CManualResetEvent& m_stop;
    int m_baud;
    bool m_bProgressOpen = false;
};

// The side of the program that prints a stored logo.
class CFuzzStoredHost : public CStoredLogoHost {
public:
    void Log(const QString&) override {}
    void Sleep(int ms) override { FUZZ_CHECK(ms >= 0); }
    int Message(const QString& text, const QString& caption, UINT) override
    {
        FUZZ_CHECK(!text.isEmpty() && !caption.isEmpty());
        ++messages;
        return IDOK;
    }
    void Inform(const QString& text, const QString& caption, UINT) override
    {
        FUZZ_CHECK(!text.isEmpty() && !caption.isEmpty());
    }
    int messages = 0;
};

QImage PatternLogo(int width, int height)
{
    QImage logo(width, height, QImage::Format_RGB32);
    logo.fill(0xFFFFFFFF);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((x * 3 + y * 5) % 7 == 0)
                logo.setPixel(x, y, 0xFF000000);
    return logo;
}

int Option(const CLoadCfgPrnFile& cfg, const char* name, int missing)
{
    int value = missing;
    cfg.GetOptionPrintersToTest(QLatin1String(name), &value, missing);
    return value;
}

CTransferRequest MakeRequest(const CModel& model, uint8_t options, const QString& portName)
{
    CTransferRequest r;
    r.kind = (options & 1) ? TransferKind::Program : TransferKind::Test;
    r.slot = 1 + (options >> 5) % std::max(1, Option(model.cfg, "NLoghi", 1));
    r.logoWidth = 40;
    r.logoHeight = 12;
    r.logo = PatternLogo(r.logoWidth, r.logoHeight);
    // The printer's area, kept small enough that a run stays short.
    r.dotX = std::clamp(Option(model.cfg, "DotX", 64), 8, 256) / 8 * 8;
    r.dotY = std::clamp(Option(model.cfg, "DotY", 32), 1, 64);
    QFile templateFile(QStringLiteral(GLYPHANE_SOURCE_DIR "/data/HeaderNewFile.bmp"));
    FUZZ_CHECK(templateFile.open(QIODevice::ReadOnly));
    r.bitmapHeader = templateFile.read(bmpfile::kTemplateSize);
    bmpfile::PatchHeader(r.bitmapHeader, r.logoWidth, r.logoHeight);
    r.options.reverseColor = options & 4;
    r.model = model.name;
    r.portName = portName;
    r.expectedId = static_cast<BYTE>(Option(model.cfg, "GSImodel", 0));
    r.printerCfg = model.cfg;
    r.printersToTest = Fixture().printersToTest;
    r.usbPrinter = portName;
    r.usbDumpPath = Fixture().dumpPath;
    r.flags.printerDetected = options & 2;
    r.flags.logoInRam = false;
    r.flags.wgjPrinter = IsWgj33Model(model.name);
    r.flags.rxhPrinter = IsMzvzvrxhModel(model.name);
    return r;
}

CStoredLogoRequest MakeStoredRequest(const CTransferRequest& transfer, uint8_t options)
{
    CStoredLogoRequest r;
    r.model = transfer.model;
    r.portName = transfer.portName;
    r.slot = transfer.slot;
    r.subLogoBits = (options & 8) ? 255 : static_cast<BYTE>(1 + (options >> 4) % 15);
    r.flashPrinting = Option(transfer.printerCfg, "PrnLogoFlash", 0) != 0;
    r.expectedId = transfer.expectedId;
    r.printerCfg = transfer.printerCfg;
    r.printersToTest = transfer.printersToTest;
    r.wgjPrinter = transfer.flags.wgjPrinter;
    return r;
}

// A success means the printer has the logo: on a stream the printer took at
// least the whole raster; a printer-driven download ended with the printer's
// end reply. The RAM shortcut and printing send commands only.
void CheckDelivered(Job job, const CTransferRequest& request, const CFuzzPrinterLink& printer)
{
    const long long raster = static_cast<long long>(request.dotX / 8) * request.dotY;
    switch (job) {
    case Job::SerialTransfer:
        switch (SerialProtocolOf(request.model)) {
        case SerialProtocol::FlashArea:
        case SerialProtocol::FixedArea:
            FUZZ_CHECK(printer.GaveEndReply());
            return;
        case SerialProtocol::EchoedBytes:
        case SerialProtocol::Generic:
        case SerialProtocol::None:
            break;
        }
        [[fallthrough]];
    case Job::UsbTransfer:
    case Job::ParallelTransfer:
        if (printer.BytesTaken() < raster) {
            std::fprintf(stderr, "success, but the printer took %lld of the raster's %lld bytes\n",
                         printer.BytesTaken(), raster);
            std::abort();
        }
        return;
    case Job::SerialFromRam:
    case Job::SerialPrintStored:
    case Job::UsbPrintStored:
        return;
    }
}

// The outcome every job must have: success, or a failure the operator is
// told of (a box) or that says why; the progress dialog closed.
void CheckEnded(int result, const QString& failure, const CFuzzHost& host)
{
    FUZZ_CHECK(result == 0 || result == 1);
    FUZZ_CHECK(result == 1 || !failure.isEmpty() || host.messages > 0);
    FUZZ_CHECK(!host.ProgressOpen());
}

int RunJob(Job job, const CTransferRequest& request, const CStoredLogoRequest& stored, CFuzzHost& host,
           CManualResetEvent& stop, QString* failure)
{
    switch (job) {
    case Job::SerialTransfer:
    case Job::SerialFromRam: {
        CCsGenericPrn port;
        port.SetNewTimeoutSystem(ShortTimeouts());
        port.SetStopEvents(&stop, nullptr);
        CSerialTransfer transfer(request, host, port, nullptr);
        const int result = job == Job::SerialTransfer ? transfer.SendLogoToSerial() : transfer.SendFromRam();
        *failure = transfer.Failure();
        FUZZ_CHECK(!port.IsOpen());
        CheckEnded(result, transfer.Failure(), host);
        return result;
    }
    case Job::SerialPrintStored: {
        CCsGenericPrn port;
        port.SetNewTimeoutSystem(ShortTimeouts());
        port.SetStopEvents(&stop, nullptr);
        if (!port.InitThisObject(nullptr, request.portName, 1, QString(), &request.printerCfg))
            return 0;
        CFuzzStoredHost storedHost;
        CStoredLogoPrint print(stored, storedHost);
        const int result = print.PrintOverSerial(port);
        *failure = print.Failure();
        FUZZ_CHECK(result == 1 || !print.Failure().isEmpty() || storedHost.messages > 0);
        port.DeInitializePort();
        return result;
    }
    case Job::UsbTransfer: {
        CQvComAm port;
        port.SetTimeouts(200, 20);
        port.SetStopEvents(&stop, nullptr);
        CUsbTransfer transfer(request, host, port);
        const int result = transfer.Send();
        *failure = transfer.Failure();
        CheckEnded(result, transfer.Failure(), host);
        port.ClosePrinter();
        return result;
    }
    case Job::UsbPrintStored: {
        CQvComAm port;
        port.SetTimeouts(200, 20);
        port.SetStopEvents(&stop, nullptr);
        if (!port.OpenPrinter(request.portName))
            return 0;
        CFuzzStoredHost storedHost;
        CStoredLogoPrint print(stored, storedHost);
        const int result = print.PrintOverUsb(port);
        *failure = print.Failure();
        FUZZ_CHECK(result == 1 || !print.Failure().isEmpty() || storedHost.messages > 0);
        port.ClosePrinter();
        return result;
    }
    case Job::ParallelTransfer: {
        CQvPComAm port(request.portName, 1, 1);
        port.SetStopEvents(&stop, nullptr);
        CParallelTransfer transfer(request, host, port);
        const int result = transfer.SendLogoToLpt();
        *failure = transfer.Failure();
        CheckEnded(result, transfer.Failure(), host);
        return result;
    }
    }
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::SilenceQt();
    LoadFixture();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const CFixture& f = Fixture();
    const Job job = static_cast<Job>(data[0] % kJobCount);
    const CModel& model = f.models[data[1] % f.models.size()];
    const uint8_t options = data[2];
    static const int kBauds[] = {0, 9600, 19200, 38400};
    const QString portName = job == Job::UsbTransfer || job == Job::UsbPrintStored ? QStringLiteral("USB001")
                             : job == Job::ParallelTransfer                         ? QStringLiteral("LPT1")
                                                                                    : QStringLiteral("COM1");
    CTransferRequest request = MakeRequest(model, options, portName);
    request.flags.logoInRam = job == Job::SerialFromRam;
    const CStoredLogoRequest stored = MakeStoredRequest(request, options);

    // Copied, so a read past the script's end shows.
    const std::unique_ptr<uint8_t[]> script(new uint8_t[size - 3]);
    std::copy(data + 3, data + size, script.get());
    CManualResetEvent stop;
    CFuzzPrinterLink printer(script.get(), size - 3, stop);
    FUZZ_CHECK(printer.Start(f.linkPath));
    CFuzzHost host(stop, kBauds[(options >> 3) & 3]);

    QElapsedTimer clock;
    clock.start();
    QString failure;
    const int result = RunJob(job, request, stored, host, stop, &failure);
    const qint64 elapsed = clock.elapsed();
    printer.Finish();
    if (result == 1)
        CheckDelivered(job, request, printer);
    // GLYPHANE_FUZZ_VERBOSE=1 tells what each run did (for replaying a script).
    static const bool verbose = qEnvironmentVariableIsSet("GLYPHANE_FUZZ_VERBOSE");
    if (verbose)
        std::fprintf(stderr, "job %d on %s: result %d (%s), %d of %d replies used, %d boxes, %lld ms\n",
                     static_cast<int>(job), qPrintable(model.name), result, qPrintable(failure),
                     printer.RepliesUsed(), printer.RepliesInScript(), host.messages,
                     static_cast<long long>(elapsed));
    const qint64 bound = kFixedBoundMs + kBoundPerReplyMs * printer.RepliesInScript();
    if (elapsed > bound) {
        std::fprintf(stderr, "the job took %lld ms, more than its bound of %lld ms\n",
                     static_cast<long long>(elapsed), static_cast<long long>(bound));
        std::abort();
    }
    return 0;
}
