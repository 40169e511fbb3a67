// The page tab control: layout of the tabs, painting, hit testing and the active page.
#include "panels/PageTabCtrl.h"

#include "framework/Drawing.h"
#include "framework/Unicode.h"

#include <algorithm>

namespace {
const UINT kTabStyleMask = 0xF;
const int kStripHeight = 23;
const int kStripInset = 6;
const int kPageInset = 2;

void PlaceWindow(CWnd* wnd, const RECT& rc)
{
    if (wnd && wnd->GetSafeHwnd())
        wnd->MoveWindow(rc, true);
}
}

bool CPageTabCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id, const std::string& fontFace)
{
    m_nTabStyle = style & kTabStyleMask;
    const char* className = RegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ArrowCursor());
    DWORD windowStyle = (style & ~static_cast<DWORD>(kTabStyleMask)) | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (!CWnd::Create(className, "", windowStyle, rect, parent, id))
        return false;
    m_font.reset(::CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_STROKE_PRECIS,
                               CLIP_STROKE_PRECIS, DRAFT_QUALITY, VARIABLE_PITCH | FF_DONTCARE,
                               Widen(fontFace).c_str()));
    return true;
}

void CPageTabCtrl::AddPage(CWnd* window, const std::string& title, UINT icon)
{
    auto entry = std::make_unique<CTabEntry>();
    entry->m_pWnd = window;
    entry->m_strTitle = title;
    if (icon != 0)
        entry->m_hIcon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(icon));
    PlaceWindow(window, GetPageRect());
    m_pageList.push_back(std::move(entry));
}

void CPageTabCtrl::Refresh()
{
    RecalcLayout();
    SetActivePage(m_nActivePage >= 0 ? m_nActivePage : 0);
    Invalidate(true);
}

// The new page is looked up before the old one is hidden, so an index that names no tab
// leaves the active page shown.
void CPageTabCtrl::SetActivePage(int index)
{
    if (index == m_nActivePage)
        return;
    CTabEntry* item = GetPageItem(index);
    if (!item)
        return;
    if (CTabEntry* old = GetPageItem(m_nActivePage); old && old->m_pWnd && old->m_pWnd->GetSafeHwnd())
        old->m_pWnd->ShowWindow(SW_HIDE);
    m_nActivePage = index;
    if (item->m_pWnd && item->m_pWnd->GetSafeHwnd())
        item->m_pWnd->ShowWindow(SW_SHOW);
}

CTabEntry* CPageTabCtrl::GetPageItem(int index) const
{
    if (index < 0 || index >= GetPageCount())
        return nullptr;
    return m_pageList[static_cast<size_t>(index)].get();
}

RECT CPageTabCtrl::GetPageRect() const
{
    RECT rc = GetClientRect();
    return RECT{rc.left + kPageInset, rc.top + kPageInset, rc.right - kPageInset, rc.bottom - kStripHeight};
}

RECT CPageTabCtrl::GetOuterRect() const
{
    RECT rc = GetWindowRect();
    ScreenToClient(&rc);
    return rc;
}

void CPageTabCtrl::RecalcLayout()
{
    if (m_pageList.empty())
        return;
    RECT page = GetPageRect();
    ::InflateRect(&page, -(m_nBorder + 1), -(m_nBorder + 1));
    RECT outer = GetOuterRect();
    RECT strip{outer.left + kStripInset, outer.bottom - kStripHeight, outer.right - kStripInset, outer.bottom - 1};

    WindowDc dc = WindowDc::Whole(m_hWnd);
    SelectGuard font(dc.get(), m_font.get());
    int x = strip.left;
    int total = 0;
    for (auto& item : m_pageList) {
        int width = item->GetWidth(dc.get());
        total += width;
        item->m_rect = RECT{x, strip.top, x + width - 1, strip.bottom};
        x += width;
        PlaceWindow(item->m_pWnd, page);
    }
    // Natural widths overflow the strip: tabs wider than an equal share are cut to that share.
    int stripWidth = strip.right - strip.left;
    if (total <= stripWidth)
        return;
    int share = stripWidth / GetPageCount();
    x = strip.left;
    for (auto& item : m_pageList) {
        int width = std::min(item->GetWidth(dc.get()), share);
        item->m_rect = RECT{x, strip.top, x + width, strip.bottom};
        x += width + 1;
    }
}

void CPageTabCtrl::Paint(HDC dc) const
{
    SelectGuard font(dc, m_font.get());
    BkModeGuard mode(dc, TRANSPARENT);
    DrawBorder(dc);
    for (int i = 0; i < GetPageCount(); ++i)
        m_pageList[static_cast<size_t>(i)]->Draw(dc, m_nTabStyle, i == m_nActivePage);
}

void CPageTabCtrl::DrawBorder(HDC dc) const
{
    if (m_nBorder == 1)
        Draw3dFrame(dc, GetPageRect(), RGB(255, 255, 255), RGB(0, 0, 0));
}

void CPageTabCtrl::OnPaint()
{
    PaintDc dc(m_hWnd);
    Paint(dc.get());
}

bool CPageTabCtrl::OnEraseBkgnd(HDC dc)
{
    RECT outer = GetOuterRect();
    ::FillRect(dc, &outer, ::GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

void CPageTabCtrl::OnPrintClient(HDC dc, UINT flags)
{
    if (flags & PRF_ERASEBKGND)
        OnEraseBkgnd(dc);
    Paint(dc);
}

void CPageTabCtrl::OnLButtonDown(UINT flags, POINT pt)
{
    for (int i = 0; i < GetPageCount(); ++i) {
        if (::PtInRect(&m_pageList[static_cast<size_t>(i)]->m_rect, pt)) {
            SetActivePage(i);
            Invalidate(true);
            break;
        }
    }
    CWnd::OnLButtonDown(flags, pt);
}

void CPageTabCtrl::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    RecalcLayout();
    Invalidate(true);
}

void CPageTabCtrl::OnSysColorChange()
{
    CTabEntry::OnSysColorChange();
    Invalidate(true);
    CWnd::OnSysColorChange();
}
