#include "resources/AcceleratorTable.h"

#include "resources/CommandIds.h"

#include <algorithm>

namespace {

struct RawAccel {
    const char* key; // portable text, as QKeySequence reads it
    UINT commandId;
};

// Kept in the resource's order. Alt+M sends Flip Horizontal, not pointer mode,
// and Alt+W sends a command that nothing handles: both are how the program has
// always behaved and operators rely on Alt+M.
constexpr RawAccel kAccelerators[] = {
    {"Ctrl+N", ID_FILE_NEW},
    {"Ctrl+O", ID_FILE_OPEN},
    {"Ctrl+S", ID_FILE_SAVE},
    {"Ctrl+P", ID_FILE_PRINT},
    {"Ctrl+Z", ID_EDIT_UNDO},
    {"Alt+Backspace", ID_EDIT_UNDO},
    {"Ctrl+X", ID_EDIT_CUT},
    {"Shift+Del", ID_EDIT_CUT},
    {"Ctrl+C", ID_EDIT_COPY},
    {"Ctrl+Ins", ID_EDIT_COPY},
    {"Ctrl+V", ID_EDIT_PASTE},
    {"Shift+Ins", ID_EDIT_PASTE},
    {"Ctrl+Alt+V", ID_EDIT_PASTE_SPECIAL},
    {"F6", ID_NEXT_PANE},
    {"Shift+F6", ID_PREV_PANE},
    {"Ctrl+E", ID_CONNECT_PRINTER},
    {"Ctrl+T", ID_TEST_LOGO},
    {"Ctrl+L", ID_PROGRAM_LOGO},
    {"Ctrl+Q", ID_PRINT_LOGO},
    {"Ctrl+M", ID_CHANGE_COM_PORT},
    {"Ctrl+I", ID_REVERSE_IMAGE},
    {"Ctrl+W", ID_REVERSE_ROW},
    {"Ctrl+R", ID_REVERSE_COLOR},
    {"Ctrl+F", ID_FRAME_THIN},
    {"Ctrl+B", ID_FRAME_BOLD},
    {"Ctrl+D", ID_FRAME_DOUBLE},
    {"Alt+X", ID_IMAGE_SELECT_ALL},
    {"Alt+V", ID_IMAGE_REFRESH},
    {"Alt+C", ID_IMAGE_CLEAR},
    {"Alt+Q", ID_IMAGE_TO_BLACK_WHITE},
    {"Alt+D", ID_IMAGE_INVERT},
    {"Alt+M", ID_IMAGE_FLIP_HORIZONTAL},
    {"Alt+O", ID_IMAGE_FLIP_VERTICAL},
    {"Alt+P", ID_TOOL_PEN},
    {"Alt+B", ID_TOOL_BRUSH},
    {"Alt+E", ID_TOOL_ERASER},
    {"Alt+I", ID_TOOL_FILL},
    {"Alt+A", ID_TOOL_SELECT_AREA},
    {"Alt+T", ID_TOOL_TEXT},
    {"Alt+L", ID_TOOL_LINE},
    {"Alt+R", ID_TOOL_RECTANGLE},
    {"Alt+S", ID_TOOL_ELLIPSE},
    {"Alt+F", ID_TEXT_FONT},
    {"Alt+Z", ID_ZOOM_LARGE},
    {"Alt+N", ID_ZOOM_NORMAL},
    {"Alt+U", ID_ZOOM_CHOSEN},
    {"Alt+G", ID_SHOW_GRID},
    {"Alt+W", ID_UNHANDLED_ALT_W},
    // The tools' Alt letters leave the menus no mnemonics of their own.
    {"F10", ID_OPEN_MENU_BAR},
};

std::vector<CAccelEntry> BuildTable()
{
    std::vector<CAccelEntry> table;
    table.reserve(std::size(kAccelerators));
    for (const RawAccel& raw : kAccelerators)
        table.push_back({QKeySequence(QString::fromLatin1(raw.key), QKeySequence::PortableText), raw.commandId});
    return table;
}

} // namespace

const std::vector<CAccelEntry>& AcceleratorTable()
{
    static const std::vector<CAccelEntry> table = BuildTable();
    return table;
}

UINT AcceleratorCommand(const QKeySequence& key)
{
    for (const CAccelEntry& entry : AcceleratorTable())
        if (entry.key == key)
            return entry.commandId;
    return 0;
}

QList<QKeySequence> AcceleratorKeysFor(UINT commandId)
{
    QList<QKeySequence> keys;
    for (const CAccelEntry& entry : AcceleratorTable())
        if (entry.commandId == commandId)
            keys.append(entry.key);
    return keys;
}

std::vector<UINT> AcceleratorCommandIds()
{
    std::vector<UINT> ids;
    for (const CAccelEntry& entry : AcceleratorTable())
        if (std::find(ids.begin(), ids.end(), entry.commandId) == ids.end())
            ids.push_back(entry.commandId);
    return ids;
}
