// Dragging bars to dock or float them, and sizing floating frames.
#include "framework/docking/CDockContext.h"

#include "framework/AfxRes.h"
#include "framework/Handles.h"
#include "framework/docking/CControlBar.h"
#include "framework/docking/CDockBar.h"
#include "framework/docking/CFrameWnd.h"
#include "framework/docking/MiniFrameStyle.h"

namespace {
// How close to a side of the frame the pointer must come to dock there.
constexpr int kDockZone = 8;
// A click that moves less than this does not move the bar.
constexpr int kDragThreshold = 3;

POINT MessagePoint(const MSG& msg)
{
    POINT pt = PointOf(msg.lParam);
    ::ClientToScreen(msg.hwnd, &pt);
    return pt;
}

// Runs the mouse loop of a drag: the callbacks see every move and the release; Esc, the
// right button or losing the capture cancel. Returns whether the drag ended with a release.
template <typename OnMove>
bool TrackMouse(HWND captureWnd, OnMove onMove, POINT& releasePoint)
{
    ::SetCapture(captureWnd);
    while (::GetCapture() == captureWnd) {
        MSG msg;
        if (!::GetMessageW(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE:
            onMove(MessagePoint(msg));
            continue;
        case WM_LBUTTONUP:
            releasePoint = MessagePoint(msg);
            ::ReleaseCapture();
            return true;
        case WM_RBUTTONDOWN:
            ::ReleaseCapture();
            return false;
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE) {
                ::ReleaseCapture();
                return false;
            }
            continue;
        }
        ::DispatchMessageW(&msg);
    }
    return false;
}
}

CDockBar* CDockContext::DockBarAt(POINT pt) const
{
    CFrameWnd* site = m_pBar->GetDockSite();
    if (!site || (::GetKeyState(VK_CONTROL) < 0))
        return nullptr;
    RECT client = site->GetClientRect();
    site->ClientToScreen(&client);
    const UINT sides[] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT};
    const DWORD aligns[] = {CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM, CBRS_ALIGN_LEFT, CBRS_ALIGN_RIGHT};
    for (int i = 0; i < 4; ++i) {
        CDockBar* dockBar = site->GetDockBar(sides[i]);
        if (!dockBar || !m_pBar->CanDockOn(aligns[i]))
            continue;
        // A side's zone runs along the whole inside edge of the frame and reaches across
        // the side's bars, or a thin strip deep when the side is empty.
        RECT dock = dockBar->GetWindowRect();
        bool empty = ::IsRectEmpty(&dock) != FALSE;
        RECT zone = client;
        switch (sides[i]) {
        case AFX_IDW_DOCKBAR_TOP:
            zone.bottom = std::max<LONG>(empty ? client.top : dock.bottom, client.top + kDockZone);
            break;
        case AFX_IDW_DOCKBAR_BOTTOM:
            zone.top = std::min<LONG>(empty ? client.bottom : dock.top, client.bottom - kDockZone);
            break;
        case AFX_IDW_DOCKBAR_LEFT:
            zone.right = std::max<LONG>(empty ? client.left : dock.right, client.left + kDockZone);
            break;
        case AFX_IDW_DOCKBAR_RIGHT:
            zone.left = std::min<LONG>(empty ? client.right : dock.left, client.right - kDockZone);
            break;
        }
        if (::PtInRect(&zone, pt))
            return dockBar;
    }
    return nullptr;
}

RECT CDockContext::DockedOutline(CDockBar* dockBar, POINT pt) const
{
    SIZE size = m_pBar->GetDockedSize(dockBar->IsHorizontal());
    POINT origin{pt.x - m_ptGrabOffset.x, pt.y - m_ptGrabOffset.y};
    return RECT{origin.x, origin.y, origin.x + size.cx, origin.y + size.cy};
}

RECT CDockContext::FloatingOutline(POINT pt) const
{
    SIZE size = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH);
    RECT rect{0, 0, size.cx, size.cy};
    AdjustMiniFrameRect(rect);
    ::OffsetRect(&rect, pt.x - m_ptGrabOffset.x - rect.left, pt.y - m_ptGrabOffset.y - rect.top);
    return rect;
}

void CDockContext::DrawOutline(const RECT& rect, bool thick) const
{
    WindowDc dc = WindowDc::Ex(::GetDesktopWindow(), nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    SelectGuard brush(dc.get(), ::GetSysColorBrush(COLOR_HIGHLIGHT));
    int width = thick ? 3 : 1;
    ::PatBlt(dc.get(), rect.left, rect.top, rect.right - rect.left, width, PATINVERT);
    ::PatBlt(dc.get(), rect.left, rect.bottom - width, rect.right - rect.left, width, PATINVERT);
    ::PatBlt(dc.get(), rect.left, rect.top + width, width, rect.bottom - rect.top - 2 * width, PATINVERT);
    ::PatBlt(dc.get(), rect.right - width, rect.top + width, width, rect.bottom - rect.top - 2 * width, PATINVERT);
}

void CDockContext::StartDrag(POINT start)
{
    CFrameWnd* site = m_pBar->GetDockSite();
    if (!site)
        return;
    RECT barRect = m_pBar->GetWindowRect();
    m_ptGrabOffset = POINT{start.x - barRect.left, start.y - barRect.top};

    RECT outline{};
    bool thick = false;
    bool drawn = false;
    bool moved = false;
    auto update = [&](POINT pt) {
        if (!moved && std::abs(pt.x - start.x) < kDragThreshold && std::abs(pt.y - start.y) < kDragThreshold)
            return;
        moved = true;
        CDockBar* target = DockBarAt(pt);
        RECT next = target ? DockedOutline(target, pt) : FloatingOutline(pt);
        if (drawn)
            DrawOutline(outline, thick);
        outline = next;
        thick = target == nullptr;
        DrawOutline(outline, thick);
        drawn = true;
    };
    POINT release{};
    bool released = TrackMouse(m_pBar->GetSafeHwnd(), update, release);
    if (drawn)
        DrawOutline(outline, thick);
    if (!released || !moved)
        return;

    if (CDockBar* target = DockBarAt(release)) {
        RECT drop = DockedOutline(target, release);
        site->DockControlBar(m_pBar, target->GetDlgCtrlID(), &drop);
    } else {
        RECT frame = FloatingOutline(release);
        site->FloatControlBar(m_pBar, POINT{frame.left, frame.top});
    }
}

void CDockContext::RememberFloatPosition(POINT screenPoint)
{
    m_ptMRUFloatPos = screenPoint;
    m_bHasFloatPos = true;
}

void CDockContext::ToggleDocking()
{
    CFrameWnd* site = m_pBar->GetDockSite();
    if (!site)
        return;
    if (m_pBar->IsFloating()) {
        site->DockControlBar(m_pBar, site->LastDockBarId(m_pBar), nullptr);
        return;
    }
    POINT pos = m_ptMRUFloatPos;
    if (!m_bHasFloatPos) {
        RECT rc = m_pBar->GetWindowRect();
        pos = POINT{rc.left, rc.top};
    }
    site->FloatControlBar(m_pBar, pos);
}

void CDockContext::ResizeTo(POINT pt)
{
    CFrameWnd* frame = m_pBar->IsFloating() ? ParentFrameOf(*m_pBar) : nullptr;
    if (!frame)
        return;
    RECT frameRect = frame->GetWindowRect();
    RECT barRect = m_pBar->GetWindowRect();
    int borderX = (frameRect.right - frameRect.left) - (barRect.right - barRect.left);
    int borderY = (frameRect.bottom - frameRect.top) - (barRect.bottom - barRect.top);
    m_rectFrameDragHorz = frameRect;
    SIZE size{};
    bool corner = m_nHitTest == HTTOPLEFT || m_nHitTest == HTTOPRIGHT || m_nHitTest == HTBOTTOMLEFT ||
                  m_nHitTest == HTBOTTOMRIGHT;
    if (corner) {
        size = m_pBar->CalcDynamicLayout(0, LM_HORZ);
        if (m_nHitTest == HTTOPRIGHT || m_nHitTest == HTBOTTOMRIGHT)
            m_rectFrameDragHorz.left = frameRect.left;
        if (m_nHitTest == HTBOTTOMLEFT || m_nHitTest == HTBOTTOMRIGHT)
            m_rectFrameDragHorz.top = frameRect.top;
    } else {
        switch (m_nHitTest) {
        case HTLEFT:
            size = m_pBar->CalcDynamicLayout(frameRect.right - pt.x - borderX, LM_HORZ);
            m_rectFrameDragHorz.left = frameRect.right - (size.cx + borderX);
            break;
        case HTRIGHT:
            size = m_pBar->CalcDynamicLayout(pt.x - frameRect.left - borderX, LM_HORZ);
            break;
        case HTTOP:
            size = m_pBar->CalcDynamicLayout(frameRect.bottom - pt.y - borderY, LM_HORZ | LM_LENGTHY);
            m_rectFrameDragHorz.top = frameRect.bottom - (size.cy + borderY);
            break;
        case HTBOTTOM:
            size = m_pBar->CalcDynamicLayout(pt.y - frameRect.top - borderY, LM_HORZ | LM_LENGTHY);
            break;
        default:
            return;
        }
    }
    if (m_nHitTest == HTTOPLEFT || m_nHitTest == HTBOTTOMLEFT)
        m_rectFrameDragHorz.left = std::min<LONG>(m_rectFrameDragHorz.left, frameRect.right - (size.cx + borderX));
    if (m_nHitTest == HTTOPLEFT || m_nHitTest == HTTOPRIGHT)
        m_rectFrameDragHorz.top = std::min<LONG>(m_rectFrameDragHorz.top, frameRect.bottom - (size.cy + borderY));
    frame->SetWindowPos(nullptr, m_rectFrameDragHorz.left, m_rectFrameDragHorz.top, size.cx + borderX, size.cy + borderY,
                        SWP_NOZORDER | SWP_NOACTIVATE);
    frame->RecalcLayout();
}

void CDockContext::StartResize(int hitTest, POINT)
{
    CFrameWnd* frame = ParentFrameOf(*m_pBar);
    if (!frame)
        return;
    m_nHitTest = hitTest;
    m_rectFrameDragHorz = frame->GetWindowRect();
    POINT release{};
    TrackMouse(frame->GetSafeHwnd(), [this](POINT pt) { ResizeTo(pt); }, release);
    m_nHitTest = HTNOWHERE;
}
