#pragma once
// Command ids the editor view answers, and the tool codes it keeps in the
// document's drawing mode.
#include "platform/WinTypes.h"

namespace viewid {

// Tools.
constexpr UINT ID_TOOL_ERASER = 32772;
constexpr UINT ID_TOOL_PEN = 32773;
constexpr UINT ID_TOOL_SELECT_AREA = 32774;
constexpr UINT ID_TOOL_BRUSH = 32775;
constexpr UINT ID_TOOL_FILL = 32776;
constexpr UINT ID_TOOL_LINE = 32777;
constexpr UINT ID_TOOL_RECTANGLE = 32778;
constexpr UINT ID_TOOL_POINTER = 32779;
constexpr UINT ID_TOOL_TEXT = 61470;
constexpr UINT ID_TOOL_ELLIPSE = 61491;

// Pen sizes of the context menu.
constexpr UINT ID_SIZE_2 = 61475;
constexpr UINT ID_SIZE_3 = 61476;
constexpr UINT ID_SIZE_5 = 61477;
constexpr UINT ID_SIZE_7 = 61478;
constexpr UINT ID_SIZE_USER = 61479;

// Magnifier.
constexpr UINT ID_SHOW_GRID = 61480;
constexpr UINT ID_ZOOM_LARGE = 61485;
constexpr UINT ID_ZOOM_NORMAL = 61486;
constexpr UINT ID_ZOOM_CHOSEN = 61487;

// File commands whose enabling the view decides.
constexpr UINT ID_FILE_CLOSE = 57602;
constexpr UINT ID_FILE_SAVE = 57603;
constexpr UINT ID_FILE_SAVE_AS = 57604;
constexpr UINT ID_FILE_PRINT = 57607;
constexpr UINT ID_FILE_PRINT_DIRECT = 57608;
constexpr UINT ID_FILE_PRINT_PREVIEW = 57609;

// Whole-image commands.
constexpr UINT ID_IMAGE_CLEAR = 32781;
constexpr UINT ID_IMAGE_SELECT_ALL = 32782;
constexpr UINT ID_IMAGE_REFRESH = 32783;
constexpr UINT ID_IMAGE_INVERT = 32823;
constexpr UINT ID_IMAGE_FLIP_HORIZONTAL = 32824;
constexpr UINT ID_IMAGE_FLIP_VERTICAL = 32825;
constexpr UINT ID_IMAGE_TO_BLACK_WHITE = 32826;

// Send options: the frames and the three reversals.
constexpr UINT ID_REVERSE_IMAGE = 32793;
constexpr UINT ID_REVERSE_ROW = 32795;
constexpr UINT ID_REVERSE_COLOR = 32797;
constexpr UINT ID_FRAME_THIN = 32812;
constexpr UINT ID_FRAME_BOLD = 32813;
constexpr UINT ID_FRAME_DOUBLE = 32814;

// Edit menu.
constexpr UINT ID_EDIT_COPY = 57634;
constexpr UINT ID_EDIT_CUT = 57635;
constexpr UINT ID_EDIT_PASTE = 57637;
constexpr UINT ID_EDIT_PASTE_SPECIAL = 57639;
constexpr UINT ID_EDIT_UNDO = 57643;

// Text tool.
constexpr UINT ID_TEXT_FONT = 61473;
// The text box, as the child control it stands for was numbered.
constexpr UINT IDC_TEXT_BOX = 104;

// Fill patterns: pattern n is ID_PATTERN_FIRST + n - 1.
constexpr UINT ID_PATTERN_FIRST = 61494;
constexpr UINT ID_PATTERN_LAST = 61505;

// Handled by the document; listed in the context menu.
constexpr UINT ID_SAVE_QZ_LOG = 32820;

// Resource ids of the two context menus and the dialogs the view opens.
constexpr UINT IDR_MENU_TOOLS_WITH_SIZE = 158;
constexpr UINT IDR_MENU_TOOLS = 160;

} // namespace viewid

// Tool codes, as kept in the document's drawing mode.
namespace tool {
constexpr int None = 0;
constexpr int Pen = 10;
constexpr int Brush = 20;
constexpr int Eraser = 30;
constexpr int TextBoxOpen = 40;
constexpr int ZoomBox = 50;
constexpr int SelectArea = 60;
constexpr int SelectionPresent = 70;
constexpr int Text = 80;
constexpr int Fill = 90;
constexpr int Line = 100;
constexpr int Rectangle = 110;
constexpr int Ellipse = 120;
} // namespace tool
