#include "printer/PortScan.h"

#include "components/CalcTimeout.h"
#include "components/Conversioni.h"
#include "components/DeviceAccess.h"
#include "components/LoadCfgFileApp.h"
#include "components/PComAm.h"
#include "components/SComAm.h"
#include "components/SettingsStore.h"
#include "components/SerialPort.h"
#include "components/UComAm.h"
#include "platform/NativePath.h"
#include "printer/Identification.h"
#include "printer/ModelCatalogue.h"
#include "printer/ProgramHost.h"

#include <QFileInfo>

#include <linux/lp.h>

#include <thread>

namespace {

// Where the speed each serial port last had a printer answer at is kept.
const QString kPortSpeedsGroup = QStringLiteral("PortSpeeds");

// A printer answers at once; these deadlines keep a port with nothing on it
// to a fraction of a second at each of the detection speeds.
_CalcTimeout ScanTimeouts()
{
    _CalcTimeout t;
    t.ReadIntervalTimeout = 20;
    t.ReadTotalTimeoutMultiplier = 0;
    t.ReadTotalTimeoutConstant = 120;
    t.WriteTotalTimeoutMultiplier = 0;
    t.WriteTotalTimeoutConstant = 300;
    return t;
}
constexpr int kUsbWriteMs = 300;
constexpr int kUsbReadMs = 250;

// A port that could not be opened, in the operator's words.
CPortFinding& NotOpened(CPortFinding& f, SerialError kind, const QString& text)
{
    switch (kind) {
    case SerialError::NotFound:
        f.state = ScanState::Absent;
        f.detail = QStringLiteral("absent");
        break;
    case SerialError::Busy:
        f.state = ScanState::Busy;
        f.detail = QStringLiteral("busy: another program holds the port");
        break;
    case SerialError::Permission: {
        f.state = ScanState::Denied;
        const QString needed = NeededGroupText(f.device);
        f.detail = needed.isEmpty() ? QStringLiteral("permission denied") : QStringLiteral("permission denied: ") + needed;
        break;
    }
    default:
        f.state = ScanState::Failed;
        f.detail = text;
        break;
    }
    return f;
}

// lastBaud: the speed a printer was last heard at on this port (0: none).
void ScanSerial(CPortFinding& f, const CScanCatalogue& catalogue, const CManualResetEvent* stop, DWORD lastBaud)
{
    CsComAm com;
    com.SetStopEvents(stop, nullptr);
    if (!com.InitThisObject(nullptr, f.port, 1, QString(), &catalogue.list)) {
        NotOpened(f, com.LastErrorKind(), com.LastErrorText());
        return;
    }
    com.SetNewTimeoutSystem(ScanTimeouts());
    // A printer keeps its speed: asked there first, the one of the last
    // printer found here (the next of a batch) answers at the first question.
    if (lastBaud != 0 && com.PubSetBaudRate(lastBaud))
        com.PreferDetectionSpeed(lastBaud);
    com.GetStatusPrinter(0); // wakes a printer that missed the first request, as detection does
    const std::vector<BYTE> ids = IdentificationTable(catalogue.list);
    int index = -1;
    DWORD value = 0;
    QString text;
    if (ids.empty()
        || !com.PubAutodetectBaudRateLightType(ids.data(), static_cast<BYTE>(ids.size()), &index, nullptr, 0, 0,
                                               catalogue.autoBaudRateFlow, WM_PORT_STATUS)
        || !catalogue.list.GetOptionPrintersToTest(index, nullptr, nullptr, &value, &text)
        || !CConversioni::BreakString(text, QLatin1Char('|'), &f.model, &f.cfgFile)) {
        f.state = ScanState::NoAnswer;
        f.detail = QStringLiteral("no printer of the list answered at any speed");
        com.DeInitializePort();
        return;
    }
    f.state = ScanState::Found;
    f.baud = com.CurrentBaudRate();
    // Only these models answer a release request; any other would make the scan wait for nothing.
    if (IsWgj33Model(f.model))
        f.release = com.GetReleaseFirmwareWgj33();
    else if (ChecksSoftwareReleaseModel(f.model))
        f.release = com.GetReleaseSwStampante();
    com.DeInitializePort();
}

void ScanUsb(CPortFinding& f, const CScanCatalogue& catalogue, const CManualResetEvent* stop)
{
    CQvComAm usb;
    usb.SetStopEvents(stop, nullptr);
    usb.SetTimeouts(kUsbWriteMs, kUsbReadMs);
    if (!usb.OpenPrinter(f.port)) {
        NotOpened(f, SerialErrorFromErrno(usb.LastErrno()), usb.LastErrorText());
        return;
    }
    f.deviceId = usb.DeviceId();
    const BYTE id = usb.GetPrinterGSI();
    usb.ClosePrinter();
    const auto known = catalogue.modelsById.find(id);
    if (known != catalogue.modelsById.end()) {
        f.state = ScanState::Found;
        f.model = known->second.first;
        f.cfgFile = known->second.second;
        return;
    }
    f.state = ScanState::NoAnswer;
    f.detail = id == 0xFF ? QStringLiteral("no identification answer")
                          : QStringLiteral("identification %1 is no model of the list").arg(id);
}

QString LptStatusText(BYTE status)
{
    if (status & LP_POUTPA)
        return QStringLiteral("paper out");
    if (!(status & LP_PERRORP))
        return QStringLiteral("error");
    if (!(status & LP_PSELECD))
        return QStringLiteral("off line");
    return QStringLiteral("on line");
}

void ScanParallel(CPortFinding& f, const CManualResetEvent* stop)
{
    CQvPComAm lpt(f.port, 1, 1);
    lpt.SetStopEvents(stop, nullptr);
    if (!lpt.InitLptComPort(nullptr)) {
        NotOpened(f, SerialErrorFromErrno(lpt.LastErrno()), lpt.LastErrorText());
        return;
    }
    BYTE status = 0;
    f.state = ScanState::StatusOnly;
    f.detail = lpt.GetLptStatus(&status) ? QStringLiteral("a parallel port (it cannot be asked): %1").arg(LptStatusText(status))
                                         : QStringLiteral("a parallel port (it cannot be asked), no status");
    lpt.CloseLptPort();
}

void ScanPort(CPortFinding& f, const CScanCatalogue& catalogue, const CManualResetEvent* stop, DWORD lastBaud)
{
    if (f.device.isEmpty()) {
        f.state = ScanState::Absent;
        f.detail = QStringLiteral("not configured");
        return;
    }
    switch (f.kind) {
    case PortKind::Serial:
        ScanSerial(f, catalogue, stop, lastBaud);
        break;
    case PortKind::Parallel:
        ScanParallel(f, stop);
        break;
    case PortKind::Usb:
        ScanUsb(f, catalogue, stop);
        break;
    }
}

} // namespace

CScanCatalogue ProgramScanCatalogue(const CProgramHost* host)
{
    CScanCatalogue catalogue;
    if (!host)
        return catalogue;
    if (host->StartupPrinterCfg())
        catalogue.list = *host->StartupPrinterCfg();
    if (const CLoadCfgFileApp* cfg = host->AppCfg()) {
        catalogue.autoBaudRateFlow = host->AutoBaudRateFlow();
        for (int i = 0; i < cfg->GetPrinterCount(); ++i) {
            CLoadCfgPrnFile printer;
            int id = -1;
            if (printer.LoadPublicCfgFile(JoinProgramPath(host->ProgramPath(), cfg->GetPrinterCfgFile(i)))
                && printer.GetOptionPrintersToTest(QStringLiteral("GSImodel"), &id, -1) && id >= 0 && id < 0xFF)
                catalogue.modelsById.emplace(static_cast<BYTE>(id),
                                             std::pair{cfg->GetPrinterName(i), cfg->GetPrinterCfgFile(i)});
        }
    }
    return catalogue;
}

QStringList PortsToScan()
{
    QStringList ports;
    for (const QString& name : ConfiguredPortNames()) {
        const QString device = PortDevice(name);
        if (!device.isEmpty() && QFileInfo::exists(device))
            ports << name;
    }
    return ports;
}

std::vector<CPortFinding> ScanPorts(const QStringList& ports, const CScanCatalogue& catalogue,
                                    const CManualResetEvent* stop)
{
    std::vector<CPortFinding> findings(static_cast<size_t>(ports.size()));
    std::vector<std::jthread> workers;
    workers.reserve(findings.size());
    std::map<QString, QString> portOfDevice;
    for (int i = 0; i < ports.size(); ++i) {
        CPortFinding& f = findings[static_cast<size_t>(i)];
        f.port = ports[i];
        f.device = PortDevice(f.port);
        f.kind = PortKindOf(f.port);
        // Two workers on one device would garble each other's questions.
        const QString canonical = QFileInfo(f.device).canonicalFilePath();
        if (!canonical.isEmpty()) {
            const auto [it, first] = portOfDevice.emplace(canonical, f.port);
            if (!first) {
                f.state = ScanState::SameDevice;
                f.detail = QStringLiteral("the same device as %1").arg(it->second);
                continue;
            }
        }
        const DWORD lastBaud = CSettingsStore::Value(kPortSpeedsGroup, f.port).toUInt();
        workers.emplace_back([&f, &catalogue, stop, lastBaud] { ScanPort(f, catalogue, stop, lastBaud); });
    }
    workers.clear(); // every worker joined: the findings are complete
    // Written only when it changed: a port watched for the next printer is scanned twice a second.
    for (const CPortFinding& f : findings)
        if (f.state == ScanState::Found && f.baud != 0
            && CSettingsStore::Value(kPortSpeedsGroup, f.port).toUInt() != f.baud)
            CSettingsStore::SetValue(kPortSpeedsGroup, f.port, static_cast<uint>(f.baud));
    return findings;
}
