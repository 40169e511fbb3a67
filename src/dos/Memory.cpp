// The megabyte's window for a memory trap; the rest is inline.
#include "dos/Memory.h"

namespace dos {

void CMemory::SetTrap(uint32_t first, uint32_t size, IMemoryTrap* trap)
{
    const bool open = trap != nullptr && size != 0;
    m_pTrap = open ? trap : nullptr;
    m_nTrapFirst = open ? first : kNoTrap;
    m_nTrapSize = open ? size : 0;
}

}  // namespace dos
