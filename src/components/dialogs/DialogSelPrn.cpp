#include "components/dialogs/DialogSelPrn.h"

#include "components/PortNames.h"
#include "components/UComAm.h"
#include "platform/UiSeam.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace {
// Short deadlines: the list is filled while the operator waits, one device
// after the other, and a printer that does not answer at once is shown as such.
constexpr int kProbeWriteMs = 500;
constexpr int kProbeReadMs = 300;
} // namespace

CDialogSelPrn::CDialogSelPrn(QWidget* parent, BYTE identifyMode)
    : QDialog(parent)
    , m_list(new QListWidget(this))
    , m_status(new QLabel(this))
    , m_nIdentifyMode(identifyMode)
{
    setWindowTitle(QStringLiteral("Select USB Printer"));
    m_list->setObjectName(QStringLiteral("printers"));
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDialogSelPrn::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CDialogSelPrn::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("USB printer to load the logo into:"), this));
    layout->addWidget(m_list, 1);
    layout->addWidget(m_status);
    layout->addWidget(buttons);
    resize(420, 300);
}

QString CDialogSelPrn::IdentificationText(BYTE id)
{
    // 0xFF is what the component gives when nothing came back.
    if (id == 0xFF)
        return QStringLiteral("no answer");
    return QStringLiteral("0x%1").arg(id, 2, 16, QLatin1Char('0'));
}

QString CDialogSelPrn::DescribePrinter(const QString& portName, const QString& device) const
{
    QString text = QStringLiteral("%1\t%2").arg(portName, device);
    if (m_nIdentifyMode != kAskIdentification)
        return text;
    CQvComAm probe;
    probe.SetTimeouts(kProbeWriteMs, kProbeReadMs);
    if (!probe.OpenPrinter(portName))
        return text + QStringLiteral("\tcannot be opened");
    const BYTE id = probe.GetPrinterGSI();
    probe.ClosePrinter();
    return text + QStringLiteral("\t") + IdentificationText(id);
}

void CDialogSelPrn::Fill()
{
    m_list->clear();
    for (const QString& name : ConfiguredPortNames()) {
        if (PortKindOf(name) != PortKind::Usb)
            continue;
        const QString device = PortDevice(name);
        if (device.isEmpty() || !QFileInfo::exists(device))
            continue;
        auto* item = new QListWidgetItem(DescribePrinter(name, device), m_list);
        item->setData(Qt::UserRole, name);
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    m_status->setText(m_list->count() > 0 ? QString() : QStringLiteral("No USB printer is connected."));
}

int CDialogSelPrn::DoModal()
{
    Fill();
    return RunModal(this);
}

void CDialogSelPrn::accept()
{
    QListWidgetItem* item = m_list->currentItem();
    if (!item)
        return; // nothing to choose: the dialog stays open
    const QString name = item->data(Qt::UserRole).toString();
    if (m_pUsbPrn && !m_pUsbPrn->OpenPrinter(name)) {
        m_status->setText(QStringLiteral("The printer %1 cannot be opened: %2").arg(name, m_pUsbPrn->LastErrorText()));
        return;
    }
    m_strPrnSelected = name;
    QDialog::accept();
}
