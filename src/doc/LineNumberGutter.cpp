// The line numbers left of the editor's text.
#include "doc/LineNumberGutter.h"

#include "framework/Handles.h"

#include <algorithm>
#include <string>

namespace {
constexpr int kPadLeft = 4;
constexpr int kPadRight = 6;
// Room for two digits at least, so that short files do not shift the text at line 10.
constexpr int kMinDigits = 2;

int DigitsOf(int number)
{
    return static_cast<int>(std::to_wstring(number).size());
}
}

void CLineNumberGutter::Attach(HWND edit)
{
    m_hEdit = edit;
    m_nTextMargin = LOWORD(Send(EM_GETMARGINS));
    m_nAppliedMargin = m_nTextMargin;
    UpdateWidth();
}

void CLineNumberGutter::Show(bool shown)
{
    if (m_bShown == shown)
        return;
    m_bShown = shown;
    UpdateWidth();
}

HFONT CLineNumberGutter::Font() const
{
    auto font = reinterpret_cast<HFONT>(Send(WM_GETFONT));
    return font ? font : static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
}

int CLineNumberGutter::LineHeight() const
{
    WindowDc dc = WindowDc::Client(m_hEdit);
    SelectGuard select(dc.get(), Font());
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc.get(), &tm);
    return std::max(1, static_cast<int>(tm.tmHeight));
}

void CLineNumberGutter::UpdateWidthFor(int lineCount)
{
    if (!m_hEdit)
        return;
    int width = 0;
    if (m_bShown) {
        const std::wstring widest(static_cast<size_t>(std::max(kMinDigits, DigitsOf(lineCount))), L'0');
        WindowDc dc = WindowDc::Client(m_hEdit);
        SelectGuard select(dc.get(), Font());
        SIZE size{};
        ::GetTextExtentPoint32W(dc.get(), widest.c_str(), static_cast<int>(widest.size()), &size);
        width = kPadLeft + size.cx + kPadRight;
    }
    m_nWidth = width;
    const int margin = width + m_nTextMargin;

    if (margin == m_nAppliedMargin)
        return;
    m_nAppliedMargin = margin;
    Send(EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(static_cast<WORD>(margin), 0));
    ::InvalidateRect(m_hEdit, nullptr, TRUE);
}

CLineNumberGutter::Rows CLineNumberGutter::VisibleRows() const
{
    RECT format{};
    Send(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    return Rows{static_cast<int>(Send(EM_GETFIRSTVISIBLELINE)), static_cast<int>(format.top), LineHeight()};
}

std::vector<CLineNumberGutter::Number> CLineNumberGutter::VisibleNumbers() const
{
    std::vector<Number> numbers;
    if (!m_hEdit)
        return numbers;
    const Rows rows = VisibleRows();
    RECT client{};
    ::GetClientRect(m_hEdit, &client);
    const auto firstChar = static_cast<size_t>(std::max<LRESULT>(0, Send(EM_LINEINDEX, static_cast<WPARAM>(rows.nFirst))));
    int line = m_lines.LineOf(firstChar);
    // A line that began above the first visible row has its number up there.
    if (m_lines.StartOf(line) < firstChar)
        ++line;
    // Without wrapped lines every source line is one screen row, and the control need not be
    // asked about each (each question costs under Wine, and this runs at every paint).
    const int count = m_lines.Count();
    const bool rowPerLine = Send(EM_GETLINECOUNT) == count;
    for (; line < count; ++line) {
        const int row = rowPerLine ? line : static_cast<int>(Send(EM_LINEFROMCHAR, m_lines.StartOf(line)));

        const int y = rows.nTop + (row - rows.nFirst) * rows.nLineHeight;
        if (y >= client.bottom)
            break;
        numbers.push_back(Number{line + 1, y});
    }
    return numbers;
}

int CLineNumberGutter::LineAt(int y) const
{
    const Rows rows = VisibleRows();
    const int row = rows.nFirst + std::max(0, y - rows.nTop) / rows.nLineHeight;
    const LRESULT start = Send(EM_LINEINDEX, static_cast<WPARAM>(row));
    return start < 0 ? m_lines.Count() - 1 : m_lines.LineOf(static_cast<size_t>(start));
}

void CLineNumberGutter::Paint(HDC dc) const
{
    if (!m_bShown || !m_hEdit)
        return;
    RECT client{};
    ::GetClientRect(m_hEdit, &client);
    RECT strip{0, 0, m_nWidth, client.bottom};
    ::FillRect(dc, &strip, ::GetSysColorBrush(COLOR_BTNFACE));
    SelectGuard font(dc, Font());
    BkModeGuard mode(dc, TRANSPARENT);
    TextColorGuard color(dc, ::GetSysColor(COLOR_GRAYTEXT));
    const int lineHeight = LineHeight();
    for (const Number& number : VisibleNumbers()) {
        const std::wstring text = std::to_wstring(number.nLine);
        RECT cell{0, number.y, m_nWidth - kPadRight, number.y + lineHeight};
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &cell, DT_RIGHT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
    m_nPaintedFirstRow = static_cast<int>(Send(EM_GETFIRSTVISIBLELINE));
}

void CLineNumberGutter::Invalidate() const
{
    if (!m_bShown || !m_hEdit)
        return;
    RECT client{};
    ::GetClientRect(m_hEdit, &client);
    RECT strip{0, 0, m_nWidth, client.bottom};
    ::InvalidateRect(m_hEdit, &strip, FALSE);
}

void CLineNumberGutter::FollowScrolling()
{
    if (m_bShown && m_hEdit && Send(EM_GETFIRSTVISIBLELINE) != m_nPaintedFirstRow)
        Invalidate();
}
