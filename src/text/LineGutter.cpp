// The line numbers.
#include "text/LineGutter.h"

#include "framework/Handles.h"

#include <algorithm>
#include <string>

namespace {
constexpr int kPadLeft = 4;
constexpr int kPadRight = 6;
// Room for two digits at least, so that short files do not shift the text at line 10.
constexpr size_t kMinDigits = 2;
}

int CLineGutter::WidthFor(size_t lineCount, CGlyphMetrics& metrics) const
{
    if (!m_bShown)
        return 0;
    const std::wstring widest(std::max(kMinDigits, std::to_wstring(lineCount).size()), L'0');
    return kPadLeft + metrics.Width(widest) + kPadRight;
}

void CLineGutter::Paint(HDC dc, const RECT& update, const CTextViewport& viewport, size_t lineCount,
                        int lineHeight) const
{
    const int width = viewport.GutterWidth();
    if (!m_bShown || width <= 0 || update.left >= width)
        return;
    const RECT strip{0, update.top, width, update.bottom};
    ::FillRect(dc, &strip, ::GetSysColorBrush(COLOR_BTNFACE));
    BkModeGuard mode(dc, TRANSPARENT);
    TextColorGuard color(dc, ::GetSysColor(COLOR_GRAYTEXT));
    for (size_t line = viewport.LineAtY(update.top); line < lineCount; ++line) {
        const int top = viewport.LineTop(line);
        if (top >= update.bottom)
            break;
        const std::wstring number = std::to_wstring(line + 1);
        RECT cell{0, top, width - kPadRight, top + lineHeight};
        ::DrawTextW(dc, number.c_str(), static_cast<int>(number.size()), &cell, DT_RIGHT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
}
