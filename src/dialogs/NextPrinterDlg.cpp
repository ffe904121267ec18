#include "dialogs/NextPrinterDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CNextPrinterDlg::CNextPrinterDlg(QWidget* parent)
    : QDialog(parent)
    , m_state(new QLabel(this))
    , m_counts(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Program Next Printer"));
    m_state->setObjectName(QStringLiteral("state"));
    m_counts->setObjectName(QStringLiteral("counts"));
    m_counts->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* stop = buttons->addButton(QStringLiteral("&Stop"), QDialogButtonBox::RejectRole);
    stop->setObjectName(QStringLiteral("stop"));
    connect(buttons, &QDialogButtonBox::rejected, this, &CNextPrinterDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_state);
    layout->addWidget(m_counts);
    layout->addWidget(buttons);
    SetCounts(0, 0, QString());
}

void CNextPrinterDlg::SetState(const QString& text)
{
    m_state->setText(text);
}

void CNextPrinterDlg::SetCounts(int done, int failed, const QString& lastFailure)
{
    QString text = QStringLiteral("Done: %1    Failed: %2").arg(done).arg(failed);
    if (!lastFailure.isEmpty())
        text += QStringLiteral("\nLast failure: %1").arg(lastFailure);
    m_counts->setText(text);
}

QString CNextPrinterDlg::StateText() const
{
    return m_state->text();
}

QString CNextPrinterDlg::CountsText() const
{
    return m_counts->text();
}

void CNextPrinterDlg::reject()
{
    emit Stopped();
    QDialog::reject();
}
