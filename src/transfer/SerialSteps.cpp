#include "transfer/SerialSteps.h"

#include "components/CalcTimeout.h"
#include "components/PrinterProtocol.h"
#include "components/SComAm.h"

#include <algorithm>

bool FindPrinterSpeed(CsComAm& port, const std::function<bool()>& stopRequested)
{
    if (port.GetStatusPrinter(0))
        return true;
    const DWORD opened = port.CurrentBaudRate();
    for (const DWORD baud : prnproto::kDetectionOrder) {
        if (baud == opened)
            continue;
        if ((stopRequested && stopRequested()) || !port.PubSetBaudRate(baud))
            break;
        if (port.GetStatusPrinter(0))
            return true;
    }
    port.PubSetBaudRate(opened);
    return false;
}

Wgj33Timeouts StretchWgj33Timeouts(CsComAm& port, bool waitForCts)
{
    _CalcTimeout timeouts;
    if (!port.GetCurrentTimeoutSystem(&timeouts))
        return Wgj33Timeouts::NotSettable;
    timeouts.Value(3) *= 100;
    timeouts.Value(4) *= 10;
    if (!port.SetNewTimeoutSystem(timeouts))
        return Wgj33Timeouts::NotSettable;
    DWORD status = 0;
    if (port.GetCtsStatusPrinter(&status, waitForCts ? 1 : 0) != 0)
        return Wgj33Timeouts::NotReady;
    return Wgj33Timeouts::Stretched;
}

bool DetectPrinterSpeed(CsComAm& port, const std::vector<BYTE>& ids, QObject* window, BYTE autoBaudRateFlow)
{
    port.GetStatusPrinter(0); // wakes a printer that missed the first request
    int index = 0;
    // The component takes the count as one byte.
    return port.PubAutodetectBaudRateLightType(ids.data(), static_cast<BYTE>(std::min<size_t>(ids.size(), 255)),
                                               &index, window, 0, 1, autoBaudRateFlow, WM_PORT_STATUS);
}
