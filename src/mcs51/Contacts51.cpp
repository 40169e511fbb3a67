// Keys' contacts and their bounce.
#include "mcs51/Contacts51.h"

#include "mcs51/Mcs51State.h"

#include <algorithm>
#include <iterator>

namespace mcs51 {

namespace {
// The cycles after a change at which a bouncing contact moves: seven moves in 4.5 ms, so that
// it ends as the key is.
const uint64_t kBounces[] = {0, 300, 700, 1200, 2000, 3100, 4500};
}

void CContacts51::Hold(size_t key, bool down, uint64_t cycle)
{
    Key& k = m_keys[key];
    if (k.held == down)
        return;
    k.held = down;
    if (!m_bBounce) {
        k.closed = down;
        return;
    }
    k.since = cycle;
    k.step = 0;
    k.bouncing = true;
    Advance(cycle);
}

uint64_t CContacts51::Advance(uint64_t cycle)
{
    for (Key& k : m_keys) {
        while (k.bouncing && k.since + kBounces[k.step] <= cycle) {
            k.closed = !k.closed;
            if (++k.step == std::size(kBounces)) {
                k.bouncing = false;
                k.closed = k.held;
            }
        }
    }
    return NextMove();
}

uint64_t CContacts51::NextMove() const
{
    uint64_t next = kNever;
    for (const Key& k : m_keys)
        if (k.bouncing)
            next = std::min(next, k.since + kBounces[k.step]);
    return next;
}

}  // namespace mcs51
