// Finding out which printer is on a serial port and at which speed, the
// sub-model query, and the read time-out changes around single requests.
#include "printer/ViewPrinterRole.h"

#include "components/Conversioni.h"
#include "components/LoadCfgPrnFile.h"
#include "components/dialogs/MessageDlg.h"
#include "components/PrinterProtocol.h"
#include "components/SComAm.h"
#include "document/GlyphaneDoc.h"
#include "platform/UiSeam.h"
#include "printer/Identification.h"
#include "printer/PrinterLink.h"
#include "printer/ProgramHost.h"
#include "resources/StringTable.h"

#include <QApplication>
#include <QCoreApplication>
#include <memory>
#include <vector>

QString DetectionMessage(const QString& model, DWORD entryValue, BYTE subModel)
{
    if (entryValue == kSubModelEntryValue && subModel == kEcrSubModel)
        return QStringLiteral("It was detected printer WQWRFW 0 ECR BDQG");
    return QStringLiteral("It was detected printer ") + model;
}

std::vector<BYTE> IdentificationTable(const CLoadCfgPrnFile& list)
{
    // The component takes the count as one byte.
    const int count = std::min(list.GetPrintersToTestCount(), 255);
    std::vector<BYTE> ids;
    ids.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        DWORD value = 0;
        list.GetOptionPrintersToTest(i, nullptr, nullptr, &value, nullptr);
        ids.push_back(static_cast<BYTE>(value & 0xFF));
    }
    return ids;
}

void CViewPrinterRole::DiscardSerialPrinter()
{
    Link().DropSerial();
}

bool CViewPrinterRole::PrinterAnswersStatus()
{
    if (Link().Serial()->GetStatusPrinter(0))
        return true;
    // A printer only hears requests at its own speed, and detection is what
    // finds that speed; so before calling the printer silent, ask at every
    // speed detection would try.
    const DWORD opened = Link().Serial()->m_dwBaudRate;
    for (const DWORD baud : prnproto::kDetectionOrder) {
        if (baud == opened)
            continue;
        if (!Link().Serial()->PubSetBaudRate(baud))
            break;
        if (Link().Serial()->GetStatusPrinter(0))
            return true;
    }
    Link().Serial()->PubSetBaudRate(opened);
    return false;
}

int CViewPrinterRole::AutodetectPrinter()
{
    if (Link().Serial())
        return 0;
    CLoadCfgPrnFile* list = PrinterHost()->StartupPrinterCfg();
    if (!list)
        return 0;
    Link().MakeSerial();
    if (!Link().OpenSerialPort(list)) {
        Link().CloseSerialPort();
        DiscardSerialPrinter();
        return 0;
    }
    if (!PrinterAnswersStatus()) {
        MessageBox(PrinterWindow(), QStringLiteral("Printer not ready or wrong com port selected"),
                   QStringLiteral("Autodetect printer"), MB_OK | MB_ICONSTOP);
        Link().CloseSerialPort();
        DiscardSerialPrinter();
        return 0;
    }
    auto wait = std::make_unique<CDialogMessage>(PrinterWindow(), QStringLiteral("Autodetect printer"),
                                                 QStringLiteral("Please wait..."));
    wait->Create();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    const int result = RunDetection(*list);

    Link().CloseSerialPort();
    QApplication::restoreOverrideCursor();
    wait.reset();
    DiscardSerialPrinter();
    if (result != 1)
        return 0;
    Link().SetPrinterDetected(true);
    return 1;
}

int CViewPrinterRole::RunDetection(const CLoadCfgPrnFile& list)
{
    const std::vector<BYTE> ids = IdentificationTable(list);
    Link().Serial()->GetStatusPrinter(0);
    int index = -1;
    const BYTE flow = PrinterHost()->AutoBaudRateFlow();
    if (ids.empty()
        || !Link().Serial()->PubAutodetectBaudRateLightType(ids.data(), static_cast<BYTE>(ids.size()), &index,
                                                         PrinterWindow(), 0, 1, flow, WM_PORT_STATUS))
        return 0;
    DWORD value = 0;
    QString text, model, cfgName;
    if (!list.GetOptionPrintersToTest(index, nullptr, nullptr, &value, &text)
        || !CConversioni::BreakString(text, QLatin1Char('|'), &model, &cfgName))
        return 0;
    CGlyphaneDoc* doc = PrinterDocument();
    doc->Binding().SetPrinterModel(model);
    doc->Binding().SetPrinterCfgFileName(cfgName);
    const BYTE subModel = value == kSubModelEntryValue ? QuerySubModel() : 1;
    const QString message = DetectionMessage(doc->Binding().GetPrinterModel(), value, subModel);
    return MessageBox(PrinterWindow(), message, LoadString(61446), MB_OKCANCEL | MB_ICONINFORMATION) == IDOK ? 1
                                                                                                                : 0;
}

BYTE CViewPrinterRole::QuerySubModel()
{
    if (!Link().Serial())
        return 1;
    BYTE reply[3] = {};
    // The whole buffer is offered, so an answer longer than the one byte a
    // sub-model is (02 00 from another firmware) shows by its length.
    DWORD replyLength = sizeof(reply);
    SetReadTimeout(kSubModelTimeoutMs);
    Link().Serial()->NewSendCommandToCom(QStringLiteral("Csubmodel"), reply, &replyLength);
    RestoreTimeouts();
    return replyLength == 1 ? reply[0] : 1;
}

int CViewPrinterRole::SetReadTimeout(UINT ms)
{
    if (!Link().Serial())
        return 0;
    if (!Link().Serial()->GetCurrentTimeoutSystem(&m_savedTimeouts)) {
        MessageBox(PrinterWindow(), LoadString(61530), LoadString(1035), MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    _CalcTimeout changed = m_savedTimeouts;
    changed.Value(3) = ms;
    changed.Value(4) = 1;
    if (!Link().Serial()->SetNewTimeoutSystem(changed)) {
        MessageBox(PrinterWindow(), LoadString(61531), LoadString(1035), MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    return 1;
}

int CViewPrinterRole::RestoreTimeouts()
{
    if (!Link().Serial())
        return 0;
    if (!Link().Serial()->SetNewTimeoutSystem(m_savedTimeouts)) {
        MessageBox(PrinterWindow(), LoadString(61531), LoadString(1035), MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    return 1;
}
