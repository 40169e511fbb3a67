// The step-back history: for each instruction run while it is attached, the registers before
// it and the old value of every byte written meanwhile (by the instruction or by a service it
// called), in two rings, so that the last instructions can be undone exactly.
#pragma once

#include "dos/CpuState.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CMemory;

class CExecutionHistory {
public:
    static constexpr size_t kDefaultInstructions = size_t{1} << 17;
    static constexpr size_t kDefaultBytes = size_t{1} << 20;

    // Both capacities are rounded up to powers of two.
    explicit CExecutionHistory(size_t instructions = kDefaultInstructions, size_t bytes = kDefaultBytes);

    // halted and inRepeat: the CPU's own state beside its registers.
    void BeginInstruction(const CpuState& before, bool halted, bool inRepeat)
    {
        Entry& entry = m_entries[m_nEntries & m_nEntryMask];
        entry.before = before;
        entry.firstWrite = m_nWrites;
        entry.halted = halted;
        entry.inRepeat = inRepeat;
        ++m_nEntries;
    }
    void RecordWrite(uint32_t linear, uint8_t oldValue)
    {
        m_writes[m_nWrites & m_nWriteMask] = (linear << 8) | oldValue;
        ++m_nWrites;
    }

    // How many of the last instructions can be undone: as many as both rings still hold.
    size_t Depth() const;
    // Undoes the last count instructions (at most Depth()), newest first; returns how many.
    size_t Undo(size_t count, CpuState& state, CMemory& memory, bool& halted, bool& inRepeat);
    void Clear();

private:
    struct Entry {
        CpuState before;
        uint64_t firstWrite = 0;
        bool halted = false;
        bool inRepeat = false;
    };

    std::vector<Entry> m_entries;
    std::vector<uint32_t> m_writes;
    uint64_t m_nEntryMask;
    uint64_t m_nWriteMask;
    uint64_t m_nEntries = 0;
    uint64_t m_nWrites = 0;
    // Entries before this one were undone or cleared.
    uint64_t m_nFirstEntry = 0;
};
