#include "resources/MenuTables.h"

#include "resources/CommandIds.h"

namespace {

CMenuItemDef Cmd(UINT id, const char16_t* text)
{
    return {MenuItemKind::Command, id, QString::fromUtf16(text)};
}

CMenuItemDef Sep()
{
    return {MenuItemKind::Separator, 0, QString()};
}

CMenuItemDef Recent()
{
    return {MenuItemKind::RecentFiles, ID_FILE_MRU_FILE1, QStringLiteral("Recent File")};
}

CMenuItemDef Web()
{
    return {MenuItemKind::WebLink, ID_WEB_LINK, QString()};
}

CMenuPopupDef HelpPopup()
{
    return {QStringLiteral("&?"),
            {Cmd(ID_HTML_HELP, u"&Html Help"), Cmd(ID_HELP_SHORTCUTS, u"&Keyboard Shortcuts"), Sep(), Cmd(ID_APP_ABOUT, u"&About Glyphane..."), Sep(), Web()}};
}

std::vector<CMenuPopupDef> BuildMenu128()
{
    return {
        {QStringLiteral("&File"),
         {Cmd(ID_FILE_NEW, u"&New\tCtrl+N"), Cmd(ID_FILE_OPEN, u"&Open...\tCtrl+O"), Sep(), Recent(), Sep(),
          Cmd(ID_APP_EXIT, u"E&xit")}},
        {QStringLiteral("&View"), {Cmd(ID_VIEW_TOOLBAR, u"&Toolbar"), Cmd(ID_VIEW_STATUS_BAR, u"&Status Bar")}},
        HelpPopup(),
    };
}

std::vector<CMenuPopupDef> BuildMenu129()
{
    return {
        {QStringLiteral("&File"),
         {Cmd(ID_FILE_NEW, u"&New\tCtrl+N"), Cmd(ID_FILE_OPEN, u"&Open...\tCtrl+O"), Cmd(ID_FILE_CLOSE, u"&Close"),
          Cmd(ID_FILE_SAVE, u"&Save\tCtrl+S"), Cmd(ID_FILE_SAVE_AS, u"Save &As..."), Sep(),
          Cmd(ID_FILE_LOAD_PSW, u"Load Logo from *.psw"), Cmd(ID_FILE_SAVE_PSW, u"Save Logo on *.psw"), Sep(), Recent(),
          Sep(), Cmd(ID_APP_EXIT, u"E&xit")}},
        {QStringLiteral("&Edit"),
         {Cmd(ID_EDIT_UNDO, u"&Undo\tCtrl+Z"), Sep(), Cmd(ID_EDIT_CUT, u"Cu&t\tCtrl+X"),
          Cmd(ID_EDIT_COPY, u"&Copy\tCtrl+C"), Cmd(ID_EDIT_PASTE, u"&Paste\tCtrl+V"),
          Cmd(ID_EDIT_PASTE_SPECIAL, u"Paste Special\tCtrl+Alt+V")}},
        {QStringLiteral("&Send to Printer"),
         {Cmd(ID_CONNECT_PRINTER, u"Conn&ect to the Printer\tCtrl+E"), Cmd(ID_FIND_PRINTERS, u"&Find Printers..."),
          Sep(), Cmd(ID_TEST_LOGO, u"&Test Logo\tCtrl+T"), Cmd(ID_PROGRAM_LOGO, u"Program &Logo\tCtrl+L"),
          Cmd(ID_PROGRAM_NEXT_PRINTER, u"Program &Next Printer"), Cmd(ID_PRINT_LOGO, u"&Print Logo\tCtrl+Q"), Sep(),
          Cmd(ID_VERIFY_AFTER_PROGRAMMING, u"&Verify After Programming"), Sep(),
          Cmd(ID_CHANGE_COM_PORT, u"Change Co&m Port\tCtrl+M")}},
        {QStringLiteral("&Image Options"),
         {Cmd(ID_REVERSE_IMAGE, u"Reverse &Image\tCtrl+I"), Cmd(ID_REVERSE_ROW, u"Reverse &Row\tCtrl+W"),
          Cmd(ID_REVERSE_COLOR, u"Reverse &Color\tCtrl+R"), Sep(), Cmd(ID_FRAME_THIN, u"Thin &Frame\tCtrl+F"),
          Cmd(ID_FRAME_BOLD, u"&Bold Frame\tCtrl+B"), Cmd(ID_FRAME_DOUBLE, u"&Double Frame\tCtrl+D")}},
        {QStringLiteral("&Tools"),
         {Cmd(ID_IMAGE_SELECT_ALL, u"Select All Pi&xels\tAlt+X"), Cmd(ID_IMAGE_REFRESH, u"Refresh &View\tAlt+V"),
          Cmd(ID_IMAGE_CLEAR, u"&Clear All Pixels\tAlt+C"), Sep(),
          Cmd(ID_IMAGE_TO_BLACK_WHITE, u"To Black White\tAlt+Q"), Cmd(ID_IMAGE_CONVERT_PICTURE, u"Convert Picture…"),
          Cmd(ID_IMAGE_INVERT, u"Invert All Pixels\tAlt+D"),
          Cmd(ID_IMAGE_FLIP_HORIZONTAL, u"Flip Pixel Horizontal \tAlt+M"),
          Cmd(ID_IMAGE_FLIP_VERTICAL, u"Flip Pixel Vertical\tAlt+O"), Sep(),
          Cmd(ID_TOOL_POINTER, u"Select Pointer &Mode\tAlt+M"),
          Cmd(ID_TOOL_PEN, u"Select &Pen\tAlt+P"), Cmd(ID_TOOL_BRUSH, u"Select &Brush\tAlt+B"),
          Cmd(ID_TOOL_ERASER, u"Select &Eraser\tAlt+E"), Cmd(ID_TOOL_FILL, u"Select F&ill\tAlt+I"),
          Cmd(ID_TOOL_SELECT_AREA, u"Select &Area\tAlt+A"), Cmd(ID_TOOL_TEXT, u"Select &Text\tAlt+T"),
          Cmd(ID_TOOL_LINE, u"Select &Line\tAlt+L"), Cmd(ID_TOOL_RECTANGLE, u"Select &Rectangle\tAlt+R"),
          Cmd(ID_TOOL_ELLIPSE, u"Select Ellip&se\tAlt+S"), Sep(), Cmd(ID_TEXT_FONT, u"Select &Font\tAlt+F")}},
        {QStringLiteral("&Zoom"),
         // The chosen-size entry has no fixed caption of its own; it opens the zoom dialog.
         {Cmd(ID_ZOOM_LARGE, u"&Large Size\tAlt+Z"), Cmd(ID_ZOOM_NORMAL, u"&Normal Size\tAlt+N"),
          Cmd(ID_ZOOM_CHOSEN, u"&User Size...\tAlt+U"), Sep(), Cmd(ID_SHOW_GRID, u"Show &Grid\tAlt+G")}},
        {QStringLiteral("&View"),
         {Cmd(ID_VIEW_TOOLBAR, u"&Toolbar"), Cmd(ID_VIEW_STATUS_BAR, u"&Status Bar"),
          Cmd(ID_VIEW_IMAGE_TOOLS, u"&Image Tools "), Cmd(ID_VIEW_FRAME_TOOLS, u"&Frame Tools"),
          Cmd(ID_VIEW_GENERIC_TOOLS, u"&Generic Tools"), Cmd(ID_VIEW_DRAW_TOOLS, u"&Draw Tools"),
          Cmd(ID_VIEW_PATTERN_TOOLS, u"&Pattern Tools"), Sep(), Cmd(ID_PRINTER_PREVIEW, u"Printer Pre&view")}},
        {QStringLiteral("&Window"), {Cmd(ID_WINDOW_CASCADE, u"&Cascade"), Cmd(ID_WINDOW_TILE_HORZ, u"&Tile")}},
        HelpPopup(),
    };
}

} // namespace

const std::vector<CMenuPopupDef>& MenuResource(UINT id)
{
    static const std::vector<CMenuPopupDef> menu128 = BuildMenu128();
    static const std::vector<CMenuPopupDef> menu129 = BuildMenu129();
    static const std::vector<CMenuPopupDef> none;
    if (id == IDR_MAINFRAME)
        return menu128;
    if (id == IDR_GLYPHATYPE)
        return menu129;
    return none;
}
