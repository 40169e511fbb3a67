// Where each module's part of each segment lies in a program LINK made of several modules: the
// map lists a segment once however many modules it combines, so the parts are laid out as LINK
// laid them, module after module in link order.
#pragma once

#include "debug/LinkMap.h"
#include "debug/MasmListing.h"

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

struct PlacedSegment {
    // Where the module's part starts in the image, and where the segment that holds it (the
    // frame its offsets count from at run time) starts.
    uint32_t partStart = 0;
    uint32_t segmentStart = 0;
};

class CSegmentPlacement {
public:
    explicit CSegmentPlacement(const CLinkMap& map);

    // The parts of the next module's segments, by name in capitals: a PUBLIC, STACK or MEMORY
    // segment's after the parts of the modules before, at its own alignment; a COMMON one's at
    // the segment's start; a private one's at the start of the map's next segment of its name
    // (each module's private segment is a segment of its own). A segment the map does not
    // have is left out.
    std::map<std::string, PlacedSegment> PlaceModule(std::span<const ListedSegment> segments);

private:
    const CLinkMap& m_map;
    // By the map's segments: the end of the parts placed so far, and, by name, how many of a
    // name's private segments modules have taken.
    std::vector<uint32_t> m_ends;
    std::map<std::string, size_t> m_privateTaken;
};
