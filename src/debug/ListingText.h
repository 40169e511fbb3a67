// Small pieces of text work that the listing and map readers share: rows, words, hex numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The rows of a text without their line ends (CR LF, LF or CR).
std::vector<std::string_view> SplitRows(std::string_view text);
// The text without blanks, tabs and line ends at either end.
std::string_view Trim(std::string_view text);
// The text up to a ';' that starts a comment (one not inside quotes), trimmed.
std::string_view StripComment(std::string_view text);
// The blank-separated words of a text.
std::vector<std::string_view> Words(std::string_view text);
std::string Upper(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
// The file a source line includes ("INCLUDE MACROS.INC", or the 8051's "$INCLUDE(REG51.INC)"),
// as the line names it.
std::optional<std::string> IncludedFile(std::string_view sourceLine);
// A number of hex digits and nothing else; none when the text is not one or is too long.
std::optional<uint32_t> ParseHex(std::string_view text, size_t maxDigits = 8);
