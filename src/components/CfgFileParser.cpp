#include "components/CfgFileParser.h"

#include "components/LogFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

Q_LOGGING_CATEGORY(lcConfig, "glyphane.config")

namespace {

bool HasControlBytes(const QByteArray& line)
{
    for (char c : line) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && b != '\t') || b == 0x7F)
            return true;
    }
    return false;
}

bool DecodeUtf8(const QByteArray& raw, QString* text)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    *text = decoder.decode(raw);
    return !decoder.hasError();
}

bool IsHexDigits(const QString& text)
{
    for (QChar c : text) {
        if (!c.isDigit() && !(c >= QLatin1Char('a') && c <= QLatin1Char('f')) &&
            !(c >= QLatin1Char('A') && c <= QLatin1Char('F')))
            return false;
    }
    return !text.isEmpty();
}

} // namespace

void CCfgFileParser::Report(CLogFile* log, const QString& path, int line, const QString& fault)
{
    const QString where = line > 0 ? QStringLiteral("%1:%2").arg(path).arg(line) : path;
    const QString message = QStringLiteral("[config] %1: %2").arg(where, fault);
    qCWarning(lcConfig).noquote() << message;
    if (log != nullptr)
        log->LogToFile(message, 0);
}

bool CCfgFileParser::Fail(CLogFile* log, const QString& path, int line, const QString& fault)
{
    m_sections.clear();
    m_error = fault;
    Report(log, path, line, fault);
    return false;
}

bool CCfgFileParser::Load(const QString& path, const QStringList& allowedSections, CLogFile* log)
{
    m_sections.clear();
    m_error.clear();
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return Fail(log, path, 0, QStringLiteral("cannot open the file"));
    if (file.size() > kMaxFileBytes)
        return Fail(log, path, 0, QStringLiteral("file larger than %1 bytes").arg(kMaxFileBytes));
    // Read in pieces rather than into one buffer of the largest size: a
    // configuration file is a few hundred bytes, and a file that grows while
    // it is read still stops being read just past the limit.
    QByteArray content;
    while (content.size() <= kMaxFileBytes) {
        const QByteArray piece = file.read(kReadPieceBytes);
        if (piece.isEmpty())
            break;
        content += piece;
    }
    if (content.size() > kMaxFileBytes)
        return Fail(log, path, 0, QStringLiteral("file larger than %1 bytes").arg(kMaxFileBytes));
    if (content.startsWith("\xEF\xBB\xBF"))
        content.remove(0, 3);

    const QList<QByteArray> lines = content.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString fault;
        if (!ParseLine(lines[i], i + 1, allowedSections, &fault))
            return Fail(log, path, i + 1, fault);
    }
    return true;
}

bool CCfgFileParser::ParseLine(const QByteArray& raw, int lineNo, const QStringList& allowed,
                               QString* fault)
{
    QByteArray bytes = raw;
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    if (bytes.size() > kMaxLineBytes) {
        *fault = QStringLiteral("line longer than %1 bytes").arg(kMaxLineBytes);
        return false;
    }
    QString text;
    if (HasControlBytes(bytes) || !DecodeUtf8(bytes, &text)) {
        *fault = QStringLiteral("binary data or invalid UTF-8 text");
        return false;
    }
    text = text.trimmed();
    if (text.isEmpty() || text.startsWith(QLatin1Char('#')) || text.startsWith(QLatin1Char(';')))
        return true;
    if (text.startsWith(QLatin1Char('['))) {
        if (!text.endsWith(QLatin1Char(']')) || text.size() < 3) {
            *fault = QStringLiteral("malformed section header \"%1\"").arg(text);
            return false;
        }
        return StartSection(text.mid(1, text.size() - 2).trimmed(), allowed, fault);
    }
    return AddEntry(text, lineNo, fault);
}

bool CCfgFileParser::StartSection(const QString& name, const QStringList& allowed, QString* fault)
{
    if (!allowed.contains(name)) {
        *fault = QStringLiteral("unknown section [%1]").arg(name);
        return false;
    }
    if (Section(name) != nullptr) {
        *fault = QStringLiteral("section [%1] appears twice").arg(name);
        return false;
    }
    m_sections.push_back(CCfgSection{name, {}, {}});
    return true;
}

bool CCfgFileParser::AddEntry(const QString& text, int lineNo, QString* fault)
{
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    if (eq < 0) {
        *fault = QStringLiteral("line without '=': \"%1\"").arg(text.left(80));
        return false;
    }
    const QString key = text.left(eq).trimmed();
    if (key.isEmpty()) {
        *fault = QStringLiteral("line without a key");
        return false;
    }
    if (m_sections.empty()) {
        *fault = QStringLiteral("key \"%1\" outside any section").arg(key);
        return false;
    }
    CCfgSection& section = m_sections.back();
    const auto earlier = section.positions.constFind(key);
    if (earlier != section.positions.constEnd()) {
        *fault = QStringLiteral("duplicate key \"%1\" in [%2] (first on line %3)")
                     .arg(key, section.name)
                     .arg(section.entries[*earlier].line);
        return false;
    }
    section.positions.insert(key, static_cast<qsizetype>(section.entries.size()));
    section.entries.push_back(CCfgEntry{key, text.mid(eq + 1).trimmed(), lineNo});
    return true;
}

const CCfgSection* CCfgFileParser::Section(const QString& name) const
{
    for (const CCfgSection& section : m_sections) {
        if (section.name == name)
            return &section;
    }
    return nullptr;
}

const CCfgEntry* CCfgFileParser::Find(const QString& section, const QString& key) const
{
    const CCfgSection* found = Section(section);
    if (found == nullptr)
        return nullptr;
    const auto at = found->positions.constFind(key);
    return at == found->positions.constEnd() ? nullptr : &found->entries[*at];
}

QString CCfgFileParser::ProgramFilePath(const QString& programFolder, const QString& fileName)
{
    QString path = programFolder + fileName;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}

bool CCfgFileParser::ParseNumber(const QString& text, DWORD* value)
{
    const bool hex = text.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive);
    const QString digits = hex ? text.mid(2) : text;
    if (digits.isEmpty() || digits.size() > 10)
        return false;
    for (QChar c : digits) {
        if (hex ? !IsHexDigits(QString(c)) : !c.isDigit())
            return false;
    }
    bool ok = false;
    const qulonglong parsed = digits.toULongLong(&ok, hex ? 16 : 10);
    if (!ok || parsed > 0xFFFFFFFFull)
        return false;
    *value = static_cast<DWORD>(parsed);
    return true;
}

bool CCfgFileParser::ParseBytes(const QString& text, std::vector<BYTE>* bytes, int* replyLength)
{
    QString list = text;
    DWORD reply = 0;
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        list = text.left(colon);
        if (!ParseNumber(text.mid(colon + 1).trimmed(), &reply) || reply > 0xFFFF)
            return false;
    }
    const QStringList tokens = list.split(QRegularExpression(QStringLiteral("[ \t]+")),
                                          Qt::SkipEmptyParts);
    if (tokens.isEmpty())
        return false;
    std::vector<BYTE> parsed;
    parsed.reserve(static_cast<size_t>(tokens.size()));
    for (const QString& token : tokens) {
        if (token.size() > 2 || !IsHexDigits(token))
            return false;
        parsed.push_back(static_cast<BYTE>(token.toUInt(nullptr, 16)));
    }
    *bytes = std::move(parsed);
    *replyLength = static_cast<int>(reply);
    return true;
}
