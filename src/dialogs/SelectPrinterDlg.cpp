#include "dialogs/SelectPrinterDlg.h"

#include "components/LoadCfgFileApp.h"
#include "platform/UiSeam.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CSelectPrinterDlg::CSelectPrinterDlg(QWidget* parent, const CLoadCfgFileApp* printerList, QString* model,
                                     QString* cfgFile)
    : QDialog(parent)
    , m_list(new QListWidget(this))
    , m_selectedEdit(new QLineEdit(this))
    , m_pPrinterList(printerList)
    , m_pModel(model)
    , m_pCfgFile(cfgFile)
{
    setObjectName(QStringLiteral("142"));
    setWindowTitle(QStringLiteral("Select Printer"));
    m_list->setObjectName(QStringLiteral("1002"));
    m_selectedEdit->setObjectName(QStringLiteral("1005"));
    m_selectedEdit->setReadOnly(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CSelectPrinterDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSelectPrinterDlg::reject);

    auto* selectedRow = new QHBoxLayout;
    selectedRow->addWidget(new QLabel(QStringLiteral("Selected printer:"), this));
    selectedRow->addWidget(m_selectedEdit, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(selectedRow);
    layout->addWidget(buttons);

    if (m_pPrinterList) {
        for (int i = kFirstOfferedEntry; i < m_pPrinterList->GetPrinterCount(); ++i)
            m_list->addItem(m_pPrinterList->GetPrinterName(i));
    }
    if (m_list->count() > 0) {
        m_list->setCurrentRow(0);
        OnSelChange();
    }
    connect(m_list, &QListWidget::currentRowChanged, this, [this] { OnSelChange(); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
    resize(360, 320);
}

int CSelectPrinterDlg::DoModal()
{
    return RunModal(this);
}

void CSelectPrinterDlg::OnSelChange()
{
    QListWidgetItem* item = m_list->currentItem();
    m_strSelected = item ? item->text() : QString();
    m_selectedEdit->setText(m_strSelected);
}

void CSelectPrinterDlg::accept()
{
    const int p = m_list->currentRow();
    // With nothing offered or nothing chosen, OK means the same as Cancel.
    if (p < 0 || !m_pPrinterList || p + kFirstOfferedEntry >= m_pPrinterList->GetPrinterCount()) {
        reject();
        return;
    }
    m_strModel = m_pPrinterList->GetPrinterName(p + kFirstOfferedEntry);
    m_strCfgFile = m_pPrinterList->GetPrinterCfgFile(p + kFirstOfferedEntry);
    if (m_pModel)
        *m_pModel = m_strModel;
    if (m_pCfgFile)
        *m_pCfgFile = m_strCfgFile;
    QDialog::accept();
}

void CSelectPrinterDlg::reject()
{
    if (m_pModel)
        m_pModel->clear();
    if (m_pCfgFile)
        m_pCfgFile->clear();
    QDialog::reject();
}
