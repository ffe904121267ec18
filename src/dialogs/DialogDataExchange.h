#pragma once
// Reading numbers out of dialog edits with the framework's standard checks:
// a text that is no number, or a number outside its range, is answered with
// the usual message box (through the UI seam), the edit gets the focus back
// with its text selected, and the caller keeps the dialog open.
#include "platform/WinTypes.h"

#include <QString>
#include <QtGlobal>

#include <optional>

class QLineEdit;
class QWidget;

// The standard messages, exactly as the operator sees them.
QString IntegerExpectedMessage();         // a signed field held something else
QString PositiveIntegerExpectedMessage(); // an unsigned field held something else
QString IntegerRangeMessage(qlonglong minValue, qlonglong maxValue);

// The decimal number in text (blanks around it allowed), or nothing when the
// text is empty, not a number, or does not fit the field: an unsigned field
// refuses a sign and anything above 0xFFFFFFFF, a signed one anything outside
// the 32-bit int range.
std::optional<qlonglong> ParseDialogNumber(const QString& text, bool isUnsigned);

// The number in edit when it parses and lies in minValue .. maxValue; otherwise
// the matching message is shown over owner, the edit is focused and selected,
// and nothing is returned.
std::optional<qlonglong> ReadCheckedNumber(QWidget* owner, QLineEdit* edit, bool isUnsigned,
                                           qlonglong minValue, qlonglong maxValue);

// The number in edit for a field without a range (any 32-bit value of its kind).
std::optional<qlonglong> ReadNumber(QWidget* owner, QLineEdit* edit, bool isUnsigned);
