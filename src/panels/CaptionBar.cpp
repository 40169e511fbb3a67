// The captioned docking panel.
#include "panels/CaptionBar.h"

#include "framework/AfxRes.h"
#include "framework/Drawing.h"
#include "framework/Handles.h"
#include "framework/Unicode.h"
#include "framework/docking/CFrameWnd.h"

CCaptionBar::CCaptionBar() : CResizableBar(SZBS_FILL_CHILD) {}

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
    if (m_bTitled) {
        rect.top += kTitleSize;
        origin = POINT{rect.right - CCaptionButton::kSize - 2, rect.top - kTitleSize + (kTitleSize - CCaptionButton::kSize) / 2};
    } else if (dockBarId == AFX_IDW_DOCKBAR_TOP || dockBarId == AFX_IDW_DOCKBAR_BOTTOM) {
        rect.left += kCaptionSize;
        origin = POINT{rect.left - 14, rect.top};
    } else {
        rect.top += kCaptionSize;
        origin = POINT{rect.right - 12, rect.top - 14};
    }
    m_closeButton.Move(POINT{origin.x - before.left, origin.y - before.top});
}

void CCaptionBar::PaintCaptionArea(HDC dc, const RECT& clientRect)
{
    if (!HasCaption())
        return;
    if (m_bTitled) {
        PaintTitle(dc, clientRect);
        return;
    }
    RECT g = clientRect;
    ::InflateRect(&g, -1, -1);
    bool horz = IsDockedHorz();
    if (horz) {
        g.left -= kCaptionSize;
        g.right = g.left + 3;
        g.top = m_closeButton.GetOrigin().y + 16;
    } else {
        g.top -= kCaptionSize;
        g.bottom = g.top + 3;
        g.right = m_closeButton.GetOrigin().x - 3;
    }
    COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    Draw3dFrame(dc, g, highlight, shadow);
    ::OffsetRect(&g, horz ? 3 : 0, horz ? 0 : 3);
    Draw3dFrame(dc, g, highlight, shadow);
    m_closeButton.Paint(dc);
}

void CCaptionBar::PaintTitle(HDC dc, const RECT& clientRect)
{
    const RECT strip{clientRect.left, clientRect.top - kTitleSize, clientRect.right, clientRect.top - 1};
    ::FillRect(dc, &strip, ::GetSysColorBrush(COLOR_INACTIVECAPTION));
    RECT text = strip;
    text.left += 4;
    text.right = m_closeButton.GetOrigin().x - 2;
    const std::wstring title = Widen(GetWindowText());
    SelectGuard font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    BkModeGuard mode(dc, TRANSPARENT);
    TextColorGuard color(dc, ::GetSysColor(COLOR_INACTIVECAPTIONTEXT));
    ::DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &text,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
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

void CCaptionBar::OnUpdateCmdUI(CCmdTarget*, bool)
{
    if (!HasCaption())
        return;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    bool over = OnNcHitTest(cursor) == HTCLOSE;
    bool down = ::GetKeyState(VK_LBUTTON) < 0;
    bool pushed = over && down;
    bool raised = over && !down;
    if (m_closeButton.SetState(pushed, raised))
        SendMessage(WM_NCPAINT);
}

void CCaptionBar::OnNcLButtonUp(UINT hitTest, POINT screenPoint)
{
    if (hitTest == HTCLOSE && GetDockSite())
        GetDockSite()->ShowControlBar(this, false, false);
    CResizableBar::OnNcLButtonUp(hitTest, screenPoint);
}

// The caption strip shows no title, but a new one redraws it all the same.
void CCaptionBar::OnSetText(const wchar_t* text)
{
    CResizableBar::OnSetText(text);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}
