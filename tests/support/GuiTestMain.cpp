// Test main for the layers below the UI: a plain QGuiApplication (no widgets;
// the offscreen platform is chosen by CTest), then GoogleTest.
#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
