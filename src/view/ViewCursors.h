#pragma once
// The editor's cursors by their resource ids, drawn once from small pixmaps;
// each tool names its own (tools/Tool.h).
#include "platform/WinTypes.h"

#include <QCursor>

namespace viewcursor {

constexpr UINT IDC_ERASER = 132;
constexpr UINT IDC_POINTER = 137;
constexpr UINT IDC_ZOOM = 156;
constexpr UINT IDC_FILL = 164;
constexpr UINT IDC_CROSS = 7012;
constexpr UINT IDC_PEN = 7013;
constexpr UINT IDC_BRUSH = 7014;

// The cursor of a resource id (the arrow for an unknown id).
QCursor LoadCursor(UINT resourceId);
// Where the cursor's active point lies inside its image.
QPoint HotSpotOf(UINT resourceId);

} // namespace viewcursor
