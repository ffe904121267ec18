#include "picture/PictureFit.h"

#include <algorithm>

namespace picture {

namespace {

// A length scaled by num / den, rounded to the nearest dot, at least one.
int Scaled(int length, qint64 num, qint64 den)
{
    return static_cast<int>(std::max<qint64>(1, (static_cast<qint64>(length) * num * 2 + den) / (2 * den)));
}

QSize DrawnSize(QSize picture, QSize area, Fit fit)
{
    switch (fit) {
    case Fit::Within:
        // Wider in proportion than the area: the width decides.
        if (static_cast<qint64>(picture.width()) * area.height() >= static_cast<qint64>(picture.height()) * area.width())
            return QSize(area.width(), std::min(area.height(), Scaled(picture.height(), area.width(), picture.width())));
        return QSize(std::min(area.width(), Scaled(picture.width(), area.height(), picture.height())), area.height());
    case Fit::Width:
        return QSize(area.width(), Scaled(picture.height(), area.width(), picture.width()));
    case Fit::Original:
        return picture;
    case Fit::Stretch:
        break;
    }
    return area;
}

struct CSpan {
    int from; // first drawn pixel shown
    int length;
    int at; // where it lands in the area
};

CSpan PlaceAlong(int drawn, int area, Placement placement)
{
    const bool centre = placement == Placement::Center;
    if (drawn <= area)
        return {0, drawn, centre ? (area - drawn) / 2 : 0};
    return {centre ? (drawn - area) / 2 : 0, area, 0};
}

} // namespace

std::optional<CFitPlan> PlanFit(QSize picture, QSize area, Fit fit, Placement placement)
{
    if (picture.isEmpty() || area.isEmpty())
        return std::nullopt;
    const QSize drawn = DrawnSize(picture, area, fit);
    const CSpan across = PlaceAlong(drawn.width(), area.width(), placement);
    const CSpan down = PlaceAlong(drawn.height(), area.height(), placement);
    return CFitPlan{drawn, QRect(across.from, down.from, across.length, down.length), QPoint(across.at, down.at)};
}

std::optional<Fit> FitNamed(const QString& name)
{
    if (name == QLatin1String("within"))
        return Fit::Within;
    if (name == QLatin1String("width"))
        return Fit::Width;
    if (name == QLatin1String("original"))
        return Fit::Original;
    if (name == QLatin1String("stretch"))
        return Fit::Stretch;
    return std::nullopt;
}

std::optional<Placement> PlacementNamed(const QString& name)
{
    if (name == QLatin1String("center"))
        return Placement::Center;
    if (name == QLatin1String("left"))
        return Placement::Left;
    return std::nullopt;
}

QString NameOf(Fit fit)
{
    switch (fit) {
    case Fit::Within:
        return QStringLiteral("within");
    case Fit::Width:
        return QStringLiteral("width");
    case Fit::Original:
        return QStringLiteral("original");
    case Fit::Stretch:
        break;
    }
    return QStringLiteral("stretch");
}

QString NameOf(Placement placement)
{
    return placement == Placement::Left ? QStringLiteral("left") : QStringLiteral("center");
}

} // namespace picture
