#pragma once
// Reader of the line syntax shared by the application and printer
// configuration files (docs/config-format.md): sections, ordered
// "key = value" lines, whole-line comments. It checks syntax only; the
// classes that own a file kind check the values.
#include "platform/WinTypes.h"

#include <QHash>
#include <QLoggingCategory>
#include <QString>
#include <QStringList>
#include <vector>

Q_DECLARE_LOGGING_CATEGORY(lcConfig)

class CLogFile;

struct CCfgEntry {
    QString key;
    QString value;
    int line = 0;
};

struct CCfgSection {
    QString name;
    std::vector<CCfgEntry> entries; // in file order
    // Position of each key in entries, so that a file loads in time linear in
    // its number of keys (a duplicate is found without a walk of the section).
    QHash<QString, qsizetype> positions;
};

class CCfgFileParser {
public:
    static constexpr qint64 kMaxFileBytes = 1024 * 1024;
    static constexpr int kMaxLineBytes = 4096;
    static constexpr qint64 kReadPieceBytes = 4096;

    // Parses path; the sections must be among allowedSections. On failure the
    // parser holds no sections and the fault was reported (see Report).
    bool Load(const QString& path, const QStringList& allowedSections, CLogFile* log);

    const CCfgSection* Section(const QString& name) const;
    const CCfgEntry* Find(const QString& section, const QString& key) const;
    const std::vector<CCfgSection>& Sections() const { return m_sections; }
    QString ErrorText() const { return m_error; }

    // Writes "<path>:<line>: <fault>" to log (when given) and to lcConfig;
    // line 0 leaves the line number out.
    static void Report(CLogFile* log, const QString& path, int line, const QString& fault);

    // programFolder + fileName with backslashes turned into '/'. Stands in for
    // the platform's path conversion so that both readers agree on it.
    static QString ProgramFilePath(const QString& programFolder, const QString& fileName);

    // Unsigned 32-bit decimal or 0x-hexadecimal number.
    static bool ParseNumber(const QString& text, DWORD* value);
    // "1B 2A 00" optionally followed by ": N" (reply length). At least one byte.
    static bool ParseBytes(const QString& text, std::vector<BYTE>* bytes, int* replyLength);

private:
    bool Fail(CLogFile* log, const QString& path, int line, const QString& fault);
    bool ParseLine(const QByteArray& raw, int lineNo, const QStringList& allowed, QString* fault);
    bool StartSection(const QString& name, const QStringList& allowed, QString* fault);
    bool AddEntry(const QString& text, int lineNo, QString* fault);

    std::vector<CCfgSection> m_sections;
    QString m_error;
};
