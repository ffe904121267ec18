#pragma once
// The seeded pictures the benchmarks measure, and the document environment
// of the build's program folder (the header template a conversion reloads).
#include "document/DocEnvironment.h"

#include <QImage>

#include <random>

namespace bench {

// Random colours (colour) or random black and white dots, RGB32.
inline QImage RandomLogo(int width, int height, bool colour)
{
    std::mt19937 random(7);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = colour ? (0xFF000000u | (random() & 0xFFFFFFu)) : ((random() & 1) ? 0xFFFFFFFFu : 0xFF000000u);
    }
    return image;
}

inline QImage RandomColours(int width, int height)
{
    return RandomLogo(width, height, true);
}

inline CDocEnvironment ProgramFolderEnvironment()
{
    CDocEnvironment env;
    env.programFolder = QStringLiteral(GLYPHANE_BENCH_PROGRAM_DIR);
    env.headerTemplateName = QStringLiteral("HeaderNewFile.bmp");
    return env;
}

} // namespace bench
