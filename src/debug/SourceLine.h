// A place in the program's sources, and the lines of those sources as the assembler read them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct SourceLine {
    // The file as the sources name it (the main source, or an INCLUDE's name); 1-based line.
    std::string file;
    int line = 0;

    friend bool operator==(const SourceLine&, const SourceLine&) = default;
};

// A line of code or data and the bytes it made, where the program's image holds them.
struct PlacedLine {
    SourceLine source;
    uint32_t imageOffset = 0;
    uint32_t size = 0;
};

// A data label of the program: where it is and what it holds.
struct DataSymbol {
    std::string name;
    // BYTE, WORD, DWORD, QWORD or TBYTE.
    std::string type;
    uint32_t imageOffset = 0;
    // The bytes the label's definition reserved, where the listing says; else one element.
    uint32_t length = 0;
    // Where its segment starts in the image, where a link map says (a program's data is
    // shown at its segment and its offset there, whatever DS holds yet).
    std::optional<uint32_t> segmentStart;
};

// The lines of a source file as bytes without their line ends, or none when it cannot be read.
using SourceReader = std::function<std::vector<std::string>(const std::string& file)>;
