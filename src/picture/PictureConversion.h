#pragma once
// A picture made into a logo of the printer's area: drawn at its fit, turned
// to grey with the tone controls, made black and white by a method, placed on
// white. The picture is kept drawn at the last fit, so moving a tone control
// or choosing another method does not draw it again.
#include "picture/DitherMethods.h"
#include "picture/Picture.h"
#include "picture/PictureFit.h"
#include "picture/Tone.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace picture {

struct CPictureSettings {
    Fit fit = Fit::Within;
    Placement placement = Placement::Center;
    CTone tone;
    dither::CMethodSettings method;
    int page = 1; // of a PDF
};

class CPictureConversion {
public:
    explicit CPictureConversion(const CPicture& picture) : m_picture(picture) {}

    const CPicture& Picture() const { return m_picture; }

    // Draws the picture for a logo area (nothing when fit, placement, page and
    // area are those of the last call); false and why when it cannot be drawn.
    bool FitTo(QSize area, Fit fit, Placement placement, int page, QString* why);
    // The logo of the last fit's area, black on white (RGB32), with the tone
    // and the method; null before a fit succeeded.
    QImage Logo(const CTone& tone, const dither::CMethodSettings& method) const;
    // Both steps.
    QImage Convert(QSize area, const CPictureSettings& settings, QString* why);

    // Where the drawn picture sits in the area, and the picture as drawn.
    const CFitPlan& Plan() const { return m_plan; }
    const QImage& Fitted() const { return m_fitted; }

private:
    struct CFitKey {
        QSize area;
        Fit fit;
        Placement placement;
        int page;
        bool operator==(const CFitKey&) const = default;
    };

    CPicture m_picture;
    std::optional<CFitKey> m_key;
    CFitPlan m_plan;
    QImage m_fitted;
};

// A logo of area, all white.
QImage WhiteLogo(QSize area);

} // namespace picture
