#pragma once
// The serial transfer of a logo: opening the port, checking that the printer
// answers and at which speed, the choice of the transfer speed, the generic
// stream sent in blocks, and the after-steps (print the RAM logo, copy RAM to
// a flash slot). Runs on the worker thread against a request snapshot and a
// host; the flags it changes are in Flags() for the job to hand back.
#include "components/SComAm.h"
#include "transfer/AreaFrames.h"
#include "transfer/TransferRequest.h"

#include <vector>

class CTransferHost;
class QObject;

class CSerialTransfer {
public:
    // window: receives the port status messages the component posts itself.
    CSerialTransfer(const CTransferRequest& request, CTransferHost& host, CCsGenericPrn& port, QObject* window);

    // The whole transfer of a logo that is not in the printer's RAM.
    int SendLogoToSerial();
    // The RAM shortcut: the logo is in RAM already; print it (Test) or copy it
    // to the slot (Program).
    int SendFromRam();

    // The after-steps and the speed restore, also used by the shortcut.
    int PrintRamLogo();
    int SendRamToFlash();
    int SendRamToFlashRxh();
    int RestoreComBaudRate();

    // The flash-area families: the information block read at 0x8000 (and the
    // identification choosing packet or plain writes), or at 0x0480 for the
    // fixed-area family; then the logo area written block by block as the
    // printer asks. 1 when the printer took the whole area; the sender tells
    // the operator itself either way.
    int SendLogoToFlashArea();
    int SendLogoToFixedArea();
    // The echoed-byte families: the port purged, then every raster byte
    // acknowledged one by one.
    int SendBytesToSerial();

    const CTransferFlags& Flags() const { return m_flags; }
    // The raster prepared for the stream (the document keeps it); empty until built.
    const CBufferUC& PreparedRaster() const { return m_raster; }
    // The port could not be opened: the document's port name is reset.
    bool PortLost() const { return m_bPortLost; }
    // Why the transfer failed, in a few words (the first reason found).
    const QString& Failure() const { return m_strFailure; }
    // The logo area was read back and equals what was sent.
    bool Verified() const { return m_bVerified; }

private:
    bool OpenSerialPort();
    void CloseSerialPort();
    bool FindPrinterSpeed();
    bool StretchWgj33Timeouts();
    bool DetectSpeed();
    int SendDataToSerial();
    bool ChooseTransferSpeed();
    bool SwitchSpeed(const QString& config);
    bool SwitchSpeedNotifying(const QString& config, WORD code);
    // The MZVZVRXH goes back to 9600 on every way out once it was switched.
    void RestoreOwedSpeed();
    bool FeedAndCutOwed();
    bool SendGenericStream();
    bool WriteBlock(const BYTE* bytes, int length);
    void ApplyGenericBookkeeping();
    void PostSettings(bool open);
    // The flash-area and echoed-byte protocols (SerialFlashArea.cpp, SerialEchoedBytes.cpp).
    int SendLogoToArea(WORD infoAddress, bool askVariant);
    bool FeedOwedLines();
    CBufferUC BuildAreaRaster();
    BYTE BlankByte() const { return m_request.options.reverseColor ? 0xFF : 0x00; }
    bool ReadInfoBlock(WORD address, QByteArray* info);
    int SendDataToHvczil(const CBufferUC& raster, const std::vector<areaproto::CArea>& areas, bool packets);
    int VerifyArea(const CBufferUC& raster, const areaproto::CArea& area);
    bool AreaExchange(const BYTE* bytes, int length, bool packets, BYTE reply[3]);
    int EndArea(int text, int caption, const QString& reason);
    int SendEchoedBytes(const CBufferUC& raster);
    enum class EchoResult { Acked, Refused, Failed };
    EchoResult SendEchoedByte(BYTE byte);
    // Records why the transfer fails (the first reason wins); returns false.
    bool Fail(const QString& reason);
    bool IsProgram() const { return m_request.kind == TransferKind::Program; }
    const QString& Model() const { return m_request.model; }

    const CTransferRequest& m_request;
    CTransferHost& m_host;
    CCsGenericPrn& m_port;
    QObject* m_window;
    CTransferFlags m_flags;
    CBufferUC m_raster;
    bool m_bPortLost = false;
    bool m_bSpeedRestoreOwed = false;
    bool m_bVerified = false;
    QString m_strFailure;
};
