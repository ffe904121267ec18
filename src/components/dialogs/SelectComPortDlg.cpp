#include "components/dialogs/SelectComPortDlg.h"

#include "components/PortNames.h"
#include "platform/UiSeam.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CDiaologSelectComPort::CDiaologSelectComPort(QWidget* parent, const QString& currentPort, int lptPermission)
    : QDialog(parent)
    , m_list(new QTreeWidget(this))
    , m_strCurrent(currentPort)
    , m_nLptPermission(lptPermission)
{
    setWindowTitle(QStringLiteral("Select Communication Port"));
    m_list->setObjectName(QStringLiteral("ports"));
    m_list->setColumnCount(3);
    m_list->setHeaderLabels({QStringLiteral("Port"), QStringLiteral("Device"), QStringLiteral("Present")});
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* find = buttons->addButton(QStringLiteral("&Find Printers..."), QDialogButtonBox::ActionRole);
    find->setObjectName(QStringLiteral("findPrinters"));
    connect(find, &QPushButton::clicked, this, [this] { done(kFindPrinters); });
    connect(buttons, &QDialogButtonBox::accepted, this, &CDiaologSelectComPort::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CDiaologSelectComPort::accept);
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
        auto* item = new QTreeWidgetItem(
            m_list, {name, device, present ? QStringLiteral("present") : QStringLiteral("absent")});
        item->setData(0, Qt::UserRole, name);
        if (name == m_strCurrent)
            m_list->setCurrentItem(item);
    }
    if (!m_list->currentItem() && m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
    for (int column = 0; column < m_list->columnCount(); ++column)
        m_list->resizeColumnToContents(column);
}

int CDiaologSelectComPort::DoModal()
{
    Fill(); // the caller may switch USB on after construction
    const int answer = RunModal(this);
    return result() == kFindPrinters ? kFindPrinters : answer;
}

void CDiaologSelectComPort::accept()
{
    QTreeWidgetItem* item = m_list->currentItem();
    if (!item)
        return; // nothing chosen: the dialog stays open
    m_strPort = item->data(0, Qt::UserRole).toString();
    QDialog::accept();
}
