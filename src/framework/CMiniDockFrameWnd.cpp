// Floating frames of bars.
#include "framework/CMiniDockFrameWnd.h"

#include "framework/AfxRes.h"
#include "framework/CDockContext.h"

#include <windowsx.h>

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

void CMiniDockFrameWnd::OnNcLButtonDown(int hit, POINT pt)
{
    CControlBar* bar = GetBar();
    if (!bar || !bar->m_pDockContext)
        return;
    if (hit == HTCAPTION) {
        ::SetActiveWindow(m_hWnd);
        bar->m_pDockContext->StartDrag(pt);
    } else if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT) {
        bar->m_pDockContext->StartResize(hit, pt);
    }
}

void CMiniDockFrameWnd::OnClose()
{
    // Closing the floating frame hides its bar, as the frame's toggles do.
    if (CControlBar* bar = GetBar(); bar && m_pOwnerFrame)
        m_pOwnerFrame->ShowControlBar(bar, false, false);
}

LRESULT CMiniDockFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCLBUTTONDOWN: {
        int hit = static_cast<int>(wParam);
        if (hit == HTCAPTION || (hit >= HTLEFT && hit <= HTBOTTOMRIGHT)) {
            OnNcLButtonDown(hit, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        }
        break;
    }
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCAPTION) {
            if (CControlBar* bar = GetBar(); bar && bar->m_pDockContext)
                bar->m_pDockContext->ToggleDocking();
            return 0;
        }
        break;
    case WM_MOVE: {
        RECT rc = GetWindowRect();
        if (CControlBar* bar = GetBar(); bar && bar->m_pDockContext) {
            bar->m_pDockContext->m_ptMRUFloatPos = POINT{rc.left, rc.top};
            bar->m_pDockContext->m_bHasFloatPos = true;
        }
        break;
    }
    case WM_DESTROY_IF_EMPTY:
        if (!GetBar())
            DestroyWindow();
        return 0;
    case WM_SIZE:
        return 0;
    }
    return CMiniFrameWnd::WindowProc(message, wParam, lParam);
}
