#pragma once
// The stream a job sends over its port, built from its request alone: the
// transfer command of the port's rule for the slot, the raster shaped by the
// send options, then the BMP image or the complement that the model and the
// port want. The transfers, the printer preview and the digest of the
// printer's RAM copy all build it here, so none of them can show or assume a
// stream the printer would not get.
#include "transfer/LogoStream.h"
#include "transfer/TransferRequest.h"

#include <QByteArray>
#include <QString>

// The printer raster of request's logo, shaped by its send options;
// mayCoverLogo answers the frame question.
CBufferUC PrepareRequestRaster(const CTransferRequest& request, const FrameMayCoverLogo& mayCoverLogo);

// The parts of request's stream around raster; false with *why when the
// printer configuration lacks the transfer command.
bool MakeStreamParts(const CTransferRequest& request, const CBufferUC& raster, CStreamParts* parts, QString* why);

struct CPortStream {
    CBufferUC bytes;       // the data, then tailBytes zero bytes (serial only)
    int length = 0;        // the data alone
    int tailBytes = 0;
    int commandLength = 0; // the transfer command at the start
    bool bitmap = false;   // a BMP image follows the command
};

// The stream of parts over the port of request. USB: false with *why for a
// model that takes no logo there, or one whose "CmdRAMFlash" is missing.
bool BuildPortStream(const CTransferRequest& request, const CStreamParts& parts, CPortStream* stream, QString* why);

// All three steps.
bool BuildPortStream(const CTransferRequest& request, const FrameMayCoverLogo& mayCoverLogo, CPortStream* stream,
                     QString* why);

// What the printer's RAM holds after a job of request that sent raster: a
// digest of the printer, the port and the stream built around the raster.
// Empty when there is no such stream.
QByteArray RamCopyDigest(const CTransferRequest& request, const CBufferUC& raster);
// The same for the logo as it is now; a frame that would cover part of the
// logo is counted in (only a real transfer asks the operator).
QByteArray CurrentRamCopyDigest(const CTransferRequest& request);
