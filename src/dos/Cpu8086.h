// The Intel 8086 with the instructions the 80186 added: decodes and runs the program's
// instructions on the machine's memory, and leaves ports, hardware interrupts and the BIOS and
// DOS services to the machine through IMachineBus.
#pragma once

#include "dos/Alu8086.h"
#include "dos/CpuState.h"
#include "dos/MachineBus.h"
#include "dos/Memory.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

class CExecutionHistory;

// Why Run returned.
enum class StopReason : uint8_t {
    // The instruction budget is spent.
    Limit,
    // A service stopped the machine (the last program ended).
    Stopped,
    // A service waits for input; running again retries it.
    Blocked,
    // HLT with no interrupt that could wake the CPU.
    Halted,
    // RequestStop was called (from any thread).
    Requested,
    // The next instruction lies at a breakpoint (Run never stops at its own first instruction).
    Breakpoint,
};

class CCpu8086 {
public:
    CCpu8086(CMemory& memory, IMachineBus& bus);
    CCpu8086(const CCpu8086&) = delete;
    CCpu8086& operator=(const CCpu8086&) = delete;

    CpuState& State() { return m_state; }
    const CpuState& State() const { return m_state; }
    CMemory& Memory() { return m_memory; }

    // Runs one instruction with its prefixes (one element of a repeated string instruction,
    // as the 8086 does between interrupts), then the interrupt it raised or that waits.
    StopReason Step();
    // Runs until one of the stop reasons, at most maxInstructions instructions (each element
    // of a repeated string instruction counts as one).
    StopReason Run(uint64_t maxInstructions);

    // The machine's interrupt controller holds its line up while an interrupt waits.
    void SetInterruptLine(bool raised) { m_bInterruptLine = raised; }
    // Makes Run return before its next instruction; safe from another thread.
    void RequestStop() { m_bStopRequested.store(true, std::memory_order_relaxed); }

    // True while a repeated string instruction is unfinished: CS:IP is back at its first
    // prefix and CX tells how many elements remain.
    bool InRepeat() const { return m_bInRepeat; }
    // True after HLT until an interrupt wakes the CPU.
    bool Halted() const { return m_bHalted; }
    // Ends a HLT without an interrupt (the debugger moved CS:IP on, say).
    void ClearHalt() { m_bHalted = false; }

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

    template <bool kRecord, bool kBreakpoints>
    StopReason RunLoop(uint64_t maxInstructions);
    static StopReason ReasonOf(Outcome outcome);
    Outcome Execute();
    Outcome Dispatch(uint8_t opcode);
    Outcome AfterInstruction(Outcome outcome, bool trap);
    Outcome WakeFromHalt();

    // Fetch and operands.
    uint8_t Fetch8() { return m_pMem[CMemory::Linear(m_state.cs(), m_state.ip++)]; }
    uint16_t Fetch16();
    uint8_t& Reg8(unsigned index) { return reinterpret_cast<uint8_t*>(&m_state.reg[index & 3])[index >> 2]; }
    unsigned RegField() const { return (m_nModRm >> 3) & 7; }
    void DecodeModRm();
    uint16_t SegmentOr(SegReg defaultSegment) const
    {
        return m_state.seg[m_nOverride == kNoOverride ? static_cast<uint8_t>(defaultSegment) : m_nOverride];
    }
    uint8_t GetRm8();
    void SetRm8(uint8_t value);
    uint16_t GetRm16();
    void SetRm16(uint16_t value);
    uint16_t EaWord(uint16_t displacement) const { return Read16(m_nEaSeg, static_cast<uint16_t>(m_nEaOff + displacement)); }

    // Memory and stack.
    uint8_t Read8(uint16_t segment, uint16_t offset) const { return m_pMem[CMemory::Linear(segment, offset)]; }
    uint16_t Read16(uint16_t segment, uint16_t offset) const;
    void Write8(uint16_t segment, uint16_t offset, uint8_t value) { m_memory.Write8(CMemory::Linear(segment, offset), value); }
    void Write16(uint16_t segment, uint16_t offset, uint16_t value);
    template <typename T>
    T ReadT(uint16_t segment, uint16_t offset) const;
    template <typename T>
    void WriteT(uint16_t segment, uint16_t offset, T value);
    void Push(uint16_t value);
    uint16_t Pop();

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
    CMemory& m_memory;
    IMachineBus& m_bus;
    uint8_t* m_pMem;
    bool m_bInterruptLine = false;
    std::atomic<bool> m_bStopRequested{false};
    CExecutionHistory* m_pHistory = nullptr;

    // The instruction under way.
    uint16_t m_nStartIp = 0;
    uint8_t m_nOverride = kNoOverride;
    uint8_t m_nRep = kNoRep;
    uint8_t m_nModRm = 0;
    bool m_bRmIsReg = false;
    uint16_t m_nEaSeg = 0;
    uint16_t m_nEaOff = 0;
    // Elements of a repeated string instruction this Execute may run beyond the first.
    uint64_t m_nExtraElements = 0;
    bool m_bInRepeat = false;
    bool m_bHalted = false;
    // MOV and POP to a segment register hold interrupts off for one instruction.
    bool m_bHoldInterrupts = false;

    std::vector<uint64_t> m_breakpoints;
    uint32_t m_nBreakpointCount = 0;
};
