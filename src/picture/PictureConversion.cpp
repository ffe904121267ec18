#include "picture/PictureConversion.h"

#include <algorithm>

namespace picture {

namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kBlack = 0xFF000000u;

// The dots of grey (0 or 255) written into the logo at `at`; what would fall
// outside the logo is left out.
void PlaceDots(const QImage& dots, QImage& logo, QPoint at)
{
    const int width = std::min(dots.width(), logo.width() - at.x());
    const int height = std::min(dots.height(), logo.height() - at.y());
    for (int y = 0; y < height; ++y) {
        const uchar* in = dots.constScanLine(y);
        auto* out = reinterpret_cast<QRgb*>(logo.scanLine(at.y() + y)) + at.x();
        for (int x = 0; x < width; ++x)
            out[x] = in[x] ? kWhite : kBlack;
    }
}

} // namespace

QImage WhiteLogo(QSize area)
{
    QImage logo(area, QImage::Format_RGB32);
    logo.fill(kWhite);
    return logo;
}

bool CPictureConversion::FitTo(QSize area, Fit fit, Placement placement, int page, QString* why)
{
    const CFitKey key{area, fit, placement, page};
    if (m_key && *m_key == key && !m_fitted.isNull())
        return true;
    m_key.reset();
    m_fitted = QImage();
    const std::optional<CFitPlan> plan = PlanFit(m_picture.NaturalSize(page), area, fit, placement);
    if (!plan) {
        *why = QStringLiteral("the picture or the logo area is empty");
        return false;
    }
    QImage fitted = m_picture.Draw(page, *plan, why);
    if (fitted.isNull())
        return false;
    m_plan = *plan;
    m_fitted = fitted;
    m_key = key;
    return true;
}

QImage CPictureConversion::Logo(const CTone& tone, const dither::CMethodSettings& method) const
{
    if (!m_key || m_fitted.isNull())
        return QImage();
    QImage dots = GreyOnWhite(m_fitted, ToneTableOf(tone));
    dither::Apply(dots, method);
    QImage logo = WhiteLogo(m_key->area);
    PlaceDots(dots, logo, m_plan.at);
    return logo;
}

QImage CPictureConversion::Convert(QSize area, const CPictureSettings& settings, QString* why)
{
    if (!FitTo(area, settings.fit, settings.placement, settings.page, why))
        return QImage();
    return Logo(settings.tone, settings.method);
}

} // namespace picture
