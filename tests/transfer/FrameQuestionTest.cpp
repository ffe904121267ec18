// The question before a frame that would cover part of the logo: its text,
// caption and buttons, and how its answer decides the frame.
#include "document/GlyphaneDoc.h"
#include "resources/StringTable.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"
#include "transfer/FrameQuestion.h"

#include <gtest/gtest.h>

TEST(FrameQuestionTest, AsksThroughTheSeamAndItsAnswerDecides)
{
    CGlyphaneDoc doc(testenv::DocEnvironment());
    doc.Picture().SetLogoSize(32, 20); // as tall as the printer: the frame covers its edge
    doc.Binding().SetDotX(32);
    doc.Binding().SetDotY(20);
    const CBufferUC raster(4 * 20, 0xFF);
    for (const int answer : {IDYES, IDNO}) {
        testenv::ScriptedUi ui;
        ui.Answer(answer);
        const CBufferUC framed = doc.Raster().AddThinFrame(raster, AskFrameMayCoverLogo(nullptr));
        ASSERT_EQ(ui.Prompts().size(), 1u);
        EXPECT_EQ(ui.Prompts()[0].text, LoadString(61466));
        EXPECT_EQ(ui.Prompts()[0].caption, LoadString(61467));
        EXPECT_EQ(ui.Prompts()[0].flags, UINT(MB_YESNO | MB_ICONEXCLAMATION));
        EXPECT_EQ(framed == raster, answer == IDNO) << "answer " << answer;
    }
}
