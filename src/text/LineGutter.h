// The strip of line numbers left of the text: as wide as the largest number needs, in the
// text's font, grey on the face colour, one number beside each visible line.
#pragma once

#include "text/GlyphMetrics.h"
#include "text/TextViewport.h"

#include <windows.h>

class CLineGutter {
public:
    bool IsShown() const { return m_bShown; }
    void Show(bool shown) { m_bShown = shown; }
    // The strip's width for a text of lineCount lines; 0 while hidden.
    int WidthFor(size_t lineCount, CGlyphMetrics& metrics) const;
    void Paint(HDC dc, const RECT& update, const CTextViewport& viewport, size_t lineCount, int lineHeight) const;

private:
    bool m_bShown = true;
};
