// Parsing of asm51 and as31 listings into source lines and addresses.
#include "mcs51/Listing51.h"

#include <cctype>

namespace mcs51 {

namespace {
// asm51: "LOC  OBJ            LINE     SOURCE"; the line number ends in column 23.
const size_t kAsm51LineEnd = 24;
// as31: "AAAA: BB BB BB BB  " before the source text, which starts in column 19.
const size_t kAs31SourceColumn = 19;

bool IsHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

bool HexField(std::string_view text, size_t at, size_t width, unsigned& value)
{
    if (text.size() < at + width)
        return false;
    value = 0;
    for (size_t i = at; i < at + width; ++i) {
        if (!IsHex(text[i]))
            return false;
        value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(text[i])) ? text[i] - '0' : (std::toupper(text[i]) - 'A' + 10));
    }
    return true;
}

// The hexadecimal digit pairs in text, separated or not by blanks.
uint16_t CountBytes(std::string_view text)
{
    unsigned digits = 0;
    for (char c : text) {
        if (IsHex(c))
            ++digits;
    }
    return static_cast<uint16_t>(digits / 2);
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    return lines;
}

// The blank-separated words of text.
std::vector<std::string_view> Words(std::string_view text)
{
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ')
            ++i;
        const size_t start = i;
        while (i < text.size() && text[i] != ' ')
            ++i;
        if (i > start)
            words.push_back(text.substr(start, i - start));
    }
    return words;
}
}

void CListing51::Parse(std::string_view text)
{
    m_lines.clear();
    const std::vector<std::string_view> lines = SplitLines(text);
    m_format = ListingFormat51::kAs31;
    for (std::string_view line : lines) {
        if (line.substr(0, 8) == "LOC  OBJ") {
            m_format = ListingFormat51::kAsm51;
            break;
        }
    }
    if (m_format == ListingFormat51::kAsm51)
        ParseAsm51(lines);
    else
        ParseAs31(lines);
}

void CListing51::ParseAsm51(const std::vector<std::string_view>& lines)
{
    for (std::string_view line : lines) {
        unsigned address = 0;
        if (!HexField(line, 0, 4, address) || line.size() < 6 || line[4] != ' ')
            continue;
        // The line number is right-aligned at the end of the LINE column; a DB's
        // continuation lines have none. "+1" or "=1" before it marks an include file's or a
        // macro's line, which is no line of the main source.
        const std::string_view heading = line.substr(0, kAsm51LineEnd + 1 < line.size() ? kAsm51LineEnd + 1 : line.size());
        size_t end = heading.size();
        while (end > 5 && !std::isdigit(static_cast<unsigned char>(heading[end - 1])))
            --end;
        size_t start = end;
        while (start > 5 && std::isdigit(static_cast<unsigned char>(heading[start - 1])))
            --start;
        if (end < kAsm51LineEnd - 3 || start == end || heading[start - 1] != ' ')
            continue;
        unsigned number = 0;
        for (size_t i = start; i < end; ++i)
            number = number * 10 + static_cast<unsigned>(heading[i] - '0');
        const std::vector<std::string_view> words = Words(heading.substr(5, start - 5));
        bool nested = false;
        for (std::string_view word : words)
            nested = nested || word.front() == '+' || word.front() == '=';
        const uint16_t bytes = words.empty() ? 0 : CountBytes(words.front());
        if (!nested && bytes)
            m_lines.push_back({number, static_cast<uint16_t>(address), bytes});
    }
}

void CListing51::ParseAs31(const std::vector<std::string_view>& lines)
{
    unsigned number = 0;
    bool pending = false;
    ListingLine51 entry;
    for (std::string_view line : lines) {
        unsigned address = 0;
        const bool addressed = HexField(line, 0, 4, address) && line.size() > 4 && line[4] == ':';
        const std::string_view object = line.substr(line.size() > 6 ? 6 : line.size(), kAs31SourceColumn - 6);
        // A line of object bytes alone belongs to the source line that follows; any other
        // line (blank, a comment, a label) is a source line.
        if (line.size() < kAs31SourceColumn && CountBytes(object)) {
            // Object bytes of the source line that follows.
            if (addressed && !pending) {
                entry.address = static_cast<uint16_t>(address);
                entry.bytes = 0;
                pending = true;
            }
            entry.bytes = static_cast<uint16_t>(entry.bytes + CountBytes(object));
            continue;
        }
        ++number;
        if (!pending) {
            entry.address = static_cast<uint16_t>(address);
            entry.bytes = addressed ? CountBytes(object) : 0;
        }
        entry.line = number;
        if (entry.bytes)
            m_lines.push_back(entry);
        pending = false;
    }
}

unsigned CListing51::LineOf(uint16_t address) const
{
    for (const ListingLine51& line : m_lines) {
        if (address >= line.address && address < line.address + line.bytes)
            return line.line;
    }
    return 0;
}

bool CListing51::AddressOf(unsigned line, uint16_t& address) const
{
    for (const ListingLine51& entry : m_lines) {
        if (entry.line == line) {
            address = entry.address;
            return true;
        }
    }
    return false;
}

}  // namespace mcs51
