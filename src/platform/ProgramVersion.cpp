#include "platform/ProgramVersion.h"

#include <cstdio>
#include <cstring>

const char* GlyphaneVersion()
{
    return GLYPHANE_VERSION;
}

const char* GlyphaneDesktopId()
{
    return GLYPHANE_DESKTOP_ID;
}

bool AnswersVersion(int argc, char** argv, const char* program)
{
    if (argc < 2 || std::strcmp(argv[1], "--version") != 0)
        return false;
    std::printf("%s %s\n", program, GlyphaneVersion());
    return true;
}
