#pragma once
// The serial steps that the logo transfer and the printing of stored logos
// share: finding the speed a printer listens at, the WGJ33's stretched
// time-outs and the baud detection by identification byte. Each works on an
// open serial component and is bounded by its time-outs.
#include "platform/WinTypes.h"

#include <functional>
#include <vector>

class CsComAm;
class QObject;

// The printer answers the status request at the opened speed or, failing
// that, at one of the detection speeds (a printer keeps the speed the last
// transfer switched it to); the port is left at the speed that answered, or
// at the opened one. stopRequested may be empty.
bool FindPrinterSpeed(CsComAm& port, const std::function<bool()>& stopRequested = {});

enum class Wgj33Timeouts { Stretched, NotSettable, NotReady };
// The WGJ33 answers slowly while it writes its flash: the read constant
// times 100 and the write multiplier times 10 (the third and fourth values of
// the time-out record), then the printer must be ready to take data (CTS).
// waitForCts: ask until the read time-out passes (printing a stored logo)
// rather than once (a transfer).
Wgj33Timeouts StretchWgj33Timeouts(CsComAm& port, bool waitForCts);

// Baud detection with the printers-to-test identification bytes: one status
// request to wake the printer, then every detection speed until one of ids
// answers. window receives WM_PORT_STATUS at each speed tried (may be null).
bool DetectPrinterSpeed(CsComAm& port, const std::vector<BYTE>& ids, QObject* window, BYTE autoBaudRateFlow);
// The application log's line for a failed detection.
inline constexpr const char* kBaudDetectionFailedLine = "Autodetect BaudRate NOT passed";
