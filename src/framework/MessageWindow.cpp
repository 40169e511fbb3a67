// Windows for messages alone.
#include "framework/MessageWindow.h"

bool CMessageWindow::Create(UINT message, std::function<void()> handler)
{
    m_nMessage = message;
    m_onMessage = std::move(handler);
    return CreateEx(0, RegisterWndClass(0), "", 0, RECT{}, HWND_MESSAGE, 0);
}

LRESULT CMessageWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == m_nMessage && m_onMessage) {
        m_onMessage();
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
