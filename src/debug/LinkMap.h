// Reads the map LINK writes with /MAP or a map file name: where each segment starts in the
// program's image and where the program starts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct MappedSegment {
    std::string name;
    std::string className;
    uint32_t start = 0;
    uint32_t length = 0;
};

class CLinkMap {
public:
    explicit CLinkMap(std::string_view map);

    const std::vector<MappedSegment>& Segments() const { return m_segments; }
    // The first segment of the name, letter case aside.
    const MappedSegment* Find(std::string_view name) const;
    // "Program entry point at 0022:0007", as an offset in the image.
    std::optional<uint32_t> EntryPoint() const { return m_entry; }

private:
    std::vector<MappedSegment> m_segments;
    std::optional<uint32_t> m_entry;
};
