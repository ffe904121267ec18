#pragma once
// The frame tests start the program themselves, each with the profile lines
// it needs, and read the profile file back.
#include "app/GlyphaneApp.h"
#include "frame/MainFrame.h"
#include "support/ProgramFixture.h"

#include <QByteArray>

namespace frametest {

class FrameTest : public testenv::ProgramFixture {
protected:
    FrameTest() : ProgramFixture(Launch::ByTest) {}

    // Starts the program with extra profile lines after the registry section.
    CMainFrame* Start(const QByteArray& profile = QByteArray())
    {
        if (!StartProgram(testenv::DefaultRegistrySection() + "\n" + profile))
            return nullptr;
        return GetApp()->GetMainFrame();
    }

    // Opens a 64 x 8 white logo written for the test.
    CGlyphaneDoc* OpenLogo() { return OpenWhiteLogoFile(64, 8, QStringLiteral("logo.bmp")); }
};

} // namespace frametest
