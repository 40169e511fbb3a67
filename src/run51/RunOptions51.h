// korvane-51.exe's command line:
//   [--cycles N] [--regs [--iram]] [--real-time] [--8052] [--board NAME [--bounce] [--press KEY@T1-T2]...]
//   [--observe TIMES] PROGRAM.HEX
// The times of --observe are machine cycles, or milliseconds when a board is given.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mcs51 {

enum class OptionError51 : uint8_t { kNone, kUsage, kBadCycles, kBadObserve, kBadBoard, kBadPress };

// A key held from one time to another (milliseconds from the reset).
struct Press51 {
    std::string key;
    uint64_t from = 0;
    uint64_t to = 0;
};

struct RunOptions51 {
    // 0: no limit.
    uint64_t cycles = 0;
    bool regs = false;
    // With --regs, the internal RAM after the registers.
    bool iram = false;
    bool realTime = false;
    // The 8052 (256 bytes of internal RAM, Timer 2) rather than the 8051.
    bool mcs8052 = false;
    // The times at which the devices' views are printed, ascending, each once.
    std::vector<uint64_t> observe;
    // "plain", "pz", "tx"; empty for none.
    std::string board;
    std::vector<Press51> presses;
    // The board's keys bounce.
    bool bounce = false;
    std::wstring program;

    // The arguments after the program's own name.
    OptionError51 Parse(const std::vector<std::wstring>& args);
};

}  // namespace mcs51
