#pragma once
// The logo-transfer role of the logo view: the transfer job, its worker
// thread and the progress messages it posts. It keeps its own state and
// command map; the view hands it the commands the other roles do not take,
// and stops its worker before the window goes.
#include "platform/CommandRouter.h"
#include "platform/WinTypes.h"

class CViewTransferRole {
public:
    CViewTransferRole() = default;
    virtual ~CViewTransferRole() = default;
    CViewTransferRole(const CViewTransferRole&) = delete;
    CViewTransferRole& operator=(const CViewTransferRole&) = delete;

    CCommandMap& TransferCommands() { return m_transferCommands; }

    // Stops a running job and waits for its worker; nothing to do while none runs.
    void OnKillThread() {}

    // The worker's progress messages (3025 to 3029); the result the message
    // returns to a blocking sender. No job posts them yet.
    LPARAM OnTransferMessage(UINT /*msg*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return 0; }

protected:
    CCommandMap m_transferCommands;
};
