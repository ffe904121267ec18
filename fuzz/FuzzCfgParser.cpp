// The configuration line reader on any file: it either refuses the file with
// a reason (and holds nothing) or holds sections and keys that keep its
// promises: sections of the allowed list, each once; keys non-empty, once a
// section, found again by Find; line numbers rising in file order.
#include "FuzzSupport.h"

#include "components/CfgFileParser.h"

#include <QSet>

namespace {

const QStringList kAllowed = {QStringLiteral("Application"), QStringLiteral("Printers"),
                              QStringLiteral("Options"), QStringLiteral("Commands")};

void CheckHeld(const CCfgFileParser& parser)
{
    QSet<QString> names;
    int lastLine = 0;
    for (const CCfgSection& section : parser.Sections()) {
        FUZZ_CHECK(kAllowed.contains(section.name));
        FUZZ_CHECK(!names.contains(section.name));
        names.insert(section.name);
        FUZZ_CHECK(parser.Section(section.name) == &section);
        FUZZ_CHECK(section.positions.size() == static_cast<qsizetype>(section.entries.size()));
        for (const CCfgEntry& entry : section.entries) {
            FUZZ_CHECK(!entry.key.isEmpty());
            FUZZ_CHECK(entry.key == entry.key.trimmed() && entry.value == entry.value.trimmed());
            FUZZ_CHECK(entry.line > lastLine);
            lastLine = entry.line;
            FUZZ_CHECK(parser.Find(section.name, entry.key) == &entry);
            // The value readers of the loaders take any text.
            DWORD number = 0;
            CCfgFileParser::ParseNumber(entry.value, &number);
            std::vector<BYTE> bytes;
            int replyLength = -1;
            if (CCfgFileParser::ParseBytes(entry.value, &bytes, &replyLength)) {
                FUZZ_CHECK(!bytes.empty());
                FUZZ_CHECK(replyLength >= 0 && replyLength <= 0xFFFF);
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::SilenceQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzzsupport::WriteScratchFile(QStringLiteral("parser.cfg"), fuzzsupport::Bytes(data, size));
    CCfgFileParser parser;
    if (parser.Load(path, kAllowed, nullptr)) {
        FUZZ_CHECK(parser.ErrorText().isEmpty());
        CheckHeld(parser);
    } else {
        FUZZ_CHECK(!parser.ErrorText().isEmpty());
        FUZZ_CHECK(parser.Sections().empty());
    }
    return 0;
}
