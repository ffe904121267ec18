#include "app/FontConfigWarmUp.h"
#include "app/GlyphaneApp.h"
#include "app/SessionBusWarmUp.h"
#include "platform/ProgramVersion.h"
#include "platform/UiSeam.h"

#include <cstdio>
#include <cstring>

namespace {

// Answered before the display is opened, so it works in a terminal without one.
bool AnswersHelp(int argc, char** argv)
{
    if (argc < 2 || (std::strcmp(argv[1], "--help") != 0 && std::strcmp(argv[1], "-h") != 0))
        return false;
    std::printf("usage: glyphane [FILE]\n"
                "  Starts the logo editor, with FILE (a logo or a picture) open when given.\n"
                "  --help       show this text\n"
                "  --version    show the version\n"
                "Qt's own options (-style NAME, -platform NAME, ...) are taken too. See glyphane(1).\n");
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (AnswersVersion(argc, argv, "glyphane") || AnswersHelp(argc, argv))
        return 0;
    CFontConfigWarmUp fontConfig; // while the application connects to the display
    CGlyphaneApp app(argc, argv);
    CSessionBusWarmUp sessionBus; // while the main window is built
    fontConfig.Wait();
    // An unattended run (scripts, the start-up test): every question takes
    // its first answer and is written to stderr instead of waiting for a click.
    if (qEnvironmentVariableIntValue("GLYPHANE_UNATTENDED") == 1)
        InstallHeadlessUi();
    if (!app.InitInstance())
        return 1;
    return app.exec();
}
