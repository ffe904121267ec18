#include "components/dialogs/MessageDlg.h"

#include "platform/PostedMessage.h"

#include <QLabel>
#include <algorithm>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CDialogMessage::CDialogMessage(QWidget* parent, const QString& text, const QString& caption)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("2003"));
    setWindowTitle(caption);
    setModal(false);
    auto* label = new QLabel(text, this);
    label->setMinimumWidth(260);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
}

void CDialogMessage::Create()
{
    show();
    raise();
}

CDialogThreadStatus::CDialogThreadStatus(QWidget* parent, const QString& text, const QString& caption,
                                         UINT stopMessage)
    : QDialog(parent)
    , m_progress(new QProgressBar(this))
    , m_parent(parent)
    , m_nStopMessage(stopMessage)
{
    setObjectName(QStringLiteral("2002"));
    setWindowTitle(caption);
    setModal(false);
    auto* stop = new QPushButton(QStringLiteral("Stop"), this);
    stop->setObjectName(QStringLiteral("stop"));
    connect(stop, &QPushButton::clicked, this, &CDialogThreadStatus::OnStop);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(text, this));
    layout->addWidget(m_progress);
    m_details = new QLabel(this);
    m_details->setObjectName(QStringLiteral("details"));
    layout->addWidget(m_details);
    layout->addWidget(stop, 0, Qt::AlignRight);
    m_progress->setMinimumWidth(300);
}

void CDialogThreadStatus::Create()
{
    show();
    raise();
}

void CDialogThreadStatus::InitPcThread(int lower, int upper, int step, int position)
{
    m_progress->setRange(lower, std::max(lower, upper));
    m_nStep = step;
    m_progress->setValue(position);
}

void CDialogThreadStatus::SetDetails(const QString& text)
{
    m_details->setText(text);
}

QString CDialogThreadStatus::Details() const
{
    return m_details->text();
}

void CDialogThreadStatus::StepIt()
{
    // Like the old progress control: past the upper bound it starts again.
    int next = m_progress->value() + m_nStep;
    if (next > m_progress->maximum())
        next = m_progress->minimum() + (next - m_progress->maximum());
    m_progress->setValue(next);
}

void CDialogThreadStatus::OnStop()
{
    PostMessage(m_parent, m_nStopMessage, 0, 0);
}

void CDialogThreadStatus::reject()
{
    OnStop();
}
