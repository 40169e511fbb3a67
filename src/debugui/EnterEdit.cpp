// The one-line edit box that takes Enter.
#include "debugui/EnterEdit.h"

bool CEnterEdit::Create(CWnd& parent, UINT id, HFONT font)
{
    if (!CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, RECT{0, 0, 100, 20},
                  parent.GetSafeHwnd(), id))
        return false;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return true;
}

LRESULT CEnterEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | CWnd::WindowProc(message, wParam, lParam);
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            if (m_onEnter)
                m_onEnter(GetWindowText());
            return 0;
        }
        break;
    case WM_CHAR:
        // Enter was taken at its key; the edit control would only beep.
        if (wParam == L'\r')
            return 0;
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
