#pragma once
// A started program with one logo window open on a white BMP of a chosen
// size, and the mouse, key and pixel helpers of the view tests.
#include "app/GlyphaneApp.h"
#include "document/GlyphaneDoc.h"
#include "resources/CommandIds.h"
#include "support/TestEnv.h"
#include "view/GlyphaneView.h"
#include "view/ViewPanes.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace viewtest {

constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kWhite = 0xFFFFFFFFu;

class ViewTest : public ::testing::Test {
protected:
    // Settings of the run; a test of the client variant replaces this.
    virtual QByteArray Settings() const { return testenv::DefaultRegistrySection(); }

    void SetUp() override
    {
        ASSERT_TRUE(m_cwd.isValid());
        m_previousCwd = QDir::currentPath();
        QDir::setCurrent(m_cwd.path());
        m_settings = std::make_unique<testenv::ScopedSettingsFile>(Settings());
        ASSERT_TRUE(GetApp()->InitInstance());
    }

    void TearDown() override
    {
        GetApp()->ExitInstance();
        m_settings.reset();
        QDir::setCurrent(m_previousCwd);
    }

    // Opens a white width x height logo file; the view is then shown and sized.
    CGlyphaneView* OpenWhiteLogo(int width, int height)
    {
        QImage image(width, height, QImage::Format_Mono);
        image.setColorTable({kBlack, kWhite});
        image.fill(1);
        const QString path = m_cwd.filePath(QStringLiteral("logo%1x%2.bmp").arg(width).arg(height));
        EXPECT_TRUE(image.save(path, "BMP"));
        m_doc = GetApp()->OpenDocumentFile(path);
        EXPECT_NE(m_doc, nullptr);
        if (!m_doc)
            return nullptr;
        m_view = qobject_cast<CGlyphaneView*>(m_doc->GetOwnerWindow());
        EXPECT_NE(m_view, nullptr);
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

    QImage& Image() { return *m_doc->GetLogoBitmap(); }
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

    QTemporaryDir m_cwd;
    QString m_previousCwd;
    std::unique_ptr<testenv::ScopedSettingsFile> m_settings;
    CGlyphaneDoc* m_doc = nullptr;
    CGlyphaneView* m_view = nullptr;
};

} // namespace viewtest
