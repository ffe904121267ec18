#pragma once
// The printer's side of docs/printer-protocol.md: takes the bytes the printer
// understood, keeps RAM and flash logos and the flash memory area, and says
// what to answer and what to print. No I/O here: the emulator feeds it.
#include "EmuLogo.h"
#include "EmuOptions.h"
#include "EmuPaper.h"
#include "components/PrinterProtocol.h"

#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

struct CEmuModel {
    enum class Family { Plain, Fiscal, Area, Echo };
    QString code;
    Family family = Family::Plain;
    int dotX = 0;
    int dotY = 0;
    int slotCount = 1;
    uint8_t id = 0;
    unsigned baud = 9600;

    // Reads <dataDir>/CfgFile/<code>.cfg.
    static bool Load(const QString& dataDir, const QString& code, CEmuModel* model, QString* error);
    // Where the info block lies: 0x0480 for the fixed-area family, else 0x8000.
    uint16_t InfoAddress() const;
    uint16_t LogoFirst() const { return 0xC000; }
    uint16_t LogoLast() const;
};

class CEmuProtocol {
public:
    CEmuProtocol(const CEmuModel& model, CEmuPaper* paper, QString release, int subModel);

    // The sub-model is answered with this many bytes: the byte, then zeros.
    void SetSubModelLength(int length) { m_subModelLength = length; }

    // One understood byte; answers are appended to reply.
    void Feed(uint8_t byte, std::vector<uint8_t>& reply);
    // Forgets a half-received command (after a pause on the line).
    void ResetParser();

    // The host asks for the status before every block of a download, so a
    // status request can come in the middle of the raster, where its three
    // bytes are valid raster too. They are held back until the next byte
    // shows they were raster, or the line falls quiet: a host waits for the
    // answer to a request, never in the middle of a block.
    bool HoldsStatusRequest() const { return m_held.size() == prnproto::kStatusRequest.size(); }
    // The line has fallen quiet: a held status request is answered and dropped.
    void LineQuiet(std::vector<uint8_t>& reply);

    unsigned Baud() const { return m_baud; }
    void SetBaud(unsigned baud) { m_baud = baud; }
    // The flash-area replies forced from the command line.
    void SetAreaScript(const CEmuAreaScript& script) { m_script = script; }
    // The status request is answered with the off-line bit set.
    void SetOffline(bool offline) { m_bOffline = offline; }

    const CEmuLogo& RamLogo() const { return m_ram; }
    CEmuLogo FlashLogo(int slot) const;
    int LineFeeds() const { return m_lineFeeds; }
    // The 128-byte information block of the flash-area printers.
    std::vector<uint8_t> InfoBlock() const;

private:
    enum class State { Idle, AreaWrite, Echo };

    void Parse(uint8_t byte, std::vector<uint8_t>& reply);
    bool InDownload() const;
    void ReleaseHeld(std::vector<uint8_t>& reply);
    bool TryCommand(std::vector<uint8_t>& reply);
    bool TryEscape(std::vector<uint8_t>& reply);
    bool TryDownload();
    bool TryBitmapDownload();
    bool TryPrint();
    bool TryAreaFrame(std::vector<uint8_t>& reply);
    void AreaBlock(std::vector<uint8_t>& reply);
    // The reply the script forces on data block index, if any.
    std::optional<uint8_t> ForcedAreaReply(int index);
    void StoreArea();
    uint8_t StatusByte() const;
    void EchoByte(uint8_t byte, std::vector<uint8_t>& reply);
    void AnswerIdentification(uint8_t which, std::vector<uint8_t>& reply);
    void SwitchBaud(uint8_t code, std::vector<uint8_t>& reply);
    void StoreLogo(int slot, const CEmuLogo& logo);
    void CopyRamToFlash(uint8_t slot, std::vector<uint8_t>& reply);
    void PrintSlot(int slot, int part);
    void Consume(size_t n);

    CEmuModel m_model;
    CEmuPaper* m_pPaper;
    QString m_release;
    int m_subModel;
    int m_subModelLength = 1;
    unsigned m_baud;
    State m_state = State::Idle;
    std::vector<uint8_t> m_pending;
    std::vector<uint8_t> m_held;
    CEmuLogo m_ram;
    std::map<int, CEmuLogo> m_flash;
    std::vector<uint8_t> m_memory;
    uint16_t m_areaFirst = 0, m_areaLast = 0, m_areaNext = 0;
    CEmuAreaScript m_script;
    int m_areaBlockIndex = 0; // data blocks taken since the printer started
    bool m_bOffline = false;
    int m_echoExpected = 0;
    std::vector<uint8_t> m_echoBytes;
    int m_lineFeeds = 0;
};
