#include "dialogs/ChooseLogoDlg.h"

#include "dialogs/DialogButtons.h"
#include "platform/UiSeam.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// Far more than any printer has; keeps a corrupt count from filling the list for ever.
constexpr int kMaxSlots = 1000;
} // namespace

CChooseLogoDlg::CChooseLogoDlg(QWidget* parent, int slotCount)
    : QDialog(parent)
    , m_listLogos(new QListWidget(this))
    , m_nSlots(slotCount)
{
    setObjectName(QStringLiteral("146"));
    setWindowTitle(QStringLiteral("Choose Logo"));
    m_listLogos->setObjectName(QStringLiteral("1004"));
    m_listLogos->setSortingEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_listLogos, 1);
    layout->addWidget(MakeDialogButtons(this));
}

int CChooseLogoDlg::DoModal()
{
    OnInitDialog();
    return RunModal(this);
}

void CChooseLogoDlg::OnInitDialog()
{
    m_listLogos->clear();
    const int count = std::min(m_nSlots, kMaxSlots);
    for (int slot = 1; slot <= count; ++slot)
        m_listLogos->addItem(QStringLiteral("Logo %1").arg(slot));
    if (m_listLogos->count() > 0)
        m_listLogos->setCurrentRow(0);
}

void CChooseLogoDlg::accept()
{
    m_nLogo = m_listLogos->currentRow() + 1; // currentRow() is -1 with nothing selected
    QDialog::accept();
}

void CChooseLogoDlg::reject()
{
    m_nLogo = 0;
    QDialog::reject();
}
