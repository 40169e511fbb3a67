// The bytes the machine overwrote, oldest first, in a ring: what stepping back puts back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mcs51 {

struct Write51 {
    uint16_t address;
    uint8_t space;
    uint8_t old;
};

class CWriteLog51 {
public:
    explicit CWriteLog51(size_t capacityPow2) : m_writes(capacityPow2), m_nMask(capacityPow2 - 1) {}

    void Add(uint8_t space, uint16_t address, uint8_t old)
    {
        m_writes[m_nNext++ & m_nMask] = Write51{address, space, old};
    }
    // Writes are numbered from the first ever made; Next() is the number the next one takes.
    uint64_t Next() const { return m_nNext; }
    // The oldest write still held.
    uint64_t Oldest() const { return m_nNext > m_writes.size() ? m_nNext - m_writes.size() : 0; }
    const Write51& At(uint64_t index) const { return m_writes[index & m_nMask]; }
    // Forgets every write from index on.
    void Truncate(uint64_t index) { m_nNext = index; }

private:
    std::vector<Write51> m_writes;
    uint64_t m_nMask;
    uint64_t m_nNext = 0;
};

}  // namespace mcs51
