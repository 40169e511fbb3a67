// The memory pane.
#include "debugui/MemoryPane.h"

#include "framework/Unicode.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr UINT kAddressId = 1;
constexpr UINT kSpacesId = 2;
constexpr UINT kViewId = 3;
constexpr int kLabelWidth = 40;
constexpr int kAddressWidth = 110;
constexpr int kSpacesWidth = 120;
}

bool CMemoryPane::Create(CWnd& parent, UINT id, HFONT font, const std::string& addressLabel)
{
    const char* className = RegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_BTNFACE));
    if (!CreateEx(0, className, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, RECT{0, 0, 100, 100}, parent.GetSafeHwnd(), id))
        return false;
    m_label.CreateEx(0, "STATIC", addressLabel.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE, RECT{}, m_hWnd, 0);
    m_label.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    m_address.Create(*this, kAddressId, font);
    m_address.SetEnterHandler([this](const std::string&) {
        if (m_onChange)
            m_onChange();
    });
    m_spaces.CreateEx(0, "COMBOBOX", "", WS_CHILD | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, RECT{0, 0, kSpacesWidth, 200},
                      m_hWnd, kSpacesId);
    m_spaces.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return m_view.Create(*this, kViewId, font, false);
}

void CMemoryPane::Configure(const std::vector<std::string>& spaceNames, const std::string& letters,
                            const std::string& firstAddress)
{
    m_strLetters = letters.substr(0, spaceNames.size());
    m_spaces.SendMessage(CB_RESETCONTENT);
    for (const std::string& name : spaceNames)
        m_spaces.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(name).c_str()));
    m_spaces.SendMessage(CB_SETCURSEL, 0);
    m_spaces.ShowWindow(m_strLetters.empty() ? SW_HIDE : SW_SHOW);
    m_address.SetWindowText(firstAddress);
    Layout();
}

std::string CMemoryPane::Expression() const
{
    const std::string typed = m_address.GetWindowText();
    if (m_strLetters.empty())
        return typed;
    // A space, a register that points or an expression of the pane's own keeps its form.
    const bool plain = !typed.empty() && typed.find_first_not_of("0123456789abcdefABCDEFhH") == std::string::npos;
    const auto last = static_cast<LRESULT>(m_strLetters.size() - 1);
    const auto space = static_cast<size_t>(std::clamp<LRESULT>(m_spaces.SendMessage(CB_GETCURSEL), 0, last));
    return plain ? std::string(1, m_strLetters[space]) + ":" + typed : typed;
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
