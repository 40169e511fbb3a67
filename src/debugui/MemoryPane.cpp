// The memory pane.
#include "debugui/MemoryPane.h"

#include "framework/Unicode.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr UINT kAddressId = 1;
constexpr UINT kSpacesId = 2;
constexpr UINT kViewId = 3;
constexpr char kSpaceLetters[] = "ISXC";
constexpr int kLabelWidth = 40;
constexpr int kAddressWidth = 110;
constexpr int kSpacesWidth = 120;
}

bool CMemoryPane::Create(CWnd& parent, UINT id, HFONT font, const std::string& addressLabel,
                         const std::vector<std::string>& spaceNames)
{
    const char* className = RegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_BTNFACE));
    if (!CreateEx(0, className, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, RECT{0, 0, 100, 100}, parent.GetSafeHwnd(), id))
        return false;
    m_label.CreateEx(0, "STATIC", addressLabel.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE, RECT{}, m_hWnd, 0);
    m_label.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    m_address.Create(*this, kAddressId, font);
    m_address.SetWindowText("DS:0000");
    m_address.SetEnterHandler([this](const std::string&) {
        if (m_onChange)
            m_onChange();
    });
    m_spaces.CreateEx(0, "COMBOBOX", "", WS_CHILD | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, RECT{0, 0, kSpacesWidth, 200},
                      m_hWnd, kSpacesId);
    m_spaces.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    for (const std::string& name : spaceNames)
        m_spaces.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(name).c_str()));
    m_spaces.SendMessage(CB_SETCURSEL, 0);
    return m_view.Create(*this, kViewId, font, false);
}

void CMemoryPane::ShowSpaces(bool shown)
{
    if (shown == m_bSpaces)
        return;
    m_bSpaces = shown;
    m_spaces.ShowWindow(shown ? SW_SHOW : SW_HIDE);
    m_address.SetWindowText(shown ? "00" : "DS:0000");
    Layout();
}

std::string CMemoryPane::Expression() const
{
    const std::string typed = m_address.GetWindowText();
    if (!m_bSpaces)
        return typed;
    // A space, a register that points or an expression of the pane's own keeps its form.
    const bool plain = !typed.empty() && typed.find_first_not_of("0123456789abcdefABCDEFhH") == std::string::npos;
    const auto space = static_cast<size_t>(std::clamp<LRESULT>(m_spaces.SendMessage(CB_GETCURSEL), 0, 3));
    return plain ? std::string(1, kSpaceLetters[space]) + ":" + typed : typed;
}

void CMemoryPane::OnSize(UINT, int, int)
{
    Layout();
}

void CMemoryPane::Layout()
{
    const RECT client = GetClientRect();
    const int strip = m_view.LineHeight() + 8;
    m_label.MoveWindow(RECT{2, 2, kLabelWidth, strip - 2});
    m_address.MoveWindow(RECT{kLabelWidth, 2, kLabelWidth + kAddressWidth, strip - 2});
    m_spaces.MoveWindow(RECT{kLabelWidth + kAddressWidth + 4, 2, kLabelWidth + kAddressWidth + 4 + kSpacesWidth, 200});
    m_view.MoveWindow(RECT{0, strip, client.right, std::max<LONG>(strip, client.bottom)});
}

bool CMemoryPane::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == kSpacesId && code == CBN_SELCHANGE) {
        if (m_onChange)
            m_onChange();
        return true;
    }
    return CWnd::OnCommand(id, code, control);
}

LRESULT CMemoryPane::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The pane's text is the bytes'.
    if (message == WM_GETTEXT || message == WM_GETTEXTLENGTH)
        return m_view.SendMessage(message, wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}
