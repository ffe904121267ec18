#pragma once
// What the printer will put on paper for a transfer: the stream the transfer
// would send, built by the transfer's own functions, read back the way the
// printer reads it. Because the dots come from the very bytes that would be
// sent, the preview cannot show anything the printer would not print.
#include "dialogs/PaperStrip.h"
#include "transfer/PortStream.h"

#include <QImage>
#include <QString>

// The dots a printer prints from stream, black on white: dotX x dotY dots of
// the raster after the command, 1 = dot; for a stream carrying a BMP image
// the image after the command and its 62-byte header, its size taken from
// that header, rows of width / 8 bytes bottom row first, clear bits dots. A
// null image when the stream is too short for what it announces.
QImage PrintedDots(const CPortStream& stream, int dotX, int dotY);

// The dots of the stream a job of request would send over its port
// (mayCoverLogo answers the frame question); a null image with *why when it
// cannot be built.
QImage PreviewDots(const CTransferRequest& request, const FrameMayCoverLogo& mayCoverLogo, QString* why);
