#pragma once
// The main window's placement as the profile keeps it under "WindowPos":
// ten comma-separated numbers, "flags,show,minX,minY,maxX,maxY,left,top,right,bottom",
// the normal rectangle with exclusive right and bottom edges.
#include "platform/WinTypes.h"

#include <QRect>
#include <QString>
#include <optional>

constexpr UINT WPF_RESTORETOMAXIMIZED = 2;
constexpr UINT SW_SHOWNORMAL = 1;
constexpr UINT SW_SHOWMAXIMIZED = 3;

struct CWindowPlacement {
    UINT flags = 0;
    UINT showCmd = SW_SHOWNORMAL;
    int minX = -1;
    int minY = -1;
    int maxX = -1;
    int maxY = -1;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // The normal rectangle in Qt's terms (QRect's right and bottom are inclusive).
    QRect NormalRect() const { return QRect(left, top, right - left, bottom - top); }
    bool ShowsMaximized() const { return showCmd == SW_SHOWMAXIMIZED || (flags & WPF_RESTORETOMAXIMIZED) != 0; }
};

// The placement a stored text gives, or nothing when the text is empty, does
// not hold exactly ten numbers, or holds a normal rectangle with no area or
// beyond any screen (a damaged profile must not ask for a window of gigapixels).
std::optional<CWindowPlacement> ParseWindowPlacement(const QString& text);

// The text written with "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d".
QString FormatWindowPlacement(const CWindowPlacement& placement);

// The placement of a window with this normal geometry, maximised or not.
CWindowPlacement PlacementOf(const QRect& normalGeometry, bool maximized);

// The available area of the screen under rect's centre (else the primary
// screen's): where a restored placement is kept inside.
QRect ScreenAreaUnder(const QRect& rect);
