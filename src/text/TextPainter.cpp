// Painting the visible lines.
#include "text/TextPainter.h"

#include "framework/Handles.h"
#include "text/AsmLexer.h"
#include "text/SyntaxColors.h"

#include <algorithm>

namespace {
// How much of the highlight colour tints the caret's line, out of 256.
constexpr int kCurrentLineTint = 20;

void Fill(HDC dc, const RECT& rect, COLORREF color)
{
    BkColorGuard background(dc, color);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}
}

CTextPainter::Colors CTextPainter::SystemColors()
{
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    return Colors{window, ::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_HIGHLIGHT),
                  ::GetSysColor(COLOR_HIGHLIGHTTEXT), MixColors(window, ::GetSysColor(COLOR_HIGHLIGHT), kCurrentLineTint)};
}

void CTextPainter::Paint(HDC dc, const RECT& update, const State& state)
{
    const Colors colors = SystemColors();
    SelectGuard font(dc, m_metrics.Font() ? static_cast<HGDIOBJ>(m_metrics.Font()) : ::GetStockObject(SYSTEM_FONT));
    const int lineHeight = m_metrics.LineHeight();
    m_gutter.Paint(dc, update, m_viewport, Text().LineCount(), lineHeight);
    m_marks.Paint(dc, update, m_viewport, lineHeight);

    RECT area = m_viewport.TextArea();
    if (!::IntersectRect(&area, &area, &update))
        return;
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    // The strip above the first line, as the edit control leaves it.
    Fill(dc, RECT{area.left, area.top, area.right, std::min<LONG>(area.bottom, CTextViewport::kTextInset)}, colors.window);
    int top = CTextViewport::kTextInset;
    for (size_t line = m_viewport.LineAtY(area.top); line < Text().LineCount(); ++line) {
        top = m_viewport.LineTop(line);
        if (top >= area.bottom)
            break;
        PaintLine(dc, line, RECT{area.left, top, area.right, top + lineHeight}, state, colors);
        top += lineHeight;
    }
    if (top < area.bottom)
        Fill(dc, RECT{area.left, std::max<LONG>(top, area.top), area.right, area.bottom}, colors.window);
    ::RestoreDC(dc, saved);
}

void CTextPainter::PaintLine(HDC dc, size_t line, const RECT& band, const State& state, const Colors& colors)
{
    const size_t lineStart = Text().LineStart(line);
    const int left = m_viewport.TextLeft();
    // Only as much of a line as can reach the window's right edge is taken and measured, so a
    // line of a megabyte costs what shows of it: no character is narrower than a pixel but for
    // control characters, which are rare.
    const size_t room = static_cast<size_t>(std::max<LONG>(0, band.right - left)) * 2 + 256;
    const size_t lineEnd = std::min(Text().LineEnd(line), lineStart + room);
    const bool whole = lineEnd == Text().LineEnd(line);
    const std::wstring text = Text().Text(lineStart, lineEnd);
    const size_t caretLine = Text().LineFromPosition(state.selection.nCaret);
    const LineStyle style = state.lineStyle ? (*state.lineStyle)(line) : LineStyle{};
    const COLORREF background = style.background != CLR_INVALID ? style.background
                                : line == caretLine            ? colors.currentLine
                                                               : colors.window;
    Fill(dc, band, background);

    m_metrics.Advances(text, m_advances);
    m_lefts.assign(text.size() + 1, 0);
    for (size_t i = 0; i < text.size(); ++i)
        m_lefts[i + 1] = m_lefts[i] + m_advances[i];

    // The selected part of the line; a selected line break shows as a blank after the text.
    const size_t selStart = std::clamp(state.selection.Start(), lineStart, lineEnd) - lineStart;
    const size_t selEnd = std::clamp(state.selection.End(), lineStart, lineEnd) - lineStart;
    const bool breakSelected = whole && state.selection.Start() <= lineEnd && state.selection.End() > lineEnd;
    if (selStart < selEnd || breakSelected) {
        const int breakWidth = breakSelected ? m_metrics.AverageWidth() : 0;
        Fill(dc, RECT{left + m_lefts[selStart], band.top, left + m_lefts[selEnd] + breakWidth, band.bottom},
             colors.selection);
    }
    SplitIntoRuns(text, selStart, selEnd, state, colors, style.color != CLR_INVALID ? style.color : colors.text, m_runs);
    DrawRuns(dc, text, band.top, band, m_runs);
}

void CTextPainter::SplitIntoRuns(std::wstring_view text, size_t selStart, size_t selEnd, const State& state,
                                 const Colors& colors, COLORREF textColor, std::vector<Run>& runs) const
{
    runs.clear();
    std::vector<Token> tokens;
    if (state.syntax)
        tokens = LexLine(text, *state.syntax);
    size_t token = 0;
    size_t pos = 0;
    // Tabs and other control characters are room or nothing, never a glyph.
    auto isControl = [](wchar_t c) { return c < L' '; };
    while (pos < text.size()) {
        if (isControl(text[pos])) {
            ++pos;
            continue;
        }
        while (token < tokens.size() && tokens[token].nStart + tokens[token].nLength <= pos)
            ++token;
        const bool inToken = token < tokens.size() && tokens[token].nStart <= pos;
        size_t end = inToken ? tokens[token].nStart + tokens[token].nLength
                             : (token < tokens.size() ? tokens[token].nStart : text.size());
        const bool selected = pos >= selStart && pos < selEnd;
        end = std::min(end, selected ? selEnd : (pos < selStart ? selStart : text.size()));
        end = static_cast<size_t>(std::find_if(text.begin() + static_cast<std::ptrdiff_t>(pos),
                                               text.begin() + static_cast<std::ptrdiff_t>(end), isControl) -
                                  text.begin());
        const COLORREF color = selected  ? colors.selectedText
                               : inToken ? ColorOfToken(tokens[token].kind, colors.window, colors.text)
                                         : textColor;
        runs.push_back(Run{pos, end, color});
        pos = end;
    }
}

void CTextPainter::DrawRuns(HDC dc, std::wstring_view text, int y, const RECT& band, const std::vector<Run>& runs)
{
    const int left = m_viewport.TextLeft();
    BkModeGuard mode(dc, TRANSPARENT);
    for (const Run& run : runs) {
        // Only what can be seen is drawn: a long line scrolled far costs its measuring alone.
        if (left + m_lefts[run.nEnd] <= band.left || left + m_lefts[run.nStart] >= band.right)
            continue;
        TextColorGuard color(dc, run.color);
        ::ExtTextOutW(dc, left + m_lefts[run.nStart], y, 0, nullptr, text.data() + run.nStart,
                      static_cast<UINT>(run.nEnd - run.nStart), m_advances.data() + run.nStart);
    }
}
