#pragma once
// The two-click shapes (line, rectangle, ellipse): the first click fixes the
// start, a rubber band follows the mouse on the screen only, and the second
// click draws the shape into the image in black.
#include "platform/Surface.h"
#include "view/tools/Tool.h"

// The shape under way, shared by the shape tools.
struct CShapeDraft {
    CPoint start;
    // Where the rubber band on the screen ends; none while (1, 1) is not reached.
    CPoint last;
    bool pending = false;
};

class CShapeTool : public CTool {
public:
    CShapeTool(IToolHost& host, CShapeDraft& draft, int code, const QString& paneName);

    void Press(const CPoint& client) override;
    void Move(const CPoint& client) override;
    void Commit() override;
    bool UsesPenSize() const override { return true; }
    UINT CursorId() const override;

protected:
    // The shape from one corner (or end) to the other, with the surface's pen
    // and brush.
    virtual void Outline(CSurface& surface, const CPoint& from, const CPoint& to) const = 0;
    // Into the image: the outline in black, the inside left as it was.
    virtual void DrawFinal(CSurface& image, const CPoint& from, const CPoint& to) const;
    // How the rubber band is put on the screen so drawing it again takes it away.
    virtual int RubberBandRop() const;

private:
    void ShapeClick(const CPoint& point);
    void DrawShapeIntoImage(const CPoint& end);
    void DrawRubberBand(const CPoint& end);

    CShapeDraft& m_draft;
};
