// How long each of up to 64 lamps (LEDs, a display's segments) was lit over the last 20 ms of
// machine time, as a person's eye sums a multiplexed display: the lamps' state is told as it
// changes, and the time is kept in 1 ms buckets. Time is counted in microseconds (a 12 MHz
// 8051's machine cycles, the DOS machine's nanoseconds / 1000).
#pragma once

#include <array>
#include <cstdint>

namespace machine {

class CLitTime {
public:
    // 20 ms.
    static constexpr uint64_t kWindow = 20000;

    struct Share {
        std::array<uint32_t, 64> lit{};
        // The cycles the shares are of: the window, shorter just after a reset.
        uint32_t window = 0;
        // Whether a lamp was lit for at least part/whole of the window.
        bool AtLeast(unsigned lamp, uint32_t part, uint32_t whole) const
        {
            return uint64_t{lit[lamp]} * whole >= uint64_t{window} * part;
        }
        // Whether it was lit for at most part/whole of it.
        bool AtMost(unsigned lamp, uint32_t part, uint32_t whole) const
        {
            return uint64_t{lit[lamp]} * whole <= uint64_t{window} * part;
        }
    };

    // From cycle on the lamps of the mask are lit (bit n lamp n); the time before is forgotten.
    void Reset(uint64_t cycle, uint64_t lit);
    // The lamps of the mask are lit from cycle on. A cycle before the last one told (a step
    // back) starts afresh there.
    void Set(uint64_t cycle, uint64_t lit);
    // The lit time of every lamp over the window that ends at now; a window of no time shows
    // the lamps as they are now.
    Share Over(uint64_t now) const;
    // The lamps a person sees lit at now (bit n lamp n): each on for at least 2% of the window.
    uint64_t Seen(uint64_t now) const;

private:
    static constexpr uint64_t kBucket = 1000;
    static constexpr uint64_t kRing = 32;

    // Adds the time from m_nLast to until, with the lamps of m_nLit lit, to the buckets.
    void Accumulate(uint64_t until);
    void EnterBucket(uint64_t bucket);

    std::array<std::array<uint16_t, 64>, kRing> m_buckets{};
    uint64_t m_nBucket = 0;
    uint64_t m_nLast = 0;
    uint64_t m_nLit = 0;
};

}  // namespace machine
