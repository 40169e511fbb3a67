// The contacts of a part's keys: each closes and opens with its key at once, or, with bounce
// on, only after a few milliseconds of bouncing, as a real key's contacts do.
#pragma once

#include <cstdint>
#include <vector>

namespace mcs51 {

class CContacts51 {
public:
    explicit CContacts51(size_t keys) : m_keys(keys) {}

    void SetBounce(bool on) { m_bBounce = on; }
    // The key held or let go at cycle.
    void Hold(size_t key, bool down, uint64_t cycle);
    // Moves the bouncing contacts on to cycle; returns the next cycle one moves at (kNever:
    // none bounces).
    uint64_t Advance(uint64_t cycle);
    bool Closed(size_t key) const { return m_keys[key].closed; }

private:
    struct Key {
        bool held = false;
        bool closed = false;
        // When the key changed; its contact bounces for a while from then.
        uint64_t since = 0;
        // The bounces made of the pattern.
        unsigned step = 0;
        bool bouncing = false;
    };

    uint64_t NextMove() const;

    std::vector<Key> m_keys;
    bool m_bBounce = false;
};

}  // namespace mcs51
