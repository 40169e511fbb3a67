// The lamps' lit time in buckets of 1 ms, summed over the last 20 ms.
#include "machine/LitTime.h"

#include <algorithm>
#include <bit>

namespace machine {

namespace {
template <typename Add> void ForEachLit(uint64_t lit, Add add)
{
    while (lit) {
        add(static_cast<unsigned>(std::countr_zero(lit)));
        lit &= lit - 1;
    }
}
}

void CLitTime::Reset(uint64_t cycle, uint64_t lit)
{
    for (auto& bucket : m_buckets)
        bucket.fill(0);
    m_nBucket = cycle / kBucket;
    m_nLast = cycle;
    m_nLit = lit;
}

void CLitTime::Set(uint64_t cycle, uint64_t lit)
{
    if (cycle < m_nLast) {
        Reset(cycle, lit);
        return;
    }
    if (lit == m_nLit)
        return;
    Accumulate(cycle);
    m_nLit = lit;
}

void CLitTime::Accumulate(uint64_t until)
{
    uint64_t from = m_nLast;
    // Only the ring's buckets are kept: a longer stretch fills them all.
    if (until / kBucket > from / kBucket + kRing)
        from = (until / kBucket - kRing) * kBucket;
    while (from < until) {
        const uint64_t bucket = from / kBucket;
        EnterBucket(bucket);
        const uint64_t end = std::min(until, (bucket + 1) * kBucket);
        auto& lamps = m_buckets[bucket % kRing];
        const auto span = static_cast<uint16_t>(end - from);
        ForEachLit(m_nLit, [&](unsigned lamp) { lamps[lamp] = static_cast<uint16_t>(lamps[lamp] + span); });
        from = end;
    }
    m_nLast = until;
}

void CLitTime::EnterBucket(uint64_t bucket)
{
    if (bucket <= m_nBucket)
        return;
    for (uint64_t b = std::max(m_nBucket + 1, bucket + 1 > kRing ? bucket + 1 - kRing : 0); b <= bucket; ++b)
        m_buckets[b % kRing].fill(0);
    m_nBucket = bucket;
}

CLitTime::Share CLitTime::Over(uint64_t now) const
{
    Share share;
    now = std::max(now, m_nLast);
    // The window starts at the first bucket's edge in the last 20 ms: it holds whole buckets and
    // the time since.
    const uint64_t start = now < kWindow ? 0 : (now - kWindow + kBucket - 1) / kBucket * kBucket;
    share.window = static_cast<uint32_t>(now - start);
    if (share.window == 0) {
        share.window = 1;
        ForEachLit(m_nLit, [&](unsigned lamp) { share.lit[lamp] = 1; });
        return share;
    }
    // The buckets of the window that the ring still holds.
    const uint64_t first = std::max(start / kBucket, m_nBucket + 1 > kRing ? m_nBucket + 1 - kRing : 0);
    for (uint64_t b = first; b <= m_nBucket && b * kBucket < m_nLast; ++b) {
        const auto& lamps = m_buckets[b % kRing];
        for (unsigned lamp = 0; lamp < 64; ++lamp)
            share.lit[lamp] += lamps[lamp];
    }
    const uint64_t since = std::max(m_nLast, start);
    ForEachLit(m_nLit, [&](unsigned lamp) { share.lit[lamp] += static_cast<uint32_t>(now - since); });
    return share;
}

uint64_t CLitTime::Seen(uint64_t now) const
{
    const Share share = Over(now);
    uint64_t seen = 0;
    for (unsigned lamp = 0; lamp < 64; ++lamp)
        if (share.lit[lamp] && share.AtLeast(lamp, 1, 50))
            seen |= uint64_t{1} << lamp;
    return seen;
}

}  // namespace machine
