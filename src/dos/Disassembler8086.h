// The 8086/80186 and 8087 disassembler of Korvane's debugger and its DEBUG pane: lines as
// MS-DOS DEBUG's U command shows them (address, the bytes in hex, mnemonic and operands), or
// in MASM's syntax.
#pragma once

#include "dos/Memory.h"

#include <cstdint>
#include <string>

namespace dos {

enum class DisassemblySyntax : uint8_t {
    // DEBUG's: hex without suffix, a segment override or a REP prefix on a line of its own.
    Debug,
    // MASM's: hex with an h suffix, the segment override inside the operand, REP before the
    // string instruction on the same line.
    Masm,
};

struct DisassembledInstruction {
    uint16_t segment = 0;
    uint16_t offset = 0;
    // Bytes the line covers (a prefix alone, in DEBUG's syntax).
    uint8_t length = 0;
    // The bytes in hex, as DEBUG lists them ("B8400B").
    std::string bytes;
    std::string mnemonic;
    std::string operands;

    // The whole line, DEBUG's columns: "0B3C:0000 B8400B        MOV     AX,0B40".
    std::string Text() const;
    // Mnemonic and operands alone: "MOV     AX,0B40".
    std::string Instruction() const;
};

class CDisassembler8086 {
public:
    explicit CDisassembler8086(const CMemory& memory, DisassemblySyntax syntax = DisassemblySyntax::Debug)
        : m_memory(memory), m_syntax(syntax)
    {
    }

    // The instruction at segment:offset; the next one is at offset + length (offsets wrap
    // within the segment, as the 8086 fetches).
    DisassembledInstruction Decode(uint16_t segment, uint16_t offset) const;

private:
    const CMemory& m_memory;
    DisassemblySyntax m_syntax;
};

}  // namespace dos
