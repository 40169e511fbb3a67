// The visible part of the text.
#include "text/TextViewport.h"

#include <algorithm>

void CTextViewport::SetClientSize(int cx, int cy)
{
    m_nClientWidth = std::max(0, cx);
    m_nClientHeight = std::max(0, cy);
    ScrollTo(m_nFirstLine, m_nXOffset);
}

RECT CTextViewport::TextArea() const
{
    return RECT{m_nGutterWidth, 0, std::max(m_nGutterWidth, m_nClientWidth), m_nClientHeight};
}

size_t CTextViewport::PageLines() const
{
    const int height = m_nClientHeight - kTextInset;
    return static_cast<size_t>(std::max(1, height / m_metrics.LineHeight()));
}

size_t CTextViewport::LastFirstLine() const
{
    const size_t lines = Text().LineCount();
    return lines > PageLines() ? lines - PageLines() : 0;
}

int CTextViewport::LastXOffset() const
{
    const int textWidth = m_nClientWidth - m_nGutterWidth - kTextInset;
    return std::max(0, m_nWidestLine + m_metrics.AverageWidth() - textWidth);
}

bool CTextViewport::ScrollTo(size_t firstLine, int xOffset)
{
    firstLine = std::min(firstLine, LastFirstLine());
    xOffset = std::clamp(xOffset, 0, LastXOffset());
    if (firstLine == m_nFirstLine && xOffset == m_nXOffset)
        return false;
    m_nFirstLine = firstLine;
    m_nXOffset = xOffset;
    return true;
}

bool CTextViewport::Reveal(size_t pos)
{
    const size_t line = Text().LineFromPosition(pos);
    size_t first = m_nFirstLine;
    if (line < first)
        first = line;
    else if (line >= first + PageLines())
        first = line - PageLines() + 1;
    const int x = PointOf(pos).x - TextLeft();
    NoteLineWidth(x);
    const int textWidth = std::max(1, m_nClientWidth - m_nGutterWidth - 2 * kTextInset);
    int offset = m_nXOffset;
    // Out of sight to one side, the text jumps by a quarter of its width, as editors do, so
    // that typing at the edge does not scroll at every key.
    if (x < offset)
        offset = std::max(0, x - textWidth / 4);
    else if (x >= offset + textWidth)
        offset = x - textWidth + textWidth / 4;
    return ScrollTo(first, offset);
}

int CTextViewport::LineTop(size_t line) const
{
    const long long rows = static_cast<long long>(line) - static_cast<long long>(m_nFirstLine);
    return kTextInset + static_cast<int>(std::clamp(rows * m_metrics.LineHeight(), -0x3FFFFFFFLL, 0x3FFFFFFFLL));
}

POINT CTextViewport::PointOf(size_t pos) const
{
    pos = std::min(pos, Text().Length());
    const size_t line = Text().LineFromPosition(pos);
    const size_t start = Text().LineStart(line);
    const size_t column = std::min(pos, Text().LineEnd(line)) - start;
    return POINT{TextLeft() + m_metrics.XOf(Text().LineText(line), column), LineTop(line)};
}

size_t CTextViewport::LineAtY(int y) const
{
    const int rows = y < kTextInset ? 0 : (y - kTextInset) / m_metrics.LineHeight();
    return std::min(m_nFirstLine + static_cast<size_t>(rows), Text().LineCount() - 1);
}

size_t CTextViewport::PositionInLine(size_t line, int x) const
{
    return Text().LineStart(line) + m_metrics.IndexAt(Text().LineText(line), x);
}

size_t CTextViewport::PositionAt(POINT point) const
{
    return PositionInLine(LineAtY(point.y), point.x - TextLeft());
}
