// The 8086's control between instructions (hardware interrupts, the trap, HLT), interrupts and
// the machine's services, the debugger's breakpoints and step-back, and the rarer instructions.
#include "dos/Cpu8086.h"

#include "dos/ExecutionHistory.h"

#include <algorithm>

namespace dos {

CCpu8086::CCpu8086(CMemory& memory, IMachineBus& bus)
    : m_memory(memory), m_bus(bus), m_pMem(memory.Bytes()), m_breakpoints(CMemory::kSize / 64)
{
    LoadState();
}

void CCpu8086::SetCs(uint16_t cs)
{
    m_state.cs() = cs;
    m_pCsBase = m_pMem + (static_cast<uint32_t>(cs) << 4);
    const MemoryByte* end = std::min<const MemoryByte*>(m_pCsBase + 0x10000, m_pMem + CMemory::kSize);
    m_pWindowLimit = end - kFetchMargin;
}

// The next instruction's bytes, read as the 8086 would across the end of the segment or of
// memory, into the queue.
void CCpu8086::Queue()
{
    m_nQueueStart = StartIp();
    const uint16_t ip = NextIp();
    for (unsigned i = 0; i < kQueueSize; ++i) m_queue[i] = m_pMem[CMemory::Linear(m_state.cs(), static_cast<uint16_t>(ip + i))];
    m_pIpOrigin = m_queue;
    m_nIpOrigin = ip;
    m_pIp = m_queue;
    m_pIpLimit = m_queue + (kQueueSize - kFetchMargin);
    m_nAttention |= kAttentionQueued;
}

StopReason CCpu8086::ReasonOf(Outcome outcome)
{
    switch (outcome) {
    case Outcome::kNext: return StopReason::Limit;
    case Outcome::kStop: return StopReason::Ended;
    case Outcome::kBlocked: return StopReason::WaitingForInput;
    case Outcome::kHalted: return StopReason::Idle;
    }
    return StopReason::Limit;
}

// Between instructions: a hardware interrupt when IF allows, then the single-step trap (whose
// return address is then the handler's first instruction, as on the 8086).
CCpu8086::Outcome CCpu8086::AfterInstruction(Outcome outcome)
{
    if (m_nAttention & kAttentionQueued) {
        m_nAttention &= ~kAttentionQueued;
        SetIp(NextIp());
    }
    if (outcome == Outcome::kStop || outcome == Outcome::kBlocked) return outcome;
    const bool trap = m_bTrapLatched;
    if (m_nAttention & kAttentionHold) {
        m_nAttention &= ~kAttentionHold;
    } else {
        m_pStart = m_pIp;
        if (InterruptWaits()) {
            m_nMode &= ~kModeHalted;
            outcome = Interrupt(m_bus.AcknowledgeInterrupt());
        }
        if (trap && outcome == Outcome::kNext) {
            m_nMode &= ~kModeHalted;
            m_pStart = m_pIp;
            outcome = Interrupt(1);
        }
    }
    m_bTrapLatched = (m_state.flags & kFlagTrap) != 0;
    SyncTrap();
    return outcome;
}

CCpu8086::Outcome CCpu8086::WakeFromHalt()
{
    if (!InterruptWaits()) return Outcome::kHalted;
    m_nMode &= ~kModeHalted;
    m_pStart = m_pIp;
    return Interrupt(m_bus.AcknowledgeInterrupt());
}

CCpu8086::Outcome CCpu8086::Group3Byte()
{
    DecodeModRm();
    CpuState& s = m_state;
    const uint8_t value = GetRm8();
    uint8_t quotient = 0;
    uint8_t remainder = 0;
    if (RegField() >= 4) SettleFlags();
    switch (RegField()) {
    case 0: case 1: m_lazy.Logic<uint8_t>(value & Fetch8()); break;
    case 2: SetRm8(static_cast<uint8_t>(~value)); break;
    case 3: SetRm8(m_lazy.Sub<uint8_t>(0, value, 0)); break;
    case 4: s.ax() = static_cast<uint16_t>(CAlu8086::Mul<uint8_t>(s.al(), value, s.flags)); break;
    case 5: s.ax() = static_cast<uint16_t>(CAlu8086::Imul<uint8_t>(s.al(), value, m_nRep != kNoRep, s.flags)); break;
    case 6:
        if (!CAlu8086::Div<uint8_t>(s.ax(), value, quotient, remainder, s.flags)) return Interrupt(0);
        s.set_al(quotient);
        s.set_ah(remainder);
        break;
    default:
        if (!CAlu8086::Idiv<uint8_t>(s.ax(), value, m_nRep != kNoRep, quotient, remainder, s.flags)) return Interrupt(0);
        s.set_al(quotient);
        s.set_ah(remainder);
        break;
    }
    return Outcome::kNext;
}

CCpu8086::Outcome CCpu8086::Group3Word()
{
    DecodeModRm();
    CpuState& s = m_state;
    const uint16_t value = GetRm16();
    const uint32_t dividend = (static_cast<uint32_t>(s.dx()) << 16) | s.ax();
    uint32_t product = 0;
    if (RegField() >= 4) SettleFlags();
    switch (RegField()) {
    case 0: case 1: m_lazy.Logic<uint16_t>(value & Fetch16()); return Outcome::kNext;
    case 2: SetRm16(static_cast<uint16_t>(~value)); return Outcome::kNext;
    case 3: SetRm16(m_lazy.Sub<uint16_t>(0, value, 0)); return Outcome::kNext;
    case 4: product = CAlu8086::Mul<uint16_t>(s.ax(), value, s.flags); break;
    case 5: product = CAlu8086::Imul<uint16_t>(s.ax(), value, m_nRep != kNoRep, s.flags); break;
    case 6:
        if (!CAlu8086::Div<uint16_t>(dividend, value, s.ax(), s.dx(), s.flags)) return Interrupt(0);
        return Outcome::kNext;
    default:
        if (!CAlu8086::Idiv<uint16_t>(dividend, value, m_nRep != kNoRep, s.ax(), s.dx(), s.flags)) return Interrupt(0);
        return Outcome::kNext;
    }
    s.ax() = static_cast<uint16_t>(product);
    s.dx() = static_cast<uint16_t>(product >> 16);
    return Outcome::kNext;
}

CCpu8086::Outcome CCpu8086::Group4()
{
    DecodeModRm();
    switch (RegField()) {
    case 0: SetRm8(m_lazy.Inc<uint8_t>(GetRm8(), Carry())); return Outcome::kNext;
    case 1: SetRm8(m_lazy.Dec<uint8_t>(GetRm8(), Carry())); return Outcome::kNext;
    default: return Fault(6);
    }
}

CCpu8086::Outcome CCpu8086::Group5()
{
    DecodeModRm();
    switch (RegField()) {
    case 0: SetRm16(m_lazy.Inc<uint16_t>(GetRm16(), Carry())); return Outcome::kNext;
    case 1: SetRm16(m_lazy.Dec<uint16_t>(GetRm16(), Carry())); return Outcome::kNext;
    case 2: {
        const uint16_t target = GetRm16();
        Push(NextIp());
        SetIp(target);
        return Outcome::kNext;
    }
    case 3:
        if (m_bRmIsReg) return Fault(6);
        return CallFar(EaWord(2), EaWord(0));
    case 4: SetIp(GetRm16()); return Outcome::kNext;
    case 5:
        if (m_bRmIsReg) return Fault(6);
        SetCsIp(EaWord(2), EaWord(0));
        return Outcome::kNext;
    default:
        // PUSH SP pushes SP as it is after the decrement (FFh /7 is the 8086's alias of /6).
        if (m_bRmIsReg && (m_nModRm & 7) == kSP) {
            PushStackPointer();
        } else {
            Push(GetRm16());
        }
        return Outcome::kNext;
    }
}

// 8Ch and 8Eh: the 8086 decodes only two bits of the segment field; MOV CS loads CS.
CCpu8086::Outcome CCpu8086::MoveSegment(bool toSegment)
{
    DecodeModRm();
    if (toSegment) return SetSegment(RegField() & 3, GetRm16());
    SetRm16(m_state.seg[RegField() & 3]);
    return Outcome::kNext;
}

CCpu8086::Outcome CCpu8086::SetSegment(unsigned index, uint16_t value)
{
    if (index == kCS) {
        SetCsIp(value, NextIp());
    } else {
        m_state.seg[index] = value;
    }
    m_nAttention |= kAttentionHold;
    return Outcome::kNext;
}

CCpu8086::Outcome CCpu8086::LoadFarPointer(SegReg segment)
{
    DecodeModRm();
    if (m_bRmIsReg) return Fault(6);
    m_state.reg[RegField()] = EaWord(0);
    m_state.seg[segment] = EaWord(2);
    return Outcome::kNext;
}

CCpu8086::Outcome CCpu8086::Lea()
{
    DecodeModRm();
    if (m_bRmIsReg) return Fault(6);
    m_state.reg[RegField()] = m_nEaOff;
    return Outcome::kNext;
}

CCpu8086::Outcome CCpu8086::PopRm()
{
    DecodeModRm();
    SetRm16(Pop());
    return Outcome::kNext;
}

CCpu8086::Outcome CCpu8086::Iret()
{
    const uint16_t ip = Pop();
    SetCsIp(Pop(), ip);
    m_lazy.Discard();
    m_state.flags = NormalFlags(Pop());
    SyncTrap();
    return Outcome::kNext;
}

CCpu8086::Outcome CCpu8086::PushAll()
{
    const uint16_t sp = m_state.sp();
    for (unsigned r = kAX; r <= kDI; ++r) Push(r == kSP ? sp : m_state.reg[r]);
    return Outcome::kNext;
}

CCpu8086::Outcome CCpu8086::PopAll()
{
    for (int r = kDI; r >= kAX; --r) {
        const uint16_t value = Pop();
        if (r != kSP) m_state.reg[r] = value;
    }
    return Outcome::kNext;
}

CCpu8086::Outcome CCpu8086::Bound()
{
    DecodeModRm();
    if (m_bRmIsReg) return Fault(6);
    const auto index = static_cast<int16_t>(m_state.reg[RegField()]);
    if (index < static_cast<int16_t>(EaWord(0)) || index > static_cast<int16_t>(EaWord(2))) return Fault(5);
    return Outcome::kNext;
}

CCpu8086::Outcome CCpu8086::Enter()
{
    CpuState& s = m_state;
    const uint16_t size = Fetch16();
    const unsigned level = Fetch8() & 0x1F;
    Push(s.bp());
    const uint16_t frame = s.sp();
    if (level > 0) {
        for (unsigned i = 1; i < level; ++i) {
            s.bp() = static_cast<uint16_t>(s.bp() - 2);
            Push(Read16(s.ss(), s.bp()));
        }
        Push(frame);
    }
    s.bp() = frame;
    s.sp() = static_cast<uint16_t>(s.sp() - size);
    return Outcome::kNext;
}

CCpu8086::Outcome CCpu8086::ImulImmediate(bool wordImmediate)
{
    DecodeModRm();
    const uint16_t a = GetRm16();
    const uint16_t b = wordImmediate ? Fetch16() : CAlu8086::SignExtend(Fetch8());
    SettleFlags();
    m_state.reg[RegField()] = static_cast<uint16_t>(CAlu8086::Imul<uint16_t>(a, b, false, m_state.flags));
    return Outcome::kNext;
}

// IN and OUT; a word goes to two consecutive ports, the low byte first.
CCpu8086::Outcome CCpu8086::Port(uint8_t opcode)
{
    CpuState& s = m_state;
    const uint16_t port = (opcode & 0x08) ? s.dx() : Fetch8();
    const bool word = opcode & 1;
    if (opcode & 2) {
        m_bus.Out(port, s.al());
        if (word) m_bus.Out(static_cast<uint16_t>(port + 1), s.ah());
    } else {
        s.set_al(m_bus.In(port));
        if (word) s.set_ah(m_bus.In(static_cast<uint16_t>(port + 1)));
    }
    return Outcome::kNext;
}

// Software interrupts, exceptions and hardware interrupts alike: the machine's own handler is
// called directly; any other handler is entered as the 8086 does.
CCpu8086::Outcome CCpu8086::Interrupt(uint8_t vector)
{
    SettleFlags();
    const uint16_t offset = Read16(0, static_cast<uint16_t>(vector * 4));
    const uint16_t segment = Read16(0, static_cast<uint16_t>(vector * 4 + 2));
    if (segment == kServiceSegment && offset == ServiceOffset(vector)) {
        CpuState before = m_state;
        before.ip = StartIp();
        return CallService(vector, before);
    }
    CpuState& s = m_state;
    Push(NormalFlags(s.flags));
    s.flags &= ~(kFlagInterrupt | kFlagTrap);
    SyncTrap();
    Push(s.cs());
    Push(NextIp());
    SetCsIp(segment, offset);
    return Outcome::kNext;
}

// The 80186's exceptions return to the instruction that raised them.
CCpu8086::Outcome CCpu8086::Fault(uint8_t vector)
{
    SetIp(StartIp());
    return Interrupt(vector);
}

// The service sees and answers in m_state; CS:IP may come back changed.
CCpu8086::Outcome CCpu8086::CallService(uint8_t vector, const CpuState& before)
{
    CommitIp();
    const ServiceResult result = m_bus.Service(vector, *this);
    if (result == ServiceResult::Blocked) m_state = before;
    LoadState();
    switch (result) {
    case ServiceResult::Done: return Outcome::kNext;
    case ServiceResult::Blocked: return Outcome::kBlocked;
    case ServiceResult::Stop: return Outcome::kStop;
    }
    return Outcome::kNext;
}

// F1h as the first byte of an instruction at F000h:ServiceOffset(n), followed by n.
bool CCpu8086::AtServiceMark()
{
    const uint16_t start = StartIp();
    if (m_state.cs() != kServiceSegment || NextIp() != static_cast<uint16_t>(start + 1)) return false;
    return start == ServiceOffset(static_cast<uint8_t>(*m_pIp));
}

// A program chained to the machine's handler: return as IRET would, then serve the caller.
CCpu8086::Outcome CCpu8086::EnterServiceAtMark()
{
    const uint8_t vector = Fetch8();
    SettleFlags();
    CpuState before = m_state;
    before.ip = StartIp();
    Iret();
    return CallService(vector, before);
}

void CCpu8086::SetBreakpoint(uint32_t linear)
{
    linear &= CMemory::kMask;
    if (!HasBreakpoint(linear)) ++m_nBreakpointCount;
    m_breakpoints[linear >> 6] |= uint64_t{1} << (linear & 63);
}

void CCpu8086::ClearBreakpoint(uint32_t linear)
{
    linear &= CMemory::kMask;
    if (HasBreakpoint(linear)) --m_nBreakpointCount;
    m_breakpoints[linear >> 6] &= ~(uint64_t{1} << (linear & 63));
}

void CCpu8086::ClearBreakpoints()
{
    std::fill(m_breakpoints.begin(), m_breakpoints.end(), 0);
    m_nBreakpointCount = 0;
}

bool CCpu8086::HasBreakpoint(uint32_t linear) const
{
    linear &= CMemory::kMask;
    return (m_breakpoints[linear >> 6] >> (linear & 63)) & 1;
}

void CCpu8086::AttachHistory(CExecutionHistory* history)
{
    m_pHistory = history;
    m_memory.SetJournal(history);
    UpdateWatchedWrites();
}

void CCpu8086::WatchedWrite(uint32_t linear, uint8_t value)
{
    if (m_trap.Holds(linear)) {
        m_memory.Trap()->TrapWrite(linear, value);
        return;
    }
    if (m_pHistory != nullptr) m_pHistory->RecordWrite(linear, static_cast<uint8_t>(m_pMem[linear]));
    m_pMem[linear] = MemoryByte{value};
}

size_t CCpu8086::StepBack(size_t count)
{
    if (m_pHistory == nullptr) return 0;
    CExecutionHistory::Snapshot before;
    const size_t undone = m_pHistory->Undo(count, m_memory, before);
    if (undone == 0) return 0;
    m_state = before.state;
    m_lazy = before.flags;
    SettleFlags();
    m_nMode = before.mode;
    LoadState();
    return undone;
}

}  // namespace dos
