#pragma once
// What the printer will put on paper for a transfer: the stream the transfer
// would send, built by the transfer's own functions, read back the way the
// printer reads it. Because the dots come from the very bytes that would be
// sent, the preview cannot show anything the printer would not print.
#include "transfer/PortStream.h"

#include <QColor>
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

// The paper the dots are printed on.
inline const QColor kPaperColour(0xFA, 0xF7, 0xEE);
inline const QColor kDotColour(0x14, 0x14, 0x14);
// Paper above and below the logo, in dots (one line feed).
inline constexpr int kPaperMarginDots = 24;

// The dots on a strip of paper paperWidth dots wide (the printer's width),
// with kPaperMarginDots of paper above and below; one pixel per dot.
QImage PaperStrip(const QImage& dots, int paperWidth);
