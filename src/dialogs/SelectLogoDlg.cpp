#include "dialogs/SelectLogoDlg.h"

#include "dialogs/DialogButtons.h"
#include "platform/UiSeam.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

CSelectLogoDlg::CSelectLogoDlg(QWidget* parent, const QStringList* texts)
    : QDialog(parent)
    , m_listLogos(new QListWidget(this))
    , m_pTexts(texts)
{
    setObjectName(QStringLiteral("198"));
    setWindowTitle(QStringLiteral("Select Logo..."));
    m_listLogos->setObjectName(QStringLiteral("1015"));
    connect(m_listLogos, &QListWidget::currentRowChanged, this, [this] { OnSelChange(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_listLogos, 1);
    layout->addWidget(MakeDialogButtons(this));
}

int CSelectLogoDlg::DoModal()
{
    OnInitDialog();
    return RunModal(this);
}

void CSelectLogoDlg::OnInitDialog()
{
    m_listLogos->clear();
    if (m_pTexts) {
        const qsizetype count = std::min<qsizetype>(m_pTexts->size(), kMaxEntries);
        for (qsizetype i = 0; i < count; ++i)
            m_listLogos->addItem(m_pTexts->at(i));
    }
    if (m_listLogos->count() > 0)
        m_listLogos->setCurrentRow(0);
    OnSelChange();
}

void CSelectLogoDlg::OnSelChange()
{
    m_nSelected = m_listLogos->currentRow();
}
