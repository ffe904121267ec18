#pragma once
// The seeded pictures the benchmarks measure, and the document environment
// of the build's program folder (the header template a conversion reloads).
#include "document/DocEnvironment.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <ctime>
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

// A photograph's kind of picture: smooth colour gradients under a little
// seeded noise, the way artwork scanned or shot arrives (pure noise would
// make the PNG all but incompressible, nothing like a real one). RGB32.
inline QImage PhotoLike(int width, int height)
{
    std::mt19937 random(23);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int noise = static_cast<int>(random() % 25) - 12;
            const auto channel = [noise](double v) { return std::clamp(static_cast<int>(v) + noise, 0, 255); };
            row[x] = qRgb(channel(127.5 + 127.0 * std::sin(x / 150.0)), channel(127.5 + 127.0 * std::cos(y / 170.0)),
                          channel(static_cast<double>((x * y / 15625) % 256)));
        }
    }
    return image;
}

// Seconds of processor time this thread has used. The rows that set one
// figure beside another time both in processor time, so a machine shared
// with other work (time slices taken away) moves both alike.
inline double ThreadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Seconds of processor time the whole process has used: for work that Qt
// may spread over its thread pool (scaling a large picture), every thread counts.
inline double ProcessSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

inline CDocEnvironment ProgramFolderEnvironment()
{
    CDocEnvironment env;
    env.programFolder = QStringLiteral(GLYPHANE_BENCH_PROGRAM_DIR);
    env.headerTemplateName = QStringLiteral("HeaderNewFile.bmp");
    return env;
}

} // namespace bench
