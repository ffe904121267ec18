#include "dialogs/ImagePositionDlg.h"

#include "dialogs/DialogButtons.h"
#include "platform/UiSeam.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

struct PositionChoice {
    int id;
    const char* text;
};
constexpr PositionChoice kChoices[] = {
    {1025, "Center"}, {1026, "Left"}, {1027, "Stretch"}, {1028, "Tile"}, {1030, "Resize"}};

} // namespace

CImagePositionDlg::CImagePositionDlg(QWidget* parent)
    : QDialog(parent)
    , m_group(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("201"));
    setWindowTitle(QStringLiteral("Image Position..."));

    auto* box = new QGroupBox(QStringLiteral("Select Image Position on Logo:"), this);
    box->setObjectName(QStringLiteral("1029"));
    AddRadioColumn(box, m_group, kChoices);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(MakeDialogButtons(this, QStringLiteral("OK"), DialogCancel::None));
}

int CImagePositionDlg::DoModal()
{
    OnInitDialog();
    return RunModal(this);
}

void CImagePositionDlg::OnInitDialog()
{
    m_nPosition = Center;
    m_group->button(m_nPosition)->setChecked(true);
}

void CImagePositionDlg::StoreResult(int position)
{
    if (m_pResult)
        *m_pResult = position;
}

void CImagePositionDlg::accept()
{
    const int checked = m_group->checkedId();
    if (checked >= 0)
        m_nPosition = checked;
    StoreResult(m_nPosition);
    QDialog::accept();
}

void CImagePositionDlg::reject()
{
    StoreResult(Center);
    QDialog::reject();
}
