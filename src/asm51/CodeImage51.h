// The 64 KB of code memory an assembly fills, and which of its bytes it filled.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>

namespace asm51 {

class CCodeImage51 {
public:
    static constexpr uint32_t kSize = 0x10000;

    void Clear()
    {
        m_used.reset();
        m_bytes.fill(0);
    }
    // False when the address was filled before (the byte is written all the same).
    bool Put(uint32_t address, uint8_t byte)
    {
        const bool fresh = !m_used[address];
        m_used[address] = true;
        m_bytes[address] = byte;
        return fresh;
    }
    bool Used(uint32_t address) const { return m_used[address]; }
    uint8_t At(uint32_t address) const { return m_bytes[address]; }
    bool Empty() const { return m_used.none(); }

private:
    std::array<uint8_t, kSize> m_bytes{};
    std::bitset<kSize> m_used;
};

}  // namespace asm51
