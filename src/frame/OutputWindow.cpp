// The output panel's text window.
#include "frame/OutputWindow.h"

namespace {
// A visible read-only multi-line child with both scroll bars, scrolling on its own in both
// directions, that takes Enter.
constexpr DWORD kOutputStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                               ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN;
}

bool COutputWindow::Create(CWnd& parent, UINT id)
{
    // Created as a Unicode window, the control keeps UTF-16 whatever the system's code page.
    HWND wnd = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", kOutputStyle, 0, 0, 0, 0, parent.GetSafeHwnd(),
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleW(nullptr),
                                 nullptr);
    if (!wnd || !SubclassWindow(wnd))
        return false;
    // No limit of the control's own (its default would cut long output at 30,000 characters).
    ::SendMessageW(m_hWnd, EM_SETLIMITTEXT, 0, 0);
    return true;
}

void COutputWindow::Clear()
{
    ::SetWindowTextW(m_hWnd, L"");
}

int COutputWindow::TextLength() const
{
    return ::GetWindowTextLengthW(m_hWnd);
}

std::wstring COutputWindow::GetText() const
{
    std::wstring text(static_cast<size_t>(TextLength()) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(m_hWnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

void COutputWindow::Append(std::wstring_view text)
{
    if (text.empty())
        return;
    const auto [selStart, selEnd] = EditSelectionOf(m_hWnd);
    const auto end = static_cast<WPARAM>(TextLength());
    const bool following = selStart == selEnd && selEnd == end;
    const LRESULT firstVisible = ::SendMessageW(m_hWnd, EM_GETFIRSTVISIBLELINE, 0, 0);

    const std::wstring appended(text);
    ::SendMessageW(m_hWnd, EM_SETSEL, end, static_cast<LPARAM>(end));
    ::SendMessageW(m_hWnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(appended.c_str()));
    if (following) {
        ::SendMessageW(m_hWnd, EM_SCROLLCARET, 0, 0);
        return;
    }
    ::SendMessageW(m_hWnd, EM_SETSEL, selStart, static_cast<LPARAM>(selEnd));
    const LRESULT scrolledBy = ::SendMessageW(m_hWnd, EM_GETFIRSTVISIBLELINE, 0, 0) - firstVisible;
    ::SendMessageW(m_hWnd, EM_LINESCROLL, 0, -scrolledBy);
}

void COutputWindow::SelectRange(size_t offset, size_t length)
{
    SendMessage(EM_SETSEL, offset, static_cast<LPARAM>(offset + length));
    SendMessage(EM_SCROLLCARET);
}

void COutputWindow::OnLButtonDblClk(UINT flags, POINT point)
{
    CWnd::OnLButtonDblClk(flags, point);
    // The control has selected the word clicked on: its start lies in the clicked line. The
    // mouse must not go on selecting while the message is followed elsewhere.
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (m_onDoubleClick)
        m_onDoubleClick(EditSelectionOf(m_hWnd).first);
}
