// The line numbers left of the editor's text: a left margin of the edit control, painted
// after the control has painted itself. Each source line is numbered once, on its first
// screen row; the rows the word wrap adds get no number.
#pragma once

#include "doc/SourceLines.h"

#include <windows.h>

#include <vector>

class CLineNumberGutter {
public:
    explicit CLineNumberGutter(CSourceLines& lines) : m_lines(lines) {}

    // Starts showing the numbers beside the edit control.
    void Attach(HWND edit);
    bool IsShown() const { return m_bShown; }
    void Show(bool shown);
    // The strip's width in pixels; 0 while hidden.
    int Width() const { return m_bShown ? m_nWidth : 0; }
    // Makes the strip as wide as the largest line number needs, after the text changed.
    void UpdateWidth() { UpdateWidthFor(m_lines.Count()); }
    // The same for a text of lineCount lines before it goes in: a new margin makes the
    // control lay out its whole text again, so a new text is laid out once, not twice.
    void UpdateWidthFor(int lineCount);

    struct Number {
        int nLine;  // 1-based
        int y;      // top of its row, client coordinates
    };
    // The numbers on screen now, top to bottom.
    std::vector<Number> VisibleNumbers() const;
    // The 0-based source line whose screen row lies at y.
    int LineAt(int y) const;

    void Paint(HDC dc) const;
    // Paints the strip again soon.
    void Invalidate() const;
    // After anything that may have scrolled the text: a strip drawn for other rows is
    // painted again.
    void FollowScrolling();

private:
    struct Rows {
        int nFirst;        // the first visible screen row
        int nTop;          // its top
        int nLineHeight;
    };
    Rows VisibleRows() const;
    HFONT Font() const;
    int LineHeight() const;
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hEdit, message, wParam, lParam);
    }

    CSourceLines& m_lines;
    HWND m_hEdit = nullptr;
    bool m_bShown = true;
    int m_nWidth = 0;
    // The control's own left margin, kept between the numbers and the text.
    int m_nTextMargin = 0;
    int m_nAppliedMargin = 0;
    mutable int m_nPaintedFirstRow = -1;
};
