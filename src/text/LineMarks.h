// Marks beside lines of the text, drawn in a column left of the line numbers: an error or a
// warning a tool reported there, with its message for a tooltip. They move with their lines
// as lines are put in or taken out above them.
#pragma once

#include "text/TextViewport.h"

#include <windows.h>

#include <string>
#include <vector>

enum class MarkKind { Error, Warning };

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
    void Set(std::vector<LineMark> marks);
    bool IsEmpty() const { return m_marks.empty(); }
    const std::vector<LineMark>& Marks() const { return m_marks; }
    // The first mark on the line, or nullptr.
    const LineMark* At(size_t line) const;

    // Lines came (delta > 0) or went at the change's first line; startsLine tells that the
    // change began at that line's start, so that a mark there moves with its line too.
    void OnLinesChanged(size_t line, bool startsLine, long long delta);

    // The column's width: none without marks.
    int ColumnWidth(int lineHeight) const { return m_marks.empty() ? 0 : lineHeight; }
    void Paint(HDC dc, const RECT& update, const CTextViewport& viewport, int lineHeight) const;

private:
    std::vector<LineMark> m_marks;
};
