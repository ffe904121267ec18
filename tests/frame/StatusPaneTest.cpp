// The status bar's panes: their order and first texts, the setters' texts,
// and widths that always hold the whole text.
#include "FrameFixture.h"

#include "document/GlyphaneDoc.h"
#include "frame/StatusPanes.h"
#include "resources/CommandIds.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QMdiArea>
#include <QStatusBar>

#include <algorithm>

using frametest::FrameTest;

namespace {

void ExpectWholeTextFits(CMainFrame* frame, UINT id)
{
    const int advance = QFontMetrics(frame->statusBar()->font()).horizontalAdvance(frame->PaneText(id));
    EXPECT_GE(frame->PaneWidth(id), advance) << id << " cuts " << frame->PaneText(id).toStdString();
}

// A folder laid out as the kernel's LED class: one folder per light with its
// "brightness" file. Made in the test's current folder.
QString LightFolder(std::initializer_list<std::pair<const char*, const char*>> lights)
{
    static int made = 0;
    const QString root = QDir::current().filePath(QStringLiteral("leds%1").arg(++made));
    for (const auto& [name, brightness] : lights) {
        const QString light = root + u'/' + QString::fromLatin1(name);
        QDir().mkpath(light);
        QFile file(light + QStringLiteral("/brightness"));
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray(brightness) + "\n");
    }
    QDir().mkpath(root);
    return root;
}

} // namespace

TEST_F(FrameTest, StatusBarHasNinePanesWithTheirFirstTexts)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    frame->SetKeyLightFolder(LightFolder({{"input0::capslock", "1"}, {"input0::numlock", "1"},
                                          {"input0::scrolllock", "1"}}));
    EXPECT_EQ(CStatusPanes::PaneIds(), QList<UINT>({0, 61462, 61463, 6565, 6566, 6567, 59137, 59138, 59139}));
    const std::pair<UINT, const char*> texts[] = {
        {0, "Ready"},       {61462, "Printer Selected"}, {61463, "Com Port Selected"},
        {6565, "Position"}, {6566, "Dimension"},          {6567, "Tool selected: None."},
        {59137, "CAP"},     {59138, "NUM"},               {59139, "SCRL"},
    };
    for (auto [id, text] : texts) {
        EXPECT_EQ(frame->PaneText(id), QString::fromLatin1(text)) << id;
        if (id != 0)
            ExpectWholeTextFits(frame, id);
    }
    // The panes sit in the status bar in that order, left to right.
    frame->statusBar()->adjustSize();
    int lastX = -1;
    for (UINT id : CStatusPanes::PaneIds()) {
        QLabel* pane = frame->findChild<QLabel*>(QStringLiteral("pane%1").arg(id));
        ASSERT_NE(pane, nullptr) << id;
        const int x = pane->mapTo(frame->statusBar(), QPoint(0, 0)).x();
        EXPECT_GT(x, lastX) << id;
        lastX = x;
    }
}

TEST_F(FrameTest, PaneSettersBuildTheirTextsAndWidenToFit)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    frame->SetPositionPane(0, 0);
    EXPECT_EQ(frame->PaneText(6565), QStringLiteral("Position: X:001, Y:001"));
    frame->SetPositionPane(-1, -1);
    EXPECT_EQ(frame->PaneText(6565), QStringLiteral("Position: X:000, Y:000"));
    frame->SetPositionPane(1499, 99);
    EXPECT_EQ(frame->PaneText(6565), QStringLiteral("Position: X:1500, Y:100"));
    ExpectWholeTextFits(frame, 6565);

    frame->SetSizePane(64, 8);
    EXPECT_EQ(frame->PaneText(6566), QStringLiteral("Size: X:64, Y:08"));
    frame->SetSizePane(384, 240);
    EXPECT_EQ(frame->PaneText(6566), QStringLiteral("Size: X:384, Y:240"));
    ExpectWholeTextFits(frame, 6566);

    frame->SetToolPane(QStringLiteral("Fill Area"));
    EXPECT_EQ(frame->PaneText(6567), QStringLiteral("Tool selected: Fill Area"));
    ExpectWholeTextFits(frame, 6567);

    const QString longPort = QStringLiteral("COM1: 115200 baud, 8 data bits, no parity, 1 stop bit, RTS/CTS");
    frame->SetPortPane(longPort);
    EXPECT_EQ(frame->PaneText(61463), longPort);
    ExpectWholeTextFits(frame, 61463);
    frame->SetPrinterPane(QStringLiteral("WGJ33"));
    EXPECT_EQ(frame->PaneText(61462), QStringLiteral("WGJ33"));
    ExpectWholeTextFits(frame, 61462);

    // A shorter text narrows the pane again.
    const int wide = frame->PaneWidth(61463);
    frame->SetPortPane(QStringLiteral("COM2"));
    EXPECT_LT(frame->PaneWidth(61463), wide);
}

// The panes show the active logo window's printer, port, size and tool as
// soon as the window becomes active, whether or not its view has the focus.
TEST_F(FrameTest, PanesFollowTheLogoWindowThatBecomesActive)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    const QString firstPath = WriteWhiteLogo(64, 8, QStringLiteral("first.bmp"));
    const QString secondPath = WriteWhiteLogo(32, 16, QStringLiteral("second.bmp"));
    CGlyphaneDoc* first = GetApp()->OpenDocumentFile(firstPath);
    ASSERT_NE(first, nullptr);
    first->Binding().SetPrinterModel(QStringLiteral("WGJ33"));
    first->Binding().SetPortName(QStringLiteral("COM3"));
    frame->Router()->Dispatch(ID_TOOL_PEN);
    EXPECT_EQ(frame->PaneText(6567), QStringLiteral("Tool selected: Pen"));

    CGlyphaneDoc* second = GetApp()->OpenDocumentFile(secondPath);
    ASSERT_NE(second, nullptr);
    second->Binding().SetPrinterModel(QStringLiteral("JMQ9534"));
    second->Binding().SetPortName(QStringLiteral("LPT1"));
    EXPECT_EQ(frame->PaneText(6567), QStringLiteral("Tool selected: None"));
    EXPECT_EQ(frame->PaneText(6566), QStringLiteral("Size: X:32, Y:16"));

    // Back to the first window, by opening its file again.
    ASSERT_EQ(GetApp()->OpenDocumentFile(firstPath), first);
    EXPECT_EQ(frame->PaneText(61462), QStringLiteral("WGJ33"));
    EXPECT_EQ(frame->PaneText(61463), QStringLiteral("COM3"));
    EXPECT_EQ(frame->PaneText(6566), QStringLiteral("Size: X:64, Y:08"));
    EXPECT_EQ(frame->PaneText(6567), QStringLiteral("Tool selected: Pen"));

    frame->MdiArea()->activateNextSubWindow();
    EXPECT_EQ(frame->PaneText(61462), QStringLiteral("JMQ9534"));
    EXPECT_EQ(frame->PaneText(61463), QStringLiteral("LPT1"));
    EXPECT_EQ(frame->PaneText(6567), QStringLiteral("Tool selected: None"));
}

// However narrow the window (a maximised window on a 1920 x 1080 screen at a
// display scale of 2 is 960 wide), every pane shows its whole text beside
// the others, never under them: the panes that do not fit go to a second row.
TEST_F(FrameTest, PanesKeepTheirWholeTextsInANarrowWindow)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    frame->ShowFrame();
    ASSERT_NE(OpenLogo(), nullptr);
    frame->SetPrinterPane(QStringLiteral("Printer not selected"));
    frame->SetPortPane(QStringLiteral("Comunication port not init"));
    frame->SetPositionPane(1499, 239);
    frame->SetSizePane(3000, 240);
    frame->SetToolPane(QStringLiteral("Rectangle"));
    const struct {
        const char* name;
        int width;
        bool oneRow;
    } windows[] = {{"wide", 1400, true},       {"scale 2 on 1920 x 1080", 958, true}, {"narrower", 600, false},
                   {"narrowest", 300, false}, {"wide again", 1400, true}};
    for (const auto& w : windows) {
        SCOPED_TRACE(w.name);
        frame->showNormal();
        frame->resize(w.width, 500);
        QApplication::processEvents();
        QApplication::processEvents();
        QStatusBar* bar = frame->statusBar();
        QList<QRect> placed;
        for (UINT id : CStatusPanes::PaneIds()) {
            if (id == 0)
                continue;
            const QLabel* pane = frame->findChild<QLabel*>(QStringLiteral("pane%1").arg(id));
            ASSERT_NE(pane, nullptr);
            ExpectWholeTextFits(frame, id);
            EXPECT_GE(pane->width(), pane->minimumSizeHint().width()) << id << " " << pane->text().toStdString();
            const QRect shown(pane->mapTo(bar, QPoint(0, 0)), pane->size());
            EXPECT_TRUE(bar->rect().contains(shown)) << id << " lies outside the bar";
            for (const QRect& other : placed)
                EXPECT_FALSE(shown.intersects(other)) << id << " covers another pane";
            placed.append(shown);
        }
        const bool oneRow = std::all_of(placed.begin(), placed.end(),
                                        [&placed](const QRect& r) { return r.top() == placed.first().top(); });
        EXPECT_EQ(oneRow, w.oneRow);
    }
}

// Each key pane shows its text only while its lock is on; a pane whose state
// cannot be read stays blank. A blank pane keeps its place and width.
TEST_F(FrameTest, KeyPanesShowTheirTextOnlyWhileTheLockIsOn)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    const int numWidth = frame->PaneWidth(59138);

    // Two keyboards: one with Caps Lock lit; no Scroll Lock light anywhere.
    frame->SetKeyLightFolder(LightFolder({{"input3::capslock", "0"}, {"input3::numlock", "0"},
                                          {"input7::capslock", "1"}, {"input7::numlock", "0"},
                                          {"phy0-led", "1"}}));
    EXPECT_EQ(frame->PaneText(59137), QStringLiteral("CAP"));
    EXPECT_EQ(frame->PaneText(59138), QString());
    EXPECT_EQ(frame->PaneText(59139), QString()) << "no light to read: blank, never claimed";
    EXPECT_EQ(frame->PaneWidth(59138), numWidth);

    const QString lights = LightFolder({{"input3::capslock", "0"}, {"input3::numlock", "1"},
                                        {"input3::scrolllock", "garbage"}});
    frame->SetKeyLightFolder(lights);
    EXPECT_EQ(frame->PaneText(59137), QString());
    EXPECT_EQ(frame->PaneText(59138), QStringLiteral("NUM"));
    EXPECT_EQ(frame->PaneText(59139), QString());

    // Looked at again: a light switched on since shows.
    QFile scroll(lights + QStringLiteral("/input3::scrolllock/brightness"));
    ASSERT_TRUE(scroll.open(QIODevice::WriteOnly | QIODevice::Truncate));
    scroll.write("1\n");
    scroll.close();
    frame->UpdateKeyIndicators();
    EXPECT_EQ(frame->PaneText(59139), QStringLiteral("SCRL"));

    // Without any lights (a machine that has none, or hides them) all three are blank.
    frame->SetKeyLightFolder(TempPath(QStringLiteral("no-such-folder")));
    for (UINT id : {59137u, 59138u, 59139u})
        EXPECT_EQ(frame->PaneText(id), QString()) << id;
}
