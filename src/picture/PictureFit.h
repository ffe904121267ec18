#pragma once
// Where a picture goes in the printer's logo area: how large it is drawn and
// which part of it shows where.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

namespace picture {

enum class Fit {
    Within,   // the largest size of the same proportions that fits the area
    Width,    // the area's width, proportions kept; what is taller is cut
    Original, // one picture pixel (or unit of a vector picture) per dot
    Stretch,  // the area exactly
};

enum class Placement {
    Center, // centred; a side larger than the area loses as much at either end
    Left,   // at the top left corner; a larger side is cut at the right or bottom
};

struct CFitPlan {
    QSize drawn;    // the size the whole picture is drawn at
    QRect visible;  // the part of the drawn picture inside the area
    QPoint at;      // where that part's top left corner lands in the area
};

// Nothing sensible for an empty picture or area.
std::optional<CFitPlan> PlanFit(QSize picture, QSize area, Fit fit, Placement placement);

// Names on the command line: within, width, original, stretch; center, left.
std::optional<Fit> FitNamed(const QString& name);
std::optional<Placement> PlacementNamed(const QString& name);
QString NameOf(Fit fit);
QString NameOf(Placement placement);

} // namespace picture
