#include "FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace fuzzsupport {

namespace {

void DropMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "Qt fatal: %s\n", qPrintable(message));
        std::abort();
    }
}

QTemporaryDir& Scratch()
{
    // Memory-backed when there is such a folder: the readers that take a path
    // are fed a file on every run.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/glyphane-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/glyphane-fuzz-XXXXXX"));
    return dir;
}

} // namespace

void CheckFailed(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "FUZZ_CHECK failed: %s (%s:%d)\n", condition, file, line);
    std::abort();
}

void SilenceQt()
{
    qInstallMessageHandler(DropMessage);
}

QByteArray Bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

QString ScratchFolder()
{
    FUZZ_CHECK(Scratch().isValid());
    return Scratch().path() + QLatin1Char('/');
}

QString WriteScratchFile(const QString& name, const QByteArray& bytes)
{
    const QString path = ScratchFolder() + name;
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
    return path;
}

} // namespace fuzzsupport
