#pragma once
// Small text conversions shared by the printer code.
#include "platform/WinTypes.h"

#include <QChar>
#include <QString>

class CConversioni {
public:
    // Decimal value of text (blanks around it allowed, optional sign); 0 when
    // the text is not a decimal number or does not fit an int.
    static int CtringToInt(const QString& text);
    // text with every occurrence of ch removed.
    static QString CleanCharInCString(const QString& text, QChar ch);
    // A release number is one or more groups of decimal digits separated by
    // single dots, with at least one dot: "1.23", "01.02.03". Nothing else is
    // allowed, not even blanks, so that the digits left after removing the
    // dots always form a number.
    static BOOL IsRelease(const QString& text);
    // Splits text at the first sep; fails (outputs untouched) when sep is
    // absent. Either output pointer may be null.
    static BOOL BreakString(const QString& text, QChar sep, QString* before, QString* after);
};
