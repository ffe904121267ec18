#include "dialogs/FindPrintersDlg.h"

#include "platform/UiSeam.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CFindPrintersDlg::CFindPrintersDlg(QWidget* parent, Scan scan)
    : QDialog(parent)
    , m_scan(std::move(scan))
    , m_list(new QListWidget(this))
    , m_status(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Find Printers"));
    m_list->setObjectName(QStringLiteral("findings"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Connect"));
    QPushButton* again = buttons->addButton(QStringLiteral("&Scan Again"), QDialogButtonBox::ActionRole);
    connect(again, &QPushButton::clicked, this, &CFindPrintersDlg::Rescan);
    connect(buttons, &QDialogButtonBox::accepted, this, &CFindPrintersDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CFindPrintersDlg::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Printers found on the ports:"), this));
    layout->addWidget(m_list, 1);
    layout->addWidget(m_status);
    layout->addWidget(buttons);
    resize(560, 320);
}

int CFindPrintersDlg::DoModal()
{
    Rescan();
    return RunModal(this);
}

void CFindPrintersDlg::Rescan()
{
    // Every port is asked at once and each within its deadlines: a few
    // seconds at most, under the wait cursor.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_findings = m_scan ? m_scan() : std::vector<CPortFinding>{};
    QGuiApplication::restoreOverrideCursor();
    m_list->clear();
    int found = 0;
    for (const CPortFinding& f : m_findings) {
        auto* item = new QListWidgetItem(FindingLine(f).replace(QLatin1Char('\t'), QStringLiteral("   ")), m_list);
        if (f.state != ScanState::Found)
            item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
        else if (found++ == 0)
            m_list->setCurrentItem(item);
    }
    m_status->setText(m_findings.empty() ? QStringLiteral("No port has its device here.")
                      : found == 0       ? QStringLiteral("No printer answered on any port.")
                                         : QStringLiteral("%1 printer(s) found.").arg(found));
}

void CFindPrintersDlg::accept()
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= static_cast<int>(m_findings.size())
        || m_findings[static_cast<size_t>(row)].state != ScanState::Found)
        return; // nothing to connect to: the dialog stays open
    m_chosen = m_findings[static_cast<size_t>(row)];
    QDialog::accept();
}
