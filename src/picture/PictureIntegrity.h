#pragma once
// Whether a PNG, JPEG or GIF file holds the whole picture its header begins.
// Their decoders turn a file cut short into a picture grey or blank at the
// bottom rather than an error, so the file's structure is walked first.
#include <QByteArray>

namespace picture {

// The chunks from the signature run whole up to IEND.
bool PngComplete(const QByteArray& file);

// The segments and the compressed data after each scan run up to the end of
// image marker.
bool JpegComplete(const QByteArray& file);

// The blocks run whole up to the end of the first frame's data (the frame
// that is converted).
bool GifFirstFrameComplete(const QByteArray& file);

} // namespace picture
