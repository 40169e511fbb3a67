// The megabyte's window for a memory trap; the rest is inline.
#include "dos/Memory.h"

namespace dos {

void CMemory::SetTrap(uint32_t first, uint32_t size, IMemoryTrap* trap)
{
    const bool open = trap != nullptr && size != 0;
    m_pTrap = open ? trap : nullptr;
    m_trap = open ? TrapWindow{first, size} : TrapWindow{};
}

}  // namespace dos
