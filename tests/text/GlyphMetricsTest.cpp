// The control's character widths against GDI's, one character at a time: Latin letters come
// from the font in blocks and ideographs alone, and neither may put a width in the wrong place.
#include "text/GlyphMetrics.h"

#include "framework/Handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {
// GDI's own width of one character in the font.
int GdiWidth(HFONT font, wchar_t c)
{
    UniqueOwner<HDC, DeleteMemoryDc> dc(::CreateCompatibleDC(nullptr));
    ::SelectObject(dc.get(), font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT));
    INT width = 0;
    ::GetCharWidth32W(dc.get(), c, c, &width);
    return width;
}
}

TEST(GlyphMetrics, EachCharacterAdvancesByItsOwnWidthInBlocksAndAlone)
{
    // Neighbours in one block of the code table, asked for in an order that is not the table's;
    // ideographs next to each other and apart; full-width punctuation; Cyrillic.
    const std::wstring line = L"Wi\u0416\u0436\u7a0b\u4e2d\u4e2e\u4e2c\uff1a\u3001mM\u7a0c";
    GdiObject<HFONT> simSun(::CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, 0, 0, 0, 0,
                                          L"SimSun"));
    for (HFONT font : {static_cast<HFONT>(nullptr), simSun.get()}) {
        CGlyphMetrics metrics;
        metrics.SetFont(font);
        for (size_t i = 0; i < line.size(); ++i) {
            EXPECT_EQ(metrics.XOf(line, i + 1) - metrics.XOf(line, i), GdiWidth(font, line[i]))
                << "character " << i << (font ? " in SimSun" : " in the system font");
        }
    }
}
