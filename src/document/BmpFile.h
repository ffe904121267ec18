#pragma once
// BMP layout helpers of the logo file: header checks and patching, safe
// decoding of untrusted files, and the 1-bit rows a saved logo holds.
#include <QByteArray>
#include <QImage>
#include <QIODevice>
#include <QString>

namespace bmpfile {

constexpr int kTemplateSize = 62; // file header, info header, two palette entries
constexpr int kMaxSide = 16384;

struct CBmpInfo {
    int bitCount = 0;
    int width = 0;
    int height = 0; // negative for a file stored top-down
};

// Bit count, width and height of the first 30 bytes of a file (zeros when
// short), at the offsets of its info header (the 12-byte OS/2 one has its own).
CBmpInfo ReadInfo(const QByteArray& head);

// True when header is a plain 1-bit BMP header whose rows follow it directly
// and whose palette has its dark entry first and its light entry second, so
// rows with bit 1 = white are described correctly.
bool IsOneBitHeader(const QByteArray& header);

// Writes the file size, width, height and image size of a logo of width x
// height dots into a header of at least 62 bytes (rows padded to 4 bytes).
void PatchHeader(QByteArray& header, int width, int height);

// The header as the printers take it: file size width x height / 8 + 62 and
// the low 16 bits of width, height and width x height / 8 (integer division).
void PatchHeaderPrinterLayout(QByteArray& header, int width, int height);

// Bytes of one stored row: whole bytes for every dot, padded to 4 bytes.
int StoredRowBytes(int width);

// The rows of a saved logo, bottom row first, leftmost dot in the most
// significant bit, bit 1 = white (by the dot rule); each row padded to 4
// bytes with 0 bits. Dots outside the image are white.
QByteArray PackRowsBottomUp(const QImage& image, int width, int height);

// Decodes a BMP file after checking its header against the file's real size,
// so a lying header can neither make the reader allocate without bound nor
// pass off a truncated file. With monochrome, pixels become pure black or
// white by the dot rule. A null image (and why) when refused; *tooLarge tells
// a picture larger than kMaxSide a side, or than the memory holds, from a
// file that is not a regular BMP.
QImage LoadBmp(const QString& path, bool monochrome, QString* why = nullptr, bool* tooLarge = nullptr);

// The same for an open device, read once from its current position to its end.
QImage LoadBmp(QIODevice& device, bool monochrome, QString* why = nullptr, bool* tooLarge = nullptr);

// The same for a whole file already in memory: every check is bounded by the
// size of this buffer, whatever its header says.
// With keepPacked, a 1-bit picture stays one bit a pixel (Format_Mono, see
// PackedBlackAndWhite) instead of taking four bytes a pixel.
QImage DecodeBmp(const QByteArray& file, bool monochrome, QString* why = nullptr, bool* tooLarge = nullptr,
                 bool keepPacked = false);

// A 1-bit image turned into the fixed palette black (index 0) and white
// (index 1), the bits changed where the palette needs it, so that bit 1 is
// white as in a saved logo: the pixels are those ToBlackAndWhite gives, at
// one bit each.
QImage PackedBlackAndWhite(QImage image);

// Every check of DecodeBmp, on a file read from the device's position as a
// stream a block at a time, without decoding or holding the picture: the
// size and bit count of a file that passes them (a bottom-up height is
// positive, a top-down one negative).
bool InspectBmp(QIODevice& device, CBmpInfo* info, QString* why = nullptr, bool* tooLarge = nullptr);

// Pixels reduced to pure black and white by the dot rule (RGB32).
QImage ToBlackAndWhite(const QImage& image);

// A chosen file name is cut in front of the first of the characters "#%;\"
// (they break the names the printer tools take); ".bmp" is added when the
// shortened name has no extension. Empty when nothing of the name is left.
QString ShortenAtReservedCharacter(const QString& path);

} // namespace bmpfile
