// Marks beside the lines.
#include "text/LineMarks.h"

#include "framework/Handles.h"

#include <algorithm>

namespace {
const COLORREF kErrorColor = RGB(210, 30, 30);
const COLORREF kWarningColor = RGB(225, 160, 0);

// A filled circle for an error, a triangle for a warning, inside the square cell.
void DrawMark(HDC dc, MarkKind kind, const RECT& cell)
{
    const int inset = std::max<LONG>(2, (cell.bottom - cell.top) / 5);
    const RECT shape{cell.left + inset, cell.top + inset, cell.right - inset, cell.bottom - inset};
    const COLORREF color = kind == MarkKind::Error ? kErrorColor : kWarningColor;
    GdiObject<HBRUSH> brush(::CreateSolidBrush(color));
    GdiObject<HPEN> pen(::CreatePen(PS_SOLID, 1, color));
    SelectGuard brushGuard(dc, brush.get());
    SelectGuard penGuard(dc, pen.get());
    if (kind == MarkKind::Error) {
        ::Ellipse(dc, shape.left, shape.top, shape.right, shape.bottom);
        return;
    }
    const POINT corners[] = {{(shape.left + shape.right) / 2, shape.top}, {shape.right, shape.bottom},
                             {shape.left, shape.bottom}};
    ::Polygon(dc, corners, 3);
}
}

void CLineMarks::Set(std::vector<LineMark> marks)
{
    m_marks = std::move(marks);
    std::stable_sort(m_marks.begin(), m_marks.end(),
                     [](const LineMark& a, const LineMark& b) { return a.nLine < b.nLine; });
}

const LineMark* CLineMarks::At(size_t line) const
{
    auto found = std::lower_bound(m_marks.begin(), m_marks.end(), line,
                                  [](const LineMark& mark, size_t l) { return mark.nLine < l; });
    return found != m_marks.end() && found->nLine == line ? &*found : nullptr;
}

void CLineMarks::OnLinesChanged(size_t line, bool startsLine, long long delta)
{
    if (delta == 0)
        return;
    const size_t firstMoved = startsLine ? line : line + 1;
    for (LineMark& mark : m_marks) {
        if (mark.nLine < firstMoved)
            continue;
        // A mark on a line that went stays with the line the text closed up on.
        const long long moved = static_cast<long long>(mark.nLine) + delta;
        mark.nLine = static_cast<size_t>(std::max<long long>(moved, static_cast<long long>(line)));
    }
}

void CLineMarks::Paint(HDC dc, const RECT& update, const CTextViewport& viewport, int lineHeight) const
{
    const int width = ColumnWidth(lineHeight);
    if (width == 0 || update.left >= width)
        return;
    const RECT column{0, update.top, width, update.bottom};
    ::FillRect(dc, &column, ::GetSysColorBrush(COLOR_BTNFACE));
    for (const LineMark& mark : m_marks) {
        const int top = viewport.LineTop(mark.nLine);
        if (top + lineHeight <= update.top || top >= update.bottom)
            continue;
        DrawMark(dc, mark.kind, RECT{0, top, width, top + lineHeight});
    }
}
