// Where the program's source lines and data labels lie in its image: the current line of a
// stopped program, the address of a breakpoint's line, the labels the variables pane shows.
// Offsets count from the start of the image as loaded (a .COM's from its PSP).
#pragma once

#include "debug/SourceLine.h"

#include <optional>
#include <span>
#include <vector>

class CLinkMap;
class CMasmListing;

class CSourceMap {
public:
    CSourceMap() = default;
    CSourceMap(std::vector<PlacedLine> lines, std::vector<DataSymbol> symbols);
    // MASM 5's listing placed by LINK's map.
    static CSourceMap FromMasm(const CMasmListing& listing, const CLinkMap& map);
    // The listings of a program's modules, in the order LINK was given them, placed by its one
    // map: where segments of the same name are combined, each module's part follows those of
    // the modules before it.
    static CSourceMap FromMasm(std::span<const CMasmListing> listings, const CLinkMap& map);

    bool empty() const { return m_lines.empty(); }
    // The line whose bytes hold the offset.
    std::optional<SourceLine> LineAt(uint32_t imageOffset) const;
    // Where a breakpoint on the line goes: its first byte, or the first of the next line of
    // the same file that made any (a breakpoint on a comment stops at the code after it).
    std::optional<uint32_t> OffsetOf(const SourceLine& line) const;
    const std::vector<DataSymbol>& Symbols() const { return m_symbols; }
    // The files the lines are in, each once, as the sources name them.
    std::vector<std::string> Files() const;

private:
    // Sorted by offset.
    std::vector<PlacedLine> m_lines;
    std::vector<DataSymbol> m_symbols;
};
