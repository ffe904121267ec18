#include "app/GlyphaneApp.h"

int main(int argc, char** argv)
{
    CGlyphaneApp app(argc, argv);
    if (!app.InitInstance())
        return 1;
    return app.exec();
}
