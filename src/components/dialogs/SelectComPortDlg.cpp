#include "components/dialogs/SelectComPortDlg.h"

#include "components/PortNames.h"
#include "platform/UiSeam.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CDiaologSelectComPort::CDiaologSelectComPort(QWidget* parent, const QString& currentPort, int lptPermission)
    : QDialog(parent)
    , m_list(new QListWidget(this))
    , m_strCurrent(currentPort)
    , m_nLptPermission(lptPermission)
{
    setWindowTitle(QStringLiteral("Select Communication Port"));
    m_list->setObjectName(QStringLiteral("ports"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDiaologSelectComPort::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CDiaologSelectComPort::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Port the printer is connected to:"), this));
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(420, 360);
}

void CDiaologSelectComPort::Fill()
{
    m_list->clear();
    for (const QString& name : ConfiguredPortNames()) {
        const PortKind kind = PortKindOf(name);
        if ((kind == PortKind::Parallel && m_nLptPermission == 0) || (kind == PortKind::Usb && !m_bUsbEnabled))
            continue;
        const QString device = PortDevice(name);
        const bool present = !device.isEmpty() && QFileInfo::exists(device);
        auto* item = new QListWidgetItem(
            QStringLiteral("%1\t%2\t%3").arg(name, device, present ? QStringLiteral("present") : QStringLiteral("absent")),
            m_list);
        item->setData(Qt::UserRole, name);
        if (name == m_strCurrent)
            m_list->setCurrentItem(item);
    }
    if (!m_list->currentItem() && m_list->count() > 0)
        m_list->setCurrentRow(0);
}

int CDiaologSelectComPort::DoModal()
{
    Fill(); // the caller may switch USB on after construction
    return RunModal(this);
}

void CDiaologSelectComPort::accept()
{
    QListWidgetItem* item = m_list->currentItem();
    if (!item)
        return; // nothing chosen: the dialog stays open
    m_strPort = item->data(Qt::UserRole).toString();
    QDialog::accept();
}
