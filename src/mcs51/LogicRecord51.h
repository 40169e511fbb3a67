// What a logic analyzer on the 8051 has recorded: for each of the 32 port pins its level from
// a machine cycle on (the first entry is the level it had when recording began, each later one
// an edge), and for each timer counter the cycles of its overflows. Each channel keeps its
// latest entries only; a step back drops what lies after the cycle gone back to.
#pragma once

#include "mcs51/Timers51.h"

#include <array>
#include <cstdint>
#include <deque>
#include <optional>

namespace mcs51 {

// A channel: pins 0-31 (port times 8 plus bit), then the counters' overflows.
constexpr unsigned kPinChannels51 = 32;
constexpr unsigned kChannels51 = kPinChannels51 + kCounters51;

struct Entry51 {
    uint64_t cycle;
    bool high;
};

// A square wave's last whole period: from a rising edge to the next one, high for the first part.
struct Period51 {
    uint64_t high;
    uint64_t low;
};

class CLogicRecord51 {
public:
    static constexpr size_t kEntriesKept = 4096;

    // Starts over: every pin at its level in pins (P0 first) from cycle on, no overflows.
    void Start(const std::array<uint8_t, 4>& pins, uint64_t cycle);
    // The port reads pins from cycle on: an edge on each pin that moved.
    void Pins(unsigned port, uint8_t pins, uint64_t cycle);
    void Overflow(TimerCounter51 counter, uint64_t cycle);
    // Forgets everything after cycle.
    void Truncate(uint64_t cycle);

    const std::deque<Entry51>& Entries(unsigned channel) const { return m_channels[channel]; }
    // Whether the channel has an edge (or an overflow) on record.
    bool Moved(unsigned channel) const;
    // The level of a pin channel at cycle; none before its record begins.
    std::optional<bool> LevelAt(unsigned channel, uint64_t cycle) const;
    std::optional<Period51> LastPeriod(unsigned channel) const;
    // The time between a counter's last two overflows.
    std::optional<uint64_t> LastInterval(unsigned channel) const;
    // The entry of the channel nearest to cycle (an edge, or an overflow); none when it has none.
    std::optional<uint64_t> NearestEdge(unsigned channel, uint64_t cycle) const;
    // The index of the channel's first entry after cycle.
    size_t FirstAfter(unsigned channel, uint64_t cycle) const;

private:
    void Add(unsigned channel, uint64_t cycle, bool high);
    // Pin channels begin with their level, which is no edge.
    static size_t FirstEdge(unsigned channel) { return channel < kPinChannels51 ? 1 : 0; }

    std::array<std::deque<Entry51>, kChannels51> m_channels;
    std::array<uint8_t, 4> m_levels{0xFF, 0xFF, 0xFF, 0xFF};
};

}  // namespace mcs51
