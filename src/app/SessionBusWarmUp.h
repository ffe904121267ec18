#pragma once

#include <thread>

// Connects to the desktop's session bus on the second core while the main
// window is built. The toolkit's accessibility bridge asks for that
// connection the first time a widget reports a change, and would otherwise
// wait on the start's own path for the bus thread to start, authenticate and
// say hello: about two milliseconds. The connection is the toolkit's one
// shared session connection, so the bridge then finds it open.
//
// Only on an X11 display (the one platform with that bridge) and only where
// a session bus is named: with none, the bus library would launch one of its
// own, which is the bridge's business, not the start's.
class CSessionBusWarmUp {
public:
    // Call it once the application object exists.
    CSessionBusWarmUp();

    bool Started() const { return m_thread.joinable(); }

private:
    std::jthread m_thread; // joined when the object goes
};
