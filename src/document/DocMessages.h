#pragma once
// What the document and its files tell the operator (through the platform's
// UI seam, owned by the environment's window) and write to the application
// log. One object for the document and every file format it reads or writes,
// so a message box and a log line look the same whichever file caused it.
#include "platform/WinTypes.h"

#include <QString>

struct CDocEnvironment;
struct CSaveOutcome;

class CDocMessages {
public:
    // env belongs to the document and outlives this object; its owner window
    // is read at each message, so a changed owner takes effect at once.
    explicit CDocMessages(const CDocEnvironment& env);

    int ShowMessage(const QString& text, UINT captionId, UINT flags) const;
    void ReportError(UINT textId, UINT captionId, const QString& arg) const;
    void ReportError(UINT textId, UINT captionId, const QString& arg1, const QString& arg2) const;
    // A line in the application log, when there is one.
    void LogLine(const QString& line) const;
    // The application log's line on a save: which way the file was written
    // (see SaveFile), or why it was not. operation names the caller.
    void LogSave(const QString& operation, const QString& path, const CSaveOutcome& outcome) const;
    // The message of a failed save of a logo or QZ file; existed tells
    // whether there was a file before, which a full disk left as it was.
    void ReportSaveFailure(const QString& path, const CSaveOutcome& outcome, bool existed) const;

private:
    const CDocEnvironment& m_env;
};
