#pragma once
// Append-only text log. Each entry is one time-stamped line, written and
// flushed at once so that a crash loses nothing already logged.
#include "platform/WinTypes.h"

#include <QString>
#include <mutex>

class QWidget;

class CLogFile {
public:
    // The eight strings describe the serial line of the original log device;
    // they are kept for callers that read them back, and do not affect logging.
    CLogFile(const QString& s1 = {}, const QString& s2 = {}, const QString& s3 = {},
             const QString& s4 = {}, const QString& s5 = {}, const QString& s6 = {},
             const QString& s7 = {}, const QString& s8 = {});
    CLogFile(const CLogFile&) = delete;
    CLogFile& operator=(const CLogFile&) = delete;

    // Binds the log to path, creating the file; success = it can be appended to.
    // On failure the previous binding (if any) is kept.
    BOOL CreateLogFile(QWidget* owner, const QString& path);
    // Both append one line "YYYY-MM-DD hh:mm:ss.zzz <text>"; they do nothing
    // until CreateLogFile succeeded. Safe to call from several threads.
    void LogToFile(const char* text);
    void LogToFile(const QString& text, int reserved);

    QString FilePath() const;
    QString ConstructionString(int index) const;

private:
    void AppendLine(const QString& text);

    QString m_strings[8];
    mutable std::mutex m_mutex;
    QString m_path;
};
