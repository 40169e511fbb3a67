// DEBUG's register and dump lines, column for column.
#include "debug/DosDisplay.h"

#include "debug/HexDump.h"

namespace dos {

namespace {

struct FlagName {
    CpuFlag flag;
    const char* set;
    const char* clear;
};

// In the order `r` shows them.
const FlagName kFlagNames[] = {
    {kFlagOverflow, "OV", "NV"}, {kFlagDirection, "DN", "UP"}, {kFlagInterrupt, "EI", "DI"},
    {kFlagSign, "NG", "PL"},     {kFlagZero, "ZR", "NZ"},      {kFlagAuxCarry, "AC", "NA"},
    {kFlagParity, "PE", "PO"},   {kFlagCarry, "CY", "NC"},
};

}

std::string CDosDisplay::Address(uint16_t segment, uint16_t offset)
{
    return CHexDump::Hex4(segment) + ':' + CHexDump::Hex4(offset);
}

std::string CDosDisplay::Flags(uint16_t flags)
{
    std::string text;
    for (const FlagName& name : kFlagNames) {
        if (!text.empty())
            text += ' ';
        text += (flags & name.flag) ? name.set : name.clear;
    }
    return text;
}

std::optional<CpuFlag> CDosDisplay::FlagNamed(const std::string& name)
{
    for (const FlagName& flag : kFlagNames)
        if (name == flag.set || name == flag.clear)
            return flag.flag;
    return std::nullopt;
}

std::string CDosDisplay::RegisterLines(const CpuState& state)
{
    static const char* const kGeneral[] = {"AX", "BX", "CX", "DX", "SP", "BP", "SI", "DI"};
    static const char* const kSegments[] = {"DS", "ES", "SS", "CS"};
    std::string text;
    for (int i = 0; i < 8; ++i) {
        text += std::string(kGeneral[i]) + '=' + CHexDump::Hex4(state.reg[kGeneralOrder[i]]);
        text += i < 7 ? "  " : "\r\n";
    }
    for (int i = 0; i < 4; ++i)
        text += std::string(kSegments[i]) + '=' + CHexDump::Hex4(state.seg[kSegmentOrder[i]]) + "  ";
    text += "IP=" + CHexDump::Hex4(state.ip) + "   " + Flags(state.flags) + "\r\n";
    return text;
}

std::string CDosDisplay::DumpLine(const CMemory& memory, uint16_t segment, uint16_t lineStart, unsigned first,
                                  unsigned last)
{
    uint8_t bytes[16];
    for (unsigned i = 0; i < 16; ++i)
        bytes[i] = memory.Peek8(segment, static_cast<uint16_t>(lineStart + i));
    return CHexDump::Line(Address(segment, lineStart), bytes, first, last);
}

}  // namespace dos
