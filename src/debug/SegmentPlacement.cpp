// The modules' parts of a linked program's segments.
#include "debug/SegmentPlacement.h"

#include "debug/ListingText.h"

#include <algorithm>

CSegmentPlacement::CSegmentPlacement(const CLinkMap& map) : m_map(map)
{
    for (const MappedSegment& segment : map.Segments())
        m_ends.push_back(segment.start);
}

std::map<std::string, PlacedSegment> CSegmentPlacement::PlaceModule(std::span<const ListedSegment> segments)
{
    const std::vector<MappedSegment>& mapped = m_map.Segments();
    std::map<std::string, PlacedSegment> parts;
    for (const ListedSegment& segment : segments) {
        // The map's segments of this name, in its order.
        std::vector<size_t> named;
        for (size_t i = 0; i < mapped.size(); ++i)
            if (EqualsNoCase(mapped[i].name, segment.name))
                named.push_back(i);
        if (named.empty())
            continue;
        size_t index = named.front();
        uint32_t start = mapped[index].start;
        switch (segment.combine) {
        case ListedSegment::Combine::Private: {
            size_t& taken = m_privateTaken[segment.name];
            index = named[std::min(taken++, named.size() - 1)];
            start = mapped[index].start;
            break;
        }
        case ListedSegment::Combine::Concatenated:
            start = (m_ends[index] + segment.align - 1) / segment.align * segment.align;
            m_ends[index] = start + segment.length;
            break;
        case ListedSegment::Combine::Common:
            break;
        }
        parts[segment.name] = PlacedSegment{start, mapped[index].start};
    }
    return parts;
}
