// The main frame's bars: the standard toolbar and banner at the top, the five
// column palettes docked on the right, their profile settings, and the
// window placement kept in the profile.
#include "frame/MainFrame.h"

#include "components/SettingsStore.h"
#include "frame/ChildFrame.h"
#include "frame/ColumnToolBar.h"
#include "frame/ToolImages.h"
#include "frame/WindowPlacement.h"
#include "document/GlyphaneDoc.h"
#include "platform/KeepInside.h"
#include "platform/UiSeam.h"
#include "view/GlyphaneView.h"
#include "resources/CommandIds.h"
#include "resources/FillPatterns.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QToolBar>

namespace {

const QString kGeneral = QStringLiteral("General");
const QString kSettings = QStringLiteral("Settings");
const QString kWindowPos = QStringLiteral("WindowPos");
// The bars' layout is kept beside the palette keys, never in their group, and
// never read back (the palettes always start docked as below).
const QString kBarStateGroup = QStringLiteral("General-Summary");

constexpr UINT kSeparator = 0;
constexpr int kDefaultColumns = 3;

// The standard toolbar (resource 128); 0 is a separator.
const UINT kStandardButtons[] = {
    ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, kSeparator,
    ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_PASTE_SPECIAL, ID_IMAGE_TO_BLACK_WHITE, kSeparator,
    ID_EDIT_UNDO, kSeparator,
    ID_CONNECT_PRINTER, kSeparator,
    ID_TEST_LOGO, ID_PROGRAM_LOGO, ID_PRINT_LOGO, kSeparator,
    ID_CHANGE_COM_PORT, kSeparator,
    ID_FILE_PRINT, kSeparator,
    ID_APP_ABOUT, kSeparator,
    ID_WEB_LINK,
};

struct PaletteDef {
    UINT controlId;
    const char* title;
    UINT colourBitmap;
    UINT greyBitmap;
    std::vector<UINT> buttons;
    const char* columnsKey;
};

// The Pattern palette: one button per fill pattern, in their order.
std::vector<UINT> PatternButtons()
{
    std::vector<UINT> ids;
    for (UINT id = ID_PATTERN_FIRST; id <= ID_PATTERN_LAST; ++id)
        ids.push_back(id);
    return ids;
}

const std::vector<PaletteDef>& PaletteDefs()
{
    static const std::vector<PaletteDef> defs = {
        {ID_VIEW_DRAW_TOOLS, "Draw", 148, 149,
         {ID_TOOL_ERASER, ID_TOOL_PEN, ID_TOOL_SELECT_AREA, ID_TOOL_BRUSH, ID_TOOL_POINTER, ID_TOOL_TEXT,
          ID_ZOOM_LARGE, ID_ZOOM_NORMAL, ID_TOOL_FILL, ID_TOOL_LINE, ID_TOOL_RECTANGLE, ID_TOOL_ELLIPSE},
         "DrawToolColumns"},
        {ID_VIEW_GENERIC_TOOLS, "Actions", 155, 157, {ID_IMAGE_SELECT_ALL, ID_IMAGE_REFRESH, ID_IMAGE_CLEAR},
         "GenericToolColumns"},
        {ID_VIEW_IMAGE_TOOLS, "Image Options", 144, 145, {ID_REVERSE_IMAGE, ID_REVERSE_ROW, ID_REVERSE_COLOR},
         "ImageOptionsColumns"},
        {ID_VIEW_FRAME_TOOLS, "Frames", 153, 154, {ID_FRAME_THIN, ID_FRAME_BOLD, ID_FRAME_DOUBLE}, "FramesColumns"},
        {ID_VIEW_PATTERN_TOOLS, "Pattern", 179, 180, PatternButtons(), "PatternColumns"},
    };
    return defs;
}

BOOL ReadBool(const char* key)
{
    bool ok = false;
    const int value = CSettingsStore::Value(kGeneral, QString::fromLatin1(key), 1).toInt(&ok);
    return !ok || value != 0 ? TRUE : FALSE;
}

int ReadColumns(const char* key)
{
    bool ok = false;
    const int value = CSettingsStore::Value(kGeneral, QString::fromLatin1(key), kDefaultColumns).toInt(&ok);
    return ok ? value : kDefaultColumns;
}

// The banner's line of text. It asks for little room and takes what the bar
// row leaves after the toolbar's buttons, shortened with an ellipsis when
// that is less than the whole text: the buttons never go behind the
// toolbar's overflow button for it.
class CBannerText : public QLabel {
public:
    CBannerText(const QString& text, QWidget* parent) : QLabel(text, parent)
    {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    }

    QSize sizeHint() const override { return minimumSizeHint(); }
    QSize minimumSizeHint() const override
    {
        const QMargins m = contentsMargins();
        const QFontMetrics metrics(font());
        return QSize(metrics.horizontalAdvance(QStringLiteral("Glyphane\u2026")) + m.left() + m.right(),
                     metrics.height() + m.top() + m.bottom());
    }
    // The text as it fits now.
    QString ShownText() const
    {
        return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(contentsRect(), Qt::AlignVCenter | Qt::AlignLeft, ShownText());
    }
};

QString PatternText(UINT id)
{
    for (const CFillPattern& pattern : FillPatterns())
        if (pattern.commandId == id)
            return QString::fromLatin1(pattern.name);
    return QString::number(id);
}

} // namespace

void CMainFrame::RestorePlacement()
{
    const QString stored = CSettingsStore::Value(kSettings, kWindowPos).toString();
    const std::optional<CWindowPlacement> placement = ParseWindowPlacement(stored);
    if (!placement)
        return; // the default: maximised
    m_bPlacementRestored = true;
    m_bRestoreMaximized = placement->ShowsMaximized();
    // A placement written on a larger screen, or at another display scale,
    // is brought inside this screen's available area, so that the bars at
    // the window's edges stay reachable.
    m_restoredGeometry = KeepRectInside(placement->NormalRect(), ScreenAreaUnder(placement->NormalRect()));
    setGeometry(m_restoredGeometry);
}

void CMainFrame::ReadPaletteSettings()
{
    m_bDrawToolColor = ReadBool("DrawToolColor");
    m_bDrawToolTips = ReadBool("DrawTool_ToolTips");
    m_bGenericToolColor = ReadBool("GenericToolColor");
    m_bGenericToolTips = ReadBool("GenericTool_ToolTips");
    m_bImageOptionsColor = ReadBool("ImageOptionsColor");
    m_bImageOptionsTips = ReadBool("ImageOptions_ToolTips");
    m_bFramesColor = ReadBool("OptionFramesColor");
    m_bFramesTips = ReadBool("OptionFrames_ToolTips");
    m_bPatternColor = ReadBool("PatternColor");
    m_bPatternTips = ReadBool("Pattern_ToolTips");
}

bool CMainFrame::CreateStandardBar()
{
    m_standardBar = new QToolBar(QStringLiteral("Standard"), this);
    m_standardBar->setObjectName(QString::number(ID_TOOLBAR_STANDARD));
    m_standardBar->setIconSize(QSize(kToolImageWidth, kToolImageHeight));
    m_standardBar->setMovable(true);
    for (UINT id : kStandardButtons) {
        if (id == kSeparator) {
            m_standardBar->addSeparator();
            continue;
        }
        QAction* action = m_router->Action(id);
        if (!action)
            return false;
        action->setIcon(StandardToolIcon(id));
        m_standardBar->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, m_standardBar);
    return true;
}

void CMainFrame::ApplyThemeIcons()
{
    for (UINT id : kStandardButtons) {
        if (id == kSeparator)
            continue;
        const QIcon themed = ThemeToolIcon(id);
        if (QAction* action = m_router->Action(id); action && !themed.isNull())
            action->setIcon(themed);
    }
}

bool CMainFrame::CreateBannerBar()
{
    m_bannerBar = new QToolBar(QStringLiteral("Banner"), this);
    m_bannerBar->setObjectName(QString::number(ID_BANNER_BAR));
    m_bannerBar->setMovable(true);
    auto* text = new CBannerText(QStringLiteral("Glyphane \u2014 draw or open a logo, connect to the printer, send it"),
                                 m_bannerBar);
    text->setObjectName(QStringLiteral("bannerText"));
    text->setContentsMargins(8, 0, 8, 0);
    m_bannerBar->addWidget(text);
    addToolBar(Qt::TopToolBarArea, m_bannerBar);
    return true;
}

bool CMainFrame::CreatePalettes()
{
    const BOOL colours[] = {m_bDrawToolColor, m_bGenericToolColor, m_bImageOptionsColor, m_bFramesColor,
                            m_bPatternColor};
    const BOOL tips[] = {m_bDrawToolTips, m_bGenericToolTips, m_bImageOptionsTips, m_bFramesTips, m_bPatternTips};
    CColumnToolBar** bars[] = {&m_drawBar, &m_actionsBar, &m_imageBar, &m_framesBar, &m_patternBar};
    const std::vector<PaletteDef>& defs = PaletteDefs();
    for (size_t i = 0; i < defs.size(); ++i) {
        const PaletteDef& def = defs[i];
        auto* bar = new CColumnToolBar(QString::fromLatin1(def.title), def.controlId, this);
        bar->setWindowTitle(QString::fromLatin1(def.title));
        bar->SetToolTipsEnabled(tips[i] != FALSE);
        QList<QAction*> actions;
        for (UINT id : def.buttons) {
            QAction* action = m_router->Action(id);
            if (!action)
                action = CommandAction(id, PatternText(id));
            actions.append(action);
        }
        bar->SetButtons(actions);
        const bool colour = colours[i] != FALSE;
        bar->LoadImage(colour ? def.colourBitmap : def.greyBitmap, def.buttons, colour);
        *bars[i] = bar;
    }
    return true;
}

void CMainFrame::DockPalettes()
{
    // All on the right, one above the other: Image Options, Frames, Actions and
    // Draw each docked just before Pattern, so Pattern ends up at the bottom.
    for (CColumnToolBar* bar : {m_imageBar, m_framesBar, m_actionsBar, m_drawBar, m_patternBar})
        addToolBar(Qt::RightToolBarArea, bar);
}

void CMainFrame::ApplyColumnSettings()
{
    const std::vector<PaletteDef>& defs = PaletteDefs();
    for (const PaletteDef& def : defs)
        if (CColumnToolBar* bar = Palette(def.controlId))
            bar->SetColumns(ReadColumns(def.columnsKey));
}

CColumnToolBar* CMainFrame::Palette(UINT controlId) const
{
    for (CColumnToolBar* bar : {m_drawBar, m_actionsBar, m_imageBar, m_framesBar, m_patternBar})
        if (bar && bar->ControlId() == controlId)
            return bar;
    return nullptr;
}

void CMainFrame::WriteProfile()
{
    CSettingsStore::SetValue(kBarStateGroup, QStringLiteral("State"), saveState());
    // Only the Draw and Actions palettes' settings are written; the others keep
    // whatever the profile holds.
    CSettingsStore::SetValue(kGeneral, QStringLiteral("DrawToolColumns"), m_drawBar ? m_drawBar->m_nColumns : kDefaultColumns);
    CSettingsStore::SetValue(kGeneral, QStringLiteral("DrawToolColor"), m_bDrawToolColor ? 1 : 0);
    CSettingsStore::SetValue(kGeneral, QStringLiteral("DrawTool_ToolTips"), m_bDrawToolTips ? 1 : 0);
    CSettingsStore::SetValue(kGeneral, QStringLiteral("GenericToolColumns"),
                             m_actionsBar ? m_actionsBar->m_nColumns : kDefaultColumns);
    CSettingsStore::SetValue(kGeneral, QStringLiteral("GenericToolColor"), m_bGenericToolColor ? 1 : 0);
    CSettingsStore::SetValue(kGeneral, QStringLiteral("GenericTool_ToolTips"), m_bGenericToolTips ? 1 : 0);

    const bool maximized = isMaximized();
    QRect normal = maximized ? normalGeometry() : geometry();
    if (!normal.isValid() || normal.isEmpty())
        normal = m_restoredGeometry.isValid() ? m_restoredGeometry : QRect(QPoint(0, 0), size());
    CSettingsStore::SetValue(kSettings, kWindowPos, FormatWindowPlacement(PlacementOf(normal, maximized)));
}

bool CMainFrame::SaveModifiedDocuments()
{
    for (CChildFrame* child : ChildFrames()) {
        CGlyphaneDoc* doc = child->GetDocument();
        if (doc && !doc->SaveModified())
            return false; // cancelled, or a failed save: the window stays open
    }
    return true;
}

QMenu* CMainFrame::createPopupMenu()
{
    QMenu* menu = QMainWindow::createPopupMenu();
    if (!menu || !m_router)
        return menu;
    std::vector<std::pair<QToolBar*, UINT>> toggles = {{m_standardBar, ID_VIEW_TOOLBAR}};
    for (const PaletteDef& def : PaletteDefs())
        toggles.emplace_back(Palette(def.controlId), def.controlId);
    for (const auto& [bar, id] : toggles) {
        if (!bar || !menu->actions().contains(bar->toggleViewAction()))
            continue;
        QAction* shown = bar->toggleViewAction();
        auto* entry = new QAction(shown->text(), menu);
        entry->setCheckable(true);
        CCommandRouter::SetCommandId(entry, id);
        connect(entry, &QAction::triggered, this, [this, id = id] { m_router->Dispatch(id); });
        menu->insertAction(shown, entry);
        menu->removeAction(shown);
    }
    // Enabled and checked as the update handlers say; the banner, which no
    // command shows or hides, keeps Qt's own entry.
    m_router->UpdateActions(menu->actions());
    m_router->WatchMenu(menu);
    return menu;
}
