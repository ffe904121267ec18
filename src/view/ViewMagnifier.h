#pragma once
// The magnifier of a logo window: the zoom box that follows the mouse,
// grabbing the region under it into enlarged cells, editing the cells, the
// grid, and writing the cells back.
#include "platform/CommandRouter.h"
#include "platform/GdiRect.h"
#include "platform/Surface.h"
#include "view/RectTracker.h"

class IToolHost;
class QPainter;

class CViewMagnifier {
public:
    static constexpr int kMagnifiedArea = 360; // side of the magnified square, screen pixels
    static constexpr COLORREF kBackground = RGB(0xA0, 0xA0, 0xA0);

    explicit CViewMagnifier(IToolHost& host) : m_host(host) {}

    void MapCommands(CCommandMap& commands);
    void OnZoomLarge();
    void OnZoomChosen();
    void OnZoomNormal();
    void OnShowGrid();

    // The zoom box (viewport coordinates): following the mouse, grabbed, or
    // taken away without grabbing anything.
    void MoveZoomBox(const CPoint& client);
    void GrabZoomBox();
    void CancelZoomBox();
    void DrawZoomBox(QPainter& painter) const;

    // The magnified cells: painted with their grid, one toggled by the pen.
    void Paint(QPainter& painter) const;
    void ToggleCell(const CPoint& point);
    CRect MagnifierCell(const CPoint& point) const;
    void ReleaseSurface() { m_dcMagnifier.Release(); }

    bool IsMagnified() const { return m_bMagnified; }
    // Sets only the flag the enabling and cursor rules read (their tests).
    void SetMagnifiedFlag(bool on) { m_bMagnified = on; }
    const CSurface& Surface() const { return m_dcMagnifier; }
    CPoint ZoomSource() const { return m_ptZoomSource; }
    int ZoomFactor() const { return m_nZoomFactor; }
    int ZoomSide() const { return m_nZoomSide; }
    int ZoomBoxWidth() const { return m_nZoomBoxWidth; }
    bool ShowsGrid() const { return m_bShowGrid; }

private:
    void StartZoomBox(int factor, int side);
    void EnterMagnifier();
    void LeaveMagnifier();
    void DrawGrid(QPainter& painter) const;

    IToolHost& m_host;
    CRectTracker m_trackerZoom;
    CSurface m_dcMagnifier;
    int m_nZoomBoxWidth = 90;
    int m_nZoomBoxHeight = 90;
    int m_nZoomFactor = 4;
    int m_nZoomSide = 90;
    CPoint m_ptZoomSource;
    CPoint m_ptZoomScroll;
    bool m_bMagnified = false;
    bool m_bShowGrid = true;
    COLORREF m_crGrid = 0xB0B0B0;
};
