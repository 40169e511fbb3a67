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

namespace {
// The view's edge round what it shows, and the gap between the picture and its text.
constexpr LONG kEdge = 2;
constexpr LONG kGap = 6;

// The picture as large as the room allows, its proportions kept: a whole multiple of its size
// when it fits once or more, so that its pixels stay even.
SIZE Fit(SIZE picture, LONG roomWidth, LONG roomHeight)
{
    if (picture.cx <= 0 || picture.cy <= 0 || roomWidth <= 0 || roomHeight <= 0)
        return {0, 0};
    const double scale = std::min(static_cast<double>(roomWidth) / picture.cx, static_cast<double>(roomHeight) / picture.cy);
    if (scale >= 1) {
        const LONG whole = static_cast<LONG>(scale);
        return {picture.cx * whole, picture.cy * whole};
    }
    return {static_cast<LONG>(picture.cx * scale), static_cast<LONG>(picture.cy * scale)};
}
}

CDeviceView::Layout CDeviceView::Arrange(SIZE client, SIZE picture, SIZE text)
{
    const SIZE above = Fit(picture, client.cx - 2 * kEdge, client.cy - text.cy - kGap - kEdge);
    const SIZE beside = Fit(picture, client.cx - text.cx - kGap - 2 * kEdge, client.cy - 2 * kEdge);
    if (text.cy > 0 && beside.cx > above.cx) {
        const RECT shown{kEdge, kEdge, kEdge + beside.cx, kEdge + beside.cy};
        return {shown, RECT{shown.right + kGap, kEdge, client.cx - kEdge, client.cy}};
    }
    const RECT shown{kEdge, kEdge, kEdge + above.cx, kEdge + above.cy};
    return {shown, RECT{2 * kEdge, above.cy > 0 ? shown.bottom + kEdge : kEdge, client.cx - kEdge, client.cy}};
}

SIZE CDeviceView::TextExtent(HDC dc) const
{
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    SIZE extent{0, 0};
    for (size_t start = 0; !m_strText.empty() && start <= m_strText.size();) {
        const size_t end = std::min(m_strText.find(L'\n', start), m_strText.size());
        const size_t length = end - start - (end > start && m_strText[end - 1] == L'\r' ? 1 : 0);
        SIZE line{};
        ::GetTextExtentPoint32W(dc, m_strText.c_str() + start, static_cast<int>(length), &line);
        extent.cx = std::max(extent.cx, line.cx);
        extent.cy += metrics.tmHeight;
        start = end + 1;
    }
    return extent;
}

void CDeviceView::Paint(HDC dc, const RECT& client) const
{
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
    SelectGuard font(dc, m_hFont);
    const bool pixels = m_picture.kind == machine::ScreenImage::Kind::Pixels;
    const Layout layout = Arrange(SIZE{client.right, client.bottom}, pixels ? SIZE{m_picture.width, m_picture.height} : SIZE{},
                                  TextExtent(dc));
    m_rcPicture = layout.picture;
    if (layout.picture.right > layout.picture.left)
        dos::DrawPicture(dc, layout.picture, m_picture);
    BkModeGuard mode(dc, TRANSPARENT);
    TextColorGuard color(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    RECT text = layout.text;
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
