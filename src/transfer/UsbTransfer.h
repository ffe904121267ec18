#pragma once
// The USB transfer of a logo: the printer chosen for the job must be on line
// and identify as the document's model; the models that take a logo over USB
// then get one stream (numbered transfer command, BMP header or not, raster,
// and for one model its own RAM-to-flash command) in fixed-size blocks, a
// copy of which is left in glyphane.bin in the program folder.
#include "components/UComAm.h"
#include "transfer/TransferRequest.h"

class CTransferHost;

class CUsbTransfer {
public:
    CUsbTransfer(const CTransferRequest& request, CTransferHost& host, CQvComAm& port);

    // The USB branch of a job: 1 when the printer took the whole stream; 0
    // when it cannot be opened or is off line (61545), is another model
    // (61546), takes no logo over USB, or did not take the stream.
    int Send();
    // 1 = the whole stream was written.
    int SendDataToGeneric();

    const CBufferUC& PreparedRaster() const { return m_raster; }
    bool PortLost() const { return m_bPortLost; }
    const QString& Failure() const { return m_strFailure; }

private:
    bool BuildStream(CBufferUC* stream);
    void WriteDump(const CBufferUC& stream);
    bool Fail(const QString& reason);
    const QString& Model() const { return m_request.model; }

    const CTransferRequest& m_request;
    CTransferHost& m_host;
    CQvComAm& m_port;
    CBufferUC m_raster;
    bool m_bPortLost = false;
    QString m_strFailure;
};
