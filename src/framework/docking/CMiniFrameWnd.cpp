// Small floating frames.
#include "framework/docking/CMiniFrameWnd.h"

bool CMiniFrameWnd::Create(const char* title, DWORD style, const RECT& rect, CWnd* owner)
{
    const char* className = RegisterWndClass(CS_DBLCLKS, ArrowCursor(),
                                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateEx(kMiniFrameExStyle, className, title, style, rect, owner ? owner->GetSafeHwnd() : nullptr, 0);
}

// The bar inside decides how small the frame may get, not the system's minimum.
void CMiniFrameWnd::OnGetMinMaxInfo(MINMAXINFO* info)
{
    CFrameWnd::OnGetMinMaxInfo(info);
    info->ptMinTrackSize = POINT{1, 1};
}

LRESULT CMiniFrameWnd::OnNcHitTest(POINT screenPoint)
{
    const LRESULT hit = CFrameWnd::OnNcHitTest(screenPoint);
    if (!(GetStyle() & MFS_4THICKFRAME))
        return hit;
    switch (hit) {
    case HTTOPLEFT:
    case HTBOTTOMLEFT:
        return HTLEFT;
    case HTTOPRIGHT:
    case HTBOTTOMRIGHT:
        return HTRIGHT;
    }
    return hit;
}
