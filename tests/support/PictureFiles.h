#pragma once
// Pictures of every kind the conversion takes, made by the tests themselves:
// Qt's writers where Qt writes the format, by hand where it does not (GIF,
// a PDF that wants a password, a PNG header of any size), libjpeg for a CMYK
// JPEG. The artwork is simple on purpose: black on the left half, white on
// the right, so a converted logo is easy to judge.
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

namespace picturefiles {

enum class Half { Left, Right };

// Black on one half, white on the other, in the given format (palette,
// grey and 16-bit formats included).
QImage HalfBlack(QSize size, Half half = Half::Left, QImage::Format format = QImage::Format_RGB32);

bool WriteFile(const QString& path, const QByteArray& bytes);
// Qt's own writer; false when it refuses.
bool Save(const QImage& image, const QString& path, const char* format);

// A GIF of frames (each frame's pixels black where dark), written by hand:
// Qt reads GIF but does not write it.
QByteArray Gif(const QList<QImage>& frames);
// An SVG of size user units, black on one half.
QByteArray HalfBlackSvg(QSize size, Half half = Half::Left, const QByteArray& extra = QByteArray());
// A PDF of pages of size points, page k black on halves[k].
bool WritePdf(const QString& path, QSizeF points, const QList<Half>& halves);
// A PDF whose standard security handler asks for a password.
QByteArray PasswordPdf();
// A CMYK JPEG (as Adobe software writes it: inverted samples) black on the left half.
bool WriteCmykJpeg(const QString& path, QSize size);
// A grey JPEG of any size, written row by row (constant memory), flat grey.
bool WriteLargeGreyJpeg(const QString& path, QSize size, int grey);
// A whole PNG file (signature, header, one empty data chunk, end) whose
// header claims size.
QByteArray PngClaiming(QSize size);

// The share of black pixels in rect of a logo (black = 0xFF000000).
double BlackShare(const QImage& logo, const QRect& rect);
// Black on the left half and white on the right, away from the edges and
// the middle by margin: true when at least 95 % of each side is right.
bool LooksHalfBlack(const QImage& logo, Half half = Half::Left, int margin = 2);

} // namespace picturefiles
