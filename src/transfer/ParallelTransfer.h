#pragma once
// The parallel-port transfer of a logo: the configured command and the raster
// in small blocks with no answer ever coming back, then the after-steps of
// the serial transfer (print the RAM logo, copy RAM to a flash slot); the
// flash-area model writes its memory area instead. Runs on the worker thread
// against a request snapshot and a host; the flags it changes are in Flags().
#include "components/PComAm.h"
#include "transfer/AreaFrames.h"
#include "transfer/TransferRequest.h"

#include <vector>

class CTransferHost;

class CParallelTransfer {
public:
    CParallelTransfer(const CTransferRequest& request, CTransferHost& host, CQvPComAm& port);

    // The whole transfer of a logo that is not in the printer's RAM. Returns
    // what happened (1 = the printer has the logo), so that a parallel job
    // that worked is no job error.
    int SendLogoToLpt();
    // The RAM shortcut: print the RAM logo (Test) or copy it to the slot (Program).
    int SendFromRam();

    int PrintRamLogo();
    int SendRamToFlash();

    const CTransferFlags& Flags() const { return m_flags; }
    const CBufferUC& PreparedRaster() const { return m_raster; }
    bool PortLost() const { return m_bPortLost; }
    const QString& Failure() const { return m_strFailure; }

private:
    bool OpenParallelPort();
    void CloseParallelPort();
    int SendLogoToLptArea();
    int SendDataToHvczil(const CBufferUC& raster, const std::vector<areaproto::CArea>& areas);
    int SendDataToLptPort();
    // The printer has taken everything written; else the send error box and false.
    bool AllTaken();
    CBufferUC BuildRaster();
    bool Fail(const QString& reason);
    bool IsProgram() const { return m_request.kind == TransferKind::Program; }
    const QString& Model() const { return m_request.model; }

    const CTransferRequest& m_request;
    CTransferHost& m_host;
    CQvPComAm& m_port;
    CTransferFlags m_flags;
    CBufferUC m_raster;
    bool m_bPortLost = false;
    QString m_strFailure;
};
