// Control bars in the frame's layout.
#include "framework/docking/CControlBar.h"

#include "framework/Drawing.h"
#include "framework/docking/BarLayout.h"
#include "framework/docking/CDockBar.h"
#include "framework/docking/CDockContext.h"
#include "framework/docking/CFrameWnd.h"

#include <algorithm>
#include <initializer_list>

namespace {
constexpr int kBorderWidth = 2;

// Fills the rectangle from (left, top) to (right, bottom) with a system colour.
void FillSysColor(HDC dc, int left, int top, int right, int bottom, int sysColor)
{
    FillSolidRect(dc, left, top, right - left, bottom - top, ::GetSysColor(sysColor));
}
}

CControlBar::CControlBar() = default;

CControlBar::~CControlBar()
{
    DestroyWindow();
}

bool CControlBar::AttachToFrame(CWnd* parent)
{
    m_pDockSite = dynamic_cast<CFrameWnd*>(parent);
    if (!m_pDockSite && parent)
        m_pDockSite = ParentFrameOf(*parent);
    if (!m_pDockSite)
        return false;
    m_pDockSite->AddControlBar(this);
    return true;
}

void CControlBar::DetachFromFrame()
{
    if (m_pDockSite)
        m_pDockSite->RemoveControlBar(this);
}

SIZE CControlBar::CalcFixedLayout(bool, bool)
{
    RECT rc = GetWindowRect();
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

SIZE CControlBar::CalcDynamicLayout(int, DWORD mode)
{
    return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
}

void CControlBar::OnUpdateCmdUI(CCmdTarget*, bool) {}

bool CControlBar::IsVisible() const
{
    if (m_nStateFlags & kDelayHide)
        return false;
    if (m_nStateFlags & kDelayShow)
        return true;
    return m_hWnd && (GetStyle() & WS_VISIBLE);
}

void CControlBar::DelayShow(bool show)
{
    m_nStateFlags &= ~(kDelayShow | kDelayHide);
    bool visible = m_hWnd && (GetStyle() & WS_VISIBLE);
    if (show != visible)
        m_nStateFlags |= show ? kDelayShow : kDelayHide;
}

void CControlBar::RecalcDelayShow(HDWP* batch)
{
    if (!HasDelayedState())
        return;
    bool show = (m_nStateFlags & kDelayShow) != 0;
    bool visible = (GetStyle() & WS_VISIBLE) != 0;
    if (show == visible) {
        m_nStateFlags &= ~(kDelayShow | kDelayHide);
        return;
    }
    if (!batch)
        return;
    m_nStateFlags &= ~(kDelayShow | kDelayHide);
    UINT flags = (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (*batch)
        *batch = ::DeferWindowPos(*batch, m_hWnd, nullptr, 0, 0, 0, 0, flags);
    else
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, flags);
}

void CControlBar::DrawBorders(HDC dc, RECT& rect) const
{
    const RECT r = rect;
    if (m_dwStyle & CBRS_BORDER_TOP) {
        FillSysColor(dc, r.left, r.top, r.right, r.top + 1, COLOR_BTNSHADOW);
        FillSysColor(dc, r.left, r.top + 1, r.right, r.top + 2, COLOR_BTNHIGHLIGHT);
    }
    if (m_dwStyle & CBRS_BORDER_BOTTOM) {
        FillSysColor(dc, r.left, r.bottom - 2, r.right, r.bottom - 1, COLOR_BTNSHADOW);
        FillSysColor(dc, r.left, r.bottom - 1, r.right, r.bottom, COLOR_BTNHIGHLIGHT);
    }
    if (m_dwStyle & CBRS_BORDER_LEFT) {
        FillSysColor(dc, r.left, r.top, r.left + 1, r.bottom, COLOR_BTNSHADOW);
        FillSysColor(dc, r.left + 1, r.top, r.left + 2, r.bottom, COLOR_BTNHIGHLIGHT);
    }
    if (m_dwStyle & CBRS_BORDER_RIGHT) {
        FillSysColor(dc, r.right - 2, r.top, r.right - 1, r.bottom, COLOR_BTNSHADOW);
        FillSysColor(dc, r.right - 1, r.top, r.right, r.bottom, COLOR_BTNHIGHLIGHT);
    }
    CalcInsideRect(rect);
}

void CControlBar::CalcInsideRect(RECT& rect) const
{
    if (m_dwStyle & CBRS_BORDER_TOP)
        rect.top += kBorderWidth;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        rect.bottom -= kBorderWidth;
    if (m_dwStyle & CBRS_BORDER_LEFT)
        rect.left += kBorderWidth;
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        rect.right -= kBorderWidth;
}

void CControlBar::EnableDocking(DWORD dockStyle)
{
    m_dwDockStyle = dockStyle;
    if (!m_pDockContext)
        m_pDockContext = std::make_unique<CDockContext>(this);
}

bool CControlBar::IsFloating() const
{
    return m_pDockBar && m_pDockBar->IsFloatingDockBar();
}

SIZE CControlBar::GetDockedSize(bool horz)
{
    return CalcFixedLayout(false, horz);
}

void CControlBar::LayOutIn(BarLayout& layout)
{
    // Decided before a pending show or hide joins the batch, which applies it only later.
    bool visible = IsVisible();
    RecalcDelayShow(layout.GetBatch());
    if (!visible)
        return;
    const RECT& room = layout.GetRoom();
    bool horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    SIZE size = CalcFixedLayout(layout.Stretches(), horz);
    size.cx = std::min<LONG>(size.cx, room.right - room.left);
    size.cy = std::min<LONG>(size.cy, room.bottom - room.top);
    DWORD align = 0;
    for (DWORD side : {CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM, CBRS_ALIGN_LEFT, CBRS_ALIGN_RIGHT}) {
        if (m_dwStyle & side) {
            align = side;
            break;
        }
    }
    if (!align)
        return;
    RECT place = layout.TakeSide(align, horz ? size.cy : size.cx);
    if (!layout.Stretches()) {
        if (horz)
            place.right = place.left + size.cx;
        else
            place.bottom = place.top + size.cy;
    }
    layout.Place(m_hWnd, place);
}

void CControlBar::UpdateCmdUIAtIdle(bool disableIfNoHandler)
{
    if (IsVisible() && m_pDockSite)
        OnUpdateCmdUI(m_pDockSite, disableIfNoHandler);
}

// Buttons and controls inside a bar of ours speak to the bar's frame; native bars (toolbar,
// status bar) keep their own handling.
bool CControlBar::OnCommand(UINT id, UINT code, HWND control)
{
    if (CWnd::OnCommand(id, code, control))
        return true;
    if (!m_pDockSite || m_pfnSuper)
        return false;
    m_pDockSite->SendMessage(WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
    return true;
}

bool CControlBar::OnNotify(NMHDR* header, LRESULT* result)
{
    if (CWnd::OnNotify(header, result))
        return true;
    if (!m_pDockSite || m_pfnSuper)
        return false;
    *result = m_pDockSite->SendMessage(WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
    return true;
}

void CControlBar::OnDestroy()
{
    DetachFromFrame();
    CWnd::OnDestroy();
}
