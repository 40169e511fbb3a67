// The captioned docking panel.
#include "panels/CaptionBar.h"

#include "framework/AfxRes.h"
#include "framework/CFrameWnd.h"
#include "framework/Drawing.h"

CCaptionBar::CCaptionBar()
{
    m_dwSizingStyle &= ~(SZBS_EDGE_LEFT | SZBS_EDGE_RIGHT | SZBS_EDGE_TOP | SZBS_EDGE_BOTTOM);
    m_dwSizingStyle |= SZBS_FILL_CHILD;
}

bool CCaptionBar::HasCaption() const
{
    return !IsUndocked();
}

void CCaptionBar::CalcClientArea(RECT& rect, UINT dockBarId)
{
    const RECT before = rect;
    CResizableBar::CalcClientArea(rect, dockBarId);
    if (!HasCaption())
        return;
    POINT origin;
    if (dockBarId == AFX_IDW_DOCKBAR_TOP || dockBarId == AFX_IDW_DOCKBAR_BOTTOM) {
        rect.left += m_nCaptionSize;
        origin = POINT{rect.left - 14, rect.top};
    } else {
        rect.top += m_nCaptionSize;
        origin = POINT{rect.right - 12, rect.top - 14};
    }
    m_closeButton.Move(POINT{origin.x - before.left, origin.y - before.top});
}

void CCaptionBar::PaintCaptionArea(HDC dc, const RECT& clientRect)
{
    if (!HasCaption())
        return;
    RECT g = clientRect;
    ::InflateRect(&g, -1, -1);
    bool horz = IsDockedHorz();
    if (horz) {
        g.left -= m_nCaptionSize;
        g.right = g.left + 3;
        g.top = m_closeButton.m_ptOrigin.y + 16;
    } else {
        g.top -= m_nCaptionSize;
        g.bottom = g.top + 3;
        g.right = m_closeButton.m_ptOrigin.x - 3;
    }
    COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    Draw3dFrame(dc, g, highlight, shadow);
    ::OffsetRect(&g, horz ? 3 : 0, horz ? 0 : 3);
    Draw3dFrame(dc, g, highlight, shadow);
    m_closeButton.Paint(dc);
}

LRESULT CCaptionBar::OnNcHitTest(POINT screenPoint)
{
    LRESULT hit = CResizableBar::OnNcHitTest(screenPoint);
    if (hit != HTCLIENT || !HasCaption())
        return hit;
    RECT button = m_closeButton.GetRect();
    RECT window = GetWindowRect();
    ::OffsetRect(&button, window.left, window.top);
    return ::PtInRect(&button, screenPoint) ? HTCLOSE : HTCLIENT;
}

void CCaptionBar::OnUpdateCmdUI(CFrameWnd*, bool)
{
    if (!HasCaption())
        return;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    bool over = OnNcHitTest(cursor) == HTCLOSE;
    bool down = ::GetKeyState(VK_LBUTTON) < 0;
    bool pushed = over && down;
    bool raised = over && !down;
    if (pushed != m_closeButton.m_bPushed || raised != m_closeButton.m_bRaised) {
        m_closeButton.m_bPushed = pushed;
        m_closeButton.m_bRaised = raised;
        SendMessage(WM_NCPAINT);
    }
}

void CCaptionBar::OnNcLButtonUp(UINT hitTest, POINT screenPoint)
{
    if (hitTest == HTCLOSE && m_pDockSite)
        m_pDockSite->ShowControlBar(this, false, false);
    CResizableBar::OnNcLButtonUp(hitTest, screenPoint);
}

// The caption strip shows no title, but a new one redraws it all the same.
void CCaptionBar::OnSetText(const wchar_t* text)
{
    CResizableBar::OnSetText(text);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}
