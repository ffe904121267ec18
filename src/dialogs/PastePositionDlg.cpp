#include "dialogs/PastePositionDlg.h"

#include "dialogs/DialogButtons.h"
#include "dialogs/DialogDataExchange.h"
#include "platform/UiSeam.h"
#include "resources/StringTable.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr UINT kLimitsErrorId = 61536;
constexpr UINT kErrorCaptionId = 1035;

bool IsAllDigits(const QString& text)
{
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

} // namespace

CPastePositionDlg::CPastePositionDlg(QWidget* parent)
    : QDialog(parent)
    , m_editX(new QLineEdit(this))
    , m_editY(new QLineEdit(this))
{
    setObjectName(QStringLiteral("202"));
    setWindowTitle(QString());
    m_editX->setObjectName(QStringLiteral("1030"));
    m_editY->setObjectName(QStringLiteral("1031"));

    auto* box = new QGroupBox(QStringLiteral("Select Past Position..."), this);
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel(QStringLiteral("X POS."), box), 0, 0);
    grid->addWidget(m_editX, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Y POS."), box), 1, 0);
    grid->addWidget(m_editY, 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(MakeDialogButtons(this));

    connect(m_editX, &QLineEdit::textChanged, this, [this] { OnEditChange(m_editX, m_strLastX); });
    connect(m_editY, &QLineEdit::textChanged, this, [this] { OnEditChange(m_editY, m_strLastY); });
}

void CPastePositionDlg::SetLimits(int* px, int* py)
{
    m_pX = px;
    m_pY = py;
    m_nLimitX = px ? *px : 0;
    m_nLimitY = py ? *py : 0;
    if (px)
        *px = 0;
    if (py)
        *py = 0;
}

int CPastePositionDlg::DoModal()
{
    OnInitDialog();
    return RunModal(this);
}

void CPastePositionDlg::OnInitDialog()
{
    m_dwX = m_pX ? static_cast<DWORD>(*m_pX) : 0;
    m_dwY = m_pY ? static_cast<DWORD>(*m_pY) : 0;
    m_strLastX.clear();
    m_strLastY.clear();
    m_editX->setText(QString::number(m_dwX));
    m_editY->setText(QString::number(m_dwY));
    m_editX->selectAll();
    m_editX->setFocus(Qt::OtherFocusReason);
}

void CPastePositionDlg::OnEditChange(QLineEdit* edit, QString& lastAccepted)
{
    const QString text = edit->text();
    if (IsAllDigits(text)) {
        lastAccepted = text;
        return;
    }
    // Putting the last digits back fires this again, with a text that passes.
    const int cursor = std::max(0, edit->cursorPosition() - int(text.size() - lastAccepted.size()));
    edit->setText(lastAccepted);
    edit->setCursorPosition(std::min(cursor, int(lastAccepted.size())));
}

// The limits are signed and the position unsigned: compared as wide signed
// numbers, a limit of 0 or below admits no position at all instead of
// wrapping round to a huge one.
bool CPastePositionDlg::IsInsideLimits() const
{
    return qint64(m_dwX) < qint64(m_nLimitX) && qint64(m_dwY) < qint64(m_nLimitY);
}

void CPastePositionDlg::ShowLimitsError()
{
    MessageBox(this, FormatResString(kLimitsErrorId, m_nLimitX, m_nLimitY), LoadString(kErrorCaptionId),
               MB_OK | MB_ICONSTOP);
}

void CPastePositionDlg::accept()
{
    const std::optional<qlonglong> x = ReadNumber(this, m_editX, true);
    if (!x)
        return;
    const std::optional<qlonglong> y = ReadNumber(this, m_editY, true);
    if (!y)
        return;
    m_dwX = static_cast<DWORD>(*x);
    m_dwY = static_cast<DWORD>(*y);
    if (!IsInsideLimits()) {
        ShowLimitsError();
        return;
    }
    if (m_pX)
        *m_pX = static_cast<int>(m_dwX);
    if (m_pY)
        *m_pY = static_cast<int>(m_dwY);
    QDialog::accept();
}
