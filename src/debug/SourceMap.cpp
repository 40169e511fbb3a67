// The placed lines, sorted by offset for the lookups a stop makes.
#include "debug/SourceMap.h"

#include "debug/LinkMap.h"
#include "debug/ListingText.h"
#include "debug/MasmListing.h"
#include "debug/SegmentPlacement.h"

#include <algorithm>
#include <map>

namespace {
uint32_t ElementSize(const std::string& type)
{
    static const std::map<std::string, uint32_t> kSizes = {
        {"BYTE", 1}, {"WORD", 2}, {"DWORD", 4}, {"QWORD", 8}, {"TBYTE", 10}};
    const auto found = kSizes.find(type);
    return found == kSizes.end() ? 1 : found->second;
}
}

CSourceMap::CSourceMap(std::vector<PlacedLine> lines, std::vector<DataSymbol> symbols)
    : m_lines(std::move(lines)), m_symbols(std::move(symbols))
{
    std::stable_sort(m_lines.begin(), m_lines.end(),
                     [](const PlacedLine& a, const PlacedLine& b) { return a.imageOffset < b.imageOffset; });
}

CSourceMap CSourceMap::FromMasm(const CMasmListing& listing, const CLinkMap& map)
{
    return FromMasm(std::span<const CMasmListing>(&listing, 1), map);
}

CSourceMap CSourceMap::FromMasm(std::span<const CMasmListing> listings, const CLinkMap& map)
{
    std::vector<PlacedLine> lines;
    std::vector<DataSymbol> symbols;
    CSegmentPlacement placement(map);
    for (const CMasmListing& listing : listings) {
        const std::map<std::string, PlacedSegment> parts = placement.PlaceModule(listing.Segments());
        auto partOf = [&](const std::string& name) -> std::optional<PlacedSegment> {
            if (const auto found = parts.find(Upper(name)); found != parts.end())
                return found->second;
            // A segment the table does not list starts where the map has it.
            if (const MappedSegment* segment = map.Find(name))
                return PlacedSegment{segment->start, segment->start};
            return std::nullopt;
        };
        for (const ListedLine& listed : listing.Lines())
            if (const auto part = partOf(listed.segment))
                lines.push_back({listed.source, part->partStart + listed.offset, listed.size});
        for (const ListedSymbol& listed : listing.Symbols()) {
            const auto part = partOf(listed.segment);
            if (!part)
                continue;
            // Without a length in the symbol table a label holds what its own line defined.
            uint32_t length = listed.length;
            for (const ListedLine& line : listing.Lines())
                if (!length && line.offset == listed.offset && EqualsNoCase(line.segment, listed.segment))
                    length = line.size;
            length = std::max(length, ElementSize(listed.type));
            symbols.push_back({listed.name, listed.type, part->partStart + listed.offset, length, part->segmentStart});
        }
    }
    return CSourceMap(std::move(lines), std::move(symbols));
}

std::optional<SourceLine> CSourceMap::LineAt(uint32_t imageOffset) const
{
    auto after = std::upper_bound(m_lines.begin(), m_lines.end(), imageOffset,
                                  [](uint32_t offset, const PlacedLine& line) { return offset < line.imageOffset; });
    // The last line at or before the offset whose bytes hold it; lines that make no bytes (a
    // PROC, a label alone) are passed over.
    while (after != m_lines.begin()) {
        const PlacedLine& line = *--after;
        if (!line.size)
            continue;
        if (imageOffset < line.imageOffset + line.size)
            return line.source;
        break;
    }
    return std::nullopt;
}

std::optional<uint32_t> CSourceMap::OffsetOf(const SourceLine& target) const
{
    const PlacedLine* best = nullptr;
    for (const PlacedLine& line : m_lines) {
        if (!EqualsNoCase(line.source.file, target.file) || line.source.line < target.line || line.size == 0)
            continue;
        if (!best || line.source.line < best->source.line)
            best = &line;
    }
    if (!best)
        return std::nullopt;
    return best->imageOffset;
}

std::vector<std::string> CSourceMap::Files() const
{
    std::vector<std::string> files;
    for (const PlacedLine& line : m_lines) {
        if (std::none_of(files.begin(), files.end(), [&line](const std::string& file) { return file == line.source.file; }))
            files.push_back(line.source.file);
    }
    return files;
}
