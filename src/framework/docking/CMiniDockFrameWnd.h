// The floating frame of a bar: a mini frame holding a floating dock bar with the bar in
// it, sized to fit the bar and titled with the bar's title.
#pragma once

#include "framework/docking/CDockBar.h"
#include "framework/docking/CMiniFrameWnd.h"

class CMiniDockFrameWnd : public CMiniFrameWnd {
public:
    CMiniDockFrameWnd();

    // Floats the bar in a new frame of this kind at a point of the screen, which the bar's
    // dock context remembers; the frame, or nullptr when it could not be made. The owner's
    // dock bars take it as their floating frame (FloatingFrameMaker).
    static CFrameWnd* FloatBar(CFrameWnd& owner, CControlBar* bar, POINT screenPoint);

    bool Create(CFrameWnd* owner, CControlBar* bar, POINT screenPoint);
    // Docks the bar in the frame's dock bar; the frame holds one bar.
    void TakeBar(CControlBar* bar);
    void RecalcLayout() override;
    CControlBar* GetBar() const;

    // Takes the frame's own message: its bar went back to a dock.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnNcLButtonDown(UINT hitTest, POINT screenPoint) override;
    void OnNcLButtonDblClk(UINT hitTest, POINT screenPoint) override;
    void OnMove(int x, int y) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnClose() override;

private:
    CDockBar m_wndDockBar;
    CFrameWnd* m_pOwnerFrame = nullptr;
};
