#pragma once
// A started program with one logo window open on a white BMP of a chosen
// size, and the mouse, key and pixel helpers of the view tests.
#include "app/GlyphaneApp.h"
#include "document/GlyphaneDoc.h"
#include "resources/CommandIds.h"
#include "support/ProgramFixture.h"
#include "view/GlyphaneView.h"
#include "printer/ViewPanes.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace viewtest {

constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kWhite = 0xFFFFFFFFu;

class ViewTest : public testenv::ProgramFixture {
protected:
    // Opens a white width x height logo file (named logo<w>x<h>.bmp unless a
    // name is given); the view is then shown and sized.
    CGlyphaneView* OpenWhiteLogo(int width, int height, const QString& name = QString())
    {
        m_view = OpenWhiteLogoView(width, height, m_doc, name);
        QApplication::processEvents();
        return m_view;
    }

    QWidget* Viewport() const { return m_view->viewport(); }

    void Command(UINT id) { ASSERT_TRUE(m_view->OnCommand(id)) << id; }

    CCmdUI State(UINT id)
    {
        CCmdUI ui(id);
        m_view->OnUpdateCommand(id, ui);
        return ui;
    }

    void Press(int x, int y, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(Viewport(), button, Qt::NoModifier, QPoint(x, y));
    }
    void Release(int x, int y, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseRelease(Viewport(), button, Qt::NoModifier, QPoint(x, y));
    }
    void Click(int x, int y) { QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y)); }
    // A left click handed to the window system's input queue at the given
    // time stamp (ms), so that Qt itself decides whether a press that follows
    // another closely is a double click, as it does for a user's clicks.
    void ClickAt(int x, int y, ulong timestamp)
    {
        QWindow* window = Viewport()->window()->windowHandle();
        const QPointF global = Viewport()->mapToGlobal(QPointF(x, y));
        const QPointF local = window->mapFromGlobal(global);
        qt_handleMouseEvent(window, local, global, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress,
                            Qt::NoModifier, int(timestamp));
        qt_handleMouseEvent(window, local, global, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease,
                            Qt::NoModifier, int(timestamp + 20));
        QApplication::processEvents();
    }
    // A move with the given buttons held, delivered as the window system would.
    void Move(int x, int y, Qt::MouseButtons held = Qt::NoButton)
    {
        const QPointF local(x, y);
        QMouseEvent event(QEvent::MouseMove, local, Viewport()->mapToGlobal(local), Qt::NoButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(Viewport(), &event);
    }
    void Drag(std::initializer_list<QPoint> points)
    {
        auto it = points.begin();
        Press(it->x(), it->y());
        QPoint last = *it;
        for (++it; it != points.end(); ++it) {
            Move(it->x(), it->y(), Qt::LeftButton);
            last = *it;
        }
        Release(last.x(), last.y());
    }

    QImage& Image() { return *m_doc->Picture().GetLogoBitmap(); }
    QRgb Pixel(int x, int y) { return Image().pixel(x, y); }
    int CountInColumn(int x, QRgb colour)
    {
        int n = 0;
        for (int y = 0; y < Image().height(); ++y)
            n += Image().pixel(x, y) == colour;
        return n;
    }
    int CountInImage(QRgb colour)
    {
        int n = 0;
        for (int y = 0; y < Image().height(); ++y)
            for (int x = 0; x < Image().width(); ++x)
                n += Image().pixel(x, y) == colour;
        return n;
    }
    QImage Screen()
    {
        return Viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // What the screen itself shows of the viewport, in device pixels: the
    // window system's copy, which at a fractional display scale can differ
    // from a fresh rendering of the widgets (Screen()).
    QImage OnScreen()
    {
        QWidget* top = Viewport()->window();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(top));
        QApplication::processEvents();
        const QPoint origin = Viewport()->mapToGlobal(QPoint(0, 0));
        const QSize size = Viewport()->size();
        QImage shown = top->screen()->grabWindow(0, origin.x(), origin.y(), size.width(), size.height()).toImage();
        return shown.convertToFormat(QImage::Format_RGB32);
    }
    // Along a one-pixel line of an OnScreen() picture (logical coordinates):
    // the places that show black in any device pixel across it, and those
    // that do not. Half a logical pixel either side is looked at, as at a
    // fractional display scale a line lands on the device pixel on either
    // side of its place.
    struct LineInk {
        int black = 0;
        int white = 0;
    };
    static LineInk AlongLine(const QImage& shown, const QRect& line)
    {
        const qreal s = shown.devicePixelRatio();
        const QRect band = QRectF((line.x() - 0.5) * s, (line.y() - 0.5) * s, (line.width() + 1) * s,
                                  (line.height() + 1) * s)
                               .toAlignedRect()
                               .intersected(shown.rect());
        const bool vertical = line.width() == 1;
        const int length = vertical ? band.height() : band.width();
        const int across = vertical ? band.width() : band.height();
        LineInk ink;
        for (int i = 0; i < length; ++i) {
            bool black = false;
            for (int j = 0; j < across && !black; ++j) {
                const QPoint p = vertical ? QPoint(band.left() + j, band.top() + i)
                                          : QPoint(band.left() + i, band.top() + j);
                black = shown.pixel(p) == kBlack;
            }
            (black ? ink.black : ink.white)++;
        }
        return ink;
    }

    CGlyphaneDoc* m_doc = nullptr;
    CGlyphaneView* m_view = nullptr;
};

} // namespace viewtest
