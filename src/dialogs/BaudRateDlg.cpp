#include "dialogs/BaudRateDlg.h"

#include "dialogs/DialogButtons.h"
#include "platform/UiSeam.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include <iterator>

namespace {

struct BaudChoice {
    int id;
    int rate;
    const char* text;
};
constexpr BaudChoice kChoices[] = {
    {1033, 9600, "9600\n(recommended)"}, {1034, 19200, "19200"}, {1035, 38400, "38400"}};

} // namespace

CBaudRateDlg::CBaudRateDlg(QWidget* parent)
    : QDialog(parent)
    , m_group(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("206"));
    setWindowTitle(QStringLiteral("Select BaudRate..."));

    auto* box = new QGroupBox(QStringLiteral("Select Printer BaudRate:"), this);
    AddRadioColumn(box, m_group, kChoices);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(MakeDialogButtons(this));
}

int CBaudRateDlg::DoModal()
{
    OnInitDialog();
    return RunModal(this);
}

void CBaudRateDlg::OnInitDialog()
{
    m_nBaudRate = kChoices[0].rate;
    m_nChoice = 0;
    m_group->button(m_nChoice)->setChecked(true);
}

void CBaudRateDlg::accept()
{
    m_nChoice = m_group->checkedId();
    if (m_nChoice >= 0 && m_nChoice < int(std::size(kChoices)))
        m_nBaudRate = kChoices[m_nChoice].rate;
    QDialog::accept();
}

void CBaudRateDlg::reject()
{
    m_nBaudRate = 0;
    QDialog::reject();
}
