#pragma once
// The picture options of "glyphane-cli import" and "preview", and the logo a
// picture becomes with them.
#include "app/CliArgs.h"
#include "picture/PictureConversion.h"

#include <QStringList>

class CGlyphaneDoc;
struct CPrinterChoice;

namespace cli {

// --invert, --serpentine.
QStringList PictureFlags();
// --fit, --placement, --method, --threshold, --brightness, --contrast, --gamma, --page.
QStringList PictureOptions();

// The settings the options ask for (the defaults where none is given);
// throws a Refusal naming the option a value does not suit.
picture::CPictureSettings PictureSettingsOf(const CArgs& a);
// --method, Floyd-Steinberg when absent.
dither::Method MethodOption(const CArgs& a);
// --threshold, 128 when absent.
int ThresholdOption(const CArgs& a);

// A new logo of the printer's area in doc, converted from the picture file
// with the settings; throws a Refusal with the message the editor shows.
void MakeLogoFromPicture(CGlyphaneDoc& doc, const CPrinterChoice& printer, const QString& path,
                         const picture::CPictureSettings& settings);

} // namespace cli
