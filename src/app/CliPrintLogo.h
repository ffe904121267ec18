#pragma once
// "glyphane-cli print-logo" and "glyphane-cli preview": printing a logo
// stored in a printer without a window, and the printer preview of a logo
// file as a PNG image.
#include "transfer/TransferRequest.h"

#include <QString>
#include <QTextStream>

namespace cli {

// Opens request.portName (serial, parallel or USB by its name), prints the
// stored logo and closes the port. Boxes the print would show are written to
// err. True when the printer took every command; else *reason says why.
bool PrintStoredLogo(const CStoredLogoRequest& request, QTextStream& err, QString* reason);

// The preview of request (the logo and send options of a transfer) on its
// paper strip, written to path as PNG, whole or not at all. The frame
// question is answered as the transfer from the command line answers it.
bool WritePreview(const CTransferRequest& request, const QString& path, QString* reason);

} // namespace cli
