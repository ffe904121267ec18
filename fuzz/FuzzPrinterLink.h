#pragma once
// The printer's end of a pseudo-terminal, played by a thread of the fuzz
// target: every time the program writes something, it answers with the next
// reply of a script, whatever was asked; when the script is used up it hangs
// up, as a printer that is switched off or unplugged. The program reaches it
// as a port name of the settings (a link to the terminal's device), so the
// transfer runs its real serial, parallel and USB components unchanged.
#include "platform/ManualResetEvent.h"

#include <QString>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <thread>

class CFuzzPrinterLink {
public:
    // A reply's length byte of this value is the operator pressing stop
    // (set on stopEvent) at that moment rather than a reply.
    static constexpr uint8_t kPressStop = 0xFF;
    // A reply's length byte of this value hangs up at once.
    static constexpr uint8_t kHangUp = 0xFE;

    // script: replies, each a length byte and that many bytes (fewer at the
    // end of the script). stopEvent: the stop the transfer watches.
    CFuzzPrinterLink(const uint8_t* script, size_t size, CManualResetEvent& stopEvent);
    ~CFuzzPrinterLink();
    CFuzzPrinterLink(const CFuzzPrinterLink&) = delete;
    CFuzzPrinterLink& operator=(const CFuzzPrinterLink&) = delete;

    // A fresh terminal, linkPath pointing at its device, and the printer
    // listening. False when the system gives no terminal.
    bool Start(const QString& linkPath);
    // Ends the printer (it hangs up if it has not) and waits for its thread.
    void Finish();

    // The replies handed out so far, and how many there are in the script.
    int RepliesUsed() const { return m_used.load(); }
    int RepliesInScript() const;
    // The bytes the printer has taken from the program (read before it hung up).
    long long BytesTaken() const { return m_taken.load(); }
    // A reply that opened with the flash-area protocol's end status (0xBB) was handed out.
    bool GaveEndReply() const { return m_bGaveEndReply.load(); }

private:
    void Run();
    bool WaitForRequest();
    void Reply();
    void HangUp();
    void TakeWhatIsLeft();

    const uint8_t* m_script;
    size_t m_size;
    size_t m_at = 0;
    CManualResetEvent& m_stop;
    int m_master = -1;
    int m_slave = -1;
    int m_wake[2] = {-1, -1};
    std::atomic<int> m_used{0};
    std::atomic<long long> m_taken{0};
    std::atomic<bool> m_bGaveEndReply{false};
    std::thread m_thread;
};
