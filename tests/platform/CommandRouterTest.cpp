#include "platform/CommandRouter.h"

#include "resources/CommandIds.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <string>

namespace {

// A route member that logs what reached it, in the message-map style.
class CLoggingTarget : public CCommandMap {
public:
    CLoggingTarget(std::string name, std::string& log) : m_name(std::move(name)), m_log(log) {}
    void Handle(UINT id)
    {
        MapCommand(id, [this, id] { m_log += m_name + ":" + std::to_string(id) + ";"; });
    }

private:
    std::string m_name;
    std::string& m_log;
};

struct RouteFixture : ::testing::Test {
    std::string log;
    CLoggingTarget view{"view", log};
    CLoggingTarget document{"doc", log};
    CLoggingTarget mainFrame{"main", log};
    CLoggingTarget app{"app", log};
    CCommandRouter router;

    void SetUp() override
    {
        router.SetRouteProvider([this] { return std::vector<CCmdTarget*>{&view, &document, nullptr, &mainFrame, &app}; });
    }
};

} // namespace

TEST_F(RouteFixture, FirstTargetAlongTheRouteWins)
{
    document.Handle(ID_TEST_LOGO);
    app.Handle(ID_TEST_LOGO);
    app.Handle(ID_FILE_OPEN);
    EXPECT_TRUE(router.Dispatch(ID_TEST_LOGO));
    EXPECT_TRUE(router.Dispatch(ID_FILE_OPEN));
    EXPECT_FALSE(router.Dispatch(ID_UNHANDLED_ALT_W));
    EXPECT_EQ(log, "doc:32790;app:57601;");

    view.Handle(ID_TEST_LOGO);
    log.clear();
    router.Dispatch(ID_TEST_LOGO);
    EXPECT_EQ(log, "view:32790;");
}

TEST_F(RouteFixture, TriggeredActionsDispatchTheirId)
{
    mainFrame.Handle(ID_FILE_OPEN);
    QAction* open = router.CreateAction(ID_FILE_OPEN, "&Open...\tCtrl+O");
    EXPECT_EQ(open->text(), "&Open...");
    EXPECT_EQ(open->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(CCommandRouter::CommandIdOf(open), ID_FILE_OPEN);
    EXPECT_EQ(router.Action(ID_FILE_OPEN), open);
    QSignalSpy spy(&router, &CCommandRouter::commandDispatched);
    open->trigger();
    EXPECT_EQ(log, "main:57601;");
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].toUInt(), ID_FILE_OPEN);
    EXPECT_TRUE(spy[0][1].toBool());

    QAction* plain = router.CreateAction(ID_IMAGE_FLIP_HORIZONTAL, "Flip Pixel Horizontal ");
    EXPECT_EQ(plain->text(), "Flip Pixel Horizontal ");
    EXPECT_TRUE(plain->shortcut().isEmpty());
}

TEST_F(RouteFixture, UpdateHandlersReachTheActions)
{
    bool magnified = false;
    int tool = 10;
    view.Handle(ID_TOOL_PEN);
    view.MapUpdate(ID_TOOL_PEN, [&](CCmdUI& ui) {
        ui.Enable(!magnified);
        ui.SetCheck(tool == 10);
    });
    document.Handle(ID_TEST_LOGO);
    document.MapUpdate(ID_TEST_LOGO, [](CCmdUI& ui) { ui.SetText("Test Logo (busy)"); });

    QAction* pen = router.CreateAction(ID_TOOL_PEN, "Select &Pen\tAlt+P");
    QAction* test = router.CreateAction(ID_TEST_LOGO, "&Test Logo\tCtrl+T");
    router.UpdateAll();
    EXPECT_TRUE(pen->isEnabled());
    EXPECT_TRUE(pen->isCheckable());
    EXPECT_TRUE(pen->isChecked());
    EXPECT_EQ(test->text(), "Test Logo (busy)");
    EXPECT_TRUE(test->isEnabled()) << "a handler that sets only the text leaves the rest alone";

    magnified = true;
    tool = 0;
    router.UpdateAll();
    EXPECT_FALSE(pen->isEnabled());
    EXPECT_FALSE(pen->isChecked());
    // A disabled command is refused even when dispatched directly (a stale accelerator).
    EXPECT_FALSE(router.Dispatch(ID_TOOL_PEN));
    EXPECT_EQ(log, "");
}

TEST_F(RouteFixture, DispatchAlongAWindowsOwnRouteKeepsTheSameRule)
{
    // A context menu's commands go along its window's route, not the active one.
    document.Handle(ID_TOOL_PEN);
    app.Handle(ID_TOOL_PEN);
    CLoggingTarget otherView{"other", log};
    otherView.Handle(ID_TOOL_PEN);
    QSignalSpy spy(&router, &CCommandRouter::commandDispatched);
    EXPECT_TRUE(router.Dispatch(ID_TOOL_PEN, {&otherView, nullptr, &document}));
    EXPECT_EQ(log, "other:32773;");
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].toUInt(), ID_TOOL_PEN);
    EXPECT_TRUE(spy[0][1].toBool());

    // Refused while the route's first update handler disables it.
    bool enabled = false;
    otherView.MapUpdate(ID_TOOL_PEN, [&](CCmdUI& ui) { ui.Enable(enabled); });
    log.clear();
    EXPECT_FALSE(router.Dispatch(ID_TOOL_PEN, {&otherView, &document}));
    EXPECT_EQ(log, "");
    ASSERT_EQ(spy.count(), 2);
    EXPECT_FALSE(spy[1][1].toBool());
    enabled = true;
    EXPECT_TRUE(router.Dispatch(ID_TOOL_PEN, {&otherView, &document}));
    EXPECT_EQ(log, "other:32773;");

    // The active route is not asked.
    log.clear();
    EXPECT_FALSE(router.Dispatch(ID_FILE_OPEN, {&otherView, &document}));
    app.Handle(ID_FILE_OPEN);
    EXPECT_TRUE(router.Dispatch(ID_FILE_OPEN));
    EXPECT_EQ(log, "app:57601;");
}

TEST_F(RouteFixture, CommandsNobodyHandlesAreDisabled)
{
    app.Handle(ID_FILE_OPEN);
    QAction* open = router.CreateAction(ID_FILE_OPEN, "&Open...");
    QAction* nobody = router.CreateAction(ID_UNHANDLED_ALT_W, "Nothing");
    router.UpdateAll();
    EXPECT_TRUE(open->isEnabled()) << "a handler without an update handler enables";
    EXPECT_FALSE(nobody->isEnabled());

    // The first update handler decides, even against a later command handler.
    mainFrame.MapUpdate(ID_FILE_OPEN, [](CCmdUI& ui) { ui.Enable(false); });
    router.UpdateAll();
    EXPECT_FALSE(open->isEnabled());

    CCmdUI state = router.QueryState(ID_UNHANDLED_ALT_W);
    EXPECT_FALSE(state.enabled());
    EXPECT_TRUE(state.enableSet());
}

TEST_F(RouteFixture, MenusUpdateBeforeTheyOpen)
{
    bool enabled = false;
    view.Handle(ID_TOOL_PEN);
    view.MapUpdate(ID_TOOL_PEN, [&](CCmdUI& ui) {
        ui.Enable(enabled);
        ui.SetRadio(enabled);
    });
    QMenu menu;
    QMenu* sub = menu.addMenu("&Tools");
    QAction* pen = router.CreateAction(ID_TOOL_PEN, "Select &Pen");
    sub->addAction(pen);
    router.WatchMenu(&menu);
    router.UpdateAll();
    EXPECT_FALSE(pen->isEnabled());

    enabled = true;
    emit sub->aboutToShow();
    EXPECT_TRUE(pen->isEnabled());
    EXPECT_TRUE(pen->isChecked());

    enabled = false;
    sub->popup(QPoint(0, 0)); // the real signal, as a user opening it
    EXPECT_FALSE(pen->isEnabled());
    sub->hide();
}

TEST_F(RouteFixture, IdleTimerKeepsToolbarsCurrent)
{
    bool enabled = false;
    view.MapUpdate(ID_TOOL_PEN, [&](CCmdUI& ui) { ui.Enable(enabled); });
    QAction* pen = router.CreateAction(ID_TOOL_PEN, "Select &Pen");
    router.UpdateAll();
    ASSERT_FALSE(pen->isEnabled());
    router.StartIdleUpdates(20);
    enabled = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return pen->isEnabled(); }, 2000));
    router.StopIdleUpdates();
}

TEST(CmdTarget, DefaultTargetHandlesNothingAndRangesCoverTheirIds)
{
    CCmdTarget plain;
    CCmdUI ui(1);
    EXPECT_FALSE(plain.OnCommand(1));
    EXPECT_FALSE(plain.OnUpdateCommand(1, ui));
    EXPECT_FALSE(plain.HasCommandHandler(1));

    struct CPatterns : CCommandMap {
        UINT last = 0;
        CPatterns() { MapCommandRange(ID_PATTERN_FIRST, ID_PATTERN_LAST, [this](UINT id) { last = id; }); }
    } patterns;
    EXPECT_TRUE(patterns.OnCommand(ID_PATTERN_FIRST + 6));
    EXPECT_EQ(patterns.last, ID_PATTERN_FIRST + 6);
    EXPECT_TRUE(patterns.HasCommandHandler(ID_PATTERN_LAST));
    EXPECT_FALSE(patterns.OnCommand(ID_PATTERN_LAST + 1));
}
