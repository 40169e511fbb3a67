// The source lines of an assembler's listing and the code addresses they produced, for the
// debugger's source view: Intel asm51's listing (LOC, OBJ, LINE, SOURCE columns, include and
// macro lines marked and skipped) and as31's (one listing line for each source line, object
// bytes that do not fit on lines of their own before it).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace mcs51 {

struct ListingLine51 {
    // The line of the main source file, from 1.
    unsigned line = 0;
    uint16_t address = 0;
    // The bytes of code or data the line produced.
    uint16_t bytes = 0;
};

enum class ListingFormat51 : uint8_t { kUnknown, kAsm51, kAs31 };

class CListing51 {
public:
    // Reads a listing; the lines that produced no bytes are left out.
    void Parse(std::string_view text);
    ListingFormat51 Format() const { return m_format; }
    const std::vector<ListingLine51>& Lines() const { return m_lines; }
    // The source line whose bytes hold address, or 0.
    unsigned LineOf(uint16_t address) const;
    // The first address a source line produced; false when it produced none.
    bool AddressOf(unsigned line, uint16_t& address) const;

private:
    void ParseAsm51(const std::vector<std::string_view>& lines);
    void ParseAs31(const std::vector<std::string_view>& lines);

    ListingFormat51 m_format = ListingFormat51::kUnknown;
    std::vector<ListingLine51> m_lines;
};

}  // namespace mcs51
