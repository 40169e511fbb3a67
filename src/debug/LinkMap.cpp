// LINK's map: " 00200H 0021BH 0001CH DSEG   CLASS" rows under " Start  Stop   Length Name",
// and the entry point's line.
#include "debug/LinkMap.h"

#include "debug/ListingText.h"

namespace {
std::optional<uint32_t> ParseAddress(std::string_view word)
{
    if (word.size() < 2 || (word.back() != 'H' && word.back() != 'h'))
        return std::nullopt;
    return ParseHex(word.substr(0, word.size() - 1), 8);
}

std::optional<uint32_t> ParseSegmentOffset(std::string_view word)
{
    const size_t colon = word.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const auto segment = ParseHex(word.substr(0, colon), 4);
    const auto offset = ParseHex(word.substr(colon + 1), 4);
    if (!segment || !offset)
        return std::nullopt;
    return *segment * 16 + *offset;
}
}

CLinkMap::CLinkMap(std::string_view map)
{
    bool bInSegments = false;
    for (std::string_view row : SplitRows(map)) {
        const auto words = Words(row);
        if (words.size() >= 4 && words[0] == "Start" && words[1] == "Stop") {
            bInSegments = true;
            continue;
        }
        if (words.size() == 5 && words[0] == "Program" && words[1] == "entry") {
            m_entry = ParseSegmentOffset(words[4]);
            continue;
        }
        if (!bInSegments)
            continue;
        const auto start = words.size() >= 4 ? ParseAddress(words[0]) : std::nullopt;
        const auto length = words.size() >= 4 ? ParseAddress(words[2]) : std::nullopt;
        if (!start || !length) {
            if (!words.empty())
                bInSegments = false;
            continue;
        }
        m_segments.push_back({std::string(words[3]), words.size() >= 5 ? std::string(words[4]) : std::string(),
                              *start, *length});
    }
}

const MappedSegment* CLinkMap::Find(std::string_view name) const
{
    for (const MappedSegment& segment : m_segments)
        if (EqualsNoCase(segment.name, name))
            return &segment;
    return nullptr;
}
