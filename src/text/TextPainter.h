// Paints the visible lines of the text, and only those: the current line faintly
// highlighted, the selection, the syntax colours, tabs every eight average character widths
// and the line numbers beside them.
#pragma once

#include "text/AsmKeywords.h"
#include "text/GlyphMetrics.h"
#include "text/LineGutter.h"
#include "text/LineMarks.h"
#include "text/TextBuffer.h"
#include "text/TextViewport.h"
#include "text/UndoHistory.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

// How a line looks apart from the syntax: its text colour and its background; CLR_INVALID
// for the usual ones.
struct LineStyle {
    COLORREF color = CLR_INVALID;
    COLORREF background = CLR_INVALID;
};

class CTextPainter {
public:
    struct State {
        TextSelection selection;
        // The syntax to colour by; none for plain text.
        std::optional<SyntaxMode> syntax;
        // The look of each line, where the owner gives lines one (the output's messages).
        const std::function<LineStyle(size_t line)>* lineStyle = nullptr;
    };

    CTextPainter(const CTextBuffer& text, const CTextViewport& viewport, CGlyphMetrics& metrics,
                 const CLineGutter& gutter, const CLineMarks& marks)
        : m_pText(&text), m_viewport(viewport), m_metrics(metrics), m_gutter(gutter), m_marks(marks)
    {
    }

    // The text painted from now on.
    void ShowBuffer(const CTextBuffer& text) { m_pText = &text; }

    // Paints the part of the window inside update into dc.
    void Paint(HDC dc, const RECT& update, const State& state);

private:
    struct Colors {
        COLORREF window, text, selection, selectedText, currentLine;
    };
    // A piece of a line drawn in one colour.
    struct Run {
        size_t nStart, nEnd;
        COLORREF color;
    };
    static Colors SystemColors();
    void PaintLine(HDC dc, size_t line, const RECT& band, const State& state, const Colors& colors);
    // The line's pieces split where the colour changes, the selection begins or ends, and at tabs.
    void SplitIntoRuns(std::wstring_view text, size_t selStart, size_t selEnd, const State& state,
                       const Colors& colors, COLORREF textColor, std::vector<Run>& runs) const;
    void DrawRuns(HDC dc, std::wstring_view text, int y, const RECT& band, const std::vector<Run>& runs);

    const CTextBuffer& Text() const { return *m_pText; }

    const CTextBuffer* m_pText;
    const CTextViewport& m_viewport;
    CGlyphMetrics& m_metrics;
    const CLineGutter& m_gutter;
    const CLineMarks& m_marks;
    std::vector<int> m_advances;
    std::vector<int> m_lefts;
    std::vector<Run> m_runs;
};
