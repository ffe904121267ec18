// The documentation's editor screenshots, made by driving the real program:
// run under a display server with GLYPHANE_DOC_SHOTS naming the output
// folder (skipped otherwise), for example, in one line,
//   GLYPHANE_DOC_SHOTS=docs/screenshots QT_QPA_PLATFORM=xcb
//   xvfb-run -a -s "-screen 0 1280x800x24" build/bin/test_view --gtest_filter='*Screenshots*'
#include "ViewTestFixture.h"

#include "platform/CommandRouter.h"

#include <QTextEdit>

using namespace viewtest;

namespace {

void Settle()
{
    if (CCommandRouter* router = GetApp()->GetRouter())
        router->UpdateAll();
    QTest::qWait(300);
}

} // namespace

TEST_F(ViewTest, DocumentationScreenshots)
{
    const QString folder = qEnvironmentVariable("GLYPHANE_DOC_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "set GLYPHANE_DOC_SHOTS to make the screenshots";
    QWidget* main = GetApp()->GetMainFrameWidget();
    ASSERT_TRUE(OpenWhiteLogo(384, 240));
    Settle();

    // Outlines drawn with the shape tools, then filled with two patterns.
    Command(ID_TOOL_RECTANGLE);
    Click(20, 20);
    Click(170, 220);
    Command(ID_TOOL_ELLIPSE);
    Click(200, 20);
    Click(370, 220);
    Command(ID_TOOL_FILL);
    Command(ID_PATTERN_FIRST + 4); // chess
    Click(90, 120);
    Command(ID_PATTERN_LAST); // reticule
    Click(285, 120);
    Settle();
    EXPECT_TRUE(main->grab().save(folder + QStringLiteral("/pattern.png")));

    // A text stamp, and a second box still open for typing.
    Image().fill(kWhite);
    Command(ID_TOOL_TEXT);
    Drag({QPoint(30, 30), QPoint(200, 60), QPoint(330, 80)});
    QTextEdit* box = m_view->Text().TextBox();
    ASSERT_NE(box, nullptr);
    QFont large = m_view->Text().TextFont();
    large.setPixelSize(36);
    box->setFont(large);
    QTest::keyClicks(box, QStringLiteral("Glyphane"));
    Click(350, 200);
    Command(ID_TOOL_TEXT);
    Drag({QPoint(30, 120), QPoint(200, 160), QPoint(330, 200)});
    ASSERT_NE(m_view->Text().TextBox(), nullptr);
    QTest::keyClicks(m_view->Text().TextBox(), QStringLiteral("Tessaro"));
    QTest::keyClick(m_view->Text().TextBox(), Qt::Key_Return);
    QTest::keyClicks(m_view->Text().TextBox(), QStringLiteral("203 dpi"));
    Settle();
    EXPECT_TRUE(main->grab().save(folder + QStringLiteral("/text.png")));
    Command(ID_TOOL_POINTER);

    // The magnifier over the stamped text.
    Command(ID_ZOOM_LARGE);
    Move(60, 50);
    Click(60, 50);
    Settle();
    EXPECT_TRUE(m_view->Magnifier().IsMagnified());
    EXPECT_TRUE(main->grab().save(folder + QStringLiteral("/magnified.png")));
    Command(ID_ZOOM_NORMAL);
}
