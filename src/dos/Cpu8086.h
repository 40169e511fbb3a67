// The Intel 8086 with the instructions the 80186 added: decodes and runs the program's
// instructions on the machine's memory, and leaves ports, hardware interrupts and the BIOS and
// DOS services to the machine through IMachineBus.
#pragma once

#include "dos/Alu8086.h"
#include "dos/CpuState.h"
#include "dos/ExecutionHistory.h"
#include "dos/LazyFlags8086.h"
#include "dos/MachineBus.h"
#include "dos/Memory.h"
#include "machine/StopReason.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace dos {

// Why Run returned: the budget is spent (Limit), a service ended the machine (Ended: the last
// program ended, or the machine stopped it), a service waits for input (WaitingForInput:
// running again retries it), HLT and no interrupt waits or IF is clear (Idle: the CPU stays
// halted until one does), RequestStop was called from any thread (Paused), or the next
// instruction lies at a breakpoint (Breakpoint; Run never stops at its own first instruction).
using machine::StopReason;

class CCpu8086 {
public:
    CCpu8086(CMemory& memory, IMachineBus& bus);
    CCpu8086(const CCpu8086&) = delete;
    CCpu8086& operator=(const CCpu8086&) = delete;

    CpuState& State() { return m_state; }
    const CpuState& State() const { return m_state; }
    CMemory& Memory() { return m_memory; }

    // Runs one instruction with its prefixes (one element of a repeated string instruction,
    // as the 8086 does between interrupts), then the interrupt it raised or that waits. The
    // registers may be changed between calls; FLAGS is exact whenever Step or Run returns and
    // while a service runs.
    StopReason Step();
    // Runs until one of the stop reasons, at most maxInstructions instructions (each element
    // of a repeated string instruction counts as one). Its first instruction always runs, so
    // that running on from a breakpoint or a stop makes progress.
    StopReason Run(uint64_t maxInstructions);

    // How many instructions the last Run or Step executed.
    uint64_t Executed() const { return m_nExecuted; }
    // While a Run or Step is under way (a port or a service asks), the instructions it has
    // begun, the current one included; 0 between runs.
    uint64_t RunProgress() const { return m_nRunLength - m_nBudget; }

    // The machine's interrupt controller holds its line up while an interrupt waits.
    void SetInterruptLine(bool raised)
    {
        m_nAttention = (m_nAttention & ~kAttentionLine) | (raised ? kAttentionLine : 0);
    }
    // Makes Run return before its next instruction (after its first, if it has not begun);
    // safe from another thread.
    void RequestStop() { m_bStopRequested.store(true, std::memory_order_relaxed); }
    // Ends the run under way after the current instruction, as if its budget were spent: what
    // the instruction did to a device (a timer set anew) must be looked at before more run.
    void EndRun()
    {
        m_nRunLength -= m_nBudget;
        m_nBudget = 0;
    }

    // True while a repeated string instruction is unfinished: CS:IP is back at its first
    // prefix and CX tells how many elements remain.
    bool InRepeat() const { return (m_nMode & kModeInRepeat) != 0; }
    // True after HLT until an interrupt wakes the CPU.
    bool Halted() const { return (m_nMode & kModeHalted) != 0; }
    // Ends a HLT without an interrupt (the debugger moved CS:IP on, say).
    void ClearHalt() { m_nMode &= ~kModeHalted; }

    // Breakpoints by the linear address of an instruction's first byte (its first prefix).
    void SetBreakpoint(uint32_t linear);
    void ClearBreakpoint(uint32_t linear);
    void ClearBreakpoints();
    bool HasBreakpoint(uint32_t linear) const;

    // The step-back history records every instruction while it is attached (nullptr detaches);
    // the history also watches the memory's writes, the services' included.
    void AttachHistory(CExecutionHistory* history);
    CExecutionHistory* History() const { return m_pHistory; }
    // Undoes the last count instructions the attached history holds; returns how many.
    size_t StepBack(size_t count);

private:
    enum class Outcome : uint8_t { kNext, kStop, kBlocked, kHalted };
    enum RepPrefix : uint8_t { kNoRep = 0, kRepNe = 0xF2, kRepE = 0xF3 };
    static constexpr uint8_t kNoOverride = 0xFF;
    // What must be looked at after an instruction, besides the trap: the interrupt line, and
    // the hold a MOV or POP to a segment register (or STI) puts on interrupts for one instruction.
    // kAttentionQueued: the instruction was fetched from m_queue; kAttentionTrap: TF is set.
    enum Attention : uint8_t { kAttentionLine = 1, kAttentionHold = 2, kAttentionQueued = 4, kAttentionTrap = 8 };
    static constexpr uint16_t kModeHalted = CExecutionHistory::kHaltedBit;
    static constexpr uint16_t kModeInRepeat = CExecutionHistory::kInRepeatBit;
    static constexpr unsigned kFetchMargin = 16;
    static constexpr unsigned kQueueSize = 32;

    template <bool kRecord, bool kBreakpoints>
    StopReason RunLoop(uint64_t maxInstructions);
    static StopReason ReasonOf(Outcome outcome);
    Outcome Execute();
    Outcome Dispatch(uint8_t opcode);
    Outcome AfterInstruction(Outcome outcome);
    template <bool kRecord>
    Outcome Step(bool mayBeHalted);
    [[gnu::always_inline]] void SettleFlags() { m_lazy.Settle(m_state.flags); }
    [[gnu::always_inline]] unsigned Carry() const { return m_lazy.Carry(m_state.flags); }
    [[gnu::always_inline]] bool InterruptWaits() const { return (m_nAttention & kAttentionLine) && (m_state.flags & kFlagInterrupt); }
    Outcome WakeFromHalt();

    // Fetch. While Run runs, IP lives in m_pIp, a pointer into the code segment (m_state.ip is
    // written back whenever code outside the CPU may look); near the end of the segment or of
    // memory the instruction is first copied into m_queue with the 8086's wrap.
    [[gnu::always_inline]] uint8_t Fetch8() { return static_cast<uint8_t>(*m_pIp++); }
    [[gnu::always_inline]] uint16_t NextIp() const { return static_cast<uint16_t>(m_nIpOrigin + (m_pIp - m_pIpOrigin)); }
    [[gnu::always_inline]] void SetIp(uint16_t ip)
    {
        m_pIpOrigin = m_pCsBase;
        m_nIpOrigin = 0;
        m_pIpLimit = m_pWindowLimit;
        m_pIp = m_pCsBase + ip;
    }
    void SetCs(uint16_t cs);
    [[gnu::always_inline]] void SetCsIp(uint16_t cs, uint16_t ip)
    {
        SetCs(cs);
        SetIp(ip);
    }
    [[gnu::always_inline]] void CommitIp() { m_state.ip = NextIp(); }
    [[gnu::always_inline]] uint16_t StartIp() const
    {
        return (m_nAttention & kAttentionQueued) ? m_nQueueStart : static_cast<uint16_t>(m_pStart - m_pCsBase);
    }
    // After code outside the CPU may have changed m_state: CS:IP and TF as they are there.
    void LoadState()
    {
        SetCsIp(m_state.cs(), m_state.ip);
        SyncTrap();
        m_trap = m_memory.Window();
        UpdateWatchedWrites();
    }
    // While TF is set, or the last instruction began with it set, every instruction ends in
    // AfterInstruction.
    [[gnu::always_inline]] void SyncTrap()
    {
        const bool trap = (m_state.flags & kFlagTrap) || m_bTrapLatched;
        m_nAttention = (m_nAttention & ~kAttentionTrap) | (trap ? kAttentionTrap : 0);
    }
    void Queue();
    // Any number of prefixes may precede an instruction: a long run of them is queued afresh.
    [[gnu::always_inline]] uint8_t FetchAfterPrefix()
    {
        if (m_pIp >= m_pIpLimit) [[unlikely]] Queue();
        return Fetch8();
    }
    [[gnu::always_inline]] uint16_t Fetch16()
    {
        const uint8_t low = Fetch8();
        return static_cast<uint16_t>(low | (Fetch8() << 8));
    }
    // Byte registers are read and written as parts of their word, never through a byte pointer:
    // a character-type store could alias any of the CPU's fields and would keep the compiler
    // from holding them in host registers.
    [[gnu::always_inline]] uint8_t Reg8(unsigned index) const { return static_cast<uint8_t>(m_state.reg[index & 3] >> ((index >> 2) * 8)); }
    [[gnu::always_inline]] void SetReg8(unsigned index, uint8_t value)
    {
        const unsigned shift = (index >> 2) * 8;
        uint16_t& word = m_state.reg[index & 3];
        word = static_cast<uint16_t>((word & ~(0xFF << shift)) | (value << shift));
    }
    [[gnu::always_inline]] unsigned RegField() const { return (m_nModRm >> 3) & 7; }
    void DecodeModRm();
    void DecodeEa(uint8_t modrm);
    [[gnu::always_inline]] uint16_t SegmentOr(SegReg defaultSegment) const
    {
        return m_state.seg[m_nOverride == kNoOverride ? static_cast<unsigned>(defaultSegment) : m_nOverride];
    }
    uint8_t GetRm8();
    void SetRm8(uint8_t value);
    uint16_t GetRm16();
    void SetRm16(uint16_t value);
    [[gnu::always_inline]] uint16_t EaWord(uint16_t displacement) const { return Read16(m_nEaSeg, static_cast<uint16_t>(m_nEaOff + displacement)); }

    // Memory and stack; a word at offset FFFFh takes its high byte from offset 0 of the same
    // segment. A device's window (CMemory::SetTrap) answers for its own bytes.
    [[gnu::always_inline]] uint8_t Read8(uint16_t segment, uint16_t offset) const
    {
        const uint32_t linear = CMemory::Linear(segment, offset);
        if (m_trap.Holds(linear)) [[unlikely]] return m_memory.Trap()->TrapRead(linear);
        return static_cast<uint8_t>(m_pMem[linear]);
    }
    [[gnu::always_inline]] uint16_t Read16(uint16_t segment, uint16_t offset) const
    {
        const uint32_t linear = CMemory::Linear(segment, offset);
        if (offset != 0xFFFF && linear != CMemory::kMask && !m_trap.Holds(linear, 2)) [[likely]] {
            return static_cast<uint16_t>(static_cast<uint8_t>(m_pMem[linear]) | (static_cast<uint8_t>(m_pMem[linear + 1]) << 8));
        }
        return static_cast<uint16_t>(Read8(segment, offset) | (Read8(segment, static_cast<uint16_t>(offset + 1)) << 8));
    }
    // As CMemory::Write8, without going through the memory object: one test on the way to
    // RAM, whether a history records or a trap window is open.
    [[gnu::always_inline]] void Write8(uint16_t segment, uint16_t offset, uint8_t value)
    {
        const uint32_t linear = CMemory::Linear(segment, offset);
        if (m_bWatchedWrites) [[unlikely]] {
            WatchedWrite(linear, value);
            return;
        }
        m_pMem[linear] = MemoryByte{value};
    }
    void WatchedWrite(uint32_t linear, uint8_t value);
    void UpdateWatchedWrites() { m_bWatchedWrites = m_pHistory != nullptr || m_trap.size != 0; }
    [[gnu::always_inline]] void Write16(uint16_t segment, uint16_t offset, uint16_t value)
    {
        Write8(segment, offset, static_cast<uint8_t>(value));
        Write8(segment, static_cast<uint16_t>(offset + 1), static_cast<uint8_t>(value >> 8));
    }
    template <typename T>
    T ReadT(uint16_t segment, uint16_t offset) const;
    template <typename T>
    void WriteT(uint16_t segment, uint16_t offset, T value);
    [[gnu::always_inline]] void Push(uint16_t value)
    {
        m_state.sp() = static_cast<uint16_t>(m_state.sp() - 2);
        Write16(m_state.ss(), m_state.sp(), value);
    }
    // The 8086 pushes SP as it is after the decrement.
    [[gnu::always_inline]] void PushStackPointer()
    {
        m_state.sp() = static_cast<uint16_t>(m_state.sp() - 2);
        Write16(m_state.ss(), m_state.sp(), m_state.sp());
    }
    [[gnu::always_inline]] uint16_t Pop()
    {
        const uint16_t value = Read16(m_state.ss(), m_state.sp());
        m_state.sp() = static_cast<uint16_t>(m_state.sp() + 2);
        return value;
    }

    // Instruction families.
    template <AluOp op>
    Outcome AluRm8Reg(bool toReg);
    template <AluOp op>
    Outcome AluRm16Reg(bool toReg);
    template <AluOp op>
    Outcome AluAccImm8();
    template <AluOp op>
    Outcome AluAccImm16();
    Outcome Group1(uint8_t opcode);
    Outcome Group2(uint8_t opcode);
    template <typename T>
    [[gnu::always_inline]] T Shift(ShiftOp op, T value, unsigned count);
    Outcome Group3Byte();
    Outcome Group3Word();
    Outcome Group4();
    Outcome Group5();
    Outcome MoveSegment(bool toSegment);
    Outcome LoadFarPointer(SegReg segment);
    Outcome Lea();
    Outcome PopRm();
    Outcome Jump(bool taken, int16_t displacement);
    Outcome Loop(uint8_t opcode);
    Outcome CallFar(uint16_t segment, uint16_t offset);
    Outcome ReturnFar(uint16_t release);
    Outcome Iret();
    Outcome PushAll();
    Outcome PopAll();
    Outcome Bound();
    Outcome Enter();
    Outcome ImulImmediate(bool wordImmediate);
    Outcome Port(uint8_t opcode);
    bool Condition(unsigned code) const;

    template <typename T, uint8_t kKind>
    Outcome String();
    template <typename T, uint8_t kKind>
    bool StringElement();

    // Interrupts and the machine's services.
    Outcome Interrupt(uint8_t vector);
    Outcome Fault(uint8_t vector);
    Outcome CallService(uint8_t vector, const CpuState& before);
    bool AtServiceMark();
    Outcome EnterServiceAtMark();
    Outcome SetSegment(unsigned index, uint16_t value);

    CpuState m_state;
    // The arithmetic flags not yet written into m_state.flags; settled whenever code outside
    // the CPU may look.
    CLazyFlags8086 m_lazy;
    CMemory& m_memory;
    IMachineBus& m_bus;
    MemoryByte* m_pMem;
    // The memory's trap window as the run found it: a device changes it only in a port write or
    // a service, after which the CPU looks at its state afresh.
    TrapWindow m_trap;
    bool m_bWatchedWrites = false;
    const MemoryByte* m_pCsBase = nullptr;
    const MemoryByte* m_pIp = nullptr;
    // IP = m_nIpOrigin + (m_pIp - m_pIpOrigin): the segment's base and 0, or the queue.
    const MemoryByte* m_pIpOrigin = nullptr;
    uint16_t m_nIpOrigin = 0;
    // An instruction may start below m_pIpLimit: the 16 bytes from there are the segment's and
    // memory's own. m_pWindowLimit is that limit for the code segment.
    const MemoryByte* m_pIpLimit = nullptr;
    const MemoryByte* m_pWindowLimit = nullptr;
    MemoryByte m_queue[kQueueSize] = {};
    unsigned m_nAttention = 0;
    std::atomic<bool> m_bStopRequested{false};
    CExecutionHistory* m_pHistory = nullptr;

    // The instruction under way.
    // The instruction's first byte (its first prefix), and its IP when it was queued.
    const MemoryByte* m_pStart = nullptr;
    uint16_t m_nQueueStart = 0;
    // Wider than the bytes they hold, for the same reason as the byte registers.
    unsigned m_nOverride = kNoOverride;
    unsigned m_nRep = kNoRep;
    unsigned m_nModRm = 0;
    bool m_bRmIsReg = false;
    uint16_t m_nEaSeg = 0;
    uint16_t m_nEaOff = 0;
    // HLT's state and an unfinished repeated string, as the history keeps them beside FLAGS.
    uint16_t m_nMode = 0;
    // TF as the instruction under way began: the trap follows it.
    bool m_bTrapLatched = false;

    // The instructions Run may still execute: a repeated string instruction takes its further
    // elements from here (none in Step, or while the history records).
    uint64_t m_nBudget = 0;
    uint64_t m_nRunLength = 0;
    uint64_t m_nExecuted = 0;
    std::vector<uint64_t> m_breakpoints;
    uint32_t m_nBreakpointCount = 0;
};

// The operand decoding every instruction with a ModRM byte goes through, inline for both of the
// CPU's units.
[[gnu::always_inline]] inline void CCpu8086::DecodeModRm()
{
    m_nModRm = Fetch8();
    m_bRmIsReg = m_nModRm >= 0xC0;
    if (!m_bRmIsReg) DecodeEa(m_nModRm);
}

// The effective address of a memory operand (mod 0-2) and its segment.
[[gnu::always_inline]] inline void CCpu8086::DecodeEa(uint8_t modrm)
{
    const unsigned mod = modrm >> 6;
    const uint16_t* r = m_state.reg;
    uint16_t offset;
    SegReg segment = kDS;
    switch (modrm & 7) {
    case 0: offset = static_cast<uint16_t>(r[kBX] + r[kSI]); break;
    case 1: offset = static_cast<uint16_t>(r[kBX] + r[kDI]); break;
    case 2: offset = static_cast<uint16_t>(r[kBP] + r[kSI]); segment = kSS; break;
    case 3: offset = static_cast<uint16_t>(r[kBP] + r[kDI]); segment = kSS; break;
    case 4: offset = r[kSI]; break;
    case 5: offset = r[kDI]; break;
    case 6:
        if (mod == 0) {
            m_nEaOff = Fetch16();
            m_nEaSeg = SegmentOr(kDS);
            return;
        }
        offset = r[kBP];
        segment = kSS;
        break;
    default: offset = r[kBX]; break;
    }
    if (mod == 1) {
        offset = static_cast<uint16_t>(offset + CAlu8086::SignExtend(Fetch8()));
    } else if (mod == 2) {
        offset = static_cast<uint16_t>(offset + Fetch16());
    }
    m_nEaOff = offset;
    m_nEaSeg = SegmentOr(segment);
}

[[gnu::always_inline]] inline uint8_t CCpu8086::GetRm8()
{
    return m_bRmIsReg ? Reg8(m_nModRm & 7) : Read8(m_nEaSeg, m_nEaOff);
}

[[gnu::always_inline]] inline void CCpu8086::SetRm8(uint8_t value)
{
    if (m_bRmIsReg) {
        SetReg8(m_nModRm & 7, value);
    } else {
        Write8(m_nEaSeg, m_nEaOff, value);
    }
}

[[gnu::always_inline]] inline uint16_t CCpu8086::GetRm16()
{
    return m_bRmIsReg ? m_state.reg[m_nModRm & 7] : Read16(m_nEaSeg, m_nEaOff);
}

[[gnu::always_inline]] inline void CCpu8086::SetRm16(uint16_t value)
{
    if (m_bRmIsReg) {
        m_state.reg[m_nModRm & 7] = value;
    } else {
        Write16(m_nEaSeg, m_nEaOff, value);
    }
}

}  // namespace dos
