// Character widths of the control's font.
#include "text/GlyphMetrics.h"

#include <algorithm>

namespace {
// GDI takes some microseconds for each width it is asked for, so widths come in small blocks:
// a text is not made to pay for characters it never shows.
constexpr unsigned kBlock = 16;
// From here on (ideographs and the other large tables) a character's neighbours are seldom in
// the same text, and each width costs the font a glyph to load: such a width is asked for alone.
constexpr wchar_t kFirstAlone = 0x0800;

bool IsHighSurrogate(wchar_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}
}

CGlyphMetrics::CGlyphMetrics() : m_dc(::CreateCompatibleDC(nullptr))
{
    SetFont(nullptr);
}

void CGlyphMetrics::SetFont(HFONT font)
{
    m_hFont = font;
    ::SelectObject(m_dc.get(), font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT));
    TEXTMETRICW tm{};
    ::GetTextMetricsW(m_dc.get(), &tm);
    m_nLineHeight = std::max(1, static_cast<int>(tm.tmHeight));
    m_nAverageWidth = std::max(1, static_cast<int>(tm.tmAveCharWidth));
    const wchar_t letters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE size{};
    ::GetTextExtentPoint32W(m_dc.get(), letters, 52, &size);
    m_nTabWidth = 8 * std::max(1, static_cast<int>((size.cx / 26 + 1) / 2));
    m_widths.assign(0x10000, -1);
    m_pairWidths.clear();
}

int CGlyphMetrics::Advance(wchar_t c)
{
    if (m_widths[c] < 0) {
        const unsigned count = c < kFirstAlone ? kBlock : 1;
        const unsigned first = c / count * count;
        INT widths[kBlock] = {};
        if (!::GetCharWidth32W(m_dc.get(), first, first + count - 1, widths))
            std::fill_n(widths, count, m_nAverageWidth);
        // Control characters (a CR that ends no line) take no room, as in the edit control.
        for (unsigned i = 0; first + i < L' ' && i < count; ++i)
            widths[i] = 0;
        for (unsigned i = 0; i < count; ++i)
            m_widths[first + i] = static_cast<short>(std::clamp(widths[i], 0, 0x7FFF));
    }
    return m_widths[c];
}

int CGlyphMetrics::PairAdvance(wchar_t high, wchar_t low)
{
    const unsigned key = (static_cast<unsigned>(high) << 16) | low;
    auto found = m_pairWidths.find(key);
    if (found != m_pairWidths.end())
        return found->second;
    const wchar_t pair[2] = {high, low};
    SIZE size{};
    ::GetTextExtentPoint32W(m_dc.get(), pair, 2, &size);
    return m_pairWidths[key] = size.cx;
}

int CGlyphMetrics::StepAt(std::wstring_view line, size_t i, int x, size_t* units)
{
    const wchar_t c = line[i];
    *units = 1;
    if (c == L'\t')
        return (x / TabWidth() + 1) * TabWidth() - x;
    if (IsHighSurrogate(c) && i + 1 < line.size() && IsLowSurrogate(line[i + 1])) {
        *units = 2;
        return PairAdvance(c, line[i + 1]);
    }
    return Advance(c);
}

int CGlyphMetrics::XOf(std::wstring_view line, size_t index)
{
    index = std::min(index, line.size());
    int x = 0;
    size_t units = 1;
    for (size_t i = 0; i < index; i += units)
        x += StepAt(line, i, x, &units);
    return x;
}

size_t CGlyphMetrics::IndexAt(std::wstring_view line, int x)
{
    int left = 0;
    size_t units = 1;
    for (size_t i = 0; i < line.size(); i += units) {
        const int step = StepAt(line, i, left, &units);
        if (x < left + step / 2 + step % 2)
            return i;
        left += step;
    }
    return line.size();
}

void CGlyphMetrics::Advances(std::wstring_view line, std::vector<int>& advances)
{
    advances.assign(line.size(), 0);
    int x = 0;
    size_t units = 1;
    for (size_t i = 0; i < line.size(); i += units) {
        advances[i] = StepAt(line, i, x, &units);
        x += advances[i];
    }
}
