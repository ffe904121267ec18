// The two menu bars, the accelerator table and the switch between the menus.
#include "FrameFixture.h"

#include "document/GlyphaneDoc.h"
#include "frame/ChildFrame.h"
#include "frame/ColumnToolBar.h"
#include "resources/AcceleratorTable.h"
#include "resources/CommandIds.h"
#include "dialogs/ShortcutsDlg.h"
#include "support/ScriptedUi.h"
#include "view/GlyphaneView.h"

#include <QAction>
#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include <memory>

using frametest::FrameTest;

namespace {

// One line per entry: "title" for a popup, then "  text|id" or "  -".
QStringList Describe(const QList<QMenu*>& menus)
{
    QStringList lines;
    for (QMenu* menu : menus) {
        lines << menu->title();
        for (QAction* a : menu->actions()) {
            if (a->isSeparator())
                lines << QStringLiteral("  -");
            else if (a->isVisible())
                lines << QStringLiteral("  %1|%2").arg(a->text()).arg(CCommandRouter::CommandIdOf(a));
        }
    }
    return lines;
}

const QString kWeb = CGlyphaneApp::WebAddress();

// The entry of a menu (or of its submenus) that sends id, or null.
QAction* EntryOf(const QMenu* menu, UINT id)
{
    for (QAction* action : menu->findChildren<QAction*>())
        if (CCommandRouter::CommandIdOf(action) == id)
            return action;
    for (QAction* action : menu->actions())
        if (CCommandRouter::CommandIdOf(action) == id)
            return action;
    return nullptr;
}

// "key|command", one line per row, so a difference shows as text.
QStringList Lines(const QList<CShortcutsDlg::Row>& rows)
{
    QStringList lines;
    for (const CShortcutsDlg::Row& row : rows)
        lines << row.key + u'|' + row.command;
    return lines;
}

} // namespace

TEST_F(FrameTest, Menu128ListsTheEntriesOfTheEmptyWindow)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->CurrentMenuId(), 128u);
    const QStringList expected = {
        "&File", "  &New\tCtrl+N|57600", "  &Open...\tCtrl+O|57601", "  -", "  Recent File|57616", "  -",
        "  E&xit|57665",
        "&View", "  &Toolbar|59392", "  &Status Bar|59393",
        "&?", "  &Html Help|32784", "  &Keyboard Shortcuts|32844", "  -", "  &About Glyphane...|57664", "  -", "  " + kWeb + "|32819",
    };
    EXPECT_EQ(Describe(frame->MenuPopups(128)), expected);
    // The menu bar shows exactly those popups.
    QStringList titles;
    for (QAction* a : frame->menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, QStringList({"&File", "&View", "&?"}));
    // The greyed stand-in of the empty recent-file list.
    EXPECT_FALSE(frame->Router()->Action(57616)->isEnabled());
}

TEST_F(FrameTest, Menu129ListsEveryLogoWindowEntry)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    const QStringList expected = {
        "&File", "  &New\tCtrl+N|57600", "  &Open...\tCtrl+O|57601", "  &Close|57602", "  &Save\tCtrl+S|57603",
        "  Save &As...|57604", "  -", "  Load Logo from *.psw|32821", "  Save Logo on *.psw|32822", "  -",
        "  Recent File|57616", "  -", "  E&xit|57665",
        "&Edit", "  &Undo\tCtrl+Z|57643", "  -", "  Cu&t\tCtrl+X|57635", "  &Copy\tCtrl+C|57634",
        "  &Paste\tCtrl+V|57637", "  Paste Special\tCtrl+Alt+V|57639",
        "&Send to Printer", "  Conn&ect to the Printer\tCtrl+E|32791", "  &Find Printers...|32840", "  -",
        "  &Test Logo\tCtrl+T|32790", "  Program &Logo\tCtrl+L|32789", "  Program &Next Printer|32841",
        "  &Print Logo\tCtrl+Q|32799", "  -", "  &Verify After Programming|32842", "  -",
        "  Change Co&m Port\tCtrl+M|32792",
        "&Image Options", "  Reverse &Image\tCtrl+I|32793", "  Reverse &Row\tCtrl+W|32795",
        "  Reverse &Color\tCtrl+R|32797", "  -", "  Thin &Frame\tCtrl+F|32812", "  &Bold Frame\tCtrl+B|32813",
        "  &Double Frame\tCtrl+D|32814",
        "&Tools", "  Select All Pi&xels\tAlt+X|32782", "  Refresh &View\tAlt+V|32783",
        "  &Clear All Pixels\tAlt+C|32781", "  -", "  To Black White\tAlt+Q|32826",
        "  Convert Picture…|32832", "  Invert All Pixels\tAlt+D|32823", "  Flip Pixel Horizontal \tAlt+M|32824",
        "  Flip Pixel Vertical\tAlt+O|32825", "  -", "  Select Pointer &Mode\tAlt+M|32779",
        "  Select &Pen\tAlt+P|32773", "  Select &Brush\tAlt+B|32775", "  Select &Eraser\tAlt+E|32772",
        "  Select F&ill\tAlt+I|32776", "  Select &Area\tAlt+A|32774", "  Select &Text\tAlt+T|61470",
        "  Select &Line\tAlt+L|32777", "  Select &Rectangle\tAlt+R|32778", "  Select Ellip&se\tAlt+S|61491", "  -",
        "  Select &Font\tAlt+F|61473",
        "&Zoom", "  &Large Size\tAlt+Z|61485", "  &Normal Size\tAlt+N|61486", "  &User Size...\tAlt+U|61487", "  -",
        "  Show &Grid\tAlt+G|61480",
        "&View", "  &Toolbar|59392", "  &Status Bar|59393", "  &Image Tools |103", "  &Frame Tools|104",
        "  &Generic Tools|102", "  &Draw Tools|101", "  &Pattern Tools|61493", "  -", "  Printer Pre&view|32831",
        "&Window", "  &Cascade|57650", "  &Tile|57651",
        "&?", "  &Html Help|32784", "  &Keyboard Shortcuts|32844", "  -", "  &About Glyphane...|57664", "  -", "  " + kWeb + "|32819",
    };
    EXPECT_EQ(Describe(frame->MenuPopups(129)), expected);
}

TEST_F(FrameTest, OneActionPerCommandAndNoActionCarriesAShortcut)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    // Shared between both menus: the same action object.
    QAction* inMenu128 = frame->MenuPopups(128).at(0)->actions().at(0);
    QAction* inMenu129 = frame->MenuPopups(129).at(0)->actions().at(0);
    EXPECT_EQ(inMenu128, inMenu129);
    for (const QList<QMenu*>& menus : {frame->MenuPopups(128), frame->MenuPopups(129)})
        for (QMenu* menu : menus)
            for (QAction* a : menu->actions())
                EXPECT_TRUE(a->shortcut().isEmpty()) << a->text().toStdString();
}

TEST_F(FrameTest, TheMenuBarFollowsTheLogoWindows)
{
    testenv::ScriptedUi ui;
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(OpenLogo(), nullptr);
    EXPECT_EQ(frame->CurrentMenuId(), 129u);
    EXPECT_EQ(frame->menuBar()->actions().size(), 9);
    // The opened file is the first recent file, in both File menus.
    EXPECT_EQ(frame->Router()->Action(57616)->text(), QStringLiteral("&1 logo.bmp"));
    frame->CloseAllDocumentsWithoutAsking();
    EXPECT_EQ(frame->CurrentMenuId(), 128u);
}

TEST_F(FrameTest, AcceleratorTableSendsItsCommandsAndAltMIsFlipHorizontal)
{
    EXPECT_EQ(AcceleratorCommand(QKeySequence("Alt+M")), 32824u);
    EXPECT_EQ(AcceleratorCommand(QKeySequence("Alt+W")), 32830u);
    EXPECT_EQ(AcceleratorCommand(QKeySequence("Shift+Del")), 57635u);
    EXPECT_EQ(AcceleratorCommand(QKeySequence("Alt+Backspace")), 57643u);
    EXPECT_EQ(AcceleratorCommand(QKeySequence("Ctrl+Alt+V")), 57639u);
    EXPECT_EQ(AcceleratorCommand(QKeySequence("Ctrl+K")), 0u);
    EXPECT_TRUE(AcceleratorKeysFor(32779).isEmpty()) << "pointer mode has no working key";
    EXPECT_EQ(AcceleratorKeysFor(57634), QList<QKeySequence>({QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Ins")}));
    // Every key once.
    const auto& table = AcceleratorTable();
    for (size_t i = 0; i < table.size(); ++i)
        for (size_t j = i + 1; j < table.size(); ++j)
            EXPECT_NE(table[i].key, table[j].key) << table[i].key.toString().toStdString();
    EXPECT_EQ(table.size(), 49u);
}

TEST_F(FrameTest, KeysReachTheRouterEvenWhereAMenuTitleHasTheSameMnemonic)
{
    testenv::ScriptedUi ui;
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(OpenLogo(), nullptr);
    QSignalSpy dispatched(frame->Router(), &CCommandRouter::commandDispatched);
    QWidget* target = frame->ActiveChildFrame()->widget();
    ASSERT_NE(target, nullptr);

    QTest::keyClick(target, Qt::Key_M, Qt::AltModifier);
    ASSERT_EQ(dispatched.size(), 1);
    EXPECT_EQ(dispatched.at(0).at(0).toUInt(), 32824u);

    // Alt+F is Select Font, not the File menu's mnemonic.
    QTest::keyClick(target, Qt::Key_F, Qt::AltModifier);
    ASSERT_EQ(dispatched.size(), 2);
    EXPECT_EQ(dispatched.at(1).at(0).toUInt(), 61473u);

    // Alt+W is sent but nothing answers it.
    QTest::keyClick(target, Qt::Key_W, Qt::AltModifier);
    ASSERT_EQ(dispatched.size(), 3);
    EXPECT_EQ(dispatched.at(2).at(0).toUInt(), 32830u);
    EXPECT_FALSE(dispatched.at(2).at(1).toBool());
}

// The tools take the menus' Alt letters, so F10 opens the first menu, with or
// without a logo window, and the arrow keys go on from there.
TEST_F(FrameTest, F10OpensTheMenuBarAndTheArrowsMoveAlongIt)
{
    testenv::ScriptedUi ui;
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    frame->ShowFrame();
    for (bool withLogo : {false, true}) {
        if (withLogo) {
            ASSERT_NE(OpenLogo(), nullptr);
        }
        QWidget* target = withLogo ? frame->ActiveChildFrame()->widget() : static_cast<QWidget*>(frame);
        QMenuBar* bar = frame->menuBar();
        const QList<QAction*> titles = bar->actions();
        ASSERT_GE(titles.size(), 2);
        QTest::keyClick(target, Qt::Key_F10);
        EXPECT_EQ(bar->activeAction(), titles.at(0)) << withLogo;
        EXPECT_TRUE(titles.at(0)->menu()->isVisible()) << withLogo;
        QTest::keyClick(titles.at(0)->menu(), Qt::Key_Right);
        EXPECT_EQ(bar->activeAction(), titles.at(1)) << withLogo;
        EXPECT_TRUE(titles.at(1)->menu()->isVisible()) << withLogo;
        EXPECT_FALSE(titles.at(0)->menu()->isVisible()) << withLogo;
        titles.at(1)->menu()->close();
        bar->setActiveAction(nullptr);
    }
}

// Help lists every key of the accelerator table, in its order, each with the
// command as the menus name it.
TEST_F(FrameTest, HelpListsEveryKeyOfTheAcceleratorTable)
{
    testenv::ScriptedUi ui;
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    QStringList shown;
    QString caption;
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        if (auto* dlg = qobject_cast<CShortcutsDlg*>(d))
            shown = Lines(dlg->ShownRows());
        caption = d ? d->windowTitle() : QString();
        p.result = IDOK;
    });
    EXPECT_TRUE(frame->Router()->Dispatch(ID_HELP_SHORTCUTS));
    EXPECT_EQ(caption, QStringLiteral("Keyboard Shortcuts"));
    const auto& table = AcceleratorTable();
    ASSERT_EQ(shown.size(), static_cast<qsizetype>(table.size()));
    for (size_t i = 0; i < table.size(); ++i) {
        const QString key = table[i].key.toString(QKeySequence::NativeText);
        EXPECT_TRUE(shown[i].startsWith(key + u'|')) << shown[i].toStdString();
        EXPECT_GT(shown[i].size(), key.size() + 1) << "no command named for " << key.toStdString();
    }
    for (const char* row : {"Ctrl+N|New", "Ctrl+P|Print", "Alt+M|Flip Pixel Horizontal", "Alt+S|Select Ellipse",
                            "Alt+F|Select Font", "F6|Next Pane", "Alt+W|Nothing (no command)", "F10|Open the Menu Bar"})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(row))) << row;
}

// docs/shortcuts.md lists the keys as Help does, row for row, so a key added
// to the table without the document fails here.
TEST_F(FrameTest, TheShortcutsDocumentListsWhatHelpLists)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    QFile doc(testenv::SourceDir() + QStringLiteral("/docs/shortcuts.md"));
    ASSERT_TRUE(doc.open(QIODevice::ReadOnly | QIODevice::Text)) << doc.fileName().toStdString();
    QStringList listed;
    bool inTable = false;
    for (const QString& line : QString::fromUtf8(doc.readAll()).split(u'\n')) {
        // The first table of the document, after its header and rule lines.
        if (!line.startsWith(u'|')) {
            if (inTable)
                break;
            continue;
        }
        const QStringList cells = line.split(u'|');
        if (cells.size() < 4 || line.startsWith(QStringLiteral("|---")) || cells[1].trimmed() == u"Key") {
            inTable = true;
            continue;
        }
        inTable = true;
        listed << cells[1].trimmed().remove(u'`') + u'|' + cells[2].trimmed();
    }
    EXPECT_EQ(listed, Lines(frame->KeyboardShortcuts()));
}

TEST_F(FrameTest, BarTogglesShowHideAndCheckTheirBars)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    CCommandRouter* router = frame->Router();
    for (UINT id : {101u, 102u, 103u, 104u, 61493u, 59392u, 59393u}) {
        EXPECT_EQ(router->QueryState(id).checked(), 1) << id;
        EXPECT_TRUE(router->Dispatch(id)) << id;
        EXPECT_EQ(router->QueryState(id).checked(), 0) << id;
        router->Dispatch(id);
        EXPECT_EQ(router->QueryState(id).checked(), 1) << id;
    }
    router->Dispatch(ID_VIEW_DRAW_TOOLS);
    EXPECT_TRUE(frame->Palette(101)->isHidden());
}

// Pointing at a palette's View entry shows its own prompt in the message pane.
TEST_F(FrameTest, PaletteTogglesShowTheirPromptsInTheStatusBar)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(OpenLogo(), nullptr);
    const std::pair<UINT, const char*> prompts[] = {
        {101, "Toggle Draw ToolBar"},  {102, "Toggle Generic ToolBar"}, {103, "Toggle Image ToolBar"},
        {104, "Toggle Frame ToolBar"}, {61493, "Toggle Pattern ToolBar"},
    };
    QMenu* viewMenu = nullptr;
    for (QMenu* menu : frame->MenuPopups(129))
        if (menu->title() == QStringLiteral("&View"))
            viewMenu = menu;
    ASSERT_NE(viewMenu, nullptr);
    for (auto [id, prompt] : prompts) {
        QAction* entry = EntryOf(viewMenu, id);
        ASSERT_NE(entry, nullptr) << id;
        entry->showStatusText(frame);
        EXPECT_EQ(frame->statusBar()->currentMessage(), QString::fromLatin1(prompt)) << id;
    }
    // A command without a prompt of its own shows its menu text.
    EXPECT_EQ(frame->Router()->Action(ID_FILE_NEW)->statusTip(), QStringLiteral("New"));
    // Tooltips drop the mnemonic mark wherever it stands, and the trailing dots.
    EXPECT_EQ(frame->Router()->Action(ID_FILE_SAVE_AS)->toolTip(), QStringLiteral("Save As"));
}

TEST_F(FrameTest, TheBarsMenuSendsTheViewCommandsThroughTheRouter)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    CCommandRouter* router = frame->Router();
    std::unique_ptr<QMenu> bars(frame->createPopupMenu());
    ASSERT_NE(bars, nullptr);
    QStringList lines;
    for (QAction* a : bars->actions())
        lines << QStringLiteral("%1|%2").arg(a->text()).arg(CCommandRouter::CommandIdOf(a));
    // Qt's entries, one per bar in the order made; the banner has no command.
    EXPECT_EQ(lines, QStringList({"Standard|59392", "Banner|0", "Draw|101", "Actions|102", "Image Options|103",
                                  "Frames|104", "Pattern|61493"}));
    for (QAction* a : bars->actions()) {
        EXPECT_TRUE(a->isCheckable()) << a->text().toStdString();
        EXPECT_TRUE(a->isChecked()) << a->text().toStdString();
    }

    QSignalSpy dispatched(router, &CCommandRouter::commandDispatched);
    QAction* draw = EntryOf(bars.get(), ID_VIEW_DRAW_TOOLS);
    ASSERT_NE(draw, nullptr);
    draw->trigger();
    ASSERT_EQ(dispatched.size(), 1);
    EXPECT_EQ(dispatched.at(0).at(0).toUInt(), ID_VIEW_DRAW_TOOLS);
    EXPECT_TRUE(dispatched.at(0).at(1).toBool());
    EXPECT_TRUE(frame->Palette(ID_VIEW_DRAW_TOOLS)->isHidden());
    // Opening the menu again shows the state the update handler gives.
    emit bars->aboutToShow();
    EXPECT_FALSE(draw->isChecked());
    router->Dispatch(ID_VIEW_DRAW_TOOLS);
    EXPECT_FALSE(frame->Palette(ID_VIEW_DRAW_TOOLS)->isHidden());
}

// Whatever path a command comes by, the router's update rule decides: an
// entry or button still enabled from before (the idle update has not run yet)
// cannot run a command that is disabled now.
TEST_F(FrameTest, ADisabledCommandRunsByNoPath)
{
    testenv::ScriptedUi ui;
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    CGlyphaneDoc* doc = OpenLogo();
    ASSERT_NE(doc, nullptr);
    CCommandRouter* router = frame->Router();
    CGlyphaneView* view = frame->ActiveChildFrame()->GetView();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(router->Dispatch(ID_TOOL_PEN));
    // The magnifier disables the brush.
    view->Magnifier().SetMagnifiedFlag(true);
    ASSERT_FALSE(router->IsEnabled(ID_TOOL_BRUSH));
    QSignalSpy dispatched(router, &CCommandRouter::commandDispatched);
    auto expectRefused = [&](const char* path) {
        ASSERT_EQ(dispatched.size(), 1) << path;
        EXPECT_EQ(dispatched.at(0).at(0).toUInt(), ID_TOOL_BRUSH) << path;
        EXPECT_FALSE(dispatched.at(0).at(1).toBool()) << path;
        EXPECT_EQ(doc->GetDrawMode(), 10) << path << ": the pen stays";
        dispatched.clear();
    };

    // The accelerator (Alt+B).
    QTest::keyClick(view, Qt::Key_B, Qt::AltModifier);
    expectRefused("accelerator");

    // The Draw palette's button.
    CColumnToolBar* palette = frame->Palette(ID_VIEW_DRAW_TOOLS);
    ASSERT_NE(palette, nullptr);
    QToolButton* brushButton = nullptr;
    for (int i = 0; i < palette->ButtonCount(); ++i)
        if (CCommandRouter::CommandIdOf(palette->Button(i)->defaultAction()) == ID_TOOL_BRUSH)
            brushButton = palette->Button(i);
    ASSERT_NE(brushButton, nullptr);
    brushButton->defaultAction()->setEnabled(true);
    brushButton->click();
    expectRefused("palette");

    // The view's context menu.
    std::unique_ptr<QMenu> context(view->BuildContextMenu(nullptr));
    QAction* brushEntry = EntryOf(context.get(), ID_TOOL_BRUSH);
    ASSERT_NE(brushEntry, nullptr);
    EXPECT_FALSE(brushEntry->isEnabled());
    brushEntry->setEnabled(true);
    brushEntry->trigger();
    expectRefused("view context menu");

    // The menu bar's entry.
    QAction* menuEntry = router->Action(ID_TOOL_BRUSH);
    ASSERT_NE(menuEntry, nullptr);
    menuEntry->setEnabled(true);
    menuEntry->trigger();
    expectRefused("menu bar");
    view->Magnifier().SetMagnifiedFlag(false);

    // The bars' menu, for a View command an earlier target on the route disables.
    CCommandMap blocker;
    blocker.MapUpdate(ID_VIEW_DRAW_TOOLS, [](CCmdUI& state) { state.Enable(false); });
    router->SetRouteProvider([&blocker, frame] { return std::vector<CCmdTarget*>{&blocker, frame}; });
    std::unique_ptr<QMenu> bars(frame->createPopupMenu());
    QAction* drawEntry = EntryOf(bars.get(), ID_VIEW_DRAW_TOOLS);
    ASSERT_NE(drawEntry, nullptr);
    EXPECT_FALSE(drawEntry->isEnabled());
    drawEntry->setEnabled(true);
    drawEntry->trigger();
    ASSERT_EQ(dispatched.size(), 1);
    EXPECT_EQ(dispatched.at(0).at(0).toUInt(), ID_VIEW_DRAW_TOOLS);
    EXPECT_FALSE(dispatched.at(0).at(1).toBool());
    EXPECT_FALSE(palette->isHidden());
    router->SetRouteProvider([frame] { return std::vector<CCmdTarget*>{frame}; });
}
