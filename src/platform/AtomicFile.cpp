#include "platform/AtomicFile.h"

#include <QSaveFile>

bool WriteFileAtomically(const QString& path, const QList<QByteArray>& parts, QString* error)
{
    QSaveFile file(path);
    auto fail = [&] {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail();
    for (const QByteArray& part : parts)
        if (file.write(part) != part.size())
            return fail();
    // The writes above may only have filled Qt's buffer; a write error during
    // the final flush is not reliably reported by commit(), so flush first.
    if (!file.flush())
        return fail();
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
