#include "dialogs/DialogDataExchange.h"

#include "platform/UiSeam.h"
#include "resources/StringTable.h"

#include <QLineEdit>

#include <limits>

namespace {

constexpr UINT kGlyphaneCaptionId = 61446;

void RefuseField(QWidget* owner, QLineEdit* edit, const QString& message)
{
    MessageBox(owner, message, LoadString(kGlyphaneCaptionId), MB_OK | MB_ICONEXCLAMATION);
    if (edit) {
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    }
}

} // namespace

QString IntegerExpectedMessage()
{
    return QStringLiteral("Please enter an integer.");
}

QString PositiveIntegerExpectedMessage()
{
    return QStringLiteral("Please enter a positive integer.");
}

QString IntegerRangeMessage(qlonglong minValue, qlonglong maxValue)
{
    return QStringLiteral("Please enter an integer between %1 and %2.").arg(minValue).arg(maxValue);
}

std::optional<qlonglong> ParseDialogNumber(const QString& text, bool isUnsigned)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    if (isUnsigned && (trimmed.startsWith(u'-') || trimmed.startsWith(u'+')))
        return std::nullopt;
    bool ok = false;
    const qlonglong value = trimmed.toLongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    const qlonglong low = isUnsigned ? 0 : std::numeric_limits<int>::min();
    const qlonglong high = isUnsigned ? qlonglong(std::numeric_limits<quint32>::max())
                                      : qlonglong(std::numeric_limits<int>::max());
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<qlonglong> ReadNumber(QWidget* owner, QLineEdit* edit, bool isUnsigned)
{
    const std::optional<qlonglong> value = ParseDialogNumber(edit ? edit->text() : QString(), isUnsigned);
    if (!value)
        RefuseField(owner, edit, isUnsigned ? PositiveIntegerExpectedMessage() : IntegerExpectedMessage());
    return value;
}

std::optional<qlonglong> ReadCheckedNumber(QWidget* owner, QLineEdit* edit, bool isUnsigned,
                                           qlonglong minValue, qlonglong maxValue)
{
    const std::optional<qlonglong> value = ReadNumber(owner, edit, isUnsigned);
    if (!value)
        return std::nullopt;
    if (*value < minValue || *value > maxValue) {
        RefuseField(owner, edit, IntegerRangeMessage(minValue, maxValue));
        return std::nullopt;
    }
    return value;
}
