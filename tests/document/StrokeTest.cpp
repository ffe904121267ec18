// Pen strokes: the bounding rectangle rule and the exact archived bytes.
#include "document/GlyphaneDoc.h"
#include "document/Stroke.h"

#include "support/TestEnv.h"

#include <gtest/gtest.h>

TEST(Stroke, BoundingRectangleIsWidenedSidewaysAndNarrowedVertically)
{
    CStroke empty(3, 0);
    empty.FinishStroke();
    EXPECT_TRUE(empty.BoundingRect().IsRectEmpty());

    CStroke one(3, 0);
    one.AddPoint(CPoint(10, 20));
    one.FinishStroke();
    // One point: 4 x pen width wide and a negative height.
    EXPECT_EQ(one.BoundingRect(), CRect(4, 26, 16, 14));
    EXPECT_EQ(one.BoundingRect().Width(), 12);
    EXPECT_EQ(one.BoundingRect().Height(), -12);

    CStroke many(1, 0);
    for (CPoint p : {CPoint(5, 9), CPoint(-2, 4), CPoint(7, 30)})
        many.AddPoint(p);
    many.FinishStroke();
    EXPECT_EQ(many.BoundingRect(), CRect(-4, 6, 9, 28));
}

TEST(Stroke, ArchivedFormIsRectanglePenWidthColourCountAndPoints)
{
    CStroke s(2, 0x00FFFFFF);
    s.AddPoint(CPoint(1, 2));
    s.AddPoint(CPoint(-1, 0x01020304));
    s.FinishStroke();

    const QByteArray bytes = s.Serialize();
    const unsigned char expected[] = {
        // bounding rectangle: left -5, top 6, right 5, bottom 0x01020300
        0xFB, 0xFF, 0xFF, 0xFF, 0x06, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0x03, 0x02, 0x01,
        0x02, 0x00,             // pen width
        0xFF, 0xFF, 0xFF, 0x00, // colour
        0x02, 0x00,             // point count
        0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, // (1, 2)
        0xFF, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01, // (-1, 0x01020304)
    };
    ASSERT_EQ(bytes.size(), static_cast<int>(sizeof expected));
    EXPECT_EQ(bytes, QByteArray(reinterpret_cast<const char*>(expected), sizeof expected));

    CStroke back;
    ASSERT_TRUE(CStroke::Deserialize(bytes, back));
    EXPECT_EQ(back.Points().size(), 2u);
    EXPECT_EQ(back.Points()[1].y, 0x01020304);
    EXPECT_EQ(back.BoundingRect(), s.BoundingRect());
    EXPECT_EQ(back.PenWidth(), 2u);
    EXPECT_EQ(back.Color(), 0x00FFFFFFu);
}

TEST(Stroke, ArchiveWithMoreAnnouncedPointsThanBytesIsRefused)
{
    CStroke s(1, 0);
    s.AddPoint(CPoint(1, 1));
    QByteArray bytes = s.Serialize();
    bytes[22] = char(0x50); // the count now promises 80 points
    CStroke back;
    EXPECT_FALSE(CStroke::Deserialize(bytes, back));
    EXPECT_FALSE(CStroke::Deserialize(bytes.left(10), back));
}

TEST(DocumentPen, EraserModeSelectsTheWhitePen)
{
    CGlyphaneDoc doc{testenv::DocEnvironment()};
    doc.SetDrawMode(30);
    doc.SetPenWidth(7);
    EXPECT_EQ(doc.GetPen().width, 7);
    EXPECT_EQ(doc.GetPenColor(), 0xFFFFFFu);
    doc.SetDrawMode(20);
    doc.SetPenWidth(3);
    EXPECT_EQ(doc.GetPenColor(), 0x000000u);
}

TEST(DocumentPen, AddStrokeTakesThePenAndMarksTheDocumentModified)
{
    CGlyphaneDoc doc{testenv::DocEnvironment()};
    doc.SetPenWidth(4);
    EXPECT_FALSE(doc.IsModified());
    CStroke* stroke = doc.AddStroke();
    EXPECT_EQ(stroke->PenWidth(), 4u);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.Strokes().size(), 1u);
    doc.DeleteContents();
    EXPECT_TRUE(doc.Strokes().empty());
}

TEST(DocumentReset, ResetsDrawingStateAndNamesNoPrinterAfterALoad)
{
    CGlyphaneDoc doc{testenv::DocEnvironment()};
    doc.SetDrawMode(30);
    doc.SetPenWidth(9);
    doc.Binding().SetPortName("COM1");
    doc.ResetAfterLoad();
    EXPECT_EQ(doc.GetDrawMode(), 0);
    EXPECT_EQ(doc.GetPenWidth(), 1);
    EXPECT_EQ(doc.GetPenColor(), 0u);
    EXPECT_EQ(doc.GetOwnerWindow(), nullptr);
    EXPECT_EQ(doc.Binding().GetPortName(), "Comunication port not init");
    EXPECT_EQ(doc.Binding().GetPrinterModel(), "Printer not selected");
}
