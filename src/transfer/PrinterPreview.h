#pragma once
// What the printer will put on paper for a transfer: the stream the transfer
// would send, built by the transfer's own functions, read back the way the
// printer reads it. Because the dots come from the very bytes that would be
// sent, the preview cannot show anything the printer would not print.
#include "transfer/LogoStream.h"
#include "transfer/TransferRequest.h"

#include <QColor>
#include <QImage>
#include <QString>

// The stream of a transfer request as the serial transfer builds it: the
// raster shaped by the send options (mayCoverLogo answers the frame
// question), the transfer command of the request's slot, the BMP header for
// the bitmap models. false with *why when the configuration lacks the command.
bool BuildRequestStream(const CTransferRequest& request, const FrameMayCoverLogo& mayCoverLogo,
                        CSerialStream* stream, int* commandLength, QString* why);

// The dots a printer prints from stream, black on white: dotX x dotY dots of
// the raster after commandLength bytes, 1 = dot; for the bitmap models the
// image after the command and its 62-byte BMP header, its size taken from
// that header, rows of width / 8 bytes bottom row first, clear bits dots. A
// null image when the stream is too short for what it announces.
QImage PrintedDots(const CSerialStream& stream, int commandLength, bool bitmap, int dotX, int dotY);

// Both steps for a request; a null image with *why when it cannot be built.
QImage PreviewDots(const CTransferRequest& request, const FrameMayCoverLogo& mayCoverLogo, QString* why);

// The paper the dots are printed on.
inline const QColor kPaperColour(0xFA, 0xF7, 0xEE);
inline const QColor kDotColour(0x14, 0x14, 0x14);
// Paper above and below the logo, in dots (one line feed).
inline constexpr int kPaperMarginDots = 24;

// The dots on a strip of paper paperWidth dots wide (the printer's width),
// with kPaperMarginDots of paper above and below; one pixel per dot.
QImage PaperStrip(const QImage& dots, int paperWidth);
