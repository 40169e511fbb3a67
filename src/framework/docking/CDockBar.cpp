// Dock bars and their rows.
#include "framework/docking/CDockBar.h"

#include "framework/AfxRes.h"
#include "framework/docking/BarLayout.h"
#include "framework/docking/CFrameWnd.h"

#include <algorithm>
#include <map>

namespace {
// Bars in a row overlap by the width of their shared frame.
constexpr int kRowOverlap = 2;
}

CDockBar::CDockBar(bool floating) : m_bFloating(floating)
{
    m_arrBars.push_back(DockEntry::RowEnd());
}

bool CDockBar::Create(CWnd* parent, DWORD style, UINT id)
{
    SetBarStyle(style & CBRS_ALL);
    const char* className = RegisterWndClass(CS_DBLCLKS, ArrowCursor(),
                                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    DWORD windowStyle = (style & ~CBRS_ALL) | WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (!CreateEx(0, className, "", windowStyle, RECT{}, parent->GetSafeHwnd(), id))
        return false;
    return m_bFloating || AttachToFrame(parent);
}

bool CDockBar::CreateFloating(CWnd* floatingFrame, CFrameWnd* owner)
{
    if (!Create(floatingFrame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_FLOAT))
        return false;
    m_pDockSite = owner;
    return true;
}

int CDockBar::FindBar(const CControlBar* bar) const
{
    for (size_t i = 0; i < m_arrBars.size(); ++i) {
        if (m_arrBars[i].pBar == bar)
            return static_cast<int>(i);
    }
    return -1;
}

CControlBar* CDockBar::GetBarAt(int index) const
{
    return index >= 0 && static_cast<size_t>(index) < m_arrBars.size() ? m_arrBars[static_cast<size_t>(index)].pBar
                                                                        : nullptr;
}

CControlBar* CDockBar::GetFirstBar() const
{
    for (const DockEntry& entry : m_arrBars) {
        if (entry.pBar)
            return entry.pBar;
    }
    return nullptr;
}

// A row runs between two row ends; the list starts with one and every row ends with one.
bool CDockBar::GetRowBounds(const CControlBar* bar, int& first, int& last) const
{
    const int self = FindBar(bar);
    if (self < 0)
        return false;
    auto isRowEnd = [this](int i) { return m_arrBars[static_cast<size_t>(i)].IsRowEnd(); };
    const int count = static_cast<int>(m_arrBars.size());
    int before = self;
    while (before >= 0 && !isRowEnd(before))
        --before;
    int after = self;
    while (after < count && !isRowEnd(after))
        ++after;
    if (before < 0 || after == count)
        return false;
    first = before + 1;
    last = after - 1;
    return true;
}

bool CDockBar::HasPlaceholder(UINT barId) const
{
    return std::any_of(m_arrBars.begin(), m_arrBars.end(),
                       [barId](const DockEntry& e) { return e.IsPlaceholder() && e.nPlaceholderId == barId; });
}

void CDockBar::InsertRowEnd(int index)
{
    m_arrBars.insert(m_arrBars.begin() + index, DockEntry::RowEnd());
}

int CDockBar::GetVisibleBarCount() const
{
    return static_cast<int>(std::count_if(m_arrBars.begin(), m_arrBars.end(),
                                          [](const DockEntry& e) { return e.pBar && e.pBar->IsVisible(); }));
}

void CDockBar::RemoveEmptyRows()
{
    std::vector<DockEntry> cleaned;
    for (const DockEntry& entry : m_arrBars) {
        if (entry.IsRowEnd() && !cleaned.empty() && cleaned.back().IsRowEnd())
            continue;
        cleaned.push_back(entry);
    }
    if (cleaned.empty() || !cleaned.front().IsRowEnd())
        cleaned.insert(cleaned.begin(), DockEntry::RowEnd());
    m_arrBars = std::move(cleaned);
}

void CDockBar::RemoveControlBar(CControlBar* bar, bool leavePlaceholder)
{
    int index = FindBar(bar);
    if (index < 0)
        return;
    if (leavePlaceholder)
        m_arrBars[static_cast<size_t>(index)] = DockEntry{nullptr, bar->GetDlgCtrlID()};
    else
        m_arrBars.erase(m_arrBars.begin() + index);
    RemoveEmptyRows();
    if (bar->m_pDockBar == this)
        bar->m_pDockBar = nullptr;
}

void CDockBar::RemovePlaceholder(UINT barId)
{
    m_arrBars.erase(std::remove_if(m_arrBars.begin(), m_arrBars.end(),
                                   [barId](const DockEntry& e) { return e.IsPlaceholder() && e.nPlaceholderId == barId; }),
                    m_arrBars.end());
    RemoveEmptyRows();
}

void CDockBar::InsertAtDropPoint(CControlBar* bar, POINT dockPoint)
{
    bool horz = IsHorizontal();
    int depthAt = horz ? dockPoint.y : dockPoint.x;
    int lengthAt = horz ? dockPoint.x : dockPoint.y;
    // Walk the rows; a row whose extent across the dock holds the point takes the bar at
    // the place along the row, a point before a row starts a new row there.
    size_t rowStart = 1;
    while (rowStart < m_arrBars.size()) {
        size_t rowEnd = rowStart;
        int rowLow = INT_MAX, rowHigh = INT_MIN;
        size_t insertAt = SIZE_MAX;
        for (; rowEnd < m_arrBars.size() && !m_arrBars[rowEnd].IsRowEnd(); ++rowEnd) {
            CControlBar* other = m_arrBars[rowEnd].pBar;
            if (!other || !other->IsVisible())
                continue;
            RECT rc = RectInParent(other->GetSafeHwnd());
            rowLow = std::min<int>(rowLow, horz ? rc.top : rc.left);
            rowHigh = std::max<int>(rowHigh, horz ? rc.bottom : rc.right);
            if (insertAt == SIZE_MAX && lengthAt < (horz ? rc.left : rc.top))
                insertAt = rowEnd;
        }
        if (rowLow != INT_MAX && depthAt < rowLow) {
            m_arrBars.insert(m_arrBars.begin() + static_cast<std::ptrdiff_t>(rowStart),
                             {DockEntry{bar, 0}, DockEntry::RowEnd()});
            return;
        }
        if (rowLow != INT_MAX && depthAt < rowHigh) {
            m_arrBars.insert(m_arrBars.begin() + static_cast<std::ptrdiff_t>(insertAt == SIZE_MAX ? rowEnd : insertAt),
                             DockEntry{bar, 0});
            return;
        }
        rowStart = rowEnd + 1;
    }
    if (!m_arrBars.back().IsRowEnd())
        m_arrBars.push_back(DockEntry::RowEnd());
    m_arrBars.push_back(DockEntry{bar, 0});
    m_arrBars.push_back(DockEntry::RowEnd());
}

void CDockBar::DockControlBar(CControlBar* bar, const RECT* dropRect)
{
    UINT barId = bar->GetDlgCtrlID();
    CDockBar* oldDockBar = bar->m_pDockBar;
    if (oldDockBar)
        oldDockBar->RemoveControlBar(bar, false);

    RECT place = bar->GetWindowRect();
    if (dropRect)
        place = *dropRect;
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&place), 2);

    auto placeholder = std::find_if(m_arrBars.begin(), m_arrBars.end(), [barId](const DockEntry& e) {
        return e.IsPlaceholder() && e.nPlaceholderId == barId;
    });
    if (!dropRect && placeholder != m_arrBars.end()) {
        *placeholder = DockEntry{bar, 0};
    } else {
        RemovePlaceholder(barId);
        if (dropRect && !m_bFloating) {
            InsertAtDropPoint(bar, POINT{place.left, place.top});
        } else {
            if (!m_arrBars.back().IsRowEnd())
                m_arrBars.push_back(DockEntry::RowEnd());
            m_arrBars.push_back(DockEntry{bar, 0});
            m_arrBars.push_back(DockEntry::RowEnd());
        }
    }

    Adopt(bar);
    // A dropped bar starts where it was dropped; the row layout settles it.
    if (dropRect && !m_bFloating)
        ::SetWindowPos(bar->GetSafeHwnd(), nullptr, std::max<LONG>(place.left, 0), std::max<LONG>(place.top, 0), 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDockBar::DockControlBarAfter(CControlBar* bar, const CControlBar* neighbour)
{
    if (FindBar(neighbour) < 0 || m_bFloating) {
        DockControlBar(bar);
        return;
    }
    if (CDockBar* oldDockBar = bar->m_pDockBar)
        oldDockBar->RemoveControlBar(bar, false);
    RemovePlaceholder(bar->GetDlgCtrlID());
    m_arrBars.insert(m_arrBars.begin() + FindBar(neighbour) + 1, DockEntry{bar, 0});
    Adopt(bar);
}

void CDockBar::Adopt(CControlBar* bar)
{
    DWORD align = GetBarStyle() & CBRS_ALIGN_ANY;
    bar->SetBarStyle((bar->GetBarStyle() & ~CBRS_ALIGN_ANY) | align);
    bar->m_pDockBar = this;
    if (::GetParent(bar->GetSafeHwnd()) != m_hWnd)
        ::SetParent(bar->GetSafeHwnd(), m_hWnd);
}

void CDockBar::LayOutIn(BarLayout& layout)
{
    m_rectLayout = layout.GetRoom();
    m_bLayoutQuery = layout.IsMeasuring();
    // A dock bar is there whenever it holds a visible bar; it is never hidden itself.
    bool hasBars = GetVisibleBarCount() > 0 ||
                   std::any_of(m_arrBars.begin(), m_arrBars.end(),
                               [](const DockEntry& e) { return e.pBar && e.pBar->HasDelayedState(); });
    if (!hasBars) {
        // An empty side takes no room.
        layout.Place(m_hWnd, RECT{m_rectLayout.left, m_rectLayout.top, m_rectLayout.left, m_rectLayout.top});
        return;
    }
    CControlBar::LayOutIn(layout);
}

size_t CDockBar::LayoutRow(size_t first, int rowStart, int& rowDepth, int& rowLength, HDWP& batch)
{
    bool horz = IsHorizontal();
    DWORD mode = horz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK;

    // Measuring may break the row (a sizing bar shares the row's length), so the sizes are
    // taken first and the row end is looked up afterwards.
    std::map<CControlBar*, SIZE> sizes;
    for (size_t i = first; i < m_arrBars.size() && !m_arrBars[i].IsRowEnd(); ++i) {
        CControlBar* bar = m_arrBars[i].pBar;
        if (!bar || !bar->IsVisible())
            continue;
        sizes[bar] = bar->CalcDynamicLayout(-1, mode);
        i = static_cast<size_t>(FindBar(bar));
    }

    int along = -kRowOverlap;
    rowDepth = 0;
    rowLength = 0;
    size_t i = first;
    for (; i < m_arrBars.size() && !m_arrBars[i].IsRowEnd(); ++i) {
        CControlBar* bar = m_arrBars[i].pBar;
        if (!bar || !bar->IsVisible() || !sizes.count(bar))
            continue;
        SIZE size = sizes[bar];
        RECT current = RectInParent(bar->GetSafeHwnd());
        int currentAlong = horz ? current.left : current.top;
        int currentAcross = horz ? current.top : current.left;
        int start = std::max(currentAlong, along);
        int across = std::clamp(currentAcross, rowStart - kRowOverlap, rowStart);
        int length = horz ? size.cx : size.cy;
        int depth = horz ? size.cy : size.cx;
        RECT place = horz ? RECT{start, across, start + length, across + depth}
                          : RECT{across, start, across + depth, start + length};
        if (batch)
            batch = DeferPlacement(batch, bar->GetSafeHwnd(), place);
        along = start + length - kRowOverlap;
        rowLength = std::max(rowLength, start + length);
        rowDepth = std::max(rowDepth, across + depth - rowStart);
    }
    return i;
}

SIZE CDockBar::LayoutFloating()
{
    for (const DockEntry& entry : m_arrBars) {
        if (entry.pBar)
            entry.pBar->RecalcDelayShow(m_bLayoutQuery ? nullptr : &m_hDeferNone);
    }
    for (const DockEntry& entry : m_arrBars) {
        CControlBar* bar = entry.pBar;
        if (!bar || !bar->IsVisible())
            continue;
        SIZE size = (bar->GetBarStyle() & CBRS_SIZE_DYNAMIC) ? bar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH)
                                                             : bar->CalcFixedLayout(false, true);
        if (!m_bLayoutQuery)
            ::SetWindowPos(bar->GetSafeHwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        return size;
    }
    return SIZE{0, 0};
}

SIZE CDockBar::PlaceFloatingBar()
{
    m_bLayoutQuery = false;
    return LayoutFloating();
}

SIZE CDockBar::CalcFixedLayout(bool stretch, bool horz)
{
    if (m_bFloating)
        return LayoutFloating();

    // Pending shows and hides are applied before the rows are measured.
    HDWP showBatch = m_bLayoutQuery ? nullptr : ::BeginDeferWindowPos(4);
    for (const DockEntry& entry : m_arrBars) {
        if (entry.pBar)
            entry.pBar->RecalcDelayShow(m_bLayoutQuery ? nullptr : &showBatch);
    }
    if (showBatch)
        ::EndDeferWindowPos(showBatch);

    HDWP batch = m_bLayoutQuery ? nullptr : ::BeginDeferWindowPos(4);
    int depth = 0;
    int length = 0;
    for (size_t first = 1; first < m_arrBars.size();) {
        int rowDepth = 0, rowLength = 0;
        size_t rowEnd = LayoutRow(first, depth, rowDepth, rowLength, batch);
        depth += rowDepth;
        length = std::max(length, rowLength);
        first = rowEnd + 1;
    }
    if (batch)
        ::EndDeferWindowPos(batch);
    if (horz)
        return SIZE{stretch ? 32767 : length, depth};
    return SIZE{depth, stretch ? 32767 : length};
}

// A floating dock bar is given its bar's new title; its frame takes it at the next layout.
void CDockBar::OnSetText(const wchar_t* text)
{
    CControlBar::OnSetText(text);
    if (m_bFloating) {
        if (auto* frame = dynamic_cast<CFrameWnd*>(GetParent()))
            frame->DelayRecalcLayout();
    }
}
