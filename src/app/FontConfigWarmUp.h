#pragma once

#include <thread>

// Reads the system's font configuration on the second core while the
// editor connects to the display. The first text the main window measures
// would otherwise parse it on the start's own path: some fifty XML files,
// several milliseconds. fontconfig keeps one configuration per process, so
// the toolkit then finds it loaded.
//
// The library is looked up among those already loaded (the toolkit's font
// database brought it in), so nothing is linked for it, and where it is
// missing there is nothing to warm.
class CFontConfigWarmUp {
public:
    CFontConfigWarmUp();

    // Waits until the configuration is loaded. Call it before the first
    // window is built: a second load begun beside this one would parse the
    // files all over again.
    void Wait();

private:
    std::jthread m_thread; // joined when the object goes
};
