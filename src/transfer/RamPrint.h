#pragma once
// The after-steps on the logo held in the printer's RAM: printing it
// ("CmdPrtRAM", six line feeds, "Ctotcut") and copying it to a flash slot.
// The serial and the parallel components take the same calls, so one
// sequence serves both.
#include "resources/StringTable.h"
#include "transfer/TransferHost.h"
#include "transfer/TransferRequest.h"

#include <QString>

inline constexpr int kLineFeedsAfterLogo = 6;

// 1 only when all three were taken.
template <class Port>
int PrintRamLogo(Port& port)
{
    return port.NewSendCommandToCom(QStringLiteral("CmdPrtRAM")) && port.NLfOutput(kLineFeedsAfterLogo)
                   && port.NewSendCommandToCom(QStringLiteral("Ctotcut"))
               ? 1
               : 0;
}

// "CmdRAMFlash" with the slot as its last byte (unless the printer copies
// after the transfer by itself), the wait for the printer's reset, and the
// success box. 1 when the printer was told and came back.
template <class Port>
int SendRamToFlash(Port& port, const CTransferRequest& request, CTransferHost& host, CTransferFlags& flags,
                   int resetWaitMs)
{
    if (!flags.flashAfterTx) {
        CBufferUC command;
        if (!request.printerCfg.GetCommandPrinters(QStringLiteral("CmdRAMFlash"), command) || command.GetSize() == 0)
            return 0;
        command.SetByte(static_cast<BYTE>(request.slot), command.GetSize() - 1);
        if (!port.SendCommandToComm(command.GetpBuf(), static_cast<DWORD>(command.GetSize())))
            return 0;
    }
    if (!host.WaitForPrinterReset(true, resetWaitMs))
        return 0;
    host.Inform(LoadString(61459), LoadString(61456), MB_OK | MB_ICONEXCLAMATION);
    flags.logoInRam = false;
    return 1;
}
