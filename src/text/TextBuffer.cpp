// The control's text and its lines.
#include "text/TextBuffer.h"

#include <algorithm>
#include <cstring>

namespace {
// Room left for typing after a large edit, so that the next keys do not move the text again.
constexpr size_t kSpareGap = 4096;
}

std::wstring CTextBuffer::Text(size_t start, size_t end) const
{
    end = std::min(end, Length());
    start = std::min(start, end);
    std::wstring text;
    text.reserve(end - start);
    const size_t beforeGap = std::min(end, m_nGapStart);
    if (start < beforeGap)
        text.append(m_chars.data() + start, beforeGap - start);
    const size_t afterStart = std::max(start, m_nGapStart);
    if (afterStart < end)
        text.append(m_chars.data() + afterStart + GapLength(), end - afterStart);
    return text;
}

std::wstring_view CTextBuffer::Contiguous()
{
    MoveGapTo(Length());
    return std::wstring_view(m_chars.data(), Length());
}

void CTextBuffer::MoveGapTo(size_t pos)
{
    if (pos < m_nGapStart) {
        const size_t count = m_nGapStart - pos;
        std::memmove(m_chars.data() + m_nGapEnd - count, m_chars.data() + pos, count * sizeof(wchar_t));
        m_nGapStart -= count;
        m_nGapEnd -= count;
    } else if (pos > m_nGapStart) {
        const size_t count = pos - m_nGapStart;
        std::memmove(m_chars.data() + m_nGapStart, m_chars.data() + m_nGapEnd, count * sizeof(wchar_t));
        m_nGapStart += count;
        m_nGapEnd += count;
    }
}

void CTextBuffer::EnsureGap(size_t length)
{
    if (GapLength() >= length)
        return;
    const size_t after = m_chars.size() - m_nGapEnd;
    const size_t newGap = length + kSpareGap + Length() / 8;
    std::vector<wchar_t> chars(Length() + newGap);
    std::copy_n(m_chars.begin(), m_nGapStart, chars.begin());
    std::copy_n(m_chars.begin() + static_cast<std::ptrdiff_t>(m_nGapEnd), after,
                chars.end() - static_cast<std::ptrdiff_t>(after));
    m_chars.swap(chars);
    m_nGapEnd = m_nGapStart + newGap;
}

void CTextBuffer::Assign(std::wstring_view text)
{
    m_chars.assign(text.size() + kSpareGap, L'\0');
    std::copy(text.begin(), text.end(), m_chars.begin());
    m_nGapStart = text.size();
    m_nGapEnd = m_chars.size();
    m_lineStarts.assign(1, 0);
    for (size_t at = text.find(L'\n'); at != std::wstring_view::npos; at = text.find(L'\n', at + 1))
        m_lineStarts.push_back(at + 1);
}

void CTextBuffer::Replace(size_t start, size_t end, std::wstring_view text)
{
    end = std::min(end, Length());
    start = std::min(start, end);
    UpdateLineStarts(start, end, text);
    MoveGapTo(end);
    m_nGapStart = start;
    EnsureGap(text.size());
    std::copy(text.begin(), text.end(), m_chars.begin() + static_cast<std::ptrdiff_t>(m_nGapStart));
    m_nGapStart += text.size();
}

// Only an LF ends a line, so the lines of the removed part go, those of the new text come,
// and the starts after it move by the change in length.
void CTextBuffer::UpdateLineStarts(size_t start, size_t end, std::wstring_view text)
{
    const auto first = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), start);
    const auto last = std::upper_bound(first, m_lineStarts.end(), end);
    std::vector<size_t> inserted;
    for (size_t at = text.find(L'\n'); at != std::wstring_view::npos; at = text.find(L'\n', at + 1))
        inserted.push_back(start + at + 1);
    const auto next = m_lineStarts.erase(first, last);
    const std::ptrdiff_t shift = static_cast<std::ptrdiff_t>(text.size()) - static_cast<std::ptrdiff_t>(end - start);
    const auto moved = m_lineStarts.insert(next, inserted.begin(), inserted.end()) + static_cast<std::ptrdiff_t>(inserted.size());
    for (auto it = moved; it != m_lineStarts.end(); ++it)
        *it = static_cast<size_t>(static_cast<std::ptrdiff_t>(*it) + shift);
}

size_t CTextBuffer::NextLineStart(size_t line) const
{
    return line + 1 < m_lineStarts.size() ? m_lineStarts[line + 1] : Length();
}

size_t CTextBuffer::LineEnd(size_t line) const
{
    if (line + 1 >= m_lineStarts.size())
        return Length();
    // The break is the LF, the CR before it, and one more CR before that (a soft break).
    size_t end = m_lineStarts[line + 1] - 1;
    for (int cr = 0; cr < 2 && end > m_lineStarts[line] && At(end - 1) == L'\r'; ++cr)
        --end;
    return end;
}

size_t CTextBuffer::LineFromPosition(size_t pos) const
{
    return static_cast<size_t>(std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), pos) - m_lineStarts.begin()) - 1;
}
