// The megabyte's window for a memory trap; the rest is inline.
#include "dos/Memory.h"

namespace dos {

void CMemory::SetTrap(uint32_t first, uint32_t size, IMemoryTrap* trap)
{
    const bool open = trap != nullptr && size != 0;
    m_pTrap = open ? trap : nullptr;
    m_trap = open ? TrapWindow{first, size} : TrapWindow{};
}

uint32_t CMemory::AddJournaledState(IJournaledState& device, uint32_t size)
{
    const uint32_t first = m_states.empty() ? kSize : m_states.back().first + m_states.back().size;
    m_states.push_back({first, size, &device});
    return first;
}

void CMemory::RestoreState(uint32_t address, uint8_t value)
{
    for (const JournaledState& state : m_states)
        if (address - state.first < state.size)
            state.device->RestoreState(address - state.first, value);
}

}  // namespace dos
