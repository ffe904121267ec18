#include "app/FontConfigWarmUp.h"
#include "app/GlyphaneApp.h"
#include "app/SessionBusWarmUp.h"
#include "platform/UiSeam.h"

int main(int argc, char** argv)
{
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
