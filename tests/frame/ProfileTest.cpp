// What the frame reads from the profile at creation and writes at closing,
// and the stored window placement.
#include "FrameFixture.h"

#include "document/GlyphaneDoc.h"
#include "frame/ChildFrame.h"
#include "frame/ColumnToolBar.h"
#include "frame/WindowPlacement.h"
#include "support/ScriptedUi.h"
#include "view/GlyphaneView.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>
#include <QStatusBar>
#include <QCoreApplication>
#include <QMenu>

using frametest::FrameTest;

TEST(WindowPlacementTest, ParsesExactlyTenNumbersAndRefusesTheRest)
{
    const auto p = ParseWindowPlacement(QStringLiteral("0,1,-1,-1,-1,-1,10,10,810,610"));
    ASSERT_TRUE(p.has_value());
    EXPECT_FALSE(p->ShowsMaximized());
    EXPECT_EQ(p->NormalRect(), QRect(10, 10, 800, 600));
    EXPECT_EQ(FormatWindowPlacement(*p), QStringLiteral("0,1,-1,-1,-1,-1,10,10,810,610"));

    for (const char* bad : {"", "   ", "0,1,-1,-1,-1,-1,10,10,810", "0,1,-1,-1,-1,-1,10,10,810,610,5",
                            "0,1,-1,-1,-1,-1,10,10,810,x", "0,1,-1,-1,-1,-1,10,10,10,610",
                            "0,1,-1,-1,-1,-1,0,0,99999999,99999999", "-1,1,-1,-1,-1,-1,10,10,810,610",
                            "0,1,-1,-1,-1,-1,10,10,810,99999999999999999999"})
        EXPECT_FALSE(ParseWindowPlacement(QString::fromLatin1(bad)).has_value()) << bad;

    const CWindowPlacement maxed = PlacementOf(QRect(5, 6, 100, 50), true);
    EXPECT_EQ(maxed.flags, 2u);
    EXPECT_EQ(FormatWindowPlacement(maxed), QStringLiteral("2,3,-1,-1,-1,-1,5,6,105,56"));
}

// A window that fits the test screen (800 x 800) comes back where it was.
TEST_F(FrameTest, AStoredNormalPlacementRestoresANormalWindow)
{
    CMainFrame* frame = Start("[Settings]\nWindowPos=\"0,1,-1,-1,-1,-1,10,10,710,560\"\n");
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(frame->isMaximized());
    EXPECT_EQ(frame->geometry(), QRect(10, 10, 700, 550));
}

// Also run at a display scale of 2 (test_frame_scale2), where a placement
// written at scale 1 is twice too large for the screen.
TEST_F(FrameTest, ARestoredWindowIsKeptInsideTheAvailableArea)
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QByteArray stored = QStringLiteral("0,1,-1,-1,-1,-1,%1,%2,%3,%4")
                                  .arg(available.left() + 40)
                                  .arg(available.top() + 30)
                                  .arg(available.left() + 40 + 2 * available.width())
                                  .arg(available.top() + 30 + 2 * available.height())
                                  .toLatin1();
    CMainFrame* frame = Start("[Settings]\nWindowPos=\"" + stored + "\"\n");
    ASSERT_NE(frame, nullptr);
    QApplication::processEvents();
    EXPECT_FALSE(frame->isMaximized());
    EXPECT_TRUE(available.contains(frame->frameGeometry()))
        << frame->frameGeometry().width() << "x" << frame->frameGeometry().height() << " in " << available.width()
        << "x" << available.height();
    // The bars at the window's edges are on the screen.
    QStatusBar* status = frame->statusBar();
    EXPECT_TRUE(available.contains(QRect(status->mapToGlobal(QPoint(0, 0)), status->size())));
    for (UINT id : {101u, 61493u}) {
        QWidget* palette = frame->Palette(id);
        EXPECT_TRUE(available.contains(QRect(palette->mapToGlobal(QPoint(0, 0)), palette->size()))) << id;
    }
}

// Every logo window stays inside the room the main window gives it: when it
// opens, and when it is fitted again (as after a resize on Connect).
TEST_F(FrameTest, LogoWindowsAreKeptInsideTheAvailableArea)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    CGlyphaneDoc* doc = OpenWhiteLogoFile(3000, 2000);
    ASSERT_NE(doc, nullptr);
    QApplication::processEvents();
    QApplication::processEvents();
    CChildFrame* child = frame->ActiveChildFrame();
    ASSERT_NE(child, nullptr);
    const QRect room(QPoint(0, 0), frame->MdiArea()->viewport()->size());
    EXPECT_TRUE(room.contains(child->geometry()))
        << child->x() << "," << child->y() << " " << child->width() << "x" << child->height() << " in "
        << room.width() << "x" << room.height();

    CGlyphaneDoc* small = OpenWhiteLogoFile(100, 60);
    ASSERT_NE(small, nullptr);
    QApplication::processEvents();
    CChildFrame* smallChild = frame->ActiveChildFrame();
    smallChild->move(room.width() - 30, room.height() - 20);
    smallChild->GetView()->OnInitialUpdate();
    QApplication::processEvents();
    EXPECT_TRUE(room.contains(smallChild->geometry()));
    EXPECT_EQ(smallChild->GetView()->viewport()->size(), QSize(100, 60));

    // A main window made smaller keeps its logo windows inside too.
    frame->showNormal();
    frame->setGeometry(QRect(0, 0, 600, 500));
    QApplication::processEvents();
    const QRect smaller(QPoint(0, 0), frame->MdiArea()->viewport()->size());
    ASSERT_LT(smaller.width(), room.width());
    EXPECT_TRUE(smaller.contains(child->geometry()));
    EXPECT_TRUE(smaller.contains(smallChild->geometry()));
}

TEST_F(FrameTest, ABadPlacementKeepsTheMaximisedDefault)
{
    CMainFrame* frame = Start("[Settings]\nWindowPos=\"1,2,3\"\n");
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isMaximized());
}

// QSettings keeps a group named "General" as "[%General]" in its files (a
// plain "[General]" holds keys outside any group), so profiles say so too.
TEST_F(FrameTest, ClosingWritesExactlyTheDrawAndActionsSettingsAndThePlacement)
{
    CMainFrame* frame = Start("[%General]\nDrawToolColor=5\nDrawTool_ToolTips=0\nGenericToolColumns=2\n"
                              "PatternColor=7\nImageOptionsColumns=4\n");
    ASSERT_NE(frame, nullptr);
    frame->Palette(101)->SetColumns(6);
    ASSERT_TRUE(frame->isMaximized());
    frame->close();

    auto profile = Profile();
    profile->beginGroup(QStringLiteral("General"));
    QStringList keys = profile->childKeys();
    keys.sort();
    EXPECT_EQ(keys.join(u',').toStdString(),
              "DrawToolColor,DrawToolColumns,DrawTool_ToolTips,GenericToolColor,GenericToolColumns,"
              "GenericTool_ToolTips,ImageOptionsColumns,PatternColor");
    EXPECT_EQ(profile->value("DrawToolColumns").toInt(), 6);
    EXPECT_EQ(profile->value("DrawToolColor").toInt(), 1) << "booleans are written as 0 or 1";
    EXPECT_EQ(profile->value("DrawTool_ToolTips").toInt(), 0);
    EXPECT_EQ(profile->value("GenericToolColumns").toInt(), 2);
    EXPECT_EQ(profile->value("GenericToolColor").toInt(), 1);
    EXPECT_EQ(profile->value("GenericTool_ToolTips").toInt(), 1);
    // Never written, so kept as the profile had them.
    EXPECT_EQ(profile->value("PatternColor").toInt(), 7);
    EXPECT_EQ(profile->value("ImageOptionsColumns").toInt(), 4);
    profile->endGroup();

    const QStringList pos = profile->value(QStringLiteral("Settings/WindowPos")).toString().split(u',');
    ASSERT_EQ(pos.size(), 10);
    EXPECT_EQ(pos.at(0), QStringLiteral("2")) << "closing while maximised stores flags 2";
}

TEST_F(FrameTest, APlacementWrittenAtCloseIsRestoredAtTheNextStart)
{
    CMainFrame* frame = Start("[Settings]\nWindowPos=\"0,1,-1,-1,-1,-1,10,10,810,610\"\n");
    ASSERT_NE(frame, nullptr);
    frame->setGeometry(QRect(40, 30, 700, 500));
    frame->close();
    const QString written = Profile()->value(QStringLiteral("Settings/WindowPos")).toString();
    EXPECT_EQ(written, QStringLiteral("0,1,-1,-1,-1,-1,40,30,740,530"));
}

TEST_F(FrameTest, ClosingAsksForModifiedLogosAndCancelKeepsTheWindow)
{
    testenv::ScriptedUi ui;
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    CGlyphaneDoc* doc = OpenLogo();
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(true);

    ui.Answer(IDCANCEL);
    EXPECT_FALSE(frame->close());
    ASSERT_EQ(ui.Prompts().size(), 1u);
    EXPECT_EQ(ui.Prompts().at(0).text, QStringLiteral("Save changes to logo.bmp?"));
    EXPECT_EQ(ui.Prompts().at(0).buttons(), static_cast<UINT>(MB_YESNOCANCEL));
    EXPECT_EQ(frame->ChildFrames().size(), 1);

    ui.Answer(IDNO);
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(frame->ChildFrames().isEmpty());
}

// The recent-file list lives in the profile: read at start (files that have
// gone are left out), shown in the File menu, written when it changes.
TEST_F(FrameTest, RecentFilesComeFromTheProfileWithoutTheMissingOnesAndGoBackToIt)
{
    const QString first = WriteWhiteLogo(16, 8, QStringLiteral("first.bmp"));
    const QString third = WriteWhiteLogo(16, 8, QStringLiteral("third.bmp"));
    const QString gone = TempPath(QStringLiteral("gone.bmp"));
    CMainFrame* frame = Start("[Recent%20File%20List]\nFile1=" + first.toUtf8() + "\nFile2=" + gone.toUtf8()
                              + "\nFile3=" + third.toUtf8() + "\n");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->RecentFiles(), QStringList({first, third}));

    QStringList shown;
    frame->Router()->UpdateAll();
    for (QAction* action : frame->MenuPopups(128).at(0)->actions())
        if (action->isVisible() && action->isEnabled() && action->text().startsWith(u'&'))
            shown << action->text();
    EXPECT_EQ(shown, QStringList({QStringLiteral("&New\tCtrl+N"), QStringLiteral("&Open...\tCtrl+O"),
                                  QStringLiteral("&1 first.bmp"), QStringLiteral("&2 third.bmp")}));

    const QString opened = WriteWhiteLogo(16, 8, QStringLiteral("opened.bmp"));
    ASSERT_NE(GetApp()->OpenDocumentFile(opened), nullptr);
    auto profile = Profile();
    profile->beginGroup(QStringLiteral("Recent File List"));
    EXPECT_EQ(profile->value("File1").toString(), opened);
    EXPECT_EQ(profile->value("File2").toString(), first);
    EXPECT_EQ(profile->value("File3").toString(), third);
    EXPECT_EQ(profile->value("File4").toString(), QString());
}

TEST_F(FrameTest, TheRecentFileListKeepsFourEntriesLatestFirst)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    QStringList paths;
    for (int i = 0; i < 5; ++i)
        paths << WriteWhiteLogo(16, 8, QStringLiteral("logo%1.bmp").arg(i));
    for (const QString& path : paths)
        ASSERT_NE(GetApp()->OpenDocumentFile(path), nullptr);
    GetApp()->OpenDocumentFile(paths.at(2)); // already open: comes forward, and to the top
    EXPECT_EQ(frame->RecentFiles(), QStringList({paths.at(2), paths.at(4), paths.at(3), paths.at(1)}));
    EXPECT_EQ(Profile()->value(QStringLiteral("Recent File List/File4")).toString(), paths.at(1));
}
