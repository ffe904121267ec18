#include "components/PortFinding.h"

QString FindingLine(const CPortFinding& f)
{
    QString line = QStringLiteral("%1\t%2\t").arg(f.port, f.device.isEmpty() ? QStringLiteral("-") : f.device);
    if (f.state != ScanState::Found)
        return line + f.detail;
    line += f.model;
    if (f.baud != 0)
        line += QStringLiteral(" at %1 baud").arg(f.baud);
    if (!f.release.isEmpty())
        line += QStringLiteral(", firmware %1").arg(f.release);
    if (!f.deviceId.isEmpty())
        line += QStringLiteral(", device id \"%1\"").arg(f.deviceId);
    return line;
}
