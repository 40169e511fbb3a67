// The symbol table and the chips' predefined names.
#include "asm51/Symbols51.h"

#include <array>
#include <string_view>

namespace asm51 {

namespace {
struct Named {
    std::string_view name;
    int32_t value;
};

// The SFRs of the 8051 and the 8052 (Timer 2's) at their data addresses, and their named bits
// at their bit addresses, as Intel's MCS-51 user's manual names them.
constexpr Named kPredefined[] = {
    {"P0", 0x80},     {"SP", 0x81},     {"DPL", 0x82},    {"DPH", 0x83},    {"PCON", 0x87},   {"TCON", 0x88},
    {"TMOD", 0x89},   {"TL0", 0x8A},    {"TL1", 0x8B},    {"TH0", 0x8C},    {"TH1", 0x8D},    {"P1", 0x90},
    {"SCON", 0x98},   {"SBUF", 0x99},   {"P2", 0xA0},     {"IE", 0xA8},     {"P3", 0xB0},     {"IP", 0xB8},
    {"T2CON", 0xC8},  {"T2MOD", 0xC9},  {"RCAP2L", 0xCA}, {"RCAP2H", 0xCB}, {"TL2", 0xCC},    {"TH2", 0xCD},
    {"PSW", 0xD0},    {"ACC", 0xE0},    {"B", 0xF0},
    {"IT0", 0x88},    {"IE0", 0x89},    {"IT1", 0x8A},    {"IE1", 0x8B},    {"TR0", 0x8C},    {"TF0", 0x8D},
    {"TR1", 0x8E},    {"TF1", 0x8F},    {"T2", 0x90},     {"T2EX", 0x91},   {"RI", 0x98},     {"TI", 0x99},
    {"RB8", 0x9A},    {"TB8", 0x9B},    {"REN", 0x9C},    {"SM2", 0x9D},    {"SM1", 0x9E},    {"SM0", 0x9F},
    {"EX0", 0xA8},    {"ET0", 0xA9},    {"EX1", 0xAA},    {"ET1", 0xAB},    {"ES", 0xAC},     {"ET2", 0xAD},
    {"EA", 0xAF},     {"RXD", 0xB0},    {"TXD", 0xB1},    {"INT0", 0xB2},   {"INT1", 0xB3},   {"T0", 0xB4},
    {"T1", 0xB5},     {"WR", 0xB6},     {"RD", 0xB7},     {"PX0", 0xB8},    {"PT0", 0xB9},    {"PX1", 0xBA},
    {"PT1", 0xBB},    {"PS", 0xBC},     {"PT2", 0xBD},    {"CP_RL2", 0xC8}, {"C_T2", 0xC9},   {"TR2", 0xCA},
    {"EXEN2", 0xCB},  {"TCLK", 0xCC},   {"RCLK", 0xCD},   {"EXF2", 0xCE},   {"TF2", 0xCF},    {"P", 0xD0},
    {"OV", 0xD2},     {"RS0", 0xD3},    {"RS1", 0xD4},    {"F0", 0xD5},     {"AC", 0xD6},     {"CY", 0xD7},
};
}

void CSymbols51::BeginPass()
{
    for (auto& [name, symbol] : m_symbols)
        symbol.seen = false;
    m_bPredefined = true;
}

Symbol51* CSymbols51::Find(const std::string& name)
{
    const auto found = m_symbols.find(name);
    return found == m_symbols.end() ? nullptr : &found->second;
}

std::optional<int32_t> CSymbols51::Predefined(const std::string& name)
{
    for (const Named& named : kPredefined) {
        if (named.name == name)
            return named.value;
    }
    return std::nullopt;
}

bool CSymbols51::Define(const std::string& name, int32_t value, SymbolKind kind, unsigned statement, bool redefinable)
{
    const auto [at, added] = m_symbols.try_emplace(name, Symbol51{value, kind, statement, redefinable, true});
    Symbol51& symbol = at->second;
    if (!added && symbol.statement != statement && !(symbol.redefinable && redefinable))
        return false;
    symbol.value = value;
    symbol.kind = kind;
    symbol.seen = true;
    return true;
}

}  // namespace asm51
