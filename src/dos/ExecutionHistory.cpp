// The step-back history's bookkeeping: how deep it reaches and the undo itself.
#include "dos/ExecutionHistory.h"

#include "dos/Memory.h"

#include <algorithm>
#include <bit>
#include <iterator>

namespace dos {

CExecutionHistory::CExecutionHistory(size_t instructions, size_t bytes)
    : m_entries(std::bit_ceil(instructions < 1 ? size_t{1} : instructions)),
      m_writes(std::bit_ceil(bytes < 1 ? size_t{1} : bytes)),
      m_pEntries(m_entries.data()),
      m_pWrites(m_writes.data()),
      m_nEntryMask(m_entries.size() - 1),
      m_nWriteMask(m_writes.size() - 1)
{
}

// An entry is usable while the ring still holds it and every byte written since it began.
size_t CExecutionHistory::Depth() const
{
    const uint64_t capacity = m_nEntryMask + 1;
    uint64_t oldest = m_nEntries > capacity ? m_nEntries - capacity : 0;
    if (oldest < m_nFirstEntry) oldest = m_nFirstEntry;
    const uint64_t writesKept = m_nWriteMask + 1;
    const uint64_t firstKeptWrite = m_nWrites > writesKept ? m_nWrites - writesKept : 0;
    // Entries begin in the order of the writes: the first usable one is found by bisection.
    uint64_t low = oldest;
    uint64_t high = m_nEntries;
    while (low < high) {
        const uint64_t middle = low + (high - low) / 2;
        if (FirstWrite(m_entries[middle & m_nEntryMask]) >= firstKeptWrite) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return static_cast<size_t>(m_nEntries - low);
}

size_t CExecutionHistory::Undo(size_t count, CMemory& memory, Snapshot& before)
{
    const size_t depth = Depth();
    if (count > depth) count = depth;
    for (size_t i = 0; i < count; ++i) {
        const Entry& entry = m_entries[(m_nEntries - 1) & m_nEntryMask];
        const uint64_t firstWrite = FirstWrite(entry);
        while (m_nWrites > firstWrite) {
            --m_nWrites;
            const uint32_t write = m_writes[m_nWrites & m_nWriteMask];
            memory.Restore(write >> 8, static_cast<uint8_t>(write));
        }
        std::copy(std::begin(entry.reg), std::end(entry.reg), before.state.reg);
        std::copy(std::begin(entry.seg), std::end(entry.seg), before.state.seg);
        before.state.ip = entry.ip;
        before.state.flags = static_cast<uint16_t>(entry.flags & ~(kHaltedBit | kInRepeatBit));
        before.flags.CopyFrom(entry.lazy);
        before.mode = static_cast<uint16_t>(entry.flags & (kHaltedBit | kInRepeatBit));
        --m_nEntries;
    }
    return count;
}

void CExecutionHistory::Clear()
{
    m_nFirstEntry = m_nEntries;
}

}  // namespace dos
