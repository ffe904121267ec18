#pragma once
// Every command id of the program, and the ids of the bars, panes and child
// controls that share their numbering. No other file defines one or writes a
// command number as a literal: menus, the accelerator table, the toolbar, the
// palettes, the context menus and every command handler name them from here.
//
// The numbers are those of the old resources (the framework's own commands in
// the 57xxx and 59xxx ranges, the program's in 32xxx and 61xxx), so a setting
// or a log that names a number still means the same command. Resource numbers
// that are not ids of a command or a window (menus, cursors, bitmaps, dialogs,
// the string table) stay with their resources.
#include "platform/WinTypes.h"

// --- Commands ---------------------------------------------------------------------

// File menu.
constexpr UINT ID_FILE_NEW = 57600;
constexpr UINT ID_FILE_OPEN = 57601;
constexpr UINT ID_FILE_CLOSE = 57602;
constexpr UINT ID_FILE_SAVE = 57603;
constexpr UINT ID_FILE_SAVE_AS = 57604;
constexpr UINT ID_FILE_PRINT_SETUP = 57606;
constexpr UINT ID_FILE_PRINT = 57607;
constexpr UINT ID_FILE_PRINT_DIRECT = 57608;
constexpr UINT ID_FILE_PRINT_PREVIEW = 57609;
constexpr UINT ID_FILE_LOAD_PSW = 32821; // "Load Logo from *.psw" (the view)
constexpr UINT ID_FILE_SAVE_PSW = 32822; // "Save Logo on *.psw" (the view)
// The recent-file list: entry n (from 0) sends ID_FILE_MRU_FILE1 + n, for the
// frame's four entries (CRecentFileMenu::kCount).
constexpr UINT ID_FILE_MRU_FILE1 = 57616;
constexpr UINT ID_FILE_MRU_LAST = ID_FILE_MRU_FILE1 + 3;

// Edit menu.
constexpr UINT ID_EDIT_COPY = 57634;
constexpr UINT ID_EDIT_CUT = 57635;
constexpr UINT ID_EDIT_PASTE = 57637;
constexpr UINT ID_EDIT_PASTE_SPECIAL = 57639;
constexpr UINT ID_EDIT_UNDO = 57643;

// Window menu.
constexpr UINT ID_WINDOW_CASCADE = 57650;
constexpr UINT ID_WINDOW_TILE_HORZ = 57651;

// Application.
constexpr UINT ID_APP_ABOUT = 57664;
constexpr UINT ID_APP_EXIT = 57665;
constexpr UINT ID_HTML_HELP = 32784;
constexpr UINT ID_WEB_LINK = 32819;

// Next and previous pane (F6, Shift+F6): no handler, there are no split panes.
constexpr UINT ID_NEXT_PANE = 57680;
constexpr UINT ID_PREV_PANE = 57681;

// View menu: the bars shown or hidden. A palette's toggle is also its control id.
constexpr UINT ID_VIEW_TOOLBAR = 59392;
constexpr UINT ID_VIEW_STATUS_BAR = 59393;
constexpr UINT ID_VIEW_DRAW_TOOLS = 101;
constexpr UINT ID_VIEW_GENERIC_TOOLS = 102;
constexpr UINT ID_VIEW_IMAGE_TOOLS = 103;
constexpr UINT ID_VIEW_FRAME_TOOLS = 104;
constexpr UINT ID_VIEW_PATTERN_TOOLS = 61493;

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

// Text tool.
constexpr UINT ID_TEXT_FONT = 61473;

// Pen sizes of the view's context menu.
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

// Whole-image commands.
constexpr UINT ID_IMAGE_CLEAR = 32781;
constexpr UINT ID_IMAGE_SELECT_ALL = 32782;
constexpr UINT ID_IMAGE_REFRESH = 32783;
constexpr UINT ID_IMAGE_INVERT = 32823;
constexpr UINT ID_IMAGE_FLIP_HORIZONTAL = 32824;
constexpr UINT ID_IMAGE_FLIP_VERTICAL = 32825;
constexpr UINT ID_IMAGE_TO_BLACK_WHITE = 32826;
// "Convert Picture…": the logo's picture made into a new logo for a printer.
constexpr UINT ID_IMAGE_CONVERT_PICTURE = 32832;

// Send options: the three reversals and the frames.
constexpr UINT ID_REVERSE_IMAGE = 32793;
constexpr UINT ID_REVERSE_ROW = 32795;
constexpr UINT ID_REVERSE_COLOR = 32797;
constexpr UINT ID_FRAME_THIN = 32812;
constexpr UINT ID_FRAME_BOLD = 32813;
constexpr UINT ID_FRAME_DOUBLE = 32814;

// Fill patterns: pattern n (from 1) is ID_PATTERN_FIRST + n - 1.
constexpr UINT ID_PATTERN_FIRST = 61494;
constexpr UINT ID_PATTERN_LAST = 61505;

// Send to Printer menu.
constexpr UINT ID_PROGRAM_LOGO = 32789;
constexpr UINT ID_TEST_LOGO = 32790;
constexpr UINT ID_CONNECT_PRINTER = 32791;
constexpr UINT ID_CHANGE_COM_PORT = 32792;
constexpr UINT ID_PRINT_LOGO = 32799;
// The logo as the printer will print it (the logo window's View menu).
constexpr UINT ID_PRINTER_PREVIEW = 32831;
// Every port scanned at once, and the printer chosen connected.
constexpr UINT ID_FIND_PRINTERS = 32840;
// The logo of the last "Program Logo" into the same slot of each printer
// that answers on the port next, until the operator stops.
constexpr UINT ID_PROGRAM_NEXT_PRINTER = 32841;
// Read a flash-area printer's logo area back after programming (a setting).
constexpr UINT ID_VERIFY_AFTER_PROGRAMMING = 32842;

// The client variant's QZ entry of the view's context menu (the document handles it).
constexpr UINT ID_SAVE_QZ_LOG = 32820;

// Sent by Alt+W; nothing handles it, as it never did.
constexpr UINT ID_UNHANDLED_ALT_W = 32830;

// Keyboard access to the menus, whose Alt letters the accelerators take:
// F10 opens the menu bar, and Help lists every key.
constexpr UINT ID_OPEN_MENU_BAR = 32843;
constexpr UINT ID_HELP_SHORTCUTS = 32844;

// --- Bars, status panes and child controls (never sent as commands) ---------------

// The standard toolbar is the bar ID_VIEW_TOOLBAR shows and hides.
constexpr UINT ID_TOOLBAR_STANDARD = ID_VIEW_TOOLBAR;
constexpr UINT ID_BANNER_BAR = 59397;

// Status bar panes; the message pane is ID_SEPARATOR.
constexpr UINT ID_SEPARATOR = 0;
constexpr UINT ID_PANE_PRINTER = 61462;
constexpr UINT ID_PANE_PORT = 61463;
constexpr UINT ID_PANE_POSITION = 6565;
constexpr UINT ID_PANE_SIZE = 6566;
constexpr UINT ID_PANE_TOOL = 6567;
constexpr UINT ID_INDICATOR_CAPS = 59137;
constexpr UINT ID_INDICATOR_NUM = 59138;
constexpr UINT ID_INDICATOR_SCRL = 59139;
