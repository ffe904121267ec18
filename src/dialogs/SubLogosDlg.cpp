#include "dialogs/SubLogosDlg.h"

#include "dialogs/DialogButtons.h"
#include "platform/UiSeam.h"
#include "resources/StringTable.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr UINT kNoLogoTickedId = 61534;
constexpr UINT kErrorCaptionId = 1035;
constexpr int kFirstBoxId = 1017;

} // namespace

CSubLogosDlg::CSubLogosDlg(QWidget* parent)
    : QDialog(parent)
    , m_modeGroup(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("199"));
    setWindowTitle(QStringLiteral("Select Sub Logos"));

    auto* box = new QGroupBox(QStringLiteral("Select Logo to Print"), this);
    box->setObjectName(QStringLiteral("1023"));
    auto* grid = new QGridLayout(box);
    auto* all = new QRadioButton(QStringLiteral("Print All Logo"), box);
    all->setObjectName(QStringLiteral("1021"));
    auto* part = new QRadioButton(QStringLiteral("Print Part of Logo:"), box);
    part->setObjectName(QStringLiteral("1022"));
    m_modeGroup->addButton(all, PrintAll);
    m_modeGroup->addButton(part, PrintPart);
    grid->addWidget(all, 0, 0);
    grid->addWidget(part, 1, 0);
    for (int i = 0; i < kSubLogoCount; ++i) {
        m_boxes[i] = new QCheckBox(QStringLiteral("SubLogo %1").arg(i + 1, 2, 10, QLatin1Char('0')), box);
        m_boxes[i]->setObjectName(QString::number(kFirstBoxId + i));
        grid->addWidget(m_boxes[i], 2 + i, 1);
    }
    connect(m_modeGroup, &QButtonGroup::idClicked, this, [this] { OnModeClicked(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(MakeDialogButtons(this, QStringLiteral("PRINT")));
}

std::array<int*, CSubLogosDlg::kSubLogoCount> CSubLogosDlg::Ticks()
{
    return {&m_bSubLogo01, &m_bSubLogo02, &m_bSubLogo03, &m_bSubLogo04};
}

int CSubLogosDlg::DoModal()
{
    OnInitDialog();
    return RunModal(this);
}

void CSubLogosDlg::OnInitDialog()
{
    m_nMode = PrintAll;
    for (int* tick : Ticks())
        *tick = 1;
    ShowControls();
    EnableSubLogoBoxes();
}

void CSubLogosDlg::ShowControls()
{
    m_modeGroup->button(m_nMode)->setChecked(true);
    const auto ticks = Ticks();
    for (int i = 0; i < kSubLogoCount; ++i)
        m_boxes[i]->setChecked(*ticks[i] != 0);
}

void CSubLogosDlg::ReadControls()
{
    m_nMode = m_modeGroup->checkedId();
    const auto ticks = Ticks();
    for (int i = 0; i < kSubLogoCount; ++i)
        *ticks[i] = m_boxes[i]->isChecked() ? 1 : 0;
}

void CSubLogosDlg::EnableSubLogoBoxes()
{
    for (QCheckBox* box : m_boxes)
        box->setEnabled(m_nMode == PrintPart);
}

void CSubLogosDlg::OnModeClicked()
{
    ReadControls();
    EnableSubLogoBoxes();
}

int CSubLogosDlg::TickedMask() const
{
    return (m_bSubLogo01 ? 1 : 0) | (m_bSubLogo02 ? 2 : 0) | (m_bSubLogo03 ? 4 : 0) | (m_bSubLogo04 ? 8 : 0);
}

void CSubLogosDlg::accept()
{
    ReadControls();
    // Checked whatever the mode: the boxes may still show the ticks even when
    // the whole logo is to be printed.
    if (TickedMask() == 0) {
        MessageBox(this, LoadString(kNoLogoTickedId), LoadString(kErrorCaptionId), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_nMask = m_nMode == PrintPart ? TickedMask() : kAllLogosMask;
    QDialog::accept();
}
