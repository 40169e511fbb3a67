// Floating frames of bars.
#include "framework/CMiniDockFrameWnd.h"

#include "framework/AfxRes.h"
#include "framework/CDockContext.h"

namespace {
// Posted to a floating frame whose bar went back to a dock: it ends once idle.
constexpr UINT WM_DESTROY_IF_EMPTY = WM_APP + 0x361;
}

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(true) {}

void CMiniDockFrameWnd::AdjustFrameRect(RECT& rect)
{
    ::AdjustWindowRectEx(&rect, kStyle, FALSE, kExStyle);
}

bool CMiniDockFrameWnd::Create(CFrameWnd* owner, CControlBar* bar, POINT screenPoint)
{
    m_pOwnerFrame = owner;
    RECT rect{screenPoint.x, screenPoint.y, screenPoint.x + 100, screenPoint.y + 100};
    std::string title = bar->GetWindowText();
    if (!CMiniFrameWnd::Create(title.c_str(), kStyle | MFS_4THICKFRAME, rect, owner))
        return false;
    if (!m_wndDockBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_FLOAT))
        return false;
    m_wndDockBar.m_pDockSite = owner;
    return true;
}

CControlBar* CMiniDockFrameWnd::GetBar() const
{
    for (const DockEntry& entry : m_wndDockBar.m_arrBars) {
        if (entry.pBar)
            return entry.pBar;
    }
    return nullptr;
}

void CMiniDockFrameWnd::RecalcLayout()
{
    if (!m_hWnd)
        return;
    m_bDelayedLayout = false;
    CControlBar* bar = GetBar();
    if (!bar) {
        ShowWindow(SW_HIDE);
        PostMessage(WM_DESTROY_IF_EMPTY);
        return;
    }
    m_wndDockBar.m_bLayoutQuery = false;
    SIZE size = m_wndDockBar.CalcFixedLayout(false, true);
    if (!bar->IsVisible()) {
        ShowWindow(SW_HIDE);
        return;
    }
    std::string title = bar->GetWindowText();
    if (GetWindowText() != title)
        SetWindowText(title);
    m_wndDockBar.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT frame{0, 0, size.cx, size.cy};
    AdjustFrameRect(frame);
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
    if (!bar || !bar->m_pDockContext)
        return;
    if (sizing) {
        bar->m_pDockContext->StartResize(hit, screenPoint);
        return;
    }
    ::SetActiveWindow(m_hWnd);
    bar->m_pDockContext->StartDrag(screenPoint);
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT hitTest, POINT screenPoint)
{
    if (hitTest != HTCAPTION) {
        CMiniFrameWnd::OnNcLButtonDblClk(hitTest, screenPoint);
        return;
    }
    if (CControlBar* bar = GetBar(); bar && bar->m_pDockContext)
        bar->m_pDockContext->ToggleDocking();
}

void CMiniDockFrameWnd::OnMove(int x, int y)
{
    RECT rc = GetWindowRect();
    if (CControlBar* bar = GetBar(); bar && bar->m_pDockContext) {
        bar->m_pDockContext->m_ptMRUFloatPos = POINT{rc.left, rc.top};
        bar->m_pDockContext->m_bHasFloatPos = true;
    }
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
