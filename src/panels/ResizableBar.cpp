// The sizing control bar: sizes per docking state, row sharing, non-client frame and edge dragging.
#include "panels/ResizableBar.h"

#include "framework/AfxRes.h"
#include "framework/Handles.h"
#include "framework/docking/CDockBar.h"
#include "framework/docking/CDockContext.h"
#include "framework/docking/CFrameWnd.h"
#include "framework/docking/CMiniDockFrameWnd.h"

#include <algorithm>
#include <cstdlib>

namespace {
// Bars of a row overlap by the docked frame's extra 2 pixels.
constexpr int kRowOverlap = 2;

// The 50% pattern brush that the tracker line is drawn with, made once for the run.
HBRUSH HalftoneBrush()
{
    static GdiObject<HBRUSH> brush = [] {
        WORD pattern[8];
        for (int i = 0; i < 8; ++i)
            pattern[i] = static_cast<WORD>(0x5555 << (i & 1));
        GdiObject<HBITMAP> bitmap(::CreateBitmap(8, 8, 1, 1, pattern));
        return GdiObject<HBRUSH>(::CreatePatternBrush(bitmap.get()));
    }();
    return brush.get();
}

int CentreOf(int low, int high)
{
    return (low + high) / 2;
}

LONG& AxisOf(POINT& pt, bool x)
{
    return x ? pt.x : pt.y;
}
}

CResizableBar::CResizableBar(DWORD sizingStyle) : m_dwSizingStyle(sizingStyle & SZBS_FILL_CHILD) {}

bool CResizableBar::Create(const char* title, CWnd* parent, UINT id, DWORD style)
{
    SetBarStyle(style & CBRS_ALL);
    const char* className = RegisterWndClass(CS_DBLCLKS, ArrowCursor(),
                                             ::GetSysColorBrush(COLOR_BTNFACE));
    return CreateEx(0, className, title, (style & ~CBRS_ALL) | WS_CLIPCHILDREN, RECT{}, parent->GetSafeHwnd(), id);
}

bool CResizableBar::Create(const char* title, CWnd* parent, SIZE defaultSize, bool, UINT id, DWORD style)
{
    m_sizeHorz = m_sizeVert = m_sizeFloat = defaultSize;
    return Create(title, parent, id, style);
}

void CResizableBar::ReadDragSetting()
{
    BOOL full = FALSE;
    m_bFullWindowDrag = false;
    if (::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &full, 0))
        m_bFullWindowDrag = full != FALSE;
}

void CResizableBar::RefreshDockBarId()
{
    HWND parent = ::GetParent(m_hWnd);
    m_nDockBarId = parent ? static_cast<UINT>(::GetDlgCtrlID(parent)) : 0;
}

bool CResizableBar::IsDockedHorz() const
{
    return m_nDockBarId == AFX_IDW_DOCKBAR_TOP || m_nDockBarId == AFX_IDW_DOCKBAR_BOTTOM;
}

bool CResizableBar::IsDockedVert() const
{
    return m_nDockBarId == AFX_IDW_DOCKBAR_LEFT || m_nDockBarId == AFX_IDW_DOCKBAR_RIGHT;
}

bool CResizableBar::IsUndocked() const
{
    return !IsDockedHorz() && !IsDockedVert();
}

bool CResizableBar::IsTrackingSideEdge() const
{
    bool across = m_nTrackedEdge == HTLEFT || m_nTrackedEdge == HTRIGHT;
    return across ? IsDockedHorz() : IsDockedVert();
}

int CResizableBar::GetEdgeHitCode(int edge)
{
    switch (edge) {
    case 0:
        return HTLEFT;
    case 1:
        return HTTOP;
    case 2:
        return HTRIGHT;
    case 3:
        return HTBOTTOM;
    default:
        return 0;
    }
}

bool CResizableBar::GetEdgeZone(const RECT& windowRect, int hitCode, RECT& zone) const
{
    zone = windowRect;
    const int w = kEdgeWidth;
    bool horz = IsDockedHorz();
    switch (hitCode) {
    case HTLEFT:
        if (!(m_dwSizingStyle & SZBS_EDGE_LEFT))
            return false;
        zone.right = zone.left + w;
        if (horz)
            ::InflateRect(&zone, 0, -w);
        return true;
    case HTRIGHT:
        if (!(m_dwSizingStyle & SZBS_EDGE_RIGHT))
            return false;
        zone.left = zone.right - w;
        if (horz)
            ::InflateRect(&zone, 0, -w);
        return true;
    case HTTOP:
        if (!(m_dwSizingStyle & SZBS_EDGE_TOP))
            return false;
        zone.bottom = zone.top + w;
        if (!horz)
            ::InflateRect(&zone, -w, 0);
        return true;
    case HTBOTTOM:
        if (!(m_dwSizingStyle & SZBS_EDGE_BOTTOM))
            return false;
        zone.top = zone.bottom - w;
        if (!horz)
            ::InflateRect(&zone, -w, 0);
        return true;
    default:
        return true;
    }
}

void CResizableBar::GetRowBounds(int& first, int& last, int& self) const
{
    first = last = self = -1;
    CDockBar* dockBar = GetDockBar();
    if (dockBar && dockBar->GetRowBounds(this, first, last))
        self = dockBar->FindBar(this);
}

void CResizableBar::CollectRowBars(CResizableBarArray& bars, int& selfIndex) const
{
    bars.clear();
    selfIndex = -1;
    int first, last, self;
    GetRowBounds(first, last, self);
    if (first < 0 || last < 0)
        return;
    for (int i = first; i <= last; ++i) {
        auto* bar = dynamic_cast<CResizableBar*>(GetDockBar()->GetBarAt(i));
        if (!bar || !bar->IsVisible())
            continue;
        if (bar == this)
            selfIndex = static_cast<int>(bars.size());
        bars.push_back(bar);
    }
}

void CResizableBar::CollectRowBars(CResizableBarArray& bars) const
{
    int ignored;
    CollectRowBars(bars, ignored);
}

SIZE CResizableBar::CalcDynamicLayout(int length, DWORD mode)
{
    RefreshDockBarId();
    if (mode & (LM_HORZDOCK | LM_VERTDOCK)) {
        if (length == -1)
            m_bRowLayoutPending = true;
        return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
    }
    if (mode & (LM_MRUWIDTH | LM_COMMIT))
        return m_sizeFloat;

    CDockContext* context = GetDockContext();
    int hit = context ? context->GetResizeHitTest() : HTNOWHERE;
    bool corner = hit == HTTOPLEFT || hit == HTTOPRIGHT || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT;
    CFrameWnd* frame = ParentFrameOf(*this);
    if (IsUndocked() && corner && frame) {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        RECT f = frame->GetWindowRect();
        RECT b = GetWindowRect();
        int width = b.right - b.left;
        int height = b.bottom - b.top;
        if (hit == HTTOPLEFT || hit == HTBOTTOMLEFT) {
            m_sizeFloat.cx = width + (f.left - cursor.x);
            context->SetResizedFrameLeft(std::min<LONG>(cursor.x, f.left + width - m_sizeMinFloat.cx));
        }
        if (hit == HTTOPLEFT || hit == HTTOPRIGHT) {
            m_sizeFloat.cy = height + (f.top - cursor.y);
            context->SetResizedFrameTop(std::min<LONG>(cursor.y, f.top + height - m_sizeMinFloat.cy));
        }
        if (hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT)
            m_sizeFloat.cx = width + (cursor.x - f.right);
        if (hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT)
            m_sizeFloat.cy = height + (cursor.y - f.bottom);
    } else if (mode & LM_LENGTHY) {
        m_sizeFloat.cy = length;
    } else {
        m_sizeFloat.cx = length;
    }
    m_sizeFloat.cx = std::max(m_sizeFloat.cx, m_sizeMinFloat.cx);
    m_sizeFloat.cy = std::max(m_sizeFloat.cy, m_sizeMinFloat.cy);
    return m_sizeFloat;
}

SIZE CResizableBar::CalcFixedLayout(bool stretch, bool horz)
{
    if (stretch)
        return horz ? SIZE{32767, m_sizeHorz.cy} : SIZE{m_sizeVert.cx, 32767};
    RefreshDockBarId();

    CResizableBarArray bars;
    CollectRowBars(bars);
    if (CDockBar* dockBar = GetDockBar()) {
        bool query = dockBar->IsMeasuring();
        HDWP batch = query ? nullptr : ::BeginDeferWindowPos(static_cast<int>(bars.size()));
        for (CResizableBar* bar : bars) {
            if (bar->HasDelayedState())
                bar->RecalcDelayShow(query ? nullptr : &batch);
        }
        if (batch)
            ::EndDeferWindowPos(batch);

        RECT layout = dockBar->GetLayoutRect();
        if (::IsRectEmpty(&layout) && GetDockSite())
            layout = GetDockSite()->GetClientRect();
        int total = horz ? (layout.right - layout.left) + 2 : (layout.bottom - layout.top) - 2;
        if (IsVisible() && !IsUndocked() && m_bRowLayoutPending && !bars.empty() && bars.front() == this) {
            if (ShareRowLength(total, horz))
                AlignRowBars();
        }
    }
    m_bRowLayoutPending = false;
    const SIZE& size = horz ? m_sizeHorz : m_sizeVert;
    const SIZE& minimum = horz ? m_sizeMinHorz : m_sizeMinVert;
    return SIZE{std::max(size.cx, minimum.cx), std::max(size.cy, minimum.cy)};
}

SIZE CResizableBar::GetDockedSize(bool horz)
{
    const SIZE& size = horz ? m_sizeHorz : m_sizeVert;
    const SIZE& minimum = horz ? m_sizeMinHorz : m_sizeMinVert;
    return SIZE{std::max(size.cx, minimum.cx), std::max(size.cy, minimum.cy)};
}

bool CResizableBar::ShareRowLength(int total, bool horz)
{
    int first, last, self;
    GetRowBounds(first, last, self);
    if (first < 0 || last < 0)
        return false;
    CDockBar* dockBar = GetDockBar();
    int available = total;
    int actual = 0;
    LONG maxDepth = 0;
    int used = 2;
    for (int i = first; i <= last; ++i) {
        CControlBar* entry = dockBar->GetBarAt(i);
        if (!entry || !entry->IsVisible())
            continue;
        auto* sizing = dynamic_cast<CResizableBar*>(entry);
        int share;
        if (sizing) {
            share = sizing->MinLengthOf(horz);
        } else {
            RECT rc = entry->GetWindowRect();
            share = horz ? rc.right - rc.left : rc.bottom - rc.top;
        }
        used += share - 2;
        if (used > total) {
            if (i < self) {
                dockBar->InsertRowEnd(i + 1);
                return false;
            }
            if (i == self) {
                LengthOf(horz) = MinLengthOf(horz);
                return true;
            }
            dockBar->InsertRowEnd(i);
            break;
        }
        if (sizing) {
            actual += sizing->LengthOf(horz) - 2;
            maxDepth = std::max(maxDepth, sizing->DepthOf(horz));
        } else {
            available -= share - 2;
        }
    }

    CResizableBarArray bars;
    CollectRowBars(bars);
    int delta = available - actual;
    if (bars.size() == 1) {
        if (delta != 0) {
            bars.front()->m_bKeepLength = false;
            bars.front()->LengthOf(horz) += delta;
        }
        return true;
    }
    for (CResizableBar* bar : bars)
        bar->DepthOf(horz) = maxDepth;
    while (delta != 0) {
        int before = delta;
        int step = delta > 0 ? 1 : -1;
        for (CResizableBar* bar : bars) {
            if ((delta < 0 && bar->LengthOf(horz) == bar->MinLengthOf(horz)) || bar->m_bKeepLength)
                continue;
            bar->LengthOf(horz) += step;
            delta -= step;
            if (delta == 0)
                break;
        }
        if (delta == before || delta == 0) {
            bool anyKept = std::any_of(bars.begin(), bars.end(), [](CResizableBar* b) { return b->m_bKeepLength; });
            for (CResizableBar* bar : bars)
                bar->m_bKeepLength = false;
            // Every bar is at its minimum: what is left cannot be taken back.
            if (delta == before && !anyKept)
                break;
        }
    }
    return true;
}

void CResizableBar::AlignRowBars()
{
    int first, last, self;
    GetRowBounds(first, last, self);
    if (first < 0 || last < 0)
        return;
    bool horz = IsDockedHorz();
    int position = horz ? -2 : 0;
    RECT dock = GetDockBar()->GetWindowRect();
    bool moved = false;
    for (int i = first; i <= last; ++i) {
        CControlBar* entry = GetDockBar()->GetBarAt(i);
        if (!entry || !entry->IsVisible())
            continue;
        RECT r = entry->GetWindowRect();
        ::OffsetRect(&r, -dock.left, -dock.top);
        if (auto* sizing = dynamic_cast<CResizableBar*>(entry)) {
            const SIZE& size = horz ? sizing->m_sizeHorz : sizing->m_sizeVert;
            r.right = r.left + size.cx;
            r.bottom = r.top + size.cy;
        }
        if ((horz ? r.left : r.top) != position) {
            if (horz)
                ::OffsetRect(&r, position - r.left, m_nDockBarId == AFX_IDW_DOCKBAR_TOP ? -2 : 0);
            else
                ::OffsetRect(&r, 0, position - r.top - 2);
            entry->MoveWindow(r, true);
            moved = true;
        }
        position += (horz ? r.right - r.left : r.bottom - r.top) - kRowOverlap;
    }
    if (moved && GetDockSite())
        GetDockSite()->DelayRecalcLayout();
}

void CResizableBar::OnUpdateCmdUI(CCmdTarget*, bool) {}

void CResizableBar::PaintCaptionArea(HDC, const RECT&) {}

void CResizableBar::CalcClientArea(RECT& rect, UINT dockBarId)
{
    rect.left += 3;
    rect.top += 5;
    rect.right -= 3;
    rect.bottom -= 3;
    if (dockBarId != AFX_IDW_DOCKBAR_FLOAT) {
        rect.left += 2;
        rect.right -= 2;
        rect.bottom -= 2;
    }
    switch (dockBarId) {
    case AFX_IDW_DOCKBAR_TOP:
        m_dwSizingStyle |= SZBS_EDGE_BOTTOM;
        break;
    case AFX_IDW_DOCKBAR_LEFT:
        m_dwSizingStyle |= SZBS_EDGE_RIGHT;
        break;
    case AFX_IDW_DOCKBAR_RIGHT:
        m_dwSizingStyle |= SZBS_EDGE_LEFT;
        break;
    case AFX_IDW_DOCKBAR_BOTTOM:
        m_dwSizingStyle |= SZBS_EDGE_TOP;
        break;
    }
}

void CResizableBar::OnNcCalcSize(bool, RECT& rect)
{
    RefreshDockBarId();
    if (IsUndocked()) {
        if (auto* mini = dynamic_cast<CMiniFrameWnd*>(ParentFrameOf(*this)); mini && (mini->GetStyle() & MFS_4THICKFRAME)) {
            mini->ModifyStyle(MFS_4THICKFRAME, 0);
            if (CWnd* parent = GetParent())
                parent->ModifyStyle(0, WS_CLIPCHILDREN);
        }
    }
    m_dwSizingStyle &= ~SZBS_EDGES;
    if (!IsUndocked() && GetDockBar()) {
        CResizableBarArray bars;
        int index;
        CollectRowBars(bars, index);
        bool horz = IsDockedHorz();
        if (index > 0)
            m_dwSizingStyle |= horz ? SZBS_EDGE_LEFT : SZBS_EDGE_TOP;
        if (index >= 0 && index < static_cast<int>(bars.size()) - 1)
            m_dwSizingStyle |= horz ? SZBS_EDGE_RIGHT : SZBS_EDGE_BOTTOM;
    }
    CalcClientArea(rect, m_nDockBarId);
}

LRESULT CResizableBar::OnNcHitTest(POINT screenPoint)
{
    if (IsUndocked())
        return HTCLIENT;
    RECT window = GetWindowRect();
    for (int edge = 0; edge < 4; ++edge) {
        int code = GetEdgeHitCode(edge);
        RECT zone;
        if (GetEdgeZone(window, code, zone) && ::PtInRect(&zone, screenPoint))
            return code;
    }
    return HTCLIENT;
}

RECT CResizableBar::ClientRectInWindow() const
{
    RECT window = GetWindowRect();
    RECT client = GetClientRect();
    POINT origin{0, 0};
    ClientToScreen(&origin);
    ::OffsetRect(&client, origin.x - window.left, origin.y - window.top);
    return client;
}

void CResizableBar::RenderNonClient(HDC dc)
{
    RECT window = GetWindowRect();
    RECT whole{0, 0, window.right - window.left, window.bottom - window.top};
    RECT inside = whole;
    DrawBorders(dc, inside);
    ::FillRect(dc, &inside, ::GetSysColorBrush(COLOR_BTNFACE));
    PaintCaptionArea(dc, ClientRectInWindow());
}

void CResizableBar::OnNcPaint()
{
    WindowDc windowDc = WindowDc::Whole(m_hWnd);
    RECT window = GetWindowRect();
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    // Painted off-screen and copied at once, so the frame does not flicker while sizing.
    MemDc offscreen(windowDc.get(), width, height);
    RenderNonClient(offscreen.get());
    RECT client = ClientRectInWindow();
    ::ExcludeClipRect(windowDc.get(), client.left, client.top, client.right, client.bottom);
    ::BitBlt(windowDc.get(), 0, 0, width, height, offscreen.get(), 0, 0, SRCCOPY);
}

void CResizableBar::OnWindowPosChanging(WINDOWPOS* pos)
{
    pos->flags |= SWP_FRAMECHANGED;
    RefreshDockBarId();
    if (!IsUndocked() && (pos->flags & SWP_SHOWWINDOW))
        m_bKeepLength = true;
}

// A bar narrower than its own borders has a client area of negative size.
void CResizableBar::OnSize(UINT, int cx, int cy)
{
    // Nothing of the child would show: it keeps its place until the bar has room, instead
    // of being stretched to the largest size a window can have and laid out for it.
    if (!(m_dwSizingStyle & SZBS_FILL_CHILD) || cx <= 0 || cy <= 0)
        return;

    if (HWND child = ::GetWindow(m_hWnd, GW_CHILD))
        ::MoveWindow(child, 0, 0, cx, cy, TRUE);
}

void CResizableBar::OnSetText(const wchar_t* text)
{
    CControlBar::OnSetText(text);
    if (IsUndocked() && GetDockBar()) {
        if (auto* frame = dynamic_cast<CMiniDockFrameWnd*>(ParentFrameOf(*this))) {
            GetDockBar()->SetWindowText(GetWindowText());
            frame->DelayRecalcLayout();
        }
    }
}

// Edge dragging.

void CResizableBar::SetSideEdgeLimits(bool horz, const CResizableBarArray& bars, int index)
{
    if (m_nTrackedEdge == HTRIGHT || m_nTrackedEdge == HTBOTTOM)
        ++index;
    for (int k = 0; k < static_cast<int>(bars.size()); ++k) {
        int excess = bars[static_cast<size_t>(k)]->LengthOf(horz) - bars[static_cast<size_t>(k)]->MinLengthOf(horz);
        if (k < index)
            m_nTrackMin -= excess;
        else
            m_nTrackMax += excess;
    }
}

void CResizableBar::SetDepthLimits(bool horz, const CResizableBarArray& bars)
{
    LONG minDepth = MinDepthOf(horz);
    for (CResizableBar* bar : bars)
        minDepth = std::max(minDepth, bar->MinDepthOf(horz));
    int shrinkRoom = DepthOf(horz) - minDepth;
    RECT view{};
    if (GetDockSite())
        GetDockSite()->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CFrameWnd::reposQuery, &view, nullptr, true);
    int growRoom = (horz ? view.bottom - view.top : view.right - view.left) - 2;
    if (m_nTrackedEdge == HTLEFT || m_nTrackedEdge == HTTOP) {
        m_nTrackMin -= growRoom;
        m_nTrackMax += shrinkRoom;
    } else {
        m_nTrackMin -= shrinkRoom;
        m_nTrackMax += growRoom;
    }
}

void CResizableBar::BeginEdgeTracking(int hitCode, POINT point)
{
    ::SetCapture(m_hWnd);
    if (!m_bFullWindowDrag)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    m_nTrackedEdge = hitCode;
    m_bTracking = true;
    bool horz = IsDockedHorz();
    bool xAxis = hitCode == HTLEFT || hitCode == HTRIGHT;
    m_nTrackPos = AxisOf(point, xAxis);
    RECT zone;
    GetEdgeZone(GetWindowRect(), m_nTrackedEdge, zone);
    m_nTrackGrabOffset = m_nTrackPos - (xAxis ? CentreOf(zone.left, zone.right) : CentreOf(zone.top, zone.bottom));

    CResizableBarArray bars;
    int index;
    CollectRowBars(bars, index);
    m_nTrackMin = m_nTrackMax = m_nTrackPos;
    if (IsTrackingSideEdge())
        SetSideEdgeLimits(horz, bars, index);
    else
        SetDepthLimits(horz, bars);
    InvertTrackerLine();
}

void CResizableBar::GiveSideEdgeRoom(bool horz, const CResizableBarArray& bars, int index, int delta)
{
    bool leading = m_nTrackedEdge == HTLEFT || m_nTrackedEdge == HTTOP;
    int count = static_cast<int>(bars.size());
    int growing, step;
    if (leading) {
        growing = delta <= 0 ? index : index - 1;
        step = delta <= 0 ? -1 : 1;
    } else {
        growing = delta >= 0 ? index : index + 1;
        step = delta >= 0 ? 1 : -1;
    }
    if (growing < 0 || growing >= count)
        return;
    int remaining = std::abs(delta);
    bars[static_cast<size_t>(growing)]->LengthOf(horz) += remaining;
    // The bars on the other side of the edge give the room back, nearest first.
    for (int giver = growing + step; remaining > 0 && giver >= 0 && giver < count; giver += step) {
        CResizableBar* bar = bars[static_cast<size_t>(giver)];
        int give = std::min<int>(remaining, bar->LengthOf(horz) - bar->MinLengthOf(horz));
        give = std::max(give, 0);
        bar->LengthOf(horz) -= give;
        remaining -= give;
    }
}

void CResizableBar::TrackEdgeTo(POINT point)
{
    bool xAxis = m_nTrackedEdge == HTLEFT || m_nTrackedEdge == HTRIGHT;
    int p = std::clamp<int>(AxisOf(point, xAxis), m_nTrackMin, m_nTrackMax);
    int d = p - m_nTrackPos;
    if (d == 0)
        return;
    InvertTrackerLine();
    m_nTrackPos = p;

    bool horz = IsDockedHorz();
    SIZE s = horz ? m_sizeHorz : m_sizeVert;
    switch (m_nTrackedEdge) {
    case HTLEFT:
        s.cx -= d;
        break;
    case HTRIGHT:
        s.cx += d;
        break;
    case HTTOP:
        s.cy -= d;
        break;
    case HTBOTTOM:
        s.cy += d;
        break;
    }
    CResizableBarArray bars;
    int index;
    CollectRowBars(bars, index);
    if (!IsTrackingSideEdge()) {
        if (std::find(bars.begin(), bars.end(), this) == bars.end())
            bars.push_back(this);
        for (CResizableBar* bar : bars) {
            if (horz)
                bar->m_sizeHorz.cy = s.cy;
            else
                bar->m_sizeVert.cx = s.cx;
        }
    } else if (index >= 0) {
        GiveSideEdgeRoom(horz, bars, index, d);
    }
    InvertTrackerLine();
    if (m_bFullWindowDrag && GetDockSite())
        GetDockSite()->DelayRecalcLayout();
}

void CResizableBar::EndEdgeTracking()
{
    InvertTrackerLine();
    m_bTracking = false;
    ::ReleaseCapture();
    if (CFrameWnd* site = GetDockSite()) {
        site->RecalcLayout();
        // Every bar the drag moved paints again, with what it holds: a move keeps only part
        // of a window's old pixels, and a pane that only grew would show them stale.
        ::RedrawWindow(site->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

void CResizableBar::InvertTrackerLine()
{
    CFrameWnd* site = GetDockSite();
    if (m_bFullWindowDrag || !site || !GetDockBar())
        return;
    bool horz = IsDockedHorz();
    RECT w = GetWindowRect();
    RECT d = GetDockBar()->GetWindowRect();
    RECT f = site->GetWindowRect();
    RECT t;
    GetEdgeZone(w, m_nTrackedEdge, t);
    if (!IsTrackingSideEdge())
        t = horz ? RECT{d.left + 1, t.top, d.right - 1, t.bottom} : RECT{t.left, d.top + 1, t.right, d.bottom - 1};
    bool xAxis = m_nTrackedEdge == HTLEFT || m_nTrackedEdge == HTRIGHT;
    int centre = xAxis ? CentreOf(t.left, t.right) : CentreOf(t.top, t.bottom);
    int shift = m_nTrackPos - m_nTrackGrabOffset - centre;
    ::OffsetRect(&t, xAxis ? shift : 0, xAxis ? 0 : shift);
    ::OffsetRect(&t, -f.left, -f.top);

    WindowDc dc = WindowDc::Ex(site->GetSafeHwnd(), nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    SelectGuard brush(dc.get(), HalftoneBrush());
    ::PatBlt(dc.get(), t.left, t.top, t.right - t.left, t.bottom - t.top, PATINVERT);
}

int CResizableBar::OnCreate(CREATESTRUCTW*)
{
    if (!AttachToFrame(GetParent()))
        return -1;
    ReadDragSetting();
    return 0;
}

// The bar draws only its frame; the window it holds covers the client area.
void CResizableBar::OnPaint()
{
    ::ValidateRect(m_hWnd, nullptr);
}

void CResizableBar::OnSettingChange(UINT action, const wchar_t* section)
{
    CControlBar::OnSettingChange(action, section);
    ReadDragSetting();
}

// A bar is hidden, never closed, by the system's close request.
void CResizableBar::OnClose() {}

void CResizableBar::OnNcLButtonDown(UINT hitTest, POINT screenPoint)
{
    const int hit = static_cast<int>(hitTest);
    if (!m_bTracking && !IsUndocked() && hit >= HTLEFT && hit <= HTBOTTOMRIGHT)
        BeginEdgeTracking(hit, screenPoint);
}

void CResizableBar::OnMouseMove(UINT flags, POINT pt)
{
    if (m_bTracking) {
        POINT screenPoint = pt;
        ClientToScreen(&screenPoint);
        TrackEdgeTo(screenPoint);
    }
    CControlBar::OnMouseMove(flags, pt);
}

void CResizableBar::OnLButtonUp(UINT flags, POINT pt)
{
    if (m_bTracking)
        EndEdgeTracking();
    CControlBar::OnLButtonUp(flags, pt);
}

void CResizableBar::OnRButtonDown(UINT flags, POINT pt)
{
    if (m_bTracking)
        EndEdgeTracking();
    CControlBar::OnRButtonDown(flags, pt);
}

void CResizableBar::OnCaptureChanged(HWND newCapture)
{
    if (m_bTracking && newCapture != m_hWnd)
        EndEdgeTracking();
    CControlBar::OnCaptureChanged(newCapture);
}

void CResizableBar::OnLButtonDown(UINT flags, POINT pt)
{
    if (!GetDockBar() || !GetDockContext()) {
        CControlBar::OnLButtonDown(flags, pt);
        return;
    }
    ClientToScreen(&pt);
    GetDockContext()->StartDrag(pt);
}

void CResizableBar::OnLButtonDblClk(UINT flags, POINT pt)
{
    if (GetDockBar() && GetDockContext())
        GetDockContext()->ToggleDocking();
    else
        CControlBar::OnLButtonDblClk(flags, pt);
}
