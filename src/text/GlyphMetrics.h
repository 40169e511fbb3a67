// How wide the characters of the control's font are, and so where each character of a line
// stands: tab stops every eight average character widths (32 dialog units, the average taken
// over the Latin letters as for dialogs), from the line's start. Widths are asked of GDI once
// per small block of characters (an ideograph alone) and kept, so laying out a line costs no calls.
#pragma once

#include "framework/Handles.h"

#include <windows.h>

#include <string_view>
#include <unordered_map>
#include <vector>

class CGlyphMetrics {
public:
    CGlyphMetrics();
    CGlyphMetrics(const CGlyphMetrics&) = delete;
    CGlyphMetrics& operator=(const CGlyphMetrics&) = delete;

    // The font to measure (borrowed); null for the system font, as an edit control has.
    void SetFont(HFONT font);
    HFONT Font() const { return m_hFont; }
    int LineHeight() const { return m_nLineHeight; }
    int AverageWidth() const { return m_nAverageWidth; }
    int TabWidth() const { return m_nTabWidth; }

    // The x (from the line's start) of the boundary before line[index].
    int XOf(std::wstring_view line, size_t index);
    int Width(std::wstring_view line) { return XOf(line, line.size()); }
    // The boundary between whole characters nearest to x.
    size_t IndexAt(std::wstring_view line, int x);
    // The advance of every unit of line, for drawing it exactly where it is measured (the
    // second half of a surrogate pair and a tab's width go to their first unit's entry).
    void Advances(std::wstring_view line, std::vector<int>& advances);

private:
    int Advance(wchar_t c);
    int PairAdvance(wchar_t high, wchar_t low);
    // The advance of the character at line[i] when it starts at x, and how many units it takes.
    int StepAt(std::wstring_view line, size_t i, int x, size_t* units);

    UniqueOwner<HDC, DeleteMemoryDc> m_dc;
    HFONT m_hFont = nullptr;
    int m_nLineHeight = 16;
    int m_nAverageWidth = 8;
    int m_nTabWidth = 64;
    // Widths by character; -1 where that block was not asked for yet.
    std::vector<short> m_widths;
    std::unordered_map<unsigned, int> m_pairWidths;
};
