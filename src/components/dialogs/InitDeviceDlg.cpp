#include "components/dialogs/InitDeviceDlg.h"

#include "platform/UiSeam.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

CDialogInitHint::CDialogInitHint(QWidget* parent, int* showFlag, const QString& title, const QString& text)
    : QDialog(parent)
    , m_pShowFlag(showFlag)
    , m_box(new QCheckBox(QStringLiteral("Do not show this message again"), this))
{
    setWindowTitle(title);
    auto* label = new QLabel(text, this);
    label->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDialogInitHint::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_box);
    layout->addWidget(buttons);
}

int CDialogInitHint::DoModal()
{
    return RunModal(this);
}

void CDialogInitHint::accept()
{
    if (m_box->isChecked() && m_pShowFlag)
        *m_pShowFlag = 0;
    QDialog::accept();
}

CDialogInitDevice::CDialogInitDevice(QWidget* parent, int* showFlag)
    : CDialogInitHint(parent, showFlag, QStringLiteral("Printer initialisation"),
                      QStringLiteral("Switch the printer on and connect its serial cable to the chosen port. "
                                     "Wait until the printer is ready (the paper LED stops blinking) before "
                                     "pressing OK."))
{
}

CDialogInitGenericPrn::CDialogInitGenericPrn(QWidget* parent, int* showFlag)
    : CDialogInitHint(parent, showFlag, QStringLiteral("Printer initialisation"),
                      QStringLiteral("Switch the printer on, load paper and connect it to the chosen port, then "
                                     "press OK."))
{
}
