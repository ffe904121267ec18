// The text tool: placing the box, typing, the two ways of committing it,
// Esc, the font and scrolling with the box open.
#include "ViewTestFixture.h"

#include "support/ScriptedUi.h"

#include <QFontInfo>
#include <QScrollBar>
#include <QTextEdit>

using namespace viewtest;

namespace {

struct Ink {
    int black = 0;
    int white = 0;
    int other = 0;
};

Ink InkIn(const QImage& image, const QRect& area)
{
    Ink ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            (p == kBlack ? ink.black : p == kWhite ? ink.white : ink.other)++;
        }
    return ink;
}

} // namespace

class TextTest : public ViewTest {
protected:
    QTextEdit* OpenBox(const QPoint& from, const QPoint& to)
    {
        Command(ID_TOOL_TEXT);
        Drag({from, (from + to) / 2, to});
        return m_view->Text().TextBox();
    }
};

TEST_F(TextTest, TypedTextCommittedByAClickLandsBlackOnAWhiteBox)
{
    ASSERT_TRUE(OpenWhiteLogo(240, 100));
    Image().fill(kBlack);
    m_doc->SetModifiedFlag(false);
    m_view->Link().SetLogoInRam(true);
    QTextEdit* box = OpenBox(QPoint(10, 10), QPoint(110, 40));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(m_doc->GetDrawMode(), tool::TextBoxOpen);
    EXPECT_EQ(box->geometry(), QRect(10, 10, 100, 30));
    EXPECT_EQ(box->objectName(), "textBox");
    QTest::keyClicks(box, QStringLiteral("ABC"));
    EXPECT_EQ(box->toPlainText(), "ABC");
    EXPECT_FALSE(m_doc->IsModified());

    // A click inside the box leaves it open.
    Click(50, 20);
    EXPECT_EQ(m_doc->GetDrawMode(), tool::TextBoxOpen);
    Click(200, 80);
    EXPECT_EQ(m_view->Text().TextBox(), nullptr);
    EXPECT_EQ(m_doc->GetDrawMode(), tool::None);
    EXPECT_EQ(viewpanes::LastTexts().tool, viewpanes::ToolText(QStringLiteral("None")));
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_FALSE(m_view->Link().IsLogoInRam());

    const Ink inside = InkIn(Image(), QRect(10, 10, 100, 30));
    EXPECT_GT(inside.black, 30) << "the letters";
    EXPECT_GT(inside.white, inside.black) << "the box's background";
    EXPECT_EQ(inside.other, 0);
    // Nothing outside the box changed.
    EXPECT_EQ(CountInImage(kBlack), 240 * 100 - inside.white);
    // The letters sit in the left part of the box, where they were typed.
    EXPECT_EQ(InkIn(Image(), QRect(70, 10, 40, 30)).black, 0);
}

TEST_F(TextTest, AToolChangeStampsTheBoxWithoutMarkingTheDocument)
{
    ASSERT_TRUE(OpenWhiteLogo(240, 100));
    m_doc->SetModifiedFlag(false);
    m_view->Link().SetLogoInRam(true);
    QTextEdit* box = OpenBox(QPoint(20, 20), QPoint(140, 80));
    ASSERT_NE(box, nullptr);
    QTest::keyClicks(box, QStringLiteral("A"));
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, QStringLiteral("B"));
    EXPECT_EQ(box->toPlainText(), "A\nB");
    // The area tool is one that leaves the printer's copy alone itself.
    Command(ID_TOOL_SELECT_AREA);
    EXPECT_EQ(m_view->Text().TextBox(), nullptr);
    EXPECT_EQ(m_doc->GetDrawMode(), tool::SelectArea);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_TRUE(m_view->Link().IsLogoInRam());
    // Two lines: ink in the first and in the second 16-pixel line band.
    EXPECT_GT(InkIn(Image(), QRect(20, 20, 120, 20)).black, 5);
    EXPECT_GT(InkIn(Image(), QRect(20, 40, 120, 20)).black, 5);
    EXPECT_EQ(InkIn(Image(), QRect(0, 0, 240, 20)).black, 0);
}

TEST_F(TextTest, EscapeDropsTheToolAndTheNextCommitStampsTheBox)
{
    ASSERT_TRUE(OpenWhiteLogo(240, 100));
    QTextEdit* box = OpenBox(QPoint(10, 10), QPoint(110, 40));
    ASSERT_NE(box, nullptr);
    QTest::keyClicks(box, QStringLiteral("X"));
    QTest::keyClick(m_view, Qt::Key_Escape);
    EXPECT_EQ(m_doc->GetDrawMode(), tool::None);
    EXPECT_NE(m_view->Text().TextBox(), nullptr);
    EXPECT_EQ(CountInImage(kBlack), 0);
    Command(ID_TOOL_POINTER);
    EXPECT_EQ(m_view->Text().TextBox(), nullptr);
    EXPECT_GT(CountInImage(kBlack), 0);
}

TEST_F(TextTest, TheFontStartsAsTheSerifDescriptionAndSelectFontReachesAnOpenBox)
{
    ASSERT_TRUE(OpenWhiteLogo(240, 100));
    EXPECT_EQ(m_view->Text().TextFont().pixelSize(), 16);
    EXPECT_EQ(m_view->Text().TextFont().weight(), QFont::Normal);
    EXPECT_FALSE(m_view->Text().TextFont().italic());
    EXPECT_EQ(m_view->Text().TextFont().styleHint(), QFont::Serif);
    // The face is installed: either the one asked for or its closest serif.
    EXPECT_EQ(QFontInfo(m_view->Text().TextFont()).family(), m_view->Text().TextFont().family());
    EXPECT_EQ(m_view->Text().TextBoxFont(), nullptr);

    QTextEdit* box = OpenBox(QPoint(10, 10), QPoint(200, 90));
    ASSERT_NE(box, nullptr);
    const QFont defaultFont = box->font();
    QFont big = m_view->Text().TextFont();
    big.setPixelSize(40);
    {
        testenv::ScriptedUi ui;
        ui.Then([big](CUiPrompt& prompt, QDialog*) {
            prompt.font = big;
            prompt.result = 1;
        });
        Command(ID_TEXT_FONT);
    }
    ASSERT_NE(m_view->Text().TextBoxFont(), nullptr);
    EXPECT_EQ(m_view->Text().TextFont().pixelSize(), 40);
    EXPECT_EQ(box->font().pixelSize(), 40);
    {
        testenv::ScriptedUi ui;
        ui.Answer(0);
        Command(ID_TEXT_FONT);
    }
    EXPECT_EQ(box->font().pixelSize(), 40) << "Cancel re-applies the description";
    Command(ID_TOOL_POINTER);
    // A new box starts with the default font again.
    QTextEdit* next = OpenBox(QPoint(10, 10), QPoint(100, 40));
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->font(), defaultFont);
}

TEST_F(TextTest, TheBoxKeepsItsPlaceOnTheLogoWhenTheViewScrolls)
{
    ASSERT_TRUE(OpenWhiteLogo(600, 400));
    m_view->parentWidget()->setFixedSize(300, 200); // as in a main window too small for the logo
    QApplication::processEvents();
    m_view->horizontalScrollBar()->setValue(50);
    QTextEdit* box = OpenBox(QPoint(10, 10), QPoint(110, 40));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(m_view->Selection().SelectionRect(), CRect(60, 10, 160, 40));
    QTest::keyClicks(box, QStringLiteral("MMM"));
    m_view->horizontalScrollBar()->setValue(80);
    m_view->verticalScrollBar()->setValue(5);
    EXPECT_EQ(box->geometry().topLeft(), QPoint(-20, 5));
    EXPECT_FALSE(m_view->Text().AwaitsFirstHScroll());
    EXPECT_FALSE(m_view->Text().AwaitsFirstVScroll());
    Command(ID_TOOL_POINTER);
    const int all = CountInImage(kBlack);
    EXPECT_GT(all, 0);
    EXPECT_EQ(InkIn(Image(), QRect(60, 10, 100, 30)).black, all);
}

// While it is typed into, the box shows a dotted outline just around it, on
// the screen as the window system shows it (at a fractional display scale the
// box used to cover part of it); the outline never reaches the logo.
TEST_F(TextTest, TheOpenBoxHasAnOutlineOnTheScreenAndNoneInTheLogo)
{
    ASSERT_TRUE(OpenWhiteLogo(240, 100));
    QTextEdit* box = OpenBox(QPoint(10, 10), QPoint(110, 40));
    ASSERT_NE(box, nullptr);
    QTest::keyClicks(box, QStringLiteral("A"));
    const QImage screen = OnScreen();
    const struct {
        const char* side;
        QRect ring;
    } sides[] = {
        {"left", QRect(9, 9, 1, 32)},
        {"right", QRect(110, 9, 1, 32)},
        {"top", QRect(9, 9, 102, 1)},
        {"bottom", QRect(9, 40, 102, 1)},
    };
    for (const auto& s : sides) {
        const LineInk ink = AlongLine(screen, s.ring);
        EXPECT_GT(ink.black, 5) << s.side;
        EXPECT_GT(ink.white, 5) << s.side << ": dotted, not solid";
    }
    EXPECT_EQ(InkIn(Image(), QRect(0, 0, 240, 100)).black, 0) << "nothing is in the logo while typing";

    Click(200, 80);
    ASSERT_EQ(m_view->Text().TextBox(), nullptr);
    EXPECT_GT(InkIn(Image(), QRect(10, 10, 100, 30)).black, 0) << "the text";
    for (const auto& s : sides)
        EXPECT_EQ(InkIn(Image(), s.ring).black, 0) << s.side;
}
