// Rows, words and numbers of the assemblers' and linkers' text files.
#include "debug/ListingText.h"

#include <algorithm>

std::vector<std::string_view> SplitRows(std::string_view text)
{
    std::vector<std::string_view> rows;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        rows.push_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return rows;
}

std::string_view Trim(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string_view StripComment(std::string_view text)
{
    char quote = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == ';') {
            return Trim(text.substr(0, i));
        }
    }
    return Trim(text);
}

std::vector<std::string_view> Words(std::string_view text)
{
    std::vector<std::string_view> words;
    size_t i = 0;
    while (true) {
        i = text.find_first_not_of(" \t", i);
        if (i == std::string_view::npos)
            return words;
        size_t end = text.find_first_of(" \t", i);
        if (end == std::string_view::npos)
            end = text.size();
        words.push_back(text.substr(i, end - i));
        i = end;
    }
}

std::string Upper(std::string_view text)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return upper;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && Upper(a) == Upper(b);
}

std::optional<std::string> IncludedFile(std::string_view sourceLine)
{
    const std::string_view text = StripComment(sourceLine);
    const auto words = Words(text);
    if (words.size() == 2 && EqualsNoCase(words[0], "INCLUDE"))
        return std::string(words[1]);
    // The 8051's control line: the name between the parentheses.
    constexpr std::string_view kControl = "$INCLUDE(";
    if (text.size() > kControl.size() + 1 && EqualsNoCase(text.substr(0, kControl.size()), kControl) &&
        text.back() == ')') {
        const std::string_view name = Trim(text.substr(kControl.size(), text.size() - kControl.size() - 1));
        if (!name.empty())
            return std::string(name);
    }
    return std::nullopt;
}

std::optional<uint32_t> ParseHex(std::string_view text, size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits)
        return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return std::nullopt;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return value;
}
