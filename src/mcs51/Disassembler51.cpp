// The disassembler: the opcode table's forms with their operands filled in.
#include "mcs51/Disassembler51.h"

#include "mcs51/Opcodes51.h"

#include <cstdio>
#include <cstring>

namespace mcs51 {

namespace {
struct NamedSfr {
    uint8_t address;
    const char* name;
    // The names of bits 0-7 of a bit-addressable SFR; nullptr where the bit has none.
    const char* bits[8];
};

const NamedSfr kSfrs[] = {
    {0x80, "P0", {}},
    {0x81, "SP", {}},
    {0x82, "DPL", {}},
    {0x83, "DPH", {}},
    {0x87, "PCON", {}},
    {0x88, "TCON", {"IT0", "IE0", "IT1", "IE1", "TR0", "TF0", "TR1", "TF1"}},
    {0x89, "TMOD", {}},
    {0x8A, "TL0", {}},
    {0x8B, "TL1", {}},
    {0x8C, "TH0", {}},
    {0x8D, "TH1", {}},
    {0x90, "P1", {}},
    {0x98, "SCON", {"RI", "TI", "RB8", "TB8", "REN", "SM2", "SM1", "SM0"}},
    {0x99, "SBUF", {}},
    {0xA0, "P2", {}},
    {0xA8, "IE", {"EX0", "ET0", "EX1", "ET1", "ES", "ET2", nullptr, "EA"}},
    {0xB0, "P3", {"RXD", "TXD", "INT0", "INT1", "T0", "T1", "WR", "RD"}},
    {0xB8, "IP", {"PX0", "PT0", "PX1", "PT1", "PS", "PT2", nullptr, nullptr}},
    {0xC8, "T2CON", {"CP_RL2", "C_T2", "TR2", "EXEN2", "TCLK", "RCLK", "EXF2", "TF2"}},
    {0xCA, "RCAP2L", {}},
    {0xCB, "RCAP2H", {}},
    {0xCC, "TL2", {}},
    {0xCD, "TH2", {}},
    {0xD0, "PSW", {"P", nullptr, "OV", "RS0", "RS1", "F0", "AC", "CY"}},
    {0xE0, "ACC", {}},
    {0xF0, "B", {}},
};

const NamedSfr* FindSfr(uint8_t address)
{
    for (const NamedSfr& sfr : kSfrs) {
        if (sfr.address == address)
            return &sfr;
    }
    return nullptr;
}
}

std::string CDisassembler51::Hex8(uint8_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, value >= 0xA0 ? "0%02XH" : "%02XH", value);
    return text;
}

std::string CDisassembler51::Hex16(uint16_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, value >= 0xA000 ? "0%04XH" : "%04XH", value);
    return text;
}

std::string CDisassembler51::Direct(uint8_t address)
{
    const NamedSfr* sfr = address >= 0x80 ? FindSfr(address) : nullptr;
    return sfr ? sfr->name : Hex8(address);
}

std::string CDisassembler51::Bit(uint8_t bit)
{
    const unsigned index = bit & 7;
    if (bit < 0x80)
        return Hex8(static_cast<uint8_t>(0x20 + (bit >> 3))) + "." + std::to_string(index);
    const NamedSfr* sfr = FindSfr(bit & 0xF8);
    if (sfr && sfr->bits[index])
        return sfr->bits[index];
    return Direct(bit & 0xF8) + "." + std::to_string(index);
}

Instruction51 CDisassembler51::At(const uint8_t* code, uint16_t address)
{
    const uint8_t op = code[address];
    const Opcode51& opcode = kOpcodes51[op];
    const auto byte = [code, address](unsigned offset) { return code[static_cast<uint16_t>(address + offset)]; };
    const auto next = static_cast<uint16_t>(address + opcode.bytes);
    Instruction51 instruction;
    instruction.address = address;
    instruction.length = opcode.bytes;
    instruction.call = std::strncmp(opcode.form, "ACALL", 5) == 0 || std::strncmp(opcode.form, "LCALL", 5) == 0;
    // The mnemonic and its operands apart by a blank, as in a listing.
    std::string& text = instruction.text;
    for (const char* p = opcode.form; *p;) {
        if (*p != '{') {
            text += *p++;
            continue;
        }
        const char* close = std::strchr(p, '}');
        const std::string token(p + 1, close);
        p = close + 1;
        const unsigned offset = static_cast<unsigned>(token.back() - '0');
        if (token == "a11")
            text += Hex16(static_cast<uint16_t>((next & 0xF800) | (op >> 5) << 8 | byte(1)));
        else if (token == "a16" || token == "i16")
            text += Hex16(static_cast<uint16_t>(byte(1) << 8 | byte(2)));
        else if (token[0] == 'i')
            text += Hex8(byte(offset));
        else if (token[0] == 'd')
            text += Direct(byte(offset));
        else if (token[0] == 'b')
            text += Bit(byte(offset));
        else
            text += Hex16(static_cast<uint16_t>(next + static_cast<int8_t>(byte(offset))));
    }
    const size_t blank = text.find(' ');
    if (blank != std::string::npos)
        text.replace(blank, 1, std::string(blank < 7 ? 7 - blank : 1, ' '));
    return instruction;
}

}  // namespace mcs51
