// Floating frames of bars.
#include "framework/docking/CMiniDockFrameWnd.h"

#include "framework/AfxRes.h"
#include "framework/PrivateMessages.h"
#include "framework/docking/CDockContext.h"

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(true) {}

CFrameWnd* CMiniDockFrameWnd::FloatBar(CFrameWnd& owner, CControlBar* bar, POINT screenPoint)
{
    auto* frame = new CMiniDockFrameWnd;
    if (!frame->Create(&owner, bar, screenPoint)) {
        // A frame whose window exists deletes itself with it.
        if (!frame->GetSafeHwnd())
            delete frame;
        else
            frame->DestroyWindow();
        return nullptr;
    }
    if (CDockBar* oldDockBar = bar->GetDockBar())
        oldDockBar->RemoveControlBar(bar, true);
    frame->TakeBar(bar);
    if (CDockContext* context = bar->GetDockContext())
        context->RememberFloatPosition(screenPoint);
    return frame;
}

bool CMiniDockFrameWnd::Create(CFrameWnd* owner, CControlBar* bar, POINT screenPoint)
{
    m_pOwnerFrame = owner;
    RECT rect{screenPoint.x, screenPoint.y, screenPoint.x + 100, screenPoint.y + 100};
    std::string title = bar->GetWindowText();
    if (!CMiniFrameWnd::Create(title.c_str(), kMiniFrameStyle | MFS_4THICKFRAME, rect, owner))
        return false;
    return m_wndDockBar.CreateFloating(this, owner);
}

void CMiniDockFrameWnd::TakeBar(CControlBar* bar)
{
    m_wndDockBar.DockControlBar(bar);
}

CControlBar* CMiniDockFrameWnd::GetBar() const
{
    return m_wndDockBar.GetFirstBar();
}

void CMiniDockFrameWnd::RecalcLayout()
{
    if (!m_hWnd)
        return;
    ClearDelayedLayout();
    CControlBar* bar = GetBar();
    if (!bar) {
        ShowWindow(SW_HIDE);
        PostMessage(WM_DESTROY_IF_EMPTY);
        return;
    }
    SIZE size = m_wndDockBar.PlaceFloatingBar();
    if (!bar->IsVisible()) {
        ShowWindow(SW_HIDE);
        return;
    }
    std::string title = bar->GetWindowText();
    if (GetWindowText() != title)
        SetWindowText(title);
    m_wndDockBar.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT frame{0, 0, size.cx, size.cy};
    AdjustMiniFrameRect(frame);
    RECT now = GetWindowRect();
    SetWindowPos(nullptr, now.left, now.top, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// The caption moves the bar and the borders size it, each in a mouse loop of its own.
void CMiniDockFrameWnd::OnNcLButtonDown(UINT hitTest, POINT screenPoint)
{
    const int hit = static_cast<int>(hitTest);
    const bool sizing = hit >= HTLEFT && hit <= HTBOTTOMRIGHT;
    if (hit != HTCAPTION && !sizing) {
        CMiniFrameWnd::OnNcLButtonDown(hitTest, screenPoint);
        return;
    }
    CControlBar* bar = GetBar();
    CDockContext* context = bar ? bar->GetDockContext() : nullptr;
    if (!context)
        return;
    if (sizing) {
        context->StartResize(hit, screenPoint);
        return;
    }
    ::SetActiveWindow(m_hWnd);
    context->StartDrag(screenPoint);
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT hitTest, POINT screenPoint)
{
    if (hitTest != HTCAPTION) {
        CMiniFrameWnd::OnNcLButtonDblClk(hitTest, screenPoint);
        return;
    }
    if (CControlBar* bar = GetBar(); bar && bar->GetDockContext())
        bar->GetDockContext()->ToggleDocking();
}

void CMiniDockFrameWnd::OnMove(int x, int y)
{
    RECT rc = GetWindowRect();
    if (CControlBar* bar = GetBar(); bar && bar->GetDockContext())
        bar->GetDockContext()->RememberFloatPosition(POINT{rc.left, rc.top});
    CMiniFrameWnd::OnMove(x, y);
}

// The frame is sized to fit its bar; its own size changes lay nothing out.
void CMiniDockFrameWnd::OnSize(UINT, int, int) {}

void CMiniDockFrameWnd::OnClose()
{
    // Closing the floating frame hides its bar, as the frame's toggles do.
    if (CControlBar* bar = GetBar(); bar && m_pOwnerFrame)
        m_pOwnerFrame->ShowControlBar(bar, false, false);
}

LRESULT CMiniDockFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_DESTROY_IF_EMPTY)
        return CMiniFrameWnd::WindowProc(message, wParam, lParam);
    if (!GetBar())
        DestroyWindow();
    return 0;
}
