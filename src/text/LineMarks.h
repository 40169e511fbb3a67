// Marks beside lines of the text, drawn in a column left of the line numbers: an error or a
// warning a tool reported there, with its message for a tooltip; a message that has an
// explanation, with it for a tooltip; the debugger's breakpoints;
// and the line the debugged program stands at. They move with their lines as lines are put in
// or taken out above them.
#pragma once

#include "text/TextViewport.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// Explained: a message of the output that the 说明 pane can explain (a "?" in a blue disc).
enum class MarkKind { Error, Warning, Explained };

struct LineMark {
    size_t nLine = 0;
    MarkKind kind = MarkKind::Error;
    // What the tooltip shows.
    std::wstring strTip;
    // The owner's number for the mark, handed back when it is clicked.
    size_t nId = 0;
};

class CLineMarks {
public:
    // The tools' marks; the breakpoints and the current line stay.
    void Set(std::vector<LineMark> marks);
    // Everything goes (a new text).
    void Clear();
    bool IsEmpty() const { return m_marks.empty() && m_breakpoints.empty() && !m_current; }
    const std::vector<LineMark>& Marks() const { return m_marks; }
    // The first mark on the line, or nullptr.
    const LineMark* At(size_t line) const;

    // The breakpoints' lines, sorted.
    void SetBreakpoints(std::vector<size_t> lines);
    const std::vector<size_t>& Breakpoints() const { return m_breakpoints; }
    // The line the debugged program stands at, shown by an arrow; none for no program.
    void SetCurrentLine(std::optional<size_t> line) { m_current = line; }
    std::optional<size_t> CurrentLine() const { return m_current; }
    // The column shows even without marks (an editor where breakpoints are set by a click).
    void ShowAlways(bool shown) { m_bAlwaysShown = shown; }

    // Lines came (delta > 0) or went at the change's first line; startsLine tells that the
    // change began at that line's start, so that a mark there moves with its line too.
    void OnLinesChanged(size_t line, bool startsLine, long long delta);

    // The column's width: none without marks, unless it always shows.
    int ColumnWidth(int lineHeight) const { return IsEmpty() && !m_bAlwaysShown ? 0 : lineHeight; }
    void Paint(HDC dc, const RECT& update, const CTextViewport& viewport, int lineHeight) const;

private:
    std::vector<LineMark> m_marks;
    std::vector<size_t> m_breakpoints;
    std::optional<size_t> m_current;
    bool m_bAlwaysShown = false;
};
