// Marks beside the lines.
#include "text/LineMarks.h"

#include "framework/Handles.h"

#include <algorithm>

namespace {
const COLORREF kErrorColor = RGB(210, 30, 30);
const COLORREF kErrorFill = RGB(255, 255, 255);
const COLORREF kWarningColor = RGB(225, 160, 0);
const COLORREF kBreakpointColor = RGB(190, 20, 30);
const COLORREF kCurrentFill = RGB(255, 220, 40);
const COLORREF kCurrentEdge = RGB(120, 90, 0);
const COLORREF kExplainedColor = RGB(40, 100, 200);

void WithBrushAndPen(HDC dc, COLORREF fill, COLORREF edge, const auto& draw)
{
    GdiObject<HBRUSH> brush(::CreateSolidBrush(fill));
    GdiObject<HPEN> pen(::CreatePen(PS_SOLID, 1, edge));
    SelectGuard brushGuard(dc, brush.get());
    SelectGuard penGuard(dc, pen.get());
    draw();
}

RECT Inset(const RECT& cell, int divisor)
{
    const int inset = std::max<LONG>(1, (cell.bottom - cell.top) / divisor);
    return RECT{cell.left + inset, cell.top + inset, cell.right - inset, cell.bottom - inset};
}

// A red cross in a white square for an error, an amber triangle for a warning, inside the
// square cell: neither looks like a breakpoint's red disc.
void DrawCross(HDC dc, const RECT& box)
{
    const RECT cross = Inset(box, 4);
    const int thickness = std::max<LONG>(2, (box.bottom - box.top) / 6);
    GdiObject<HPEN> pen(::CreatePen(PS_SOLID, thickness, kErrorColor));
    SelectGuard penGuard(dc, pen.get());
    ::MoveToEx(dc, cross.left, cross.top, nullptr);
    ::LineTo(dc, cross.right, cross.bottom);
    ::MoveToEx(dc, cross.right, cross.top, nullptr);
    ::LineTo(dc, cross.left, cross.bottom);
}

// A white "?" in a blue disc, drawn with the column's font at the disc's height.
void DrawQuestion(HDC dc, const RECT& cell)
{
    RECT shape = Inset(cell, 6);
    WithBrushAndPen(dc, kExplainedColor, kExplainedColor,
                    [&] { ::Ellipse(dc, shape.left, shape.top, shape.right, shape.bottom); });
    GdiObject<HFONT> font(::CreateFontW(-(shape.bottom - shape.top), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial"));
    SelectGuard fontGuard(dc, font.get());
    const int mode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF colour = ::SetTextColor(dc, RGB(255, 255, 255));
    ::DrawTextW(dc, L"?", 1, &shape, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SetTextColor(dc, colour);
    ::SetBkMode(dc, mode);
}

void DrawMark(HDC dc, MarkKind kind, const RECT& cell)
{
    if (kind == MarkKind::Explained) {
        DrawQuestion(dc, cell);
        return;
    }
    const RECT shape = Inset(cell, 5);
    if (kind == MarkKind::Error) {
        WithBrushAndPen(dc, kErrorFill, kErrorColor,
                        [&] { ::Rectangle(dc, shape.left, shape.top, shape.right, shape.bottom); });
        DrawCross(dc, shape);
        return;
    }
    WithBrushAndPen(dc, kWarningColor, kWarningColor, [&] {
        const POINT corners[] = {{(shape.left + shape.right) / 2, shape.top}, {shape.right, shape.bottom},
                                 {shape.left, shape.bottom}};
        ::Polygon(dc, corners, 3);
    });
}

void DrawBreakpoint(HDC dc, const RECT& cell)
{
    const RECT shape = Inset(cell, 8);
    WithBrushAndPen(dc, kBreakpointColor, kBreakpointColor,
                    [&] { ::Ellipse(dc, shape.left, shape.top, shape.right, shape.bottom); });
}

// An arrow pointing at the line, over a breakpoint's circle where there is one.
void DrawCurrent(HDC dc, const RECT& cell)
{
    const RECT shape = Inset(cell, 5);
    const int middle = (shape.top + shape.bottom) / 2;
    const int shaft = std::max<LONG>(1, (shape.bottom - shape.top) / 4);
    const int head = (shape.left + shape.right) / 2;
    const POINT corners[] = {{shape.left, middle - shaft}, {head, middle - shaft}, {head, shape.top},
                             {shape.right, middle},        {head, shape.bottom},   {head, middle + shaft},
                             {shape.left, middle + shaft}};
    WithBrushAndPen(dc, kCurrentFill, kCurrentEdge, [&] { ::Polygon(dc, corners, 7); });
}
}

void CLineMarks::Set(std::vector<LineMark> marks)
{
    m_marks = std::move(marks);
    std::stable_sort(m_marks.begin(), m_marks.end(),
                     [](const LineMark& a, const LineMark& b) { return a.nLine < b.nLine; });
}

void CLineMarks::Clear()
{
    m_marks.clear();
    m_breakpoints.clear();
    m_current.reset();
}

void CLineMarks::SetBreakpoints(std::vector<size_t> lines)
{
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    m_breakpoints = std::move(lines);
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
    // A mark on a line that went stays with the line the text closed up on.
    auto move = [&](size_t& markLine) {
        if (markLine < firstMoved)
            return;
        const long long moved = static_cast<long long>(markLine) + delta;
        markLine = static_cast<size_t>(std::max<long long>(moved, static_cast<long long>(line)));
    };
    for (LineMark& mark : m_marks)
        move(mark.nLine);
    for (size_t& breakpoint : m_breakpoints)
        move(breakpoint);
    // Two breakpoints whose lines closed up are one.
    m_breakpoints.erase(std::unique(m_breakpoints.begin(), m_breakpoints.end()), m_breakpoints.end());
    if (m_current)
        move(*m_current);
}

void CLineMarks::Paint(HDC dc, const RECT& update, const CTextViewport& viewport, int lineHeight) const
{
    const int width = ColumnWidth(lineHeight);
    if (width == 0 || update.left >= width)
        return;
    const RECT column{0, update.top, width, update.bottom};
    ::FillRect(dc, &column, ::GetSysColorBrush(COLOR_BTNFACE));
    auto cellOf = [&](size_t line, RECT& cell) {
        const int top = viewport.LineTop(line);
        cell = RECT{0, top, width, top + lineHeight};
        return top + lineHeight > update.top && top < update.bottom;
    };
    RECT cell{};
    for (const size_t line : m_breakpoints)
        if (cellOf(line, cell))
            DrawBreakpoint(dc, cell);
    for (const LineMark& mark : m_marks)
        if (cellOf(mark.nLine, cell))
            DrawMark(dc, mark.kind, cell);
    if (m_current && cellOf(*m_current, cell))
        DrawCurrent(dc, cell);
}
