// DEBUG's ways of showing the 8086: the two register lines of `r`, the flags as their
// two-letter names, and the lines of `d` at a segment's offsets.
#pragma once

#include "dos/CpuState.h"
#include "dos/Memory.h"

#include <cstdint>
#include <optional>
#include <string>

namespace dos {

class CDosDisplay {
public:
    // Where `r` puts each register's four digits on its two lines, in the order
    // AX BX CX DX SP BP SI DI, then DS ES SS CS IP; and the first flag's name.
    static constexpr int kRegisterColumn = 3;
    static constexpr int kRegisterPitch = 9;
    static constexpr int kFlagsColumn = 46;
    static constexpr Reg16 kGeneralOrder[8] = {kAX, kBX, kCX, kDX, kSP, kBP, kSI, kDI};
    static constexpr SegReg kSegmentOrder[4] = {kDS, kES, kSS, kCS};
    // The flags in the order `r` shows them.
    static constexpr CpuFlag kFlagOrder[8] = {kFlagOverflow, kFlagDirection, kFlagInterrupt, kFlagSign,
                                              kFlagZero,     kFlagAuxCarry,  kFlagParity,    kFlagCarry};

    // "SSSS:OOOO".
    static std::string Address(uint16_t segment, uint16_t offset);
    // "NV UP EI PL NZ NA PO NC", set or clear as FLAGS has them.
    static std::string Flags(uint16_t flags);
    // The flag a two-letter name shows set or clear ("CY" and "NC" both name the carry).
    static std::optional<CpuFlag> FlagNamed(const std::string& name);
    // The first two lines of `r`, each with its line end.
    static std::string RegisterLines(const CpuState& state);
    // One line of `d`: the bytes first..last of the 16 at segment:lineStart (lineStart a
    // multiple of 16), the others left blank; with its line end.
    static std::string DumpLine(const CMemory& memory, uint16_t segment, uint16_t lineStart, unsigned first,
                                unsigned last);
};

}  // namespace dos
