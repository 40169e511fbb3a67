// Reads the listing MASM 5 writes beside its object file: which source line made the bytes at
// each offset of each segment, and the data labels of its symbol table. Listing lines carry no
// line numbers, so each is matched to its source line by its text.
#pragma once

#include "debug/SourceLine.h"

#include <string>
#include <string_view>
#include <vector>

struct ListedLine {
    SourceLine source;
    std::string segment;
    uint16_t offset = 0;
    uint16_t size = 0;
};

// A segment of the listing's segment table: how LINK combines it with the same segment of the
// other modules, and its own alignment within the result.
struct ListedSegment {
    enum class Combine { Private, Concatenated, Common };

    std::string name;
    uint32_t length = 0;
    // 1, 2, 4, 16 or 256 bytes.
    uint32_t align = 16;
    Combine combine = Combine::Private;
};

struct ListedSymbol {
    std::string name;
    std::string type;
    std::string segment;
    uint16_t offset = 0;
    uint32_t length = 0;
};

class CMasmListing {
public:
    // mainFile is the source the listing was made from; read gives the lines of it and of the
    // files it includes.
    CMasmListing(std::string_view listing, const std::string& mainFile, const SourceReader& read);

    const std::vector<ListedLine>& Lines() const { return m_lines; }
    const std::vector<ListedSymbol>& Symbols() const { return m_symbols; }
    // The segments the module defines (AT segments, which the image does not hold, aside).
    const std::vector<ListedSegment>& Segments() const { return m_segments; }

private:
    struct OpenFile;

    void ReadBody(const std::vector<std::string_view>& rows, size_t& row, const std::string& mainFile,
                  const SourceReader& read);
    void ReadSegments(const std::vector<std::string_view>& rows, size_t row);
    void ReadSymbols(const std::vector<std::string_view>& rows, size_t row);

    std::vector<ListedLine> m_lines;
    std::vector<ListedSymbol> m_symbols;
    std::vector<ListedSegment> m_segments;
};
