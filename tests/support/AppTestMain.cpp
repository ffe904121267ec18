// Test main for subsystems that need the application object: the program's
// own CGlyphaneApp is the one application instance (not started up; tests
// call InitInstance themselves when they need a started program).
#include "app/GlyphaneApp.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    CGlyphaneApp app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
