#include "dialogs/PixelSizeDlg.h"

#include "dialogs/DialogButtons.h"
#include "dialogs/DialogDataExchange.h"
#include "platform/UiSeam.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

CPixelSizeDlg::CPixelSizeDlg(QWidget* parent, UINT width)
    : QDialog(parent)
    , m_nWidth(width)
    , m_label(new QLabel(this))
    , m_edit(new QLineEdit(this))
{
    setObjectName(QStringLiteral("133"));
    setWindowTitle(QStringLiteral("Tool pixel size"));
    m_label->setObjectName(QStringLiteral("1003"));
    m_edit->setObjectName(QStringLiteral("1004"));
    // The edit takes digits only, as the old number-style edit did.
    m_edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_edit));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_edit);
    layout->addWidget(MakeDialogButtons(this));
}

int CPixelSizeDlg::DoModal()
{
    OnInitDialog();
    return RunModal(this);
}

// The members are shown when the dialog opens, so a caller may still set the
// label between construction and DoModal.
void CPixelSizeDlg::OnInitDialog()
{
    m_label->setText(m_strLabel.left(kMaxLabelLength));
    m_edit->setText(QString::number(m_nWidth));
    m_edit->selectAll();
    m_edit->setFocus(Qt::OtherFocusReason);
}

void CPixelSizeDlg::accept()
{
    const std::optional<qlonglong> width = ReadCheckedNumber(this, m_edit, true, kMinWidth, kMaxWidth);
    if (!width)
        return;
    m_nWidth = static_cast<UINT>(*width);
    QDialog::accept();
}
