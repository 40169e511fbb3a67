// The machine's megabyte: every byte the CPU, the BIOS, DOS and the program see, with the
// 8086's wrap at 1 MiB and within a segment.
#pragma once

#include "dos/ExecutionHistory.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dos {

// A byte of the machine's memory as the CPU sees it: not a character type, so that the compiler
// knows the CPU's memory accesses leave its registers alone and keeps them in host registers.
// Code outside the CPU reads and writes the same bytes as uint8_t through Data().
enum class MemoryByte : uint8_t {};

// The addresses whose reads and writes go to a trap: size bytes from first; none when size is 0
// (first lies far beyond the megabyte then, so that no address matches).
struct TrapWindow {
    static constexpr uint32_t kNone = 0xF0000000;

    uint32_t first = kNone;
    uint32_t size = 0;

    // Whether any of the length bytes from linear lies in the window: one comparison, as the
    // CPU makes it on every access.
    [[gnu::always_inline]] bool Holds(uint32_t linear, uint32_t length = 1) const
    {
        return linear + (length - 1) - first < size + (length - 1);
    }
};

// A device that answers for part of the megabyte itself rather than leaving it to RAM (video
// memory whose planes and latches lie behind one window).
class IMemoryTrap {
public:
    virtual uint8_t TrapRead(uint32_t linear) = 0;
    virtual void TrapWrite(uint32_t linear, uint8_t value) = 0;
    // What TrapRead would give, with nothing changed by the read.
    virtual uint8_t TrapPeek(uint32_t linear) = 0;

protected:
    ~IMemoryTrap() = default;
};

// A device whose own state (the VGA's planes and registers) the step-back history keeps as
// bytes beyond the megabyte: the device reports each byte's old value through RecordState as
// it changes it, and the history puts them back through RestoreState.
class IJournaledState {
public:
    // offset: from the start of the bytes AddJournaledState gave the device.
    virtual void RestoreState(uint32_t offset, uint8_t value) = 0;

protected:
    ~IJournaledState() = default;
};

class CMemory {
public:
    static constexpr uint32_t kSize = 0x100000;
    static constexpr uint32_t kMask = kSize - 1;

    // The CPU forms pointers up to FFFFh:FFFFh (beyond 1 MiB, never read there): the vector holds
    // that far.
    static constexpr uint32_t kAllocated = kSize + 0x10000;

    CMemory() : m_bytes(kAllocated) {}

    static uint32_t Linear(uint16_t segment, uint16_t offset)
    {
        return ((static_cast<uint32_t>(segment) << 4) + offset) & kMask;
    }

    uint8_t Read8(uint32_t linear) const
    {
        linear &= kMask;
        if (m_trap.Holds(linear)) [[unlikely]] return m_pTrap->TrapRead(linear);
        return static_cast<uint8_t>(m_bytes[linear]);
    }
    // Every write but the bulk Data() ones goes through here, so the step-back history sees
    // the services' writes as well as the CPU's; with no history attached it costs one test.
    void Write8(uint32_t linear, uint8_t value)
    {
        linear &= kMask;
        if (m_trap.Holds(linear)) [[unlikely]] {
            m_pTrap->TrapWrite(linear, value);
            return;
        }
        if (m_pJournal != nullptr) [[unlikely]] {
            m_pJournal->RecordWrite(linear, static_cast<uint8_t>(m_bytes[linear]));
        }
        m_bytes[linear] = MemoryByte{value};
    }
    // Copies and fills that wrap at 1 MiB and that the history can undo.
    void WriteBlock(uint32_t linear, const uint8_t* source, size_t count)
    {
        for (size_t i = 0; i < count; ++i) Write8(static_cast<uint32_t>(linear + i), source[i]);
    }
    void Fill(uint32_t linear, uint8_t value, size_t count)
    {
        for (size_t i = 0; i < count; ++i) Write8(static_cast<uint32_t>(linear + i), value);
    }

    // What Read8 would give, without what the read does to a trap's device (the VGA's
    // latches): a debugger's look.
    uint8_t Peek8(uint32_t linear) const
    {
        linear &= kMask;
        if (m_trap.Holds(linear)) [[unlikely]] return m_pTrap->TrapPeek(linear);
        return static_cast<uint8_t>(m_bytes[linear]);
    }
    uint8_t Peek8(uint16_t segment, uint16_t offset) const { return Peek8(Linear(segment, offset)); }
    uint16_t Peek16(uint16_t segment, uint16_t offset) const
    {
        return static_cast<uint16_t>(Peek8(segment, offset) | (Peek8(segment, static_cast<uint16_t>(offset + 1)) << 8));
    }

    // A word at offset FFFFh takes its high byte from offset 0 of the same segment.
    uint8_t Read8(uint16_t segment, uint16_t offset) const { return Read8(Linear(segment, offset)); }
    void Write8(uint16_t segment, uint16_t offset, uint8_t value) { Write8(Linear(segment, offset), value); }
    uint16_t Read16(uint16_t segment, uint16_t offset) const
    {
        return static_cast<uint16_t>(Read8(segment, offset) | (Read8(segment, static_cast<uint16_t>(offset + 1)) << 8));
    }
    void Write16(uint16_t segment, uint16_t offset, uint16_t value)
    {
        Write8(segment, offset, static_cast<uint8_t>(value));
        Write8(segment, static_cast<uint16_t>(offset + 1), static_cast<uint8_t>(value >> 8));
    }

    // Bulk access for the loader, the screen and the debugger; the caller keeps within kSize.
    // Writes through it escape the step-back history.
    uint8_t* Data() { return reinterpret_cast<uint8_t*>(m_bytes.data()); }
    const uint8_t* Data() const { return reinterpret_cast<const uint8_t*>(m_bytes.data()); }
    // The CPU's view of the same bytes.
    MemoryByte* Bytes() { return m_bytes.data(); }

    // The CPU attaches its history here (nullptr detaches); it writes through Bytes() itself
    // and reports to the same history.
    void SetJournal(CExecutionHistory* journal) { m_pJournal = journal; }
    bool Journaled() const { return m_pJournal != nullptr; }
    // Gives a device `size` state bytes in the history's addresses beyond the megabyte (which
    // its entries hold up to 16 MB); returns the first one's address.
    uint32_t AddJournaledState(IJournaledState& device, uint32_t size);
    // A device's state byte (at an address AddJournaledState gave) is about to change.
    void RecordState(uint32_t address, uint8_t oldValue)
    {
        if (m_pJournal != nullptr) m_pJournal->RecordWrite(address, oldValue);
    }
    // Puts back a byte the history recorded: RAM's, or a device's state byte.
    void Restore(uint32_t address, uint8_t value)
    {
        if (address < kSize) {
            m_bytes[address] = MemoryByte{value};
            return;
        }
        RestoreState(address, value);
    }

    // The window (size bytes from first) whose reads and writes go to the trap instead of RAM;
    // size 0 (or no trap) closes it. The step-back history does not see the trap's writes, and
    // code is never fetched through it. A device sets it between runs, in a port write or in a
    // service, where the CPU takes it up at once.
    void SetTrap(uint32_t first, uint32_t size, IMemoryTrap* trap);
    const TrapWindow& Window() const { return m_trap; }
    IMemoryTrap* Trap() const { return m_pTrap; }

private:
    struct JournaledState {
        uint32_t first;
        uint32_t size;
        IJournaledState* device;
    };

    void RestoreState(uint32_t address, uint8_t value);

    std::vector<MemoryByte> m_bytes;
    CExecutionHistory* m_pJournal = nullptr;
    std::vector<JournaledState> m_states;
    TrapWindow m_trap;
    IMemoryTrap* m_pTrap = nullptr;
};

}  // namespace dos
