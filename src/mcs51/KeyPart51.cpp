// The keys' contacts onto the pins, and the calls a bounce needs.
#include "mcs51/KeyPart51.h"

namespace mcs51 {

void CKeyPart51::Hold(unsigned key, bool down)
{
    if (key >= Keys())
        return;
    m_contacts.Hold(key, down, Now());
    Apply();
    Link().CallAt(m_contacts.Advance(Now()));
}

void CKeyPart51::OnCycle(uint64_t cycle)
{
    const uint64_t next = m_contacts.Advance(cycle);
    Apply();
    Link().CallAt(next);
}

}  // namespace mcs51
