// The mouse in the text control.
#include "text/TextMouse.h"

#include "text/CharacterSteps.h"
#include "text/TextControl.h"

#include <algorithm>
#include <tuple>

namespace {
// How often the text scrolls while a drag is held past the window's edge.
constexpr UINT kScrollIntervalMs = 50;
}

bool CTextMouse::IsOverGutter(POINT point) const
{
    return point.x < m_control.GutterWidth();
}

HCURSOR CTextMouse::CursorAt(POINT point) const
{
    return ::LoadCursorW(nullptr, IsOverGutter(point) ? IDC_ARROW : IDC_IBEAM);
}

void CTextMouse::OnButtonDown(POINT point, bool doubleClick)
{
    HWND wnd = m_control.Window();
    ::SetFocus(wnd);
    ::SetCapture(wnd);
    const CTextViewport& viewport = m_control.Viewport();
    const bool shift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    if (IsOverGutter(point)) {
        m_unit = Unit::Lines;
        const size_t line = viewport.LineAtY(point.y);
        m_nAnchorLine = shift ? m_control.Buffer().LineFromPosition(m_control.Selection().nAnchor) : line;
        m_control.SelectLines(m_nAnchorLine, line);
        return;
    }
    const size_t pos = viewport.PositionAt(point);
    if (doubleClick) {
        m_unit = Unit::Words;
        std::tie(m_nAnchorStart, m_nAnchorEnd) = WordAround(m_control.Buffer(), pos);
        m_control.Select(m_nAnchorStart, m_nAnchorEnd);
        return;
    }
    m_unit = Unit::Characters;
    m_control.MoveCaret(pos, shift);
    m_nAnchorStart = m_nAnchorEnd = m_control.Selection().nAnchor;
}

void CTextMouse::ExtendTo(POINT point)
{
    const CTextViewport& viewport = m_control.Viewport();
    switch (m_unit) {
    case Unit::Lines:
        m_control.SelectLines(m_nAnchorLine, viewport.LineAtY(point.y));
        break;
    case Unit::Words: {
        const auto [start, end] = WordAround(m_control.Buffer(), viewport.PositionAt(point));
        if (start < m_nAnchorStart)
            m_control.Select(m_nAnchorEnd, start);
        else
            m_control.Select(m_nAnchorStart, std::max(end, m_nAnchorEnd));
        m_control.RevealCaret();
        break;
    }
    case Unit::Characters:
        m_control.Select(m_nAnchorStart, viewport.PositionAt(point));
        m_control.RevealCaret();
        break;
    case Unit::None:
        break;
    }
}

void CTextMouse::OnMouseMove(POINT point)
{
    if (m_unit == Unit::None || ::GetCapture() != m_control.Window())
        return;
    const CTextViewport& viewport = m_control.Viewport();
    const bool outside = point.y < 0 || point.y >= viewport.ClientHeight() ||
                         (m_unit != Unit::Lines && (point.x < viewport.GutterWidth() || point.x >= viewport.ClientWidth()));
    if (outside)
        ::SetTimer(m_control.Window(), kScrollTimer, kScrollIntervalMs, nullptr);
    else
        ::KillTimer(m_control.Window(), kScrollTimer);
    ExtendTo(point);
}

void CTextMouse::OnTimer()
{
    POINT point{};
    ::GetCursorPos(&point);
    ::ScreenToClient(m_control.Window(), &point);
    CTextViewport& viewport = m_control.Viewport();
    size_t first = viewport.FirstLine();
    if (point.y < 0 && first > 0)
        --first;
    else if (point.y >= viewport.ClientHeight())
        ++first;
    int x = viewport.XOffset();
    if (point.x < viewport.GutterWidth())
        x -= viewport.TextArea().right / 8;
    else if (point.x >= viewport.ClientWidth())
        x += viewport.TextArea().right / 8;
    m_control.ScrollTo(first, x);
    ExtendTo(point);
}

void CTextMouse::OnButtonUp()
{
    if (::GetCapture() == m_control.Window())
        ::ReleaseCapture();
    OnCaptureLost();
}

void CTextMouse::OnCaptureLost()
{
    m_unit = Unit::None;
    ::KillTimer(m_control.Window(), kScrollTimer);
}

void CTextMouse::OnWheel(short delta)
{
    UINT lines = 3;
    ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const CTextViewport& viewport = m_control.Viewport();
    const long page = static_cast<long>(viewport.PageLines());
    const long perNotch = lines == WHEEL_PAGESCROLL ? page : static_cast<long>(lines);
    m_nWheelRest += delta;
    const long notches = m_nWheelRest / WHEEL_DELTA;
    m_nWheelRest %= WHEEL_DELTA;
    const long long first = static_cast<long long>(viewport.FirstLine()) - notches * perNotch;
    m_control.ScrollTo(static_cast<size_t>(std::max(0LL, first)), viewport.XOffset());
}
