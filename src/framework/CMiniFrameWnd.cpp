// Small floating frames.
#include "framework/CMiniFrameWnd.h"

#include <windowsx.h>

bool CMiniFrameWnd::Create(const char* title, DWORD style, const RECT& rect, CWnd* owner)
{
    const char* className = RegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    m_strTitle = title;
    return CreateEx(kExStyle, className, title, style, rect, owner ? owner->GetSafeHwnd() : nullptr, 0);
}

LRESULT CMiniFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETMINMAXINFO) {
        // The bar inside decides how small the frame may get, not the system's minimum.
        LRESULT result = CFrameWnd::WindowProc(message, wParam, lParam);
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{1, 1};
        return result;
    }
    if (message == WM_NCHITTEST && (GetStyle() & MFS_4THICKFRAME)) {
        LRESULT hit = CFrameWnd::WindowProc(message, wParam, lParam);
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
    return CFrameWnd::WindowProc(message, wParam, lParam);
}
