// The part of the text the window shows: the first visible line, how far the text is
// scrolled to the left, and where a position of the text is in the window and back. Lines
// are never wrapped; the line numbers' strip takes the left of the window.
#pragma once

#include "text/GlyphMetrics.h"
#include "text/TextBuffer.h"

#include <windows.h>

#include <algorithm>

class CTextViewport {
public:
    // The text's distance from the strip and from the window's top, as the edit control keeps it.
    static constexpr int kTextInset = 1;

    CTextViewport(const CTextBuffer& text, CGlyphMetrics& metrics) : m_pText(&text), m_metrics(metrics) {}

    // The text shown from now on.
    void ShowBuffer(const CTextBuffer& text) { m_pText = &text; }

    void SetClientSize(int cx, int cy);
    void SetGutterWidth(int width) { m_nGutterWidth = width; }
    int GutterWidth() const { return m_nGutterWidth; }
    int ClientWidth() const { return m_nClientWidth; }
    int ClientHeight() const { return m_nClientHeight; }
    // Where the text is drawn: right of the strip, inside the window.
    RECT TextArea() const;

    size_t FirstLine() const { return m_nFirstLine; }
    int XOffset() const { return m_nXOffset; }
    // Lines that fit wholly, at least one.
    size_t PageLines() const;
    size_t LastFirstLine() const;
    int LastXOffset() const;
    // Scrolls to a first line and offset within their ranges; false when nothing moved.
    bool ScrollTo(size_t firstLine, int xOffset);
    // Scrolls as little as possible to show pos; false when it was on view.
    bool Reveal(size_t pos);

    // The widest line known, for the range of horizontal scrolling; it only grows, so the text
    // can always be scrolled as far as any of its lines reached.
    void NoteLineWidth(int width) { m_nWidestLine = std::max(m_nWidestLine, width); }
    void ResetWidth() { m_nWidestLine = 0; }

    int LineTop(size_t line) const;
    // The left edge of a line's first character.
    int TextLeft() const { return m_nGutterWidth + kTextInset - m_nXOffset; }
    // Client coordinates of the top left of the character at pos.
    POINT PointOf(size_t pos) const;
    // The line at y (above the top: the first visible one), clamped to the text.
    size_t LineAtY(int y) const;
    // The position nearest to a point of the window; x is measured from the line's start.
    size_t PositionAt(POINT point) const;
    size_t PositionInLine(size_t line, int x) const;

private:
    const CTextBuffer& Text() const { return *m_pText; }

    const CTextBuffer* m_pText;
    CGlyphMetrics& m_metrics;
    int m_nClientWidth = 0;
    int m_nClientHeight = 0;
    int m_nGutterWidth = 0;
    size_t m_nFirstLine = 0;
    int m_nXOffset = 0;
    int m_nWidestLine = 0;
};
