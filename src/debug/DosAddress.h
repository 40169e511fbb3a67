// The addresses the memory pane takes for the 8086: "segment:offset" where the segment is a
// segment register or a number and the offset a sum of numbers and registers ("DS:0",
// "ES:DI", "SS:BP+4", "B800:0"), all numbers hexadecimal.
#pragma once

#include "dos/CpuState.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace dos {

struct SegmentedAddress {
    uint16_t segment = 0;
    uint16_t offset = 0;
};

class CDosAddress {
public:
    // The address the text names with the registers given; none when it names none.
    static std::optional<SegmentedAddress> Parse(std::string_view text, const CpuState& state, SegReg defaultSegment);
    // Registers by name: a segment register, a general one, and a general one's or IP's value.
    static std::optional<SegReg> SegmentNamed(std::string_view name);
    static std::optional<Reg16> RegisterNamed(std::string_view name);
    static std::optional<uint16_t> RegisterValue(std::string_view name, const CpuState& state);
};

}  // namespace dos
