// The application configuration loader on any file: loaded, it lists
// printers that all name a file; refused, it holds no key and no printer.
// Either way the program's own keys were read once, consistently.
#include "FuzzSupport.h"

#include "components/LoadCfgFileApp.h"

namespace {

// Counts the calls of the hook the loader promises to call once.
class CCountingApp : public CLoadCfgFileApp {
public:
    using CLoadCfgFileApp::CLoadCfgFileApp;
    int ReadProgramKeys() override
    {
        ++calls;
        return CLoadCfgFileApp::ReadProgramKeys();
    }
    int calls = 0;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::SilenceQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::WriteScratchFile(QStringLiteral("Glyphane.cfg"), fuzzsupport::Bytes(data, size));
    CCountingApp app(nullptr, fuzzsupport::ScratchFolder(), QStringLiteral("Glyphane.cfg"));
    const BOOL loaded = app.LoadFileAppCfgInfo();
    FUZZ_CHECK(app.calls == 1);
    QString value;
    if (app.GetCfgFileApp(QStringLiteral("Nameavifile"), &value))
        FUZZ_CHECK(value == app.m_strNameAviFile);
    if (!loaded) {
        FUZZ_CHECK(app.GetPrinterCount() == 0);
        FUZZ_CHECK(!app.GetCfgFileApp(QStringLiteral("DirLog"), nullptr));
    }
    for (int i = 0; i < app.GetPrinterCount(); ++i) {
        FUZZ_CHECK(!app.GetPrinterName(i).isEmpty());
        FUZZ_CHECK(!app.GetPrinterCfgFile(i).isEmpty());
    }
    FUZZ_CHECK(app.GetPrinterName(-1).isEmpty() && app.GetPrinterName(app.GetPrinterCount()).isEmpty());
    FUZZ_CHECK(app.GetPrinterCfgFile(app.GetPrinterCount()).isEmpty());
    return 0;
}
