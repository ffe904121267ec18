#pragma once
// The menu resources of the main frame: menu 128 (no logo window open) and
// menu 129 (the logo windows' menu), with the texts exactly as shown, "\t"
// separating the shortcut text. The shortcuts themselves are in the
// accelerator table.
#include "platform/WinTypes.h"

#include <QString>
#include <vector>

enum class MenuItemKind {
    Command,     // text and command id
    Separator,
    RecentFiles, // the recent-file list (ID_FILE_MRU_FILE1.., "Recent File" while empty)
    WebLink,     // command id; the caption is the configured web address
};

struct CMenuItemDef {
    MenuItemKind kind;
    UINT id;
    QString text;
};

struct CMenuPopupDef {
    QString title;
    std::vector<CMenuItemDef> items;
};

constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT IDR_GLYPHATYPE = 129;
// The logo view's two context menus, with and without the pen sizes; the view
// builds them itself (MenuResource has no popups for them).
constexpr UINT IDR_MENU_TOOLS_WITH_SIZE = 158;
constexpr UINT IDR_MENU_TOOLS = 160;

// The popups of menu id in order; empty for any other id.
const std::vector<CMenuPopupDef>& MenuResource(UINT id);
