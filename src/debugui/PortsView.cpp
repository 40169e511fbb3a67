// The ports as LEDs.
#include "debugui/PortsView.h"

#include "framework/Handles.h"
#include "framework/Unicode.h"

#include <algorithm>
#include <cstdio>

namespace {
const COLORREF kLit = RGB(235, 30, 30);
const COLORREF kDark = RGB(90, 20, 20);

std::string PortsText(const std::array<uint8_t, 4>& ports)
{
    char text[32];
    std::snprintf(text, sizeof text, "P0=%02X P1=%02X P2=%02X P3=%02X", ports[0], ports[1], ports[2], ports[3]);
    return text;
}
}

bool CPortsView::Create(CWnd& parent, UINT id, HFONT font)
{
    m_hFont = font;
    const char* className = RegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
    return CreateEx(WS_EX_CLIENTEDGE, className, PortsText(m_ports).c_str(), WS_CHILD | WS_VISIBLE, RECT{0, 0, 100, 100},
                    parent.GetSafeHwnd(), id);
}

void CPortsView::Show(const std::array<uint8_t, 4>& ports)
{
    if (ports == m_ports)
        return;
    m_ports = ports;
    SetWindowText(PortsText(ports));
    Invalidate(false);
}

void CPortsView::OnPaint()
{
    PaintDc dc(m_hWnd);
    const RECT client = GetClientRect();
    if (client.right <= 0 || client.bottom <= 0)
        return;
    MemDc buffer(dc.get(), client.right, client.bottom);
    Paint(buffer.get(), client);
    ::BitBlt(dc.get(), 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
}

// Four rows, each "Pn", eight LEDs as large as the row allows, and the value in hexadecimal.
void CPortsView::Paint(HDC dc, const RECT& client) const
{
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
    SelectGuard font(dc, m_hFont);
    BkModeGuard mode(dc, TRANSPARENT);
    TextColorGuard color(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    SIZE label{};
    ::GetTextExtentPoint32W(dc, L"P0 ", 3, &label);
    SIZE value{};
    ::GetTextExtentPoint32W(dc, L" FF", 3, &value);
    const int rowHeight = std::max<int>(label.cy, static_cast<int>(client.bottom) / 4);
    const int ledRoom = std::max<int>(4, (client.right - label.cx - value.cx - 8) / 8);
    const int led = std::min(ledRoom, rowHeight) - 4;
    for (unsigned port = 0; port < 4; ++port) {
        const int top = static_cast<int>(port) * rowHeight;
        const int middle = top + rowHeight / 2;
        const std::wstring name = L"P" + std::to_wstring(port);
        ::TextOutW(dc, 4, middle - label.cy / 2, name.c_str(), static_cast<int>(name.size()));
        for (int bit = 7; bit >= 0; --bit) {
            const int left = 4 + label.cx + (7 - bit) * ledRoom;
            const COLORREF fill = (m_ports[port] >> bit) & 1 ? kLit : kDark;
            GdiObject<HBRUSH> brush(::CreateSolidBrush(fill));
            SelectGuard brushGuard(dc, brush.get());
            SelectGuard pen(dc, ::GetStockObject(BLACK_PEN));
            ::Ellipse(dc, left + 2, middle - led / 2, left + 2 + led, middle + led / 2);
        }
        wchar_t hex[4];
        std::swprintf(hex, 4, L"%02X", m_ports[port]);
        ::TextOutW(dc, 4 + label.cx + 8 * ledRoom + 4, middle - label.cy / 2, hex, 2);
    }
}

LRESULT CPortsView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND)
        return 1;
    return CWnd::WindowProc(message, wParam, lParam);
}
