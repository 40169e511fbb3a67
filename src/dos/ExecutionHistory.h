// The step-back history: for each instruction run while it is attached, the registers before
// it and the old value of every byte written meanwhile (by the instruction or by a service it
// called; RAM's, and beyond the megabyte the state bytes of devices such as the VGA), in two
// rings, so that the last instructions can be undone exactly.
#pragma once

#include "dos/CpuState.h"
#include "dos/LazyFlags8086.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace dos {

class CMemory;

class CExecutionHistory {
public:
    static constexpr size_t kDefaultInstructions = size_t{1} << 17;
    static constexpr size_t kDefaultBytes = size_t{1} << 20;

    // What the CPU keeps beside its registers: halted, in the middle of a repeated string
    // instruction. The 8086's FLAGS keep bits 3 and 5 clear: the entries hold these there.
    static constexpr uint16_t kHaltedBit = 0x0008;
    static constexpr uint16_t kInRepeatBit = 0x0020;

    // The CPU as an instruction found it: its registers (FLAGS with the arithmetic flags still
    // pending in flags) and its mode bits.
    struct Snapshot {
        CpuState state;
        CLazyFlags8086 flags;
        uint16_t mode = 0;
    };

    // Both capacities are rounded up to powers of two.
    explicit CExecutionHistory(size_t instructions = kDefaultInstructions, size_t bytes = kDefaultBytes);

    // The general registers are read one word at a time: the CPU has just written some of them
    // as words, and a wider read would stall until those writes reach the cache. The segment
    // registers seldom change and are copied at once. ip is the instruction's own.
    [[gnu::always_inline]] void BeginInstruction(const CpuState& before, uint16_t ip, const CLazyFlags8086& flags, uint16_t mode)
    {
        Entry& entry = m_pEntries[m_nEntries & m_nEntryMask];
        const volatile uint16_t* reg = before.reg;
        for (int i = 0; i < 8; ++i) entry.reg[i] = reg[i];
        std::memcpy(entry.seg, before.seg, sizeof entry.seg);
        entry.ip = ip;
        entry.flags = static_cast<uint16_t>(before.flags | mode);
        entry.firstWrite = static_cast<uint32_t>(m_nWrites);
        flags.CopyTo(entry.lazy);
        ++m_nEntries;
    }
    [[gnu::always_inline]] void RecordWrite(uint32_t linear, uint8_t oldValue)
    {
        m_pWrites[m_nWrites & m_nWriteMask] = (linear << 8) | oldValue;
        ++m_nWrites;
    }

    // How many of the last instructions can be undone: as many as both rings still hold.
    size_t Depth() const;
    // Undoes the last count instructions (at most Depth()), newest first: puts back the bytes
    // they wrote and gives the CPU as the oldest of them found it. Returns how many.
    size_t Undo(size_t count, CMemory& memory, Snapshot& before);
    void Clear();

private:
    // firstWrite counts writes modulo 2^32, far more than the ring ever spans.
    struct Entry {
        uint16_t reg[8];
        uint16_t seg[4];
        uint16_t ip;
        uint16_t flags;
        uint32_t firstWrite;
        CLazyFlags8086::Record lazy;
    };
    uint64_t FirstWrite(const Entry& entry) const
    {
        return m_nWrites - static_cast<uint32_t>(static_cast<uint32_t>(m_nWrites) - entry.firstWrite);
    }

    std::vector<Entry> m_entries;
    std::vector<uint32_t> m_writes;
    Entry* m_pEntries;
    uint32_t* m_pWrites;
    uint64_t m_nEntryMask;
    uint64_t m_nWriteMask;
    uint64_t m_nEntries = 0;
    uint64_t m_nWrites = 0;
    // Entries before this one were undone or cleared.
    uint64_t m_nFirstEntry = 0;
};

}  // namespace dos
