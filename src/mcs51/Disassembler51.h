// Disassembly of MCS-51 code in the mnemonics asm51 and as31 read: SFRs and their bits by
// name, numbers in hexadecimal with an H (and a leading 0 before a letter), jump targets
// as absolute addresses.
#pragma once

#include <cstdint>
#include <string>

namespace mcs51 {

struct Instruction51 {
    uint16_t address = 0;
    uint8_t length = 1;
    // ACALL or LCALL: a step over runs to the next instruction.
    bool call = false;
    std::string text;
};

class CDisassembler51 {
public:
    // The instruction at address in a 64 KB code image.
    static Instruction51 At(const uint8_t* code, uint16_t address);
    // The name of a direct address (an SFR's, or the number) and of a bit address.
    static std::string Direct(uint8_t address);
    static std::string Bit(uint8_t bit);
    static std::string Hex8(uint8_t value);
    static std::string Hex16(uint16_t value);
};

}  // namespace mcs51
