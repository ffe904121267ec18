#include "resources/MenuTables.h"

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
    return {MenuItemKind::WebLink, 32819, QString()};
}

CMenuPopupDef HelpPopup()
{
    return {QStringLiteral("&?"), {Cmd(32784, u"&Html Help"), Sep(), Cmd(57664, u"&About Glyphane..."), Sep(), Web()}};
}

std::vector<CMenuPopupDef> BuildMenu128()
{
    return {
        {QStringLiteral("&File"),
         {Cmd(57600, u"&New\tCtrl+N"), Cmd(57601, u"&Open...\tCtrl+O"), Sep(), Recent(), Sep(), Cmd(57665, u"E&xit")}},
        {QStringLiteral("&View"), {Cmd(59392, u"&Toolbar"), Cmd(59393, u"&Status Bar")}},
        HelpPopup(),
    };
}

std::vector<CMenuPopupDef> BuildMenu129()
{
    return {
        {QStringLiteral("&File"),
         {Cmd(57600, u"&New\tCtrl+N"), Cmd(57601, u"&Open...\tCtrl+O"), Cmd(57602, u"&Close"),
          Cmd(57603, u"&Save\tCtrl+S"), Cmd(57604, u"Save &As..."), Sep(), Cmd(32821, u"Load Logo from *.psw"),
          Cmd(32822, u"Save Logo on *.psw"), Sep(), Recent(), Sep(), Cmd(57665, u"E&xit")}},
        {QStringLiteral("&Edit"),
         {Cmd(57643, u"&Undo\tCtrl+Z"), Sep(), Cmd(57635, u"Cu&t\tCtrl+X"), Cmd(57634, u"&Copy\tCtrl+C"),
          Cmd(57637, u"&Paste\tCtrl+V"), Cmd(57639, u"Paste Special\tCtrl+Alt+V")}},
        {QStringLiteral("&Send to Printer"),
         {Cmd(32791, u"Conn&ect to the Printer\tCtrl+E"), Sep(), Cmd(32790, u"&Test Logo\tCtrl+T"),
          Cmd(32789, u"Program &Logo\tCtrl+L"), Cmd(32799, u"&Print Logo\tCtrl+Q"), Sep(),
          Cmd(32792, u"Change Co&m Port\tCtrl+M")}},
        {QStringLiteral("&Image Options"),
         {Cmd(32793, u"Reverse &Image\tCtrl+I"), Cmd(32795, u"Reverse &Row\tCtrl+W"),
          Cmd(32797, u"Reverse &Color\tCtrl+R"), Sep(), Cmd(32812, u"Thin &Frame\tCtrl+F"),
          Cmd(32813, u"&Bold Frame\tCtrl+B"), Cmd(32814, u"&Double Frame\tCtrl+D")}},
        {QStringLiteral("&Tools"),
         {Cmd(32782, u"Select All Pi&xels\tAlt+X"), Cmd(32783, u"Refresh &View\tAlt+V"),
          Cmd(32781, u"&Clear All Pixels\tAlt+C"), Sep(), Cmd(32826, u"To Black White\tAlt+Q"),
          Cmd(32823, u"Invert All Pixels\tAlt+D"), Cmd(32824, u"Flip Pixel Horizontal \tAlt+M"),
          Cmd(32825, u"Flip Pixel Vertical\tAlt+O"), Sep(), Cmd(32779, u"Select Pointer &Mode\tAlt+M"),
          Cmd(32773, u"Select &Pen\tAlt+P"), Cmd(32775, u"Select &Brush\tAlt+B"),
          Cmd(32772, u"Select &Eraser\tAlt+E"), Cmd(32776, u"Select F&ill\tAlt+I"),
          Cmd(32774, u"Select &Area\tAlt+A"), Cmd(61470, u"Select &Text\tAlt+T"),
          Cmd(32777, u"Select &Line\tAlt+L"), Cmd(32778, u"Select &Rectangle\tAlt+R"),
          Cmd(61491, u"Select Ellip&se\tAlt+S"), Sep(), Cmd(61473, u"Select &Font\tAlt+F")}},
        {QStringLiteral("&Zoom"),
         // The chosen-size entry has no fixed caption of its own; it opens the zoom dialog.
         {Cmd(61485, u"&Large Size\tAlt+Z"), Cmd(61486, u"&Normal Size\tAlt+N"),
          Cmd(61487, u"&User Size...\tAlt+U"), Sep(), Cmd(61480, u"Show &Grid\tAlt+G")}},
        {QStringLiteral("&View"),
         {Cmd(59392, u"&Toolbar"), Cmd(59393, u"&Status Bar"), Cmd(103, u"&Image Tools "),
          Cmd(104, u"&Frame Tools"), Cmd(102, u"&Generic Tools"), Cmd(101, u"&Draw Tools"),
          Cmd(61493, u"&Pattern Tools")}},
        {QStringLiteral("&Window"), {Cmd(57650, u"&Cascade"), Cmd(57651, u"&Tile")}},
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
