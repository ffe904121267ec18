// The column palettes: the wrap rule, their images and tooltips; the
// standard toolbar and the banner beside it; icons made when first needed.
#include "FrameFixture.h"

#include "frame/ChildFrame.h"
#include "frame/ColumnToolBar.h"
#include "frame/DeferredIcon.h"
#include "frame/ToolImageAtlas.h"
#include "dialogs/ProgramIcon.h"
#include "frame/ToolImages.h"
#include "resources/CommandIds.h"

#include <QAction>
#include <QHelpEvent>
#include <QApplication>
#include <QLabel>
#include <QProxyStyle>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

using frametest::FrameTest;

namespace {

QList<QAction*> MakeActions(QObject* owner, int n)
{
    QList<QAction*> actions;
    for (int i = 0; i < n; ++i)
        actions.append(new QAction(QStringLiteral("b%1").arg(i), owner));
    return actions;
}

} // namespace

TEST(ColumnToolBarTest, WrapsAfterEveryNthButton)
{
    CColumnToolBar bar(QStringLiteral("Draw"), 101);
    EXPECT_EQ(bar.m_nColumns, 2) << "a new palette starts with two columns";
    bar.SetButtons(MakeActions(&bar, 12));

    bar.SetColumns(3);
    EXPECT_EQ(bar.RowCount(), 4);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(bar.WrapsAfter(i), (i + 1) % 3 == 0) << i;
        EXPECT_EQ(bar.RowOf(i), i / 3) << i;
        EXPECT_EQ(bar.ColumnOf(i), i % 3) << i;
    }

    bar.SetColumns(12);
    EXPECT_EQ(bar.RowCount(), 1);
    EXPECT_EQ(bar.ColumnOf(11), 11);

    bar.SetColumns(1);
    EXPECT_EQ(bar.RowCount(), 12);
    EXPECT_EQ(bar.ColumnOf(7), 0);
}

TEST(ColumnToolBarTest, AColumnCountBelowOneIsTakenAsOne)
{
    CColumnToolBar bar(QStringLiteral("Draw"), 101);
    bar.SetButtons(MakeActions(&bar, 12));
    for (int n : {0, -4}) {
        bar.SetColumns(n);
        EXPECT_EQ(bar.m_nColumns, 1) << n;
        EXPECT_EQ(bar.RowCount(), 12) << n;
    }
    // Three buttons in more columns than buttons: one row, no wrap at all.
    CColumnToolBar small(QStringLiteral("Actions"), 102);
    small.SetButtons(MakeActions(&small, 3));
    small.SetColumns(5);
    EXPECT_EQ(small.RowCount(), 1);
    EXPECT_FALSE(small.WrapsAfter(2));
}

TEST(ColumnToolBarTest, ToolTipsCanBeSwitchedOffPerPalette)
{
    CColumnToolBar bar(QStringLiteral("Draw"), 101);
    bar.SetButtons(MakeActions(&bar, 2));
    QToolButton* button = bar.Button(0);
    ASSERT_NE(button, nullptr);
    QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), QPoint(2, 2));
    bar.SetToolTipsEnabled(false);
    EXPECT_TRUE(bar.eventFilter(button, &tip));
    bar.SetToolTipsEnabled(true);
    EXPECT_FALSE(bar.eventFilter(button, &tip));
}

TEST(ToolImagesTest, EveryPaletteCommandHasADrawnImageAndItsGreyTwin)
{
    const std::vector<UINT> ids = {32772, 32773, 32774, 32775, 32779, 61470, 61485, 61486, 32776, 32777, 32778,
                                   61491, 32782, 32783, 32781, 32793, 32795, 32797, 32812, 32813, 32814, 61494,
                                   61505, 57600, 57601, 57603, 57635, 57634, 57637, 57639, 32826, 57643, 32791,
                                   32790, 32789, 32799, 32792, 57607, 57664, 32819};
    for (UINT id : ids) {
        const QImage colour = ToolButtonImage(id, true);
        EXPECT_EQ(colour.size(), QSize(16, 15)) << id;
        int drawn = 0;
        for (int y = 0; y < colour.height(); ++y)
            for (int x = 0; x < colour.width(); ++x)
                drawn += qAlpha(colour.pixel(x, y)) != 0;
        EXPECT_GT(drawn, 10) << "image of " << id << " is nearly empty";
        const QImage grey = ToolButtonImage(id, false);
        EXPECT_TRUE(IsGreyImage(grey)) << id;
    }
    EXPECT_FALSE(IsGreyImage(ToolButtonImage(32773, true))) << "the coloured pen has its yellow";

    // A strip is its images side by side: none reaches into its neighbour's
    // cell. The pattern tiles fill their cells edge to edge.
    std::vector<UINT> stripIds = ids;
    for (UINT id = ID_PATTERN_FIRST; id <= ID_PATTERN_LAST; ++id)
        stripIds.push_back(id);
    for (bool colour : {true, false}) {
        const QImage strip = ToolStrip(stripIds, colour);
        ASSERT_EQ(strip.size(), QSize(16 * static_cast<int>(stripIds.size()), 15));
        for (size_t i = 0; i < stripIds.size(); ++i)
            EXPECT_EQ(strip.copy(16 * static_cast<int>(i), 0, 16, 15), ToolButtonImage(stripIds[i], colour))
                << stripIds[i] << (colour ? "" : " in grey");
    }
}

// The program carries its tool art drawn at build time: every drawing is
// there, pixel for pixel as the art draws it now, so a change to the art
// that the build did not bake shows here.
TEST(ToolImagesTest, TheBakedImagesAreTheArtAsDrawnNow)
{
    const std::vector<UINT> art = ToolArtIds();
    const std::span<const BakedToolImage> baked = BakedToolImages();
    ASSERT_EQ(baked.size(), art.size());
    for (size_t i = 0; i < art.size(); ++i) {
        ASSERT_EQ(baked[i].commandId, art[i]);
        const QImage pixels(reinterpret_cast<const uchar*>(baked[i].pixels), 16, 15, 16 * 4, QImage::Format_ARGB32);
        EXPECT_EQ(pixels, DrawnToolImage(art[i])) << art[i];
        EXPECT_EQ(ToolButtonImage(art[i], false), GreyToolImageOf(DrawnToolImage(art[i]))) << art[i];
    }
    // An id without art is a transparent cell, baked or not.
    const QImage none = ToolButtonImage(1, true);
    EXPECT_EQ(none.size(), QSize(16, 15));
    EXPECT_EQ(none.pixel(8, 7), 0u);
}

TEST_F(FrameTest, FirstStartGivesColouredPalettesWithTipsInThreeColumns)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    const std::pair<UINT, UINT> images[] = {{101, 148}, {102, 155}, {103, 144}, {104, 153}, {61493, 179}};
    for (auto [controlId, bitmap] : images) {
        CColumnToolBar* bar = frame->Palette(controlId);
        ASSERT_NE(bar, nullptr) << controlId;
        EXPECT_EQ(bar->ImageId(), bitmap) << controlId;
        EXPECT_TRUE(bar->ToolTipsEnabled()) << controlId;
        EXPECT_EQ(bar->Columns(), 3) << controlId;
        EXPECT_EQ(frame->toolBarArea(bar), Qt::RightToolBarArea) << controlId;
    }
    EXPECT_EQ(frame->Palette(101)->windowTitle(), QStringLiteral("Draw"));
    EXPECT_EQ(frame->Palette(102)->windowTitle(), QStringLiteral("Actions"));
    EXPECT_EQ(frame->Palette(103)->windowTitle(), QStringLiteral("Image Options"));
    EXPECT_EQ(frame->Palette(104)->windowTitle(), QStringLiteral("Frames"));
    EXPECT_EQ(frame->Palette(61493)->windowTitle(), QStringLiteral("Pattern"));
    EXPECT_EQ(frame->Palette(101)->RowCount(), 4);
    EXPECT_EQ(frame->Palette(61493)->ButtonCount(), 12);
    // Palette buttons are the command actions themselves.
    EXPECT_EQ(frame->Palette(101)->Button(1)->defaultAction(), frame->Router()->Action(32773));
    EXPECT_TRUE(frame->isMaximized());
}

TEST_F(FrameTest, ProfileChoosesGreyImagesNoTipsAndColumns)
{
    CMainFrame* frame = Start("[%General]\nDrawToolColor=0\nDrawTool_ToolTips=0\nDrawToolColumns=12\n"
                              "PatternColor=0\nGenericToolColumns=1\nPatternColumns=0\nFramesColumns=x\n");
    ASSERT_NE(frame, nullptr);
    CColumnToolBar* draw = frame->Palette(101);
    EXPECT_EQ(draw->ImageId(), 149u);
    EXPECT_TRUE(IsGreyImage(draw->Image()));
    EXPECT_TRUE(IsGreyImage(draw->Button(0)->icon().pixmap(16, 15).toImage()));
    EXPECT_FALSE(draw->ToolTipsEnabled());
    EXPECT_EQ(draw->RowCount(), 1);
    EXPECT_EQ(frame->Palette(61493)->ImageId(), 180u);
    EXPECT_EQ(frame->Palette(102)->RowCount(), 3);
    EXPECT_EQ(frame->Palette(61493)->Columns(), 1) << "0 is taken as 1";
    EXPECT_EQ(frame->Palette(104)->Columns(), 3) << "a value that is no number keeps the default";
    EXPECT_FALSE(IsGreyImage(frame->Palette(102)->Image()));
}

// On a screen of more than one device pixel per pixel (test_frame_scale2)
// the palettes and the standard toolbar show pictures drawn at that ratio,
// with curves and slants finer than a pixel, not the 16 x 15 pictures
// enlarged into blocks. Pictures made only of upright edges are sharp
// either way; those below have slants or curves.
TEST_F(FrameTest, ButtonPicturesAreDrawnAtTheScreensPixelRatio)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    frame->ShowFrame();
    QApplication::processEvents();
    const qreal ratio = frame->devicePixelRatio();
    const auto blocky = [](const QImage& image) {
        for (int y = 0; y + 1 < image.height(); y += 2)
            for (int x = 0; x + 1 < image.width(); x += 2) {
                const QRgb p = image.pixel(x, y);
                if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p || image.pixel(x + 1, y + 1) != p)
                    return false;
            }
        return true;
    };
    const struct {
        const char* name;
        UINT command;
    } buttons[] = {
        {"Ellipse (Draw)", 61491}, {"Line (Draw)", 32777},      {"Pen (Draw)", 32773},
        {"Refresh (Actions)", 32783}, {"Connect (toolbar)", 32791},
    };
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.name);
        QAction* action = frame->Router()->Action(b.command);
        ASSERT_NE(action, nullptr);
        const QPixmap shown = action->icon().pixmap(QSize(16, 15), ratio);
        EXPECT_EQ(shown.size(), (QSizeF(16, 15) * ratio).toSize());
        if (ratio >= 2) {
            EXPECT_FALSE(blocky(shown.toImage())) << "enlarged, not drawn at the ratio";
        }
    }
}

// Connect, Test Logo, Print Logo and Print sit close together on the toolbar:
// each pair differs in at least a quarter of its pixels, in colour and in grey.
TEST(ToolImagesTest, ThePrinterCommandsImagesTellApartAtAGlance)
{
    const UINT ids[] = {32791, 32790, 32799, 57607};
    for (bool colour : {true, false})
        for (size_t i = 0; i < std::size(ids); ++i)
            for (size_t j = i + 1; j < std::size(ids); ++j) {
                const QImage a = ToolButtonImage(ids[i], colour);
                const QImage b = ToolButtonImage(ids[j], colour);
                int differing = 0;
                for (int y = 0; y < a.height(); ++y)
                    for (int x = 0; x < a.width(); ++x)
                        differing += a.pixel(x, y) != b.pixel(x, y);
                EXPECT_GE(differing, 16 * 15 / 4) << ids[i] << " and " << ids[j] << (colour ? "" : " in grey");
            }
}

TEST_F(FrameTest, TheMainWindowAndEveryLogoWindowShowTheProgramsIcon)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(OpenLogo(), nullptr);
    const QImage own = ProgramIcon().pixmap(16).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(own.isNull());
    const QImage toolkits = frame->style()->standardIcon(QStyle::SP_TitleBarMenuButton).pixmap(16).toImage();
    const auto iconOf = [](const QWidget* w) {
        return w->windowIcon().pixmap(16).toImage().convertToFormat(QImage::Format_ARGB32);
    };
    EXPECT_EQ(iconOf(frame), own);
    QWidget* child = frame->ActiveChildFrame();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(iconOf(child), own);
    EXPECT_NE(iconOf(child), toolkits.convertToFormat(QImage::Format_ARGB32));
    // Every size of the desktop's theme was drawn from the SVG, so none is scaled up from a small one.
    const QList<QSize> sizes = ProgramIcon().availableSizes();
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256})
        EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
}

// At the default size every button of the standard toolbar is shown, none
// behind the overflow button: the banner beside it takes only the room left.
TEST_F(FrameTest, TheBannerGivesWayToTheToolbarButtons)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(frame->isMaximized());
    QApplication::processEvents();
    QToolBar* bar = frame->StandardBar();
    QToolBar* banner = frame->BannerBar();
    ASSERT_EQ(banner->y(), bar->y()) << "one row";
    int buttons = 0;
    for (QAction* action : bar->actions()) {
        if (action->isSeparator())
            continue;
        QWidget* button = bar->widgetForAction(action);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isVisible()) << action->text().toStdString();
        ++buttons;
    }
    EXPECT_EQ(buttons, 17);
    for (QToolButton* more : bar->findChildren<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        EXPECT_FALSE(more->isVisible());

    // The banner keeps a part of the row, inside the window.
    auto* text = banner->findChild<QLabel*>(QStringLiteral("bannerText"));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isVisible());
    EXPECT_GT(text->width(), 0);
    EXPECT_LT(banner->geometry().right(), frame->width());
    EXPECT_GE(banner->x(), bar->geometry().right());
}

// Icons whose pictures are made only when first needed: the toolbars'
// extension arrows and the drawn images of the standard toolbar.
TEST(DeferredIconTest, LoadsOnceWhenAPictureIsFirstNeededAndGivesItsPictures)
{
    int loads = 0;
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    const QIcon icon = DeferredIcon([&] {
        ++loads;
        return QIcon(QPixmap::fromImage(red));
    });
    const QIcon copy = icon; // what a button keeps
    EXPECT_FALSE(icon.isNull());
    EXPECT_EQ(loads, 0);
    EXPECT_EQ(copy.pixmap(16).toImage().convertToFormat(QImage::Format_ARGB32), red);
    EXPECT_EQ(copy.actualSize(QSize(32, 32)), QSize(16, 16));
    EXPECT_EQ(icon.pixmap(16, QIcon::Disabled).size(), QSize(16, 16));
    EXPECT_EQ(loads, 1);
}

TEST_F(FrameTest, TheDeferredPicturesAreTheOnesTheyStandFor)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    // The extension arrows are the desktop style's own.
    auto* style = qobject_cast<QProxyStyle*>(QApplication::style());
    ASSERT_NE(style, nullptr);
    for (QStyle::StandardPixmap arrow : {QStyle::SP_ToolBarHorizontalExtensionButton,
                                         QStyle::SP_ToolBarVerticalExtensionButton}) {
        const QImage shown = style->standardIcon(arrow).pixmap(16).toImage();
        EXPECT_FALSE(shown.isNull());
        EXPECT_EQ(shown, style->baseStyle()->standardIcon(arrow).pixmap(16).toImage()) << arrow;
    }
    // A standard command without a theme icon shows its drawn image.
    QAction* send = frame->Router()->Action(ID_PROGRAM_LOGO);
    ASSERT_NE(send, nullptr);
    EXPECT_EQ(send->icon().pixmap(16, 15).toImage().convertToFormat(QImage::Format_ARGB32),
              ToolButtonImage(ID_PROGRAM_LOGO, true));
}
