// The command pane.
#include "debugui/CommandPane.h"

#include <algorithm>

bool CCommandPane::Create(CWnd& parent, UINT id, UINT inputId, UINT outputId, HFONT font)
{
    const char* className = RegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_BTNFACE));
    if (!CreateEx(0, className, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, RECT{0, 0, 100, 100}, parent.GetSafeHwnd(), id))
        return false;
    if (!m_output.Create(*this, outputId, font, true))
        return false;
    m_prompt.CreateEx(0, "STATIC", "-", WS_CHILD | WS_VISIBLE | SS_RIGHT | SS_CENTERIMAGE, RECT{}, m_hWnd, 0);
    m_prompt.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return m_input.Create(*this, inputId, font);
}

void CCommandPane::SetPrompt(const std::string& prompt)
{
    if (m_prompt.GetWindowText() == prompt)
        return;
    m_prompt.SetWindowText(prompt);
    Layout();
}

void CCommandPane::SetCommandHandler(std::function<void(const std::string&)> handler)
{
    m_input.SetEnterHandler([this, handler = std::move(handler)](const std::string& line) {
        m_input.SetWindowText("");
        handler(line);
    });
}

void CCommandPane::EnableInput(bool enabled)
{
    ::EnableWindow(m_input.GetSafeHwnd(), enabled);
}

void CCommandPane::OnSize(UINT, int, int)
{
    Layout();
}

// The line at the bottom, the prompt as wide as its text, the output above.
void CCommandPane::Layout()
{
    const RECT client = GetClientRect();
    const int line = m_output.LineHeight() + 8;
    const int top = std::max<int>(0, client.bottom - line);
    const int promptWidth = static_cast<int>(m_prompt.GetWindowText().size() + 1) * m_output.CharWidth();
    m_output.MoveWindow(RECT{0, 0, client.right, top});
    m_prompt.MoveWindow(RECT{0, top, promptWidth, client.bottom});
    m_input.MoveWindow(RECT{promptWidth, top + 1, client.right, client.bottom - 1});
}
