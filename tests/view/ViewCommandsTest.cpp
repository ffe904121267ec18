// The view's command update rules, status panes, context menus, cursors and
// the printed page.
#include "ViewTestFixture.h"

#include "frame/MainFrame.h"
#include "support/ScriptedUi.h"
#include "view/DesktopPrinting.h"
#include "view/ViewCursors.h"
#include "view/tools/Tool.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

#include <link.h>

using namespace viewtest;

namespace {

struct ToolRule {
    UINT id;
    int checkedFor[2];
    bool disabledWhenMagnified;
};

constexpr ToolRule kToolRules[] = {
    {ID_TOOL_POINTER, {tool::None, tool::None}, false},
    {ID_TOOL_PEN, {tool::Pen, tool::Pen}, false},
    {ID_TOOL_BRUSH, {tool::Brush, tool::Brush}, true},
    {ID_TOOL_ERASER, {tool::Eraser, tool::Eraser}, true},
    {ID_TOOL_SELECT_AREA, {tool::SelectArea, tool::SelectionPresent}, true},
    {ID_TOOL_TEXT, {tool::TextBoxOpen, tool::Text}, true},
    {ID_TOOL_FILL, {tool::Fill, tool::Fill}, true},
    {ID_TOOL_LINE, {tool::Line, tool::Line}, true},
    {ID_TOOL_RECTANGLE, {tool::Rectangle, tool::Rectangle}, true},
    {ID_TOOL_ELLIPSE, {tool::Ellipse, tool::Ellipse}, true},
};

constexpr int kAllTools[] = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};

QStringList TextsOf(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

} // namespace

TEST_F(ViewTest, ToolCommandsCheckTheirToolAndGreyWhileMagnified)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 8));
    for (const bool magnified : {false, true}) {
        m_view->Magnifier().SetMagnifiedFlag(magnified);
        for (const int code : kAllTools) {
            m_doc->SetDrawMode(code);
            for (const ToolRule& rule : kToolRules) {
                const CCmdUI ui = State(rule.id);
                const bool disabled = magnified && rule.disabledWhenMagnified;
                EXPECT_EQ(ui.enabled(), !disabled) << rule.id << " tool " << code;
                if (!disabled) {
                    const bool checked = code == rule.checkedFor[0] || code == rule.checkedFor[1];
                    EXPECT_EQ(ui.checked(), checked ? 1 : 0) << rule.id << " tool " << code;
                }
            }
        }
    }
    m_view->Magnifier().SetMagnifiedFlag(false);
}

TEST_F(ViewTest, ZoomSaveAndCloseFollowTheMagnifierAndTheMonochromeFlag)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 8));
    for (const bool magnified : {false, true}) {
        m_view->Magnifier().SetMagnifiedFlag(magnified);
        EXPECT_EQ(State(ID_ZOOM_LARGE).enabled(), !magnified);
        EXPECT_EQ(State(ID_ZOOM_CHOSEN).enabled(), !magnified);
        EXPECT_EQ(State(ID_ZOOM_NORMAL).enabled(), magnified);
        EXPECT_EQ(State(ID_SHOW_GRID).enabled(), magnified);
        EXPECT_EQ(State(ID_FILE_CLOSE).enabled(), !magnified);
        for (const int mono : {1, 0}) {
            m_doc->Binding().SetMonochrome(mono);
            EXPECT_EQ(State(ID_FILE_SAVE).enabled(), !magnified && mono);
            EXPECT_EQ(State(ID_FILE_SAVE_AS).enabled(), !magnified && mono);
        }
    }
    m_view->Magnifier().SetMagnifiedFlag(false);
    m_doc->Binding().SetMonochrome(1);
    // The size commands have no update rule: they are simply there.
    for (const UINT id : {ID_SIZE_2, ID_SIZE_3, ID_SIZE_5, ID_SIZE_7, ID_SIZE_USER})
        EXPECT_TRUE(m_view->HasCommandHandler(id)) << id;
}

TEST_F(ViewTest, ToolCommandsSetPenPaneAndClearTheLogoInRam)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 8));
    const struct {
        UINT id;
        int code;
        const char* pane;
        int width;
    } cases[] = {
        {ID_TOOL_PEN, tool::Pen, "Pen", 1},       {ID_TOOL_BRUSH, tool::Brush, "Brush", 5},
        {ID_TOOL_ERASER, tool::Eraser, "Eraser", 10}, {ID_TOOL_FILL, tool::Fill, "Fill Area", -1},
        {ID_TOOL_LINE, tool::Line, "Line", -1},   {ID_TOOL_RECTANGLE, tool::Rectangle, "Rectangle", -1},
        {ID_TOOL_ELLIPSE, tool::Ellipse, "Ellipse", -1}, {ID_TOOL_SELECT_AREA, tool::SelectArea, "Selection", -1},
        {ID_TOOL_TEXT, tool::Text, "Text", -1},   {ID_TOOL_POINTER, tool::None, "None", -1},
    };
    for (const auto& c : cases) {
        m_view->Link().SetLogoInRam(true);
        Command(c.id);
        EXPECT_EQ(m_doc->GetDrawMode(), c.code) << c.pane;
        EXPECT_EQ(viewpanes::LastTexts().tool, QStringLiteral("Tool selected: ") + c.pane);
        if (c.width > 0) {
            EXPECT_EQ(m_doc->GetPenWidth(), c.width) << c.pane;
        }
        const bool keepsRam = c.code == tool::None || c.code == tool::SelectArea || c.code == tool::Text;
        EXPECT_EQ(m_view->Link().IsLogoInRam(), keepsRam) << c.pane;
    }
}

// Connect, Test, Program and Print Logo drop the tool, and the tool pane says
// so, now and when the window comes back to the front. Each is left at its
// first question (cancelled) or its first refusal.
TEST_F(ViewTest, PrinterCommandsDropTheToolAndThePaneSaysSo)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 8));
    const struct {
        const char* name;
        UINT id;
        bool coloured; // a coloured logo is refused before any question
    } cases[] = {
        {"Connect", ID_CONNECT_PRINTER, false},
        {"Test Logo", ID_TEST_LOGO, true},
        {"Program Logo", ID_PROGRAM_LOGO, false},
        {"Print Logo", ID_PRINT_LOGO, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_doc->Binding().SetMonochrome(c.coloured ? 0 : 1);
        Command(ID_TOOL_BRUSH);
        ASSERT_EQ(viewpanes::LastTexts().tool.toStdString(), "Tool selected: Brush");
        {
            testenv::ScriptedUi ui;
            ui.Answer(IDCANCEL);
            Command(c.id);
            EXPECT_EQ(ui.Prompts().size(), 1u);
        }
        EXPECT_EQ(m_doc->GetDrawMode(), tool::None);
        EXPECT_EQ(viewpanes::LastTexts().tool.toStdString(), "Tool selected: None");
        QFocusEvent focus(QEvent::FocusIn);
        QApplication::sendEvent(m_view, &focus);
        EXPECT_EQ(viewpanes::LastTexts().tool.toStdString(), "Tool selected: None");
    }
}

TEST_F(ViewTest, UserPixelSizeTakesTheDialogValueOrKeepsTheWidth)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 8));
    Command(ID_TOOL_BRUSH);
    {
        testenv::ScriptedUi ui;
        ui.Then([](CUiPrompt& prompt, QDialog* dialog) {
            dialog->findChild<QLineEdit*>()->setText(QStringLiteral("12"));
            prompt.result = IDOK;
        });
        Command(ID_SIZE_USER);
        ASSERT_EQ(ui.Prompts().size(), 1u);
        EXPECT_EQ(ui.Prompts()[0].dialogClass, "CPixelSizeDlg");
    }
    EXPECT_EQ(m_doc->GetPenWidth(), 12);
    {
        testenv::ScriptedUi ui;
        ui.Answer(IDCANCEL);
        Command(ID_SIZE_USER);
    }
    EXPECT_EQ(m_doc->GetPenWidth(), 12);
}

TEST_F(ViewTest, SizeAndPositionPanes)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 8));
    EXPECT_EQ(viewpanes::LastTexts().size, "Size: X:64, Y:08");
    if (CMainFrame* frame = GetApp()->GetMainFrame()) {
        EXPECT_EQ(frame->PaneText(6566), "Size: X:64, Y:08");
    }
    Move(3, 4);
    EXPECT_EQ(viewpanes::LastTexts().position, "Position: X:004, Y:005");
    // The two-pixel edge band reads as no position.
    Move(1, 4);
    EXPECT_EQ(viewpanes::LastTexts().position, "Position: X:000, Y:000");
    EXPECT_EQ(viewpanes::PositionText(0, 0), "Position: X:001, Y:001");
    EXPECT_EQ(viewpanes::SizeText(384, 240), "Size: X:384, Y:240");
}

TEST_F(ViewTest, FocusShowsPrinterAndPortOfTheDocument)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 8));
    m_doc->Binding().SetPrinterModel(QStringLiteral("JMQ9534"));
    m_doc->Binding().SetPortName(QStringLiteral("COM3"));
    QFocusEvent focus(QEvent::FocusIn);
    QApplication::sendEvent(m_view, &focus);
    EXPECT_EQ(viewpanes::LastTexts().printer, "JMQ9534");
    EXPECT_EQ(viewpanes::LastTexts().port, "COM3");
    EXPECT_EQ(m_doc->GetOwnerWindow(), m_view);
}

TEST_F(ViewTest, ContextMenuHasSizesForWidthToolsAndNoQzEntries)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 8));
    Command(ID_TOOL_BRUSH);
    std::unique_ptr<QMenu> brush(m_view->BuildContextMenu(nullptr));
    const QStringList brushTexts = TextsOf(brush.get());
    EXPECT_TRUE(brushTexts.contains("Selected Tool &Size"));
    EXPECT_FALSE(brushTexts.contains("QZ Option"));
    EXPECT_FALSE(brushTexts.contains("-"));
    // The brush entry is checked, as on the menu bar.
    for (QAction* action : brush->actions())
        if (CCommandRouter::CommandIdOf(action) == ID_TOOL_BRUSH) {
            EXPECT_TRUE(action->isChecked());
        }

    Command(ID_TOOL_PEN);
    std::unique_ptr<QMenu> pen(m_view->BuildContextMenu(nullptr));
    EXPECT_FALSE(TextsOf(pen.get()).contains("Selected Tool &Size"));
    EXPECT_EQ(TextsOf(pen.get()).size(), 10);

    // A size entry reaches the view.
    for (QMenu* sub : brush->findChildren<QMenu*>())
        for (QAction* action : sub->actions())
            if (CCommandRouter::CommandIdOf(action) == ID_SIZE_7)
                action->trigger();
    EXPECT_EQ(m_doc->GetPenWidth(), 7);
}

namespace {

class ClientVariantViewTest : public ViewTest {
protected:
    QByteArray Settings() const override { return testenv::ClientRegistrySection(); }
};

} // namespace

TEST_F(ClientVariantViewTest, ContextMenuEndsWithTheQzOption)
{
    ASSERT_EQ(GetApp()->GetClientVariant(), 1u);
    ASSERT_TRUE(OpenWhiteLogo(64, 8));
    std::unique_ptr<QMenu> menu(m_view->BuildContextMenu(nullptr));
    const QStringList texts = TextsOf(menu.get());
    ASSERT_GE(texts.size(), 2);
    EXPECT_EQ(texts[texts.size() - 2], "-");
    EXPECT_EQ(texts.last(), "QZ Option");
    // Each entry is enabled only when a handler takes its command.
    for (QAction* action : menu->findChildren<QAction*>()) {
        const UINT id = CCommandRouter::CommandIdOf(action);
        if (id == 0)
            continue;
        const bool handled = m_view->HasCommandHandler(id) || m_doc->HasCommandHandler(id);
        EXPECT_EQ(action->isEnabled(), handled) << id;
    }
}

TEST_F(ViewTest, CursorsFollowTheTool)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 8));
    const struct {
        int code;
        UINT cursor;
    } cases[] = {{0, 137}, {40, 137}, {10, 7013}, {20, 7014}, {30, 132}, {50, 156}, {60, 7012},
                 {80, 7012}, {100, 7012}, {110, 7012}, {120, 7012}, {90, 164}};
    for (const auto& c : cases) {
        EXPECT_EQ(m_view->Tools().For(c.code).CursorId(), c.cursor) << c.code;
        m_doc->SetDrawMode(c.code);
        QCursor cursor;
        ASSERT_TRUE(m_view->CursorForPoint(CPoint(5, 5), cursor));
        if (c.cursor != viewcursor::IDC_POINTER) {
            EXPECT_EQ(cursor.hotSpot(), viewcursor::HotSpotOf(c.cursor)) << c.code;
        }
    }
    m_doc->SetDrawMode(45);
    QCursor unchanged;
    EXPECT_FALSE(m_view->CursorForPoint(CPoint(5, 5), unchanged));

    // Over a present selection the tracker's move cursor shows.
    m_doc->SetDrawMode(tool::SelectionPresent);
    m_view->Selection().SetSelectionRect(CRect(10, 2, 30, 7));
    QCursor overSelection;
    ASSERT_TRUE(m_view->CursorForPoint(CPoint(20, 4), overSelection));
    EXPECT_EQ(overSelection.shape(), Qt::SizeAllCursor);
    ASSERT_TRUE(m_view->CursorForPoint(CPoint(50, 4), overSelection));
    EXPECT_EQ(overSelection.shape(), Qt::ArrowCursor);
}

TEST_F(ViewTest, PrintedPageShowsTheLogoAtThePrintersSize)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 8));
    Image().setPixel(3, 2, kBlack);
    QImage page(800, 400, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        m_view->Printing().RenderPrintPage(painter, page.rect(), CViewPrinting::kPrinterDotsPerInch * 2);
    }
    // Find the logo's one black dot: a 2 x 2 square at twice the printer's resolution.
    int blackBelowTitle = 0;
    QPoint first(-1, -1);
    for (int y = 150; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixel(x, y) == kBlack) {
                if (first.x() < 0)
                    first = QPoint(x, y);
                ++blackBelowTitle;
            }
    EXPECT_EQ(blackBelowTitle, 4);
    EXPECT_EQ(page.pixel(first + QPoint(1, 1)), kBlack);
    EXPECT_EQ((first.x() - 3 * 2), (800 - 128) / 2);
}

TEST_F(ViewTest, MenuCommandsReachTheActiveViewThroughTheRoute)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 8));
    CCommandRouter* router = GetApp()->GetRouter();
    ASSERT_NE(router, nullptr);
    EXPECT_TRUE(router->Dispatch(ID_TOOL_BRUSH));
    EXPECT_EQ(m_doc->GetDrawMode(), tool::Brush);
    EXPECT_EQ(router->QueryState(ID_TOOL_BRUSH).checked(), 1);
    m_view->Magnifier().SetMagnifiedFlag(true);
    EXPECT_FALSE(router->IsEnabled(ID_TOOL_BRUSH));
    EXPECT_FALSE(router->IsEnabled(ID_FILE_SAVE));
    // A disabled command is refused on the way, as a stale accelerator is.
    EXPECT_FALSE(router->Dispatch(ID_TOOL_ERASER));
    EXPECT_EQ(m_doc->GetDrawMode(), tool::Brush);
    m_view->Magnifier().SetMagnifiedFlag(false);
}

TEST_F(ViewTest, ClosingTheWindowUnbindsTheSurfaceFromTheDocument)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 8));
    EXPECT_EQ(m_doc->GetDrawingSurface(), &m_view->ImageSurface());
    EXPECT_TRUE(m_view->Surfaces().Ready());
    QImage* bitmap = m_doc->Picture().GetLogoBitmap();
    m_view->EditingDestroy();
    EXPECT_EQ(m_doc->GetDrawingSurface(), nullptr);
    EXPECT_FALSE(m_view->Surfaces().Ready());
    // The bitmap is the document's and stays.
    EXPECT_EQ(m_doc->Picture().GetLogoBitmap(), bitmap);
    EXPECT_EQ(bitmap->width(), 64);
}

TEST_F(ViewTest, PrintAndPreviewAskThroughTheUiSeam)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 8));
    testenv::ScriptedUi ui;
    ui.Answer(IDCANCEL).Answer(IDCANCEL);
    Command(ID_FILE_PRINT);
    Command(ID_FILE_PRINT_PREVIEW);
    ASSERT_EQ(ui.Prompts().size(), 2u);
    EXPECT_EQ(ui.Prompts()[0].kind, UiPromptKind::Dialog);
    EXPECT_EQ(ui.Prompts()[0].dialogClass, "QPrintDialog");
    EXPECT_EQ(ui.Prompts()[1].dialogClass, "QPrintPreviewDialog");
}

namespace {

// The libraries this test program (linked as the editor is) names as needed.
QStringList NeededLibraries()
{
    const char* names = nullptr;
    for (const ElfW(Dyn)* entry = _DYNAMIC; entry->d_tag != DT_NULL; ++entry)
        if (entry->d_tag == DT_STRTAB)
            names = reinterpret_cast<const char*>(entry->d_un.d_ptr);
    QStringList needed;
    for (const ElfW(Dyn)* entry = _DYNAMIC; names && entry->d_tag != DT_NULL; ++entry)
        if (entry->d_tag == DT_NEEDED)
            needed.append(QString::fromLatin1(names + entry->d_un.d_val));
    return needed;
}

} // namespace

// Qt's printing library comes with the printing module, loaded when the
// operator first prints; the program itself does not link it, so its start
// does not load it.
TEST_F(ViewTest, PrintingComesFromAModuleLoadedOnDemand)
{
    const QStringList needed = NeededLibraries();
    ASSERT_TRUE(needed.contains(QStringLiteral("libQt6Widgets.so.6"))) << needed.join(u' ').toStdString();
    EXPECT_FALSE(needed.contains(QStringLiteral("libQt6PrintSupport.so.6")));
    QString why;
    IDesktopPrinting* printing = DesktopPrinting(&why);
    ASSERT_NE(printing, nullptr) << why.toStdString();
    EXPECT_EQ(DesktopPrinting(nullptr), printing) << "loaded once";
}

// The logo window has no sizing border: a drag on its corner leaves it as
// the logo made it, and a logo larger than the room scrolls in its view.
TEST_F(ViewTest, TheLogoWindowKeepsTheLogosSizeAndTheViewScrolls)
{
    ASSERT_TRUE(OpenWhiteLogo(120, 60));
    QWidget* frame = m_view->parentWidget();
    const QSize fitted = frame->size();
    ASSERT_EQ(Viewport()->size(), QSize(120, 60));
    EXPECT_EQ(frame->minimumSize(), fitted);
    EXPECT_EQ(frame->maximumSize(), fitted);

    // The operator drags the bottom-right corner 80 pixels right and down.
    const QPoint corner(fitted.width() - 2, fitted.height() - 2);
    QTest::mouseMove(frame, corner);
    QTest::mousePress(frame, Qt::LeftButton, Qt::NoModifier, corner);
    QMouseEvent drag(QEvent::MouseMove, QPointF(corner + QPoint(80, 80)),
                     frame->mapToGlobal(QPointF(corner + QPoint(80, 80))), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(frame, &drag);
    QTest::mouseRelease(frame, Qt::LeftButton, Qt::NoModifier, corner + QPoint(80, 80));
    frame->resize(fitted + QSize(80, 80));
    QApplication::processEvents();
    EXPECT_EQ(frame->size(), fitted);
    EXPECT_EQ(Viewport()->size(), QSize(120, 60));

    // A logo larger than the room: the window stops at the room, the view scrolls.
    CGlyphaneDoc* bigDoc = nullptr;
    CGlyphaneView* big = OpenWhiteLogoView(3000, 2000, bigDoc);
    ASSERT_NE(big, nullptr);
    QApplication::processEvents();
    QApplication::processEvents();
    QWidget* bigFrame = big->parentWidget();
    const QSize room = qobject_cast<QMdiSubWindow*>(bigFrame)->mdiArea()->viewport()->size();
    EXPECT_LE(bigFrame->width(), room.width());
    EXPECT_LE(bigFrame->height(), room.height());
    EXPECT_EQ(bigFrame->minimumSize(), bigFrame->maximumSize());
    EXPECT_EQ(big->horizontalScrollBar()->maximum(), 3000 - big->viewport()->width());
    EXPECT_EQ(big->verticalScrollBar()->maximum(), 2000 - big->viewport()->height());
}

TEST_F(ViewTest, ALogoOpenedBeforeTheMainWindowShowsIsFittedWhenItAppears)
{
    // As with a file named on the command line: the window is made while
    // the main window is still hidden, so nothing is laid out yet.
    QWidget* main = GetApp()->GetMainFrame();
    ASSERT_NE(main, nullptr);
    main->hide();
    ASSERT_TRUE(OpenWhiteLogo(120, 60));
    main->show();
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(Viewport()->size(), QSize(120, 60));
    EXPECT_FALSE(m_view->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(m_view->verticalScrollBar()->isVisible());
}
