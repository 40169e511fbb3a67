// The device's picture and text.
#include "debugui/DeviceView.h"

#include "debugui/PaneView.h"
#include "doshost/PictureDrawing.h"
#include "framework/Handles.h"

#include <algorithm>

bool CDeviceView::Create(CWnd& parent, UINT id, HFONT font)
{
    m_hFont = font;
    const char* className = RegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
    return CreateEx(WS_EX_CLIENTEDGE, className, "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 100, 100}, parent.GetSafeHwnd(), id);
}

void CDeviceView::Show(const PaneContent& content)
{
    if (content.text.text == m_strBytes && content.image == m_picture)
        return;
    m_strBytes = content.text.text;
    m_picture = content.image;
    m_strText = CPaneView::Decode(m_strBytes, CP_OEMCP);
    if (m_strText.size() >= 2 && m_strText.compare(m_strText.size() - 2, 2, L"\r\n") == 0)
        m_strText.resize(m_strText.size() - 2);
    Invalidate(false);
}

RECT CDeviceView::PictureRect(const RECT& client, int textHeight) const
{
    if (m_picture.kind != machine::ScreenImage::Kind::Pixels || m_picture.width <= 0 || m_picture.height <= 0)
        return RECT{};
    const int roomWidth = std::max(1, static_cast<int>(client.right) - 4);
    const int roomHeight = std::max(1, static_cast<int>(client.bottom) - textHeight - 4);
    int width = roomWidth;
    int height = width * m_picture.height / m_picture.width;
    if (height > roomHeight) {
        height = roomHeight;
        width = height * m_picture.width / m_picture.height;
    }
    return RECT{2, 2, 2 + width, 2 + height};
}

void CDeviceView::Paint(HDC dc, const RECT& client) const
{
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
    SelectGuard font(dc, m_hFont);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    const int lines = m_strText.empty() ? 0 : static_cast<int>(std::count(m_strText.begin(), m_strText.end(), L'\n')) + 1;
    const int textHeight = lines * metrics.tmHeight;
    const RECT picture = PictureRect(client, textHeight);
    m_rcPicture = picture;
    if (picture.right > picture.left)
        dos::DrawPicture(dc, picture, m_picture);
    BkModeGuard mode(dc, TRANSPARENT);
    TextColorGuard color(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    RECT text{4, std::max<LONG>(picture.bottom + 2, client.bottom - textHeight - 2), client.right - 2, client.bottom};
    if (picture.right <= picture.left)
        text.top = 2;
    ::DrawTextW(dc, m_strText.c_str(), static_cast<int>(m_strText.size()), &text, DT_LEFT | DT_NOPREFIX);
}

void CDeviceView::Point(machine::DeviceInput::Action action, POINT point)
{
    const LONG width = m_rcPicture.right - m_rcPicture.left;
    const LONG height = m_rcPicture.bottom - m_rcPicture.top;
    if (!m_onInput || width <= 0 || height <= 0)
        return;
    machine::DeviceInput input{action, true, 0, 0, 0};
    input.x = static_cast<int>((point.x - m_rcPicture.left) * m_picture.width / width);
    input.y = static_cast<int>((point.y - m_rcPicture.top) * m_picture.height / height);
    m_onInput(input);
}

void CDeviceView::Key(machine::DeviceInput::Action action, WPARAM virtualKey)
{
    const UINT character = ::MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_CHAR) & 0xFFFF;
    if (m_onInput && character > ' ' && character < 0x7F)
        m_onInput(machine::DeviceInput{action, false, 0, 0, static_cast<char>(character)});
}

void CDeviceView::OnLButtonDown(UINT, POINT point)
{
    ::SetFocus(m_hWnd);
    ::SetCapture(m_hWnd);
    m_bHeld = true;
    Point(machine::DeviceInput::Action::Press, point);
}

void CDeviceView::OnLButtonUp(UINT, POINT)
{
    if (m_bHeld)
        ::ReleaseCapture();
}

// The key goes up with the capture, wherever the button is let go or whatever took the capture.
void CDeviceView::OnCaptureChanged(HWND)
{
    if (!m_bHeld)
        return;
    m_bHeld = false;
    Point(machine::DeviceInput::Action::Release, POINT{});
}

void CDeviceView::OnRButtonDown(UINT, POINT point)
{
    ::SetFocus(m_hWnd);
    Point(machine::DeviceInput::Action::Toggle, point);
}

LRESULT CDeviceView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTCHARS;
    case WM_KEYDOWN: Key(machine::DeviceInput::Action::Press, wParam); return 0;
    case WM_KEYUP: Key(machine::DeviceInput::Action::Release, wParam); return 0;
    case WM_CHAR: return 0;
    }
    return CBufferedView::WindowProc(message, wParam, lParam);
}
