// The text of the control: UTF-16 in a gap buffer, so an edit moves only the text between the
// last edit and this one, with the index of its lines kept up to date by each edit. A line
// ends after every LF, as the system's edit control sees it: CR LF, CR CR LF and a lone LF
// end a line, a lone CR does not.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CTextBuffer {
public:
    size_t Length() const { return m_chars.size() - GapLength(); }
    wchar_t At(size_t pos) const { return pos < m_nGapStart ? m_chars[pos] : m_chars[pos + GapLength()]; }
    std::wstring Text(size_t start, size_t end) const;
    // The whole text in one piece; the view lasts until the next edit.
    std::wstring_view Contiguous();

    // A new text in place of all: the line index is made in one pass, no gap moves.
    void Assign(std::wstring_view text);
    void Replace(size_t start, size_t end, std::wstring_view text);

    size_t LineCount() const { return m_lineStarts.size(); }
    size_t LineStart(size_t line) const { return m_lineStarts[line]; }
    // Where the line's characters end, before its line break.
    size_t LineEnd(size_t line) const;
    // Where the next line starts, or the text's end after the last line.
    size_t NextLineStart(size_t line) const;
    size_t LineLength(size_t line) const { return LineEnd(line) - LineStart(line); }
    std::wstring LineText(size_t line) const { return Text(LineStart(line), LineEnd(line)); }
    // The line that holds the character at pos; positions past the end are in the last line.
    size_t LineFromPosition(size_t pos) const;

private:
    size_t GapLength() const { return m_nGapEnd - m_nGapStart; }
    void MoveGapTo(size_t pos);
    void EnsureGap(size_t length);
    void UpdateLineStarts(size_t start, size_t end, std::wstring_view text);

    std::vector<wchar_t> m_chars;
    size_t m_nGapStart = 0;
    size_t m_nGapEnd = 0;
    // The first line starts at 0; every other line starts after an LF.
    std::vector<size_t> m_lineStarts{0};
};
