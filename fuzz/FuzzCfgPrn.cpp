// The printer configuration loader on any file: loaded, every option, command
// and printers-to-test entry it answers for is whole and consistent (a
// command's bytes fit the length it reports); refused, it answers for none.
#include "FuzzSupport.h"

#include "components/CfgFileParser.h"
#include "components/LoadCfgPrnFile.h"

#include <vector>

namespace {

void CheckCommand(const CLoadCfgPrnFile& cfg, const QString& name)
{
    int length = -1, second = -1;
    if (!cfg.GetNumBytePrintersComando(name, &length, &second))
        return;
    FUZZ_CHECK(length >= 1 && second >= 0 && second <= 0xFFFF);
    // Exactly the reported length: ASan sees a byte written past it.
    std::vector<BYTE> dest(static_cast<size_t>(length));
    int copied = -1, copiedSecond = -1;
    FUZZ_CHECK(cfg.GetCommandPrinters(name, dest.data(), &copied, &copiedSecond));
    FUZZ_CHECK(copied == length && copiedSecond == second);
    CBufferUC buffer;
    FUZZ_CHECK(cfg.GetCommandPrinters(name, buffer));
    FUZZ_CHECK(buffer.GetSize() == length);
    FUZZ_CHECK(std::equal(dest.begin(), dest.end(), buffer.GetpBuf()));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::SilenceQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzzsupport::WriteScratchFile(QStringLiteral("Printer.cfg"), fuzzsupport::Bytes(data, size));
    CLoadCfgPrnFile cfg;
    const BOOL loaded = cfg.LoadPublicCfgFile(path);
    FUZZ_CHECK(cfg.IsLoaded() == (loaded != FALSE));

    // The keys the program asks for, and every key the file itself names
    // (the parser gives them; a refused file must answer for none of them).
    QStringList options = {QStringLiteral("BaudRate"), QStringLiteral("NLoghi"), QStringLiteral("GSImodel")};
    QStringList commands = {QStringLiteral("CmdTxLogo"), QStringLiteral("CmdRAMFlash"), QStringLiteral("Ctotcut")};
    CCfgFileParser parser;
    if (parser.Load(path, {QStringLiteral("Options"), QStringLiteral("Commands"), QStringLiteral("Printers")}, nullptr)) {
        if (const CCfgSection* s = parser.Section(QStringLiteral("Options")))
            for (const CCfgEntry& e : s->entries)
                options << e.key;
        if (const CCfgSection* s = parser.Section(QStringLiteral("Commands")))
            for (const CCfgEntry& e : s->entries)
                commands << e.key;
    }
    for (const QString& option : options) {
        int value = 0;
        const BOOL found = cfg.GetOptionPrintersToTest(option, &value, -7);
        FUZZ_CHECK(loaded || !found);
        FUZZ_CHECK(found || value == -7);
    }
    for (const QString& command : commands) {
        if (!loaded) {
            FUZZ_CHECK(!cfg.GetNumBytePrintersComando(command, nullptr, nullptr));
            continue;
        }
        CheckCommand(cfg, command);
    }
    for (int i = 0; i < cfg.GetPrintersToTestCount(); ++i) {
        QString name, text;
        BYTE id = 0;
        DWORD value = 0;
        FUZZ_CHECK(cfg.GetOptionPrintersToTest(i, &name, &id, &value, &text));
        FUZZ_CHECK(!name.isEmpty() && id == (value & 0xFF));
        const qsizetype bar = text.indexOf(QLatin1Char('|'));
        FUZZ_CHECK(bar > 0 && bar < text.size() - 1);
    }
    FUZZ_CHECK(!cfg.GetOptionPrintersToTest(cfg.GetPrintersToTestCount(), nullptr, nullptr, nullptr, nullptr));
    FUZZ_CHECK(loaded || cfg.GetPrintersToTestCount() == 0);
    return 0;
}
