#include "dialogs/QzHeaderDlg.h"

#include "dialogs/DialogButtons.h"
#include "dialogs/DialogDataExchange.h"
#include "platform/UiSeam.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CQzHeaderDlg::CQzHeaderDlg(QWidget* parent)
    : QDialog(parent)
    , m_editRelease(new QLineEdit(this))
    , m_editVersion(new QLineEdit(this))
{
    setObjectName(QStringLiteral("197"));
    setWindowTitle(QStringLiteral("QZ Header"));
    m_editRelease->setObjectName(QStringLiteral("1014"));
    m_editVersion->setObjectName(QStringLiteral("1015"));

    auto* box = new QGroupBox(QStringLiteral("Heder file data"), this);
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel(QStringLiteral("Release:"), box), 0, 0);
    grid->addWidget(m_editRelease, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Version:"), box), 1, 0);
    grid->addWidget(m_editVersion, 1, 1);

    // OK stands tall and narrow to the right of the numbers.
    QDialogButtonBox* buttons = MakeDialogButtons(this, QStringLiteral("OK"), DialogCancel::HiddenAndDisabled);
    buttons->setOrientation(Qt::Vertical);
    if (QPushButton* ok = DialogButton(this, IDOK))
        ok->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(box, 1);
    layout->addWidget(buttons);
}

int CQzHeaderDlg::DoModal()
{
    OnInitDialog();
    return RunModal(this);
}

void CQzHeaderDlg::OnInitDialog()
{
    m_editRelease->setText(QString::number(m_nRelease));
    m_editVersion->setText(QString::number(m_nVersion));
    m_editRelease->selectAll();
    m_editRelease->setFocus(Qt::OtherFocusReason);
    CenterOverOwner();
}

void CQzHeaderDlg::CenterOverOwner()
{
    adjustSize();
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner)
        return; // a dialog without a parent is placed by the window system
    QRect frame = frameGeometry();
    frame.moveCenter(owner->frameGeometry().center());
    move(frame.topLeft());
}

void CQzHeaderDlg::accept()
{
    // Read in control order, so a refusal always points at the first bad field.
    const std::optional<qlonglong> release = ReadCheckedNumber(this, m_editRelease, true, 0, kMaxNumber);
    if (!release)
        return;
    const std::optional<qlonglong> version = ReadCheckedNumber(this, m_editVersion, true, 0, kMaxNumber);
    if (!version)
        return;
    m_nRelease = static_cast<UINT>(*release);
    m_nVersion = static_cast<UINT>(*version);
    QDialog::accept();
}
