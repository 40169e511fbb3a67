// korvane-51.exe's command line:
//   [--cycles N] [--regs] [--real-time] [--8052] [--observe CYCLES[,CYCLES...]] PROGRAM.HEX
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mcs51 {

enum class OptionError51 : uint8_t { kNone, kUsage, kBadCycles, kBadObserve };

struct RunOptions51 {
    // 0: no limit.
    uint64_t cycles = 0;
    bool regs = false;
    bool realTime = false;
    // The 8052 (256 bytes of internal RAM, Timer 2) rather than the 8051.
    bool mcs8052 = false;
    // The machine cycles at which the devices' views are printed, ascending, each once.
    std::vector<uint64_t> observe;
    std::wstring program;

    // The arguments after the program's own name.
    OptionError51 Parse(const std::vector<std::wstring>& args);
};

}  // namespace mcs51
