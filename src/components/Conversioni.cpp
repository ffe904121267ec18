#include "components/Conversioni.h"

#include <QStringList>

int CConversioni::CtringToInt(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

QString CConversioni::CleanCharInCString(const QString& text, QChar ch)
{
    QString result = text;
    result.remove(ch);
    return result;
}

BOOL CConversioni::IsRelease(const QString& text)
{
    const QStringList groups = text.split(QLatin1Char('.'));
    if (groups.size() < 2)
        return FALSE;
    for (const QString& group : groups) {
        if (group.isEmpty())
            return FALSE;
        for (QChar c : group) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return FALSE;
        }
    }
    return TRUE;
}

BOOL CConversioni::BreakString(const QString& text, QChar sep, QString* before, QString* after)
{
    const qsizetype at = text.indexOf(sep);
    if (at < 0)
        return FALSE;
    if (before != nullptr)
        *before = text.left(at);
    if (after != nullptr)
        *after = text.mid(at + 1);
    return TRUE;
}
