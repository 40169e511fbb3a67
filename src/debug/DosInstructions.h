// What the debugger adds to the 8086 disassembler (CDisassembler8086, DEBUG's u lines): the
// line r shows with its prefixes and the value of its memory operand, and the instruction as
// the CPU runs it (its prefixes with it) with the kind step over needs.
#pragma once

#include "debug/DebugTarget.h"

#include "dos/CpuState.h"
#include "dos/Memory.h"

#include <cstdint>
#include <string>

namespace dos {

class CDosInstructions {
public:
    // One line of u, without its line end; length is set to the bytes it covers.
    static std::string Line(const CMemory& memory, uint16_t segment, uint16_t offset, uint16_t& length);
    static uint16_t Length(const CMemory& memory, uint16_t segment, uint16_t offset);
    // What r shows of the instruction at CS:IP: its prefixes each on a line, then the
    // instruction with "DS:0010=1234" ending at DEBUG's column where it has a memory operand;
    // each line ended by CR LF.
    static std::string Current(const CMemory& memory, const CpuState& state);
    static NextInstruction Next(const CMemory& memory, uint16_t segment, uint16_t offset);
};

}  // namespace dos
