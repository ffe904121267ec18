#include "components/LogFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>

namespace {

QStringList ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

const QRegularExpression kLine(
    QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} (.*)$"));

} // namespace

TEST(LogFile, LinesAreStampedAndAppended)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Glyphane.log"));
    {
        QFile existing(path);
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("old line\n");
    }
    CLogFile log(QString(), QStringLiteral("COM1"), QStringLiteral("03F8"), QStringLiteral("IRQ4"),
                 QStringLiteral("BAUD9600"), QStringLiteral("PAR_NONE"), QStringLiteral("LENGTH_8"),
                 QStringLiteral("STOPBIT_1"));
    EXPECT_EQ(log.ConstructionString(7), QStringLiteral("STOPBIT_1"));
    ASSERT_TRUE(log.CreateLogFile(nullptr, path));
    log.LogToFile("AfxEnableControlContainer()");
    log.LogToFile(QStringLiteral("[CGlyphaneView::SendDataToLptPort()] Begin send logo to printer (3)"), 0);
    log.LogToFile(static_cast<const char*>(nullptr));

    const QStringList lines = ReadLines(path);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("old line"));
    const auto first = kLine.match(lines[1]);
    ASSERT_TRUE(first.hasMatch()) << lines[1].toStdString();
    EXPECT_EQ(first.captured(1), QStringLiteral("AfxEnableControlContainer()"));
    EXPECT_EQ(kLine.match(lines[2]).captured(1),
              QStringLiteral("[CGlyphaneView::SendDataToLptPort()] Begin send logo to printer (3)"));
    EXPECT_TRUE(kLine.match(lines[3]).hasMatch());
}

TEST(LogFile, NothingIsWrittenBeforeASuccessfulCreate)
{
    QTemporaryDir dir;
    CLogFile log;
    log.LogToFile("lost");
    EXPECT_FALSE(log.CreateLogFile(nullptr, dir.filePath(QStringLiteral("no/such/dir/x.log"))));
    EXPECT_FALSE(log.CreateLogFile(nullptr, QString()));
    log.LogToFile("still lost");
    EXPECT_TRUE(log.FilePath().isEmpty());

    const QString path = dir.filePath(QStringLiteral("new.log"));
    ASSERT_TRUE(log.CreateLogFile(nullptr, path));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(ReadLines(path).isEmpty());
}

TEST(LogFile, TwoThreadsNeitherInterleaveNorLoseLines)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("threads.log"));
    CLogFile log;
    ASSERT_TRUE(log.CreateLogFile(nullptr, path));
    constexpr int kPerThread = 400;
    const QString padding(200, QLatin1Char('x'));
    auto writer = [&](const char* tag) {
        for (int i = 0; i < kPerThread; ++i)
            log.LogToFile(QStringLiteral("%1-%2-%3").arg(QLatin1String(tag)).arg(i).arg(padding), 0);
    };
    std::thread a(writer, "A");
    std::thread b(writer, "B");
    a.join();
    b.join();

    const QStringList lines = ReadLines(path);
    ASSERT_EQ(lines.size(), 2 * kPerThread);
    QSet<QString> seen;
    const QRegularExpression body(QStringLiteral("^[AB]-\\d+-x{200}$"));
    for (const QString& line : lines) {
        const auto m = kLine.match(line);
        ASSERT_TRUE(m.hasMatch()) << line.toStdString();
        ASSERT_TRUE(body.match(m.captured(1)).hasMatch()) << line.toStdString();
        seen.insert(m.captured(1).section(QLatin1Char('-'), 0, 1));
    }
    EXPECT_EQ(seen.size(), 2 * kPerThread);
}
