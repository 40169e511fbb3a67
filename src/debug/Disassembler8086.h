// The 8086's instructions (and the 80186's, which the machine runs) in DEBUG's `u` format: the
// address, the bytes, the mnemonic in a field of eight and the operands as DEBUG writes them
// (hexadecimal without a suffix, BYTE PTR and WORD PTR where the size is not otherwise known,
// a prefix on a line of its own); for `r` the value of the memory operand beside it.
#pragma once

#include "debug/DebugTarget.h"

#include "dos/CpuState.h"
#include "dos/Memory.h"

#include <cstdint>
#include <string>

struct Decoded8086 {
    // Bytes of this instruction, a prefix being one of its own.
    uint8_t length = 1;
    std::string mnemonic;
    std::string operands;
    InstructionKind kind = InstructionKind::Plain;
    // A segment override (ES 0, CS 1, SS 2, DS 3) or REP, REPNZ, LOCK: it belongs to the next.
    bool prefix = false;
    int8_t overrideSegment = -1;
    // The memory operand, where there is one: its offset (with the registers given), its
    // default segment and whether it is a word.
    bool memory = false;
    uint16_t memoryOffset = 0;
    SegReg memorySegment = kDS;
    bool memoryWord = false;
};

class CDisassembler8086 {
public:
    // The instruction at segment:offset; with `state` the memory operand's offset is worked out.
    static Decoded8086 Decode(const CMemory& memory, uint16_t segment, uint16_t offset, const CpuState* state = nullptr);
    // One line of u, without its line end.
    static std::string Line(const CMemory& memory, uint16_t segment, uint16_t offset, uint16_t& length);
    // What r shows of the instruction at CS:IP: its prefixes each on a line, then the instruction
    // with "DS:0010=1234" at the line's end where it has a memory operand; lines ended by CR LF.
    static std::string Current(const CMemory& memory, const CpuState& state);
    // The instruction as the CPU runs it: its prefixes and itself, and its kind.
    static NextInstruction Next(const CMemory& memory, uint16_t segment, uint16_t offset);
};
