// The output panel's text window.
#include "frame/OutputWindow.h"

#include "framework/AfxRes.h"
#include "framework/Handles.h"
#include "resource.h"
#include "text/SyntaxColors.h"
#include "text/TextControl.h"

namespace {
// A visible read-only multi-line child with both scroll bars, scrolling on its own in both
// directions, that takes Enter.
constexpr DWORD kOutputStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                               ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN;
// How much of the highlight colour marks the message chosen last, out of 256.
constexpr int kChosenTint = 64;

// The colours of the kinds of lines, readable on the window's colour.
COLORREF ColorOf(OutputLineKind kind)
{
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    switch (kind) {
    case OutputLineKind::Error:
    case OutputLineKind::Failed:
        return ReadableColor(RGB(200, 0, 0), window, text);
    case OutputLineKind::Warning:
        return ReadableColor(RGB(150, 95, 0), window, text);
    case OutputLineKind::Succeeded:
        return ::GetSysColor(COLOR_GRAYTEXT);
    case OutputLineKind::Plain:
        break;
    }
    return CLR_INVALID;
}
}

bool COutputWindow::Create(CWnd& parent, UINT id)
{
    CTextControl::RegisterWindowClass();
    HWND wnd = ::CreateWindowExW(WS_EX_CLIENTEDGE, CTextControl::kClassName, L"", kOutputStyle, 0, 0, 0, 0,
                                 parent.GetSafeHwnd(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                 ::GetModuleHandleW(nullptr), nullptr);
    if (!wnd || !SubclassWindow(wnd))
        return false;
    CTextControl& control = Control();
    control.ShowLineNumbers(false);
    control.ShowSyntaxColors(false);
    // No limit of its own: tools may print a lot.
    ::SendMessageW(m_hWnd, EM_SETLIMITTEXT, 0, 0);
    control.SetLineStyle([this](size_t line) {
        LineStyle style;
        if (m_kinds)
            style.color = ColorOf(m_kinds(line));
        if (line == m_nHighlighted)
            style.background = MixColors(::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_HIGHLIGHT), kChosenTint);
        return style;
    });
    return true;
}

CTextControl& COutputWindow::Control() const
{
    return *CTextControl::FromHandle(m_hWnd);
}

void COutputWindow::SetLineKinds(std::function<OutputLineKind(size_t line)> kinds)
{
    m_kinds = std::move(kinds);
}

void COutputWindow::Clear()
{
    m_nHighlighted = kNoLine;
    ::SetWindowTextW(m_hWnd, L"");
}

void COutputWindow::SetMarks(std::vector<LineMark> marks, std::function<void(size_t)> onClick)
{
    Control().SetMarks(std::move(marks));
    Control().SetMarkClickHandler(std::move(onClick));
}

std::wstring COutputWindow::GetText() const
{
    return std::wstring(Control().Text());
}

void COutputWindow::Append(std::wstring_view text)
{
    Control().Append(text);
}

void COutputWindow::SelectRange(size_t offset, size_t length)
{
    SendMessage(EM_SETSEL, offset, static_cast<LPARAM>(offset + length));
    SendMessage(EM_SCROLLCARET);
}

void COutputWindow::HighlightLine(size_t line)
{
    const size_t before = std::exchange(m_nHighlighted, line);
    for (size_t changed : {before, line}) {
        if (changed != kNoLine)
            Control().RestyleLines(changed, changed);
    }
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

void COutputWindow::OnContextMenu(HWND, POINT point)
{
    if (point.x == -1 && point.y == -1) {
        point = POINT{0, 0};
        ClientToScreen(&point);
    }
    UniqueMenu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_OUTPUT_MENU)));
    HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup)
        return;
    const auto [start, end] = EditSelectionOf(m_hWnd);
    const bool empty = Control().Buffer().Length() == 0;
    ::EnableMenuItem(popup, ID_EDIT_COPY, MF_BYCOMMAND | (start == end ? MF_GRAYED : MF_ENABLED));
    ::EnableMenuItem(popup, ID_EDIT_SELECT_ALL, MF_BYCOMMAND | (empty ? MF_GRAYED : MF_ENABLED));
    ::EnableMenuItem(popup, ID_OUTPUT_CLEAR, MF_BYCOMMAND | (empty ? MF_GRAYED : MF_ENABLED));
    switch (::TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, point.x, point.y, 0, m_hWnd,
                             nullptr)) {
    case ID_EDIT_COPY:
        SendMessage(WM_COPY);
        break;
    case ID_EDIT_SELECT_ALL:
        SendMessage(EM_SETSEL, 0, -1);
        break;
    case ID_OUTPUT_CLEAR:
        Clear();
        if (m_onClear)
            m_onClear();
        break;
    }
}
