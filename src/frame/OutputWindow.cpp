// The output panel's text window.
#include "frame/OutputWindow.h"

namespace {
// A visible read-only multi-line child with both scroll bars, scrolling on its own in both
// directions, that takes Enter.
constexpr DWORD kOutputStyle = 0x503018C4;
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

bool COutputWindow::EndsWithLineBreak() const
{
    const LRESULT lastLine = ::SendMessageW(m_hWnd, EM_GETLINECOUNT, 0, 0) - 1;
    const LRESULT lastLineStart = ::SendMessageW(m_hWnd, EM_LINEINDEX, static_cast<WPARAM>(lastLine), 0);
    return ::SendMessageW(m_hWnd, EM_LINELENGTH, static_cast<WPARAM>(lastLineStart), 0) == 0;
}

void COutputWindow::Append(const std::wstring& text, const std::vector<std::wstring>& lines)
{
    std::wstring all = text;
    bool atLineStart = text.empty() ? EndsWithLineBreak() : text.back() == L'\n';
    for (const std::wstring& line : lines) {
        if (!atLineStart)
            all += L"\r\n";
        all += line + L"\r\n";
        atLineStart = true;
    }
    if (!all.empty())
        ReplaceEnd(all);
}

void COutputWindow::ReplaceEnd(const std::wstring& text)
{
    const auto [selStart, selEnd] = EditSelectionOf(m_hWnd);
    const auto end = static_cast<WPARAM>(TextLength());
    const bool following = selStart == selEnd && selEnd == end;
    const LRESULT firstVisible = ::SendMessageW(m_hWnd, EM_GETFIRSTVISIBLELINE, 0, 0);

    ::SendMessageW(m_hWnd, EM_SETSEL, end, static_cast<LPARAM>(end));
    ::SendMessageW(m_hWnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    if (following) {
        ::SendMessageW(m_hWnd, EM_SCROLLCARET, 0, 0);
        return;
    }
    ::SendMessageW(m_hWnd, EM_SETSEL, selStart, static_cast<LPARAM>(selEnd));
    const LRESULT scrolledBy = ::SendMessageW(m_hWnd, EM_GETFIRSTVISIBLELINE, 0, 0) - firstVisible;
    ::SendMessageW(m_hWnd, EM_LINESCROLL, 0, -scrolledBy);
}

LRESULT COutputWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT) {
        m_index.Reset();
        m_nIndexedLength = 0;
    }
    const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
    if (message == WM_LBUTTONDBLCLK)
        OnDoubleClick();
    return result;
}

void COutputWindow::RefreshIndex()
{
    const int length = TextLength();
    if (length == m_nIndexedLength)
        return;
    m_index.Update(GetText());
    m_nIndexedLength = length;
}

void COutputWindow::OnDoubleClick()
{
    // The control has selected the word clicked on: its start lies in the clicked line. The
    // mouse must not go on selecting while the message is followed elsewhere.
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    const DWORD start = EditSelectionOf(m_hWnd).first;
    RefreshIndex();
    const IndexedMessage* message = m_index.MessageAt(start);
    if (!message)
        return;
    m_index.Visit(*message);
    if (m_onMessage)
        m_onMessage(*message);
}

const IndexedMessage* COutputWindow::NextMessage()
{
    RefreshIndex();
    return m_index.Next();
}

const IndexedMessage* COutputWindow::PreviousMessage()
{
    RefreshIndex();
    return m_index.Previous();
}

MessageCounts COutputWindow::CountMessages()
{
    RefreshIndex();
    return m_index.Counts();
}

void COutputWindow::SelectMessage(const IndexedMessage& message)
{
    const auto end = message.nOffset + message.strLine.size();
    SendMessage(EM_SETSEL, message.nOffset, static_cast<LPARAM>(end));
    SendMessage(EM_SCROLLCARET);
}
