// Moves a bar with the mouse: dropping it over a side of the frame docks it there,
// elsewhere it floats in a frame of its own. Also toggles docking on a double click and
// sizes a floating frame from its borders.
#pragma once

#include <windows.h>

class CControlBar;
class CDockBar;
class CFrameWnd;

class CDockContext {
public:
    explicit CDockContext(CControlBar* bar) : m_pBar(bar) {}

    // Follows the mouse from a press at screenPoint until the button is released.
    void StartDrag(POINT screenPoint);
    // Floats a docked bar, docks a floating one where it was last docked.
    void ToggleDocking();
    // Sizes the bar's floating frame from the border with hit-test code hitTest.
    void StartResize(int hitTest, POINT screenPoint);

    // The border of the floating frame being dragged, HTNOWHERE when none is.
    int GetResizeHitTest() const { return m_nHitTest; }
    // While a left or top corner is dragged, the bar says where that edge of the frame goes.
    void SetResizedFrameLeft(LONG left) { m_rectFrameDragHorz.left = left; }
    void SetResizedFrameTop(LONG top) { m_rectFrameDragHorz.top = top; }
    // Where the bar's floating frame is (screen coordinates), for the next time it floats.
    void RememberFloatPosition(POINT screenPoint);

private:
    // The dock bar of the frame side under the point that the bar may dock to, or nullptr.
    CDockBar* DockBarAt(POINT screenPoint) const;
    RECT DockedOutline(CDockBar* dockBar, POINT screenPoint) const;
    RECT FloatingOutline(POINT screenPoint) const;
    void DrawOutline(const RECT& rect, bool thick) const;
    void ResizeTo(POINT screenPoint);

    CControlBar* m_pBar;
    int m_nHitTest = HTNOWHERE;
    // The floating frame's rectangle while it is sized.
    RECT m_rectFrameDragHorz{};
    // Where the bar floated last (screen coordinates); unset until it first floats.
    POINT m_ptMRUFloatPos{};
    bool m_bHasFloatPos = false;
    POINT m_ptGrabOffset{};
};
