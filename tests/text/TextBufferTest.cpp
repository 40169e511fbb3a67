// The gap buffer and its line index, after any series of edits, hold what the same edits
// make of a plain string: the same text, and the lines a scan of that string finds.
#include "text/TextBuffer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {
struct ScannedLine {
    size_t nStart, nEnd;
    friend bool operator==(const ScannedLine&, const ScannedLine&) = default;
};

// Lines as the edit control makes them: each LF ends one, with the CR (or two) before it.
std::vector<ScannedLine> ScanLines(const std::wstring& text)
{
    std::vector<ScannedLine> lines;
    size_t start = 0;
    for (size_t lf = text.find(L'\n'); lf != std::wstring::npos; lf = text.find(L'\n', lf + 1)) {
        size_t end = lf;
        for (int cr = 0; cr < 2 && end > start && text[end - 1] == L'\r'; ++cr)
            --end;
        lines.push_back({start, end});
        start = lf + 1;
    }
    lines.push_back({start, text.size()});
    return lines;
}

std::vector<ScannedLine> LinesOf(const CTextBuffer& buffer)
{
    std::vector<ScannedLine> lines;
    for (size_t line = 0; line < buffer.LineCount(); ++line)
        lines.push_back({buffer.LineStart(line), buffer.LineEnd(line)});
    return lines;
}
}

TEST(TextBuffer, AnySeriesOfEditsKeepsTheTextAndItsLines)
{
    std::mt19937 random(26);
    const std::wstring alphabet = L"ab\r\n\r\n\u4E2D ";
    auto pick = [&](size_t bound) { return std::uniform_int_distribution<size_t>(0, bound)(random); };
    CTextBuffer buffer;
    std::wstring expected;
    for (int edit = 0; edit < 3000; ++edit) {
        const size_t start = pick(expected.size());
        // Mostly short edits near each other, now and then a long one: the gap moves both ways.
        const size_t end = std::min(expected.size(), start + (edit % 50 == 0 ? pick(expected.size()) : pick(4)));
        std::wstring inserted(edit % 97 == 0 ? 5000 : pick(6), L'\0');
        for (wchar_t& c : inserted)
            c = alphabet[pick(alphabet.size() - 1)];
        buffer.Replace(start, end, inserted);
        expected.replace(start, end - start, inserted);
        ASSERT_EQ(buffer.Text(0, buffer.Length()), expected) << "edit " << edit;
        ASSERT_EQ(LinesOf(buffer), ScanLines(expected)) << "edit " << edit;
        const size_t probe = pick(expected.size());
        ASSERT_EQ(buffer.LineStart(buffer.LineFromPosition(probe)),
                  ScanLines(expected.substr(0, probe)).back().nStart) << "edit " << edit;
    }
    EXPECT_EQ(buffer.Contiguous(), expected);
    buffer.Assign(L"one\r\ntwo\nthree\r\r\n");
    EXPECT_EQ(LinesOf(buffer), ScanLines(L"one\r\ntwo\nthree\r\r\n"));
}
