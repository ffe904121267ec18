#include "components/LogFile.h"

#include <QDateTime>
#include <QFile>

CLogFile::CLogFile(const QString& s1, const QString& s2, const QString& s3, const QString& s4,
                   const QString& s5, const QString& s6, const QString& s7, const QString& s8)
    : m_strings{s1, s2, s3, s4, s5, s6, s7, s8}
{
}

BOOL CLogFile::CreateLogFile(QWidget* /*owner*/, const QString& path)
{
    if (path.isEmpty())
        return FALSE;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return FALSE;
    file.close();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_path = path;
    return TRUE;
}

void CLogFile::LogToFile(const char* text)
{
    AppendLine(QString::fromUtf8(text != nullptr ? text : ""));
}

void CLogFile::LogToFile(const QString& text, int /*reserved*/)
{
    AppendLine(text);
}

QString CLogFile::FilePath() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_path;
}

QString CLogFile::ConstructionString(int index) const
{
    return (index >= 0 && index < 8) ? m_strings[index] : QString();
}

void CLogFile::AppendLine(const QString& text)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
    // One write per line: with the file opened in append mode the whole line
    // lands at the end even if another process shares the log.
    const QByteArray line = (stamp + QLatin1Char(' ') + text + QLatin1Char('\n')).toUtf8();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_path.isEmpty())
        return;
    // Opened per call: nothing stays buffered in the process between entries.
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    file.write(line);
    file.flush();
}
