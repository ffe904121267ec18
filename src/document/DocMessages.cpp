#include "document/DocMessages.h"

#include "components/LogFile.h"
#include "document/DocEnvironment.h"
#include "platform/AtomicFile.h"
#include "platform/UiSeam.h"
#include "resources/StringTable.h"

CDocMessages::CDocMessages(const CDocEnvironment& env)
    : m_env(env)
{
}

int CDocMessages::ShowMessage(const QString& text, UINT captionId, UINT flags) const
{
    return MessageBox(WindowOf(m_env.messageOwner), text, LoadString(captionId), flags);
}

void CDocMessages::ReportError(UINT textId, UINT captionId, const QString& arg) const
{
    ShowMessage(FormatResString(textId, {arg}), captionId, MB_OK | MB_ICONSTOP);
}

void CDocMessages::ReportError(UINT textId, UINT captionId, const QString& arg1, const QString& arg2) const
{
    ShowMessage(FormatResString(textId, {arg1, arg2}), captionId, MB_OK | MB_ICONSTOP);
}

void CDocMessages::LogLine(const QString& line) const
{
    if (m_env.appLog)
        m_env.appLog->LogToFile(line, 0);
}

void CDocMessages::LogSave(const QString& operation, const QString& path, const CSaveOutcome& outcome) const
{
    if (!m_env.appLog)
        return;
    const QString way = outcome.way == SaveWay::InPlace
                            ? QStringLiteral("in place, as the folder takes no new file")
                            : QStringLiteral("as a new file beside it, renamed over it");
    const QString line = outcome.ok ? QStringLiteral("[CGlyphaneDoc::%1()] %2 written %3").arg(operation, path, way)
                                    : QStringLiteral("[CGlyphaneDoc::%1()] %2 not written %3: %4")
                                          .arg(operation, path, way, outcome.error);
    m_env.appLog->LogToFile(line, 0);
}

void CDocMessages::ReportSaveFailure(const QString& path, const CSaveOutcome& outcome, bool existed) const
{
    if (outcome.failure == WriteFailure::NoRoom)
        ShowMessage(FormatResString(existed ? 61551 : 61552, path), 61446, MB_OK | MB_ICONSTOP);
    else
        ReportError(61448, 61446, path);
}
