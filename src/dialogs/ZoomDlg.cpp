#include "dialogs/ZoomDlg.h"

#include "dialogs/DialogButtons.h"
#include "dialogs/DialogDataExchange.h"
#include "platform/UiSeam.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

struct ZoomStep {
    int id;
    int percent;
};
constexpr ZoomStep kZoomSteps[] = {{61481, 200}, {61482, 400}, {61483, 600}, {61484, 800}};

int PercentOf(double zoomFactor)
{
    const double percent = std::round(zoomFactor * 100.0);
    if (!std::isfinite(percent) || percent < 0.0 || percent > 1.0e9)
        return 0; // shown as is and refused on OK
    return static_cast<int>(percent);
}

} // namespace

CZoomDlg::CZoomDlg(QWidget* parent, double zoomFactor)
    : QDialog(parent)
    , m_nZoom(PercentOf(zoomFactor))
    , m_edit(new QLineEdit(this))
{
    setObjectName(QStringLiteral("169"));
    setWindowTitle(QStringLiteral("Zoom"));
    m_edit->setObjectName(QStringLiteral("1012"));

    auto* current = new QHBoxLayout;
    current->addWidget(new QLabel(QStringLiteral("Current Zoom: "), this));
    current->addWidget(m_edit, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(current);
    layout->addWidget(MakeZoomToGroup());
    layout->addWidget(MakeDialogButtons(this));
}

QWidget* CZoomDlg::MakeZoomToGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Zoom to"), this);
    group->setObjectName(QStringLiteral("61490"));
    auto* row = new QHBoxLayout(group);
    for (const ZoomStep& step : kZoomSteps) {
        auto* button = new QRadioButton(QStringLiteral("%1%").arg(step.percent), group);
        button->setObjectName(QString::number(step.id));
        connect(button, &QRadioButton::clicked, this, [this, percent = step.percent] { OnZoomTo(percent); });
        row->addWidget(button);
    }
    return group;
}

int CZoomDlg::DoModal()
{
    OnInitDialog();
    return RunModal(this);
}

void CZoomDlg::OnInitDialog()
{
    m_edit->setText(QString::number(m_nZoom));
    m_edit->selectAll();
    m_edit->setFocus(Qt::OtherFocusReason);
}

void CZoomDlg::OnZoomTo(int percent)
{
    m_nZoom = percent;
    m_edit->setText(QString::number(m_nZoom));
}

void CZoomDlg::accept()
{
    const std::optional<qlonglong> percent = ReadCheckedNumber(this, m_edit, false, kMinPercent, kMaxPercent);
    if (!percent)
        return;
    m_nZoom = static_cast<int>(*percent);
    QDialog::accept();
}
