// Searching and replacing in the editor's UTF-16 text: whole characters only, letter case
// folded for ASCII letters alone, whole words by the assemblers' idea of a word.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct SearchOptions {
    bool bMatchCase = false;
    bool bWholeWord = false;
};

struct TextRange {
    size_t nStart = 0;
    size_t nEnd = 0;
};

// The first match that starts at or after from, searching down; searching up, the last one
// that ends at or before from.
std::optional<TextRange> FindInText(std::wstring_view text, std::wstring_view what, const SearchOptions& options,
                                    size_t from, bool down);
// Whether the range of text is a match of what, as a search would find it there.
bool IsMatchAt(std::wstring_view text, TextRange range, std::wstring_view what, const SearchOptions& options);

// Every match replaced: the part of the text from the first match to the end of the last,
// and what takes its place.
struct ReplacedText {
    TextRange span;
    std::wstring strReplacement;
    size_t nCount = 0;
};
// Replaces every match, from the start on and none overlapping, by with.
ReplacedText ReplaceEveryMatch(std::wstring_view text, std::wstring_view what, std::wstring_view with,
                               const SearchOptions& options);
