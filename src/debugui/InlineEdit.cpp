// The edit box over a pane's value.
#include "debugui/InlineEdit.h"

#include <commctrl.h>

void CInlineEdit::Begin(CWnd& parent, const RECT& place, HFONT font, const std::string& text,
                        std::function<void(const std::string&)> commit)
{
    if (!m_hWnd && !CreateEx(0, "EDIT", "", WS_CHILD | WS_BORDER | ES_AUTOHSCROLL | ES_UPPERCASE, place,
                             parent.GetSafeHwnd(), 0))
        return;
    m_commit = std::move(commit);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    MoveWindow(place);
    SetWindowText(text);
    SendMessage(EM_SETSEL, 0, -1);
    ShowWindow(SW_SHOW);
    ::SetFocus(m_hWnd);
}

void CInlineEdit::Cancel()
{
    if (!IsEditing())
        return;
    m_commit = nullptr;
    ShowWindow(SW_HIDE);
    if (CWnd* parent = GetParent())
        ::SetFocus(parent->GetSafeHwnd());
}

LRESULT CInlineEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | CWnd::WindowProc(message, wParam, lParam);
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            // The value goes first; the pane then shows it as the machine took it.
            auto commit = std::move(m_commit);
            const std::string text = GetWindowText();
            Cancel();
            if (commit)
                commit(text);
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            Cancel();
            return 0;
        }
        break;
    case WM_CHAR:
        // Enter and Escape are taken at their key; the edit control would only beep.
        if (wParam == L'\r' || wParam == 0x1B)
            return 0;
        break;
    case WM_KILLFOCUS:
        if (IsWindowVisible()) {
            m_commit = nullptr;
            ShowWindow(SW_HIDE);
        }
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
