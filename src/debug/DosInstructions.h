// The 8086's instructions as DEBUG's u and r show them: the address, the bytes, the mnemonic
// and its operands in DEBUG's columns, and for r the note of the memory operand's value.
#pragma once

#include "dos/CpuState.h"
#include "dos/Memory.h"

#include <cstdint>
#include <string>

class CDosInstructions {
public:
    // One line of u (without its line end) for the instruction at segment:offset; length is
    // set to its bytes.
    static std::string Line(const CMemory& memory, uint16_t segment, uint16_t offset, uint16_t& length);
    // The line r shows for the instruction at CS:IP, with "DS:0010=1234" where it reads memory.
    static std::string Current(const CMemory& memory, const CpuState& state);
    static uint16_t Length(const CMemory& memory, uint16_t segment, uint16_t offset);
};
