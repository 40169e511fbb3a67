// The 8086/80186 interpreter: one switch over the opcode per instruction, the flags kept exact
// after every instruction, and the interrupts, the machine's services and the debugger's stops
// between instructions.
#include "dos/Cpu8086.h"

#include "dos/ExecutionHistory.h"

#include <bit>

static_assert(std::endian::native == std::endian::little, "the byte registers are views of the word registers");

namespace {

constexpr uint16_t kFlagsFixed = 0xF002;
constexpr uint16_t kFlagsWritable = 0x0FD5;

enum StringKind : uint8_t { kMovs, kCmps, kStos, kLods, kScas, kIns, kOuts };

uint16_t SignExtend(uint8_t value)
{
    return static_cast<uint16_t>(static_cast<int8_t>(value));
}

}  // namespace

CCpu8086::CCpu8086(CMemory& memory, IMachineBus& bus)
    : m_memory(memory), m_bus(bus), m_pMem(memory.Data()), m_breakpoints(CMemory::kSize / 64)
{
}

StopReason CCpu8086::Step()
{
    if (m_pHistory != nullptr) m_pHistory->BeginInstruction(m_state, m_bHalted, m_bInRepeat);
    m_nExtraElements = 0;
    const Outcome outcome = Execute();
    if (outcome == Outcome::kBlocked && m_pHistory != nullptr) StepBack(1);
    return ReasonOf(outcome);
}

StopReason CCpu8086::Run(uint64_t maxInstructions)
{
    if (m_pHistory != nullptr) {
        return m_nBreakpointCount ? RunLoop<true, true>(maxInstructions) : RunLoop<true, false>(maxInstructions);
    }
    return m_nBreakpointCount ? RunLoop<false, true>(maxInstructions) : RunLoop<false, false>(maxInstructions);
}

// One copy of the loop for each combination of history and breakpoints, so that neither costs
// anything while it is off.
template <bool kRecord, bool kBreakpoints>
StopReason CCpu8086::RunLoop(uint64_t maxInstructions)
{
    uint64_t done = 0;
    while (done < maxInstructions) {
        if (m_bStopRequested.load(std::memory_order_relaxed)) [[unlikely]] {
            m_bStopRequested.store(false, std::memory_order_relaxed);
            return StopReason::Requested;
        }
        if constexpr (kBreakpoints) {
            if (done > 0 && HasBreakpoint(CMemory::Linear(m_state.cs(), m_state.ip))) return StopReason::Breakpoint;
        }
        if constexpr (kRecord) m_pHistory->BeginInstruction(m_state, m_bHalted, m_bInRepeat);
        // A repeated string instruction may run on here as long as nothing needs to see
        // its elements one by one.
        const uint64_t extra = (kRecord || (m_state.flags & kFlagTrap)) ? 0 : maxInstructions - done - 1;
        m_nExtraElements = extra;
        const Outcome outcome = Execute();
        done += 1 + (extra - m_nExtraElements);
        if (outcome != Outcome::kNext) [[unlikely]] {
            if (kRecord && outcome == Outcome::kBlocked) StepBack(1);
            return ReasonOf(outcome);
        }
    }
    return StopReason::Limit;
}

StopReason CCpu8086::ReasonOf(Outcome outcome)
{
    switch (outcome) {
    case Outcome::kNext: return StopReason::Limit;
    case Outcome::kStop: return StopReason::Stopped;
    case Outcome::kBlocked: return StopReason::Blocked;
    case Outcome::kHalted: return StopReason::Halted;
    }
    return StopReason::Limit;
}

CCpu8086::Outcome CCpu8086::Execute()
{
    if (m_bHalted) [[unlikely]] return WakeFromHalt();
    m_nStartIp = m_state.ip;
    m_nOverride = kNoOverride;
    m_nRep = kNoRep;
    m_bInRepeat = false;
    // The trap follows the instruction that began with TF set.
    const bool trap = (m_state.flags & kFlagTrap) != 0;
    const Outcome outcome = Dispatch(Fetch8());
    if (m_bInterruptLine || trap || m_bHoldInterrupts) [[unlikely]] return AfterInstruction(outcome, trap);
    return outcome;
}

// Between instructions: a hardware interrupt when IF allows, then the single-step trap (whose
// return address is then the handler's first instruction, as on the 8086).
CCpu8086::Outcome CCpu8086::AfterInstruction(Outcome outcome, bool trap)
{
    if (outcome == Outcome::kStop || outcome == Outcome::kBlocked) return outcome;
    if (m_bHoldInterrupts) {
        m_bHoldInterrupts = false;
        return outcome;
    }
    m_nStartIp = m_state.ip;
    if (m_bInterruptLine && (m_state.flags & kFlagInterrupt)) {
        m_bHalted = false;
        outcome = Interrupt(m_bus.AcknowledgeInterrupt());
        if (outcome != Outcome::kNext) return outcome;
    }
    if (trap) {
        m_bHalted = false;
        m_nStartIp = m_state.ip;
        return Interrupt(1);
    }
    return outcome;
}

CCpu8086::Outcome CCpu8086::WakeFromHalt()
{
    if (!m_bInterruptLine || !(m_state.flags & kFlagInterrupt)) return Outcome::kHalted;
    m_bHalted = false;
    m_nStartIp = m_state.ip;
    return Interrupt(m_bus.AcknowledgeInterrupt());
}

CCpu8086::Outcome CCpu8086::Dispatch(uint8_t opcode)
{
    using enum AluOp;
    CpuState& s = m_state;
    for (;;) {
        switch (opcode) {
        case 0x00: return AluRm8Reg<kAdd>(false);
        case 0x01: return AluRm16Reg<kAdd>(false);
        case 0x02: return AluRm8Reg<kAdd>(true);
        case 0x03: return AluRm16Reg<kAdd>(true);
        case 0x04: return AluAccImm8<kAdd>();
        case 0x05: return AluAccImm16<kAdd>();
        case 0x08: return AluRm8Reg<kOr>(false);
        case 0x09: return AluRm16Reg<kOr>(false);
        case 0x0A: return AluRm8Reg<kOr>(true);
        case 0x0B: return AluRm16Reg<kOr>(true);
        case 0x0C: return AluAccImm8<kOr>();
        case 0x0D: return AluAccImm16<kOr>();
        case 0x10: return AluRm8Reg<kAdc>(false);
        case 0x11: return AluRm16Reg<kAdc>(false);
        case 0x12: return AluRm8Reg<kAdc>(true);
        case 0x13: return AluRm16Reg<kAdc>(true);
        case 0x14: return AluAccImm8<kAdc>();
        case 0x15: return AluAccImm16<kAdc>();
        case 0x18: return AluRm8Reg<kSbb>(false);
        case 0x19: return AluRm16Reg<kSbb>(false);
        case 0x1A: return AluRm8Reg<kSbb>(true);
        case 0x1B: return AluRm16Reg<kSbb>(true);
        case 0x1C: return AluAccImm8<kSbb>();
        case 0x1D: return AluAccImm16<kSbb>();
        case 0x20: return AluRm8Reg<kAnd>(false);
        case 0x21: return AluRm16Reg<kAnd>(false);
        case 0x22: return AluRm8Reg<kAnd>(true);
        case 0x23: return AluRm16Reg<kAnd>(true);
        case 0x24: return AluAccImm8<kAnd>();
        case 0x25: return AluAccImm16<kAnd>();
        case 0x28: return AluRm8Reg<kSub>(false);
        case 0x29: return AluRm16Reg<kSub>(false);
        case 0x2A: return AluRm8Reg<kSub>(true);
        case 0x2B: return AluRm16Reg<kSub>(true);
        case 0x2C: return AluAccImm8<kSub>();
        case 0x2D: return AluAccImm16<kSub>();
        case 0x30: return AluRm8Reg<kXor>(false);
        case 0x31: return AluRm16Reg<kXor>(false);
        case 0x32: return AluRm8Reg<kXor>(true);
        case 0x33: return AluRm16Reg<kXor>(true);
        case 0x34: return AluAccImm8<kXor>();
        case 0x35: return AluAccImm16<kXor>();
        case 0x38: return AluRm8Reg<kCmp>(false);
        case 0x39: return AluRm16Reg<kCmp>(false);
        case 0x3A: return AluRm8Reg<kCmp>(true);
        case 0x3B: return AluRm16Reg<kCmp>(true);
        case 0x3C: return AluAccImm8<kCmp>();
        case 0x3D: return AluAccImm16<kCmp>();

        case 0x06: case 0x0E: case 0x16: case 0x1E:
            Push(s.seg[opcode >> 3]);
            return Outcome::kNext;
        case 0x07: case 0x0F: case 0x17: case 0x1F:
            return SetSegment(opcode >> 3, Pop());

        case 0x26: case 0x2E: case 0x36: case 0x3E:
            m_nOverride = static_cast<uint8_t>((opcode >> 3) & 3);
            opcode = Fetch8();
            continue;
        case 0xF0:
            opcode = Fetch8();
            continue;
        case 0xF1:
            if (AtServiceMark()) return EnterServiceAtMark();
            opcode = Fetch8();
            continue;
        case 0xF2: case 0xF3:
            m_nRep = opcode;
            opcode = Fetch8();
            continue;

        case 0x27: CAlu8086::Daa(s); return Outcome::kNext;
        case 0x2F: CAlu8086::Das(s); return Outcome::kNext;
        case 0x37: CAlu8086::Aaa(s); return Outcome::kNext;
        case 0x3F: CAlu8086::Aas(s); return Outcome::kNext;

        case 0x40: case 0x41: case 0x42: case 0x43: case 0x44: case 0x45: case 0x46: case 0x47:
            s.reg[opcode & 7] = CAlu8086::Inc<uint16_t>(s.reg[opcode & 7], s.flags);
            return Outcome::kNext;
        case 0x48: case 0x49: case 0x4A: case 0x4B: case 0x4C: case 0x4D: case 0x4E: case 0x4F:
            s.reg[opcode & 7] = CAlu8086::Dec<uint16_t>(s.reg[opcode & 7], s.flags);
            return Outcome::kNext;
        case 0x50: case 0x51: case 0x52: case 0x53: case 0x55: case 0x56: case 0x57:
            Push(s.reg[opcode & 7]);
            return Outcome::kNext;
        case 0x54:
            // The 8086 pushes SP as it is after the decrement.
            s.sp() = static_cast<uint16_t>(s.sp() - 2);
            Write16(s.ss(), s.sp(), s.sp());
            return Outcome::kNext;
        case 0x58: case 0x59: case 0x5A: case 0x5B: case 0x5C: case 0x5D: case 0x5E: case 0x5F: {
            const uint16_t value = Pop();
            s.reg[opcode & 7] = value;
            return Outcome::kNext;
        }

        case 0x60: return PushAll();
        case 0x61: return PopAll();
        case 0x62: return Bound();
        case 0x68: Push(Fetch16()); return Outcome::kNext;
        case 0x69: return ImulImmediate(true);
        case 0x6A: Push(SignExtend(Fetch8())); return Outcome::kNext;
        case 0x6B: return ImulImmediate(false);
        case 0x6C: return String<uint8_t, kIns>();
        case 0x6D: return String<uint16_t, kIns>();
        case 0x6E: return String<uint8_t, kOuts>();
        case 0x6F: return String<uint16_t, kOuts>();

        case 0x70: case 0x71: case 0x72: case 0x73: case 0x74: case 0x75: case 0x76: case 0x77:
        case 0x78: case 0x79: case 0x7A: case 0x7B: case 0x7C: case 0x7D: case 0x7E: case 0x7F: {
            const int8_t displacement = static_cast<int8_t>(Fetch8());
            return Jump(Condition(opcode & 0x0F), displacement);
        }

        case 0x80: case 0x81: case 0x82: case 0x83: return Group1(opcode);
        case 0x84:
            DecodeModRm();
            CAlu8086::Logic<uint8_t>(GetRm8() & Reg8(RegField()), s.flags);
            return Outcome::kNext;
        case 0x85:
            DecodeModRm();
            CAlu8086::Logic<uint16_t>(GetRm16() & s.reg[RegField()], s.flags);
            return Outcome::kNext;
        case 0x86: {
            DecodeModRm();
            const uint8_t value = GetRm8();
            SetRm8(Reg8(RegField()));
            Reg8(RegField()) = value;
            return Outcome::kNext;
        }
        case 0x87: {
            DecodeModRm();
            const uint16_t value = GetRm16();
            SetRm16(s.reg[RegField()]);
            s.reg[RegField()] = value;
            return Outcome::kNext;
        }
        case 0x88: DecodeModRm(); SetRm8(Reg8(RegField())); return Outcome::kNext;
        case 0x89: DecodeModRm(); SetRm16(s.reg[RegField()]); return Outcome::kNext;
        case 0x8A: DecodeModRm(); Reg8(RegField()) = GetRm8(); return Outcome::kNext;
        case 0x8B: DecodeModRm(); s.reg[RegField()] = GetRm16(); return Outcome::kNext;
        case 0x8C: return MoveSegment(false);
        case 0x8D: return Lea();
        case 0x8E: return MoveSegment(true);
        case 0x8F: return PopRm();

        case 0x90: return Outcome::kNext;
        case 0x91: case 0x92: case 0x93: case 0x94: case 0x95: case 0x96: case 0x97: {
            const uint16_t value = s.reg[opcode & 7];
            s.reg[opcode & 7] = s.ax();
            s.ax() = value;
            return Outcome::kNext;
        }
        case 0x98: s.ax() = SignExtend(s.al()); return Outcome::kNext;
        case 0x99: s.dx() = (s.ax() & 0x8000) ? 0xFFFF : 0; return Outcome::kNext;
        case 0x9A: {
            const uint16_t offset = Fetch16();
            return CallFar(Fetch16(), offset);
        }
        case 0x9B: return Outcome::kNext;
        case 0x9C: Push(static_cast<uint16_t>((s.flags & kFlagsWritable) | kFlagsFixed)); return Outcome::kNext;
        case 0x9D: s.flags = static_cast<uint16_t>((Pop() & kFlagsWritable) | kFlagsFixed); return Outcome::kNext;
        case 0x9E: s.flags = static_cast<uint16_t>((s.flags & 0xFF00) | (s.ah() & 0xD5) | 0x02); return Outcome::kNext;
        case 0x9F: s.set_ah(static_cast<uint8_t>(s.flags)); return Outcome::kNext;

        case 0xA0: s.set_al(Read8(SegmentOr(kDS), Fetch16())); return Outcome::kNext;
        case 0xA1: s.ax() = Read16(SegmentOr(kDS), Fetch16()); return Outcome::kNext;
        case 0xA2: Write8(SegmentOr(kDS), Fetch16(), s.al()); return Outcome::kNext;
        case 0xA3: Write16(SegmentOr(kDS), Fetch16(), s.ax()); return Outcome::kNext;
        case 0xA4: return String<uint8_t, kMovs>();
        case 0xA5: return String<uint16_t, kMovs>();
        case 0xA6: return String<uint8_t, kCmps>();
        case 0xA7: return String<uint16_t, kCmps>();
        case 0xA8: CAlu8086::Logic<uint8_t>(s.al() & Fetch8(), s.flags); return Outcome::kNext;
        case 0xA9: CAlu8086::Logic<uint16_t>(s.ax() & Fetch16(), s.flags); return Outcome::kNext;
        case 0xAA: return String<uint8_t, kStos>();
        case 0xAB: return String<uint16_t, kStos>();
        case 0xAC: return String<uint8_t, kLods>();
        case 0xAD: return String<uint16_t, kLods>();
        case 0xAE: return String<uint8_t, kScas>();
        case 0xAF: return String<uint16_t, kScas>();

        case 0xB0: case 0xB1: case 0xB2: case 0xB3: case 0xB4: case 0xB5: case 0xB6: case 0xB7:
            Reg8(opcode & 7) = Fetch8();
            return Outcome::kNext;
        case 0xB8: case 0xB9: case 0xBA: case 0xBB: case 0xBC: case 0xBD: case 0xBE: case 0xBF:
            s.reg[opcode & 7] = Fetch16();
            return Outcome::kNext;

        case 0xC0: case 0xC1: case 0xD0: case 0xD1: case 0xD2: case 0xD3: return Group2(opcode);
        case 0xC2: {
            const uint16_t release = Fetch16();
            s.ip = Pop();
            s.sp() = static_cast<uint16_t>(s.sp() + release);
            return Outcome::kNext;
        }
        case 0xC3: s.ip = Pop(); return Outcome::kNext;
        case 0xC4: return LoadFarPointer(kES);
        case 0xC5: return LoadFarPointer(kDS);
        case 0xC6: DecodeModRm(); SetRm8(Fetch8()); return Outcome::kNext;
        case 0xC7: DecodeModRm(); SetRm16(Fetch16()); return Outcome::kNext;
        case 0xC8: return Enter();
        case 0xC9:
            s.sp() = s.bp();
            s.bp() = Pop();
            return Outcome::kNext;
        case 0xCA: return ReturnFar(Fetch16());
        case 0xCB: return ReturnFar(0);
        case 0xCC: return Interrupt(3);
        case 0xCD: return Interrupt(Fetch8());
        case 0xCE: return (s.flags & kFlagOverflow) ? Interrupt(4) : Outcome::kNext;
        case 0xCF: return Iret();

        case 0xD4: return CAlu8086::Aam(s, Fetch8()) ? Outcome::kNext : Interrupt(0);
        case 0xD5: CAlu8086::Aad(s, Fetch8()); return Outcome::kNext;
        case 0xD6: s.set_al((s.flags & kFlagCarry) ? 0xFF : 0x00); return Outcome::kNext;
        case 0xD7: s.set_al(Read8(SegmentOr(kDS), static_cast<uint16_t>(s.bx() + s.al()))); return Outcome::kNext;
        case 0xD8: case 0xD9: case 0xDA: case 0xDB: case 0xDC: case 0xDD: case 0xDE: case 0xDF:
            // A coprocessor's instruction: its operand is decoded and nothing else happens.
            DecodeModRm();
            return Outcome::kNext;

        case 0xE0: case 0xE1: case 0xE2: case 0xE3: return Loop(opcode);
        case 0xE4: case 0xE5: case 0xE6: case 0xE7: case 0xEC: case 0xED: case 0xEE: case 0xEF: return Port(opcode);
        case 0xE8: {
            const uint16_t displacement = Fetch16();
            Push(s.ip);
            s.ip = static_cast<uint16_t>(s.ip + displacement);
            return Outcome::kNext;
        }
        case 0xE9: {
            const uint16_t displacement = Fetch16();
            s.ip = static_cast<uint16_t>(s.ip + displacement);
            return Outcome::kNext;
        }
        case 0xEA: {
            const uint16_t offset = Fetch16();
            s.cs() = Fetch16();
            s.ip = offset;
            return Outcome::kNext;
        }
        case 0xEB: return Jump(true, static_cast<int8_t>(Fetch8()));

        case 0xF4:
            m_bHalted = true;
            return Outcome::kHalted;
        case 0xF5: s.flags ^= kFlagCarry; return Outcome::kNext;
        case 0xF6: return Group3Byte();
        case 0xF7: return Group3Word();
        case 0xF8: s.flags &= ~kFlagCarry; return Outcome::kNext;
        case 0xF9: s.flags |= kFlagCarry; return Outcome::kNext;
        case 0xFA: s.flags &= ~kFlagInterrupt; return Outcome::kNext;
        case 0xFB:
            // Interrupts come no sooner than after the instruction that follows STI.
            if (!(s.flags & kFlagInterrupt)) m_bHoldInterrupts = true;
            s.flags |= kFlagInterrupt;
            return Outcome::kNext;
        case 0xFC: s.flags &= ~kFlagDirection; return Outcome::kNext;
        case 0xFD: s.flags |= kFlagDirection; return Outcome::kNext;
        case 0xFE: return Group4();
        case 0xFF: return Group5();

        default:
            // 63h-67h: defined neither by the 8086 (which the 80186 overrides here) nor the 80186.
            return Fault(6);
        }
    }
}

uint16_t CCpu8086::Fetch16()
{
    const uint8_t low = Fetch8();
    return static_cast<uint16_t>(low | (Fetch8() << 8));
}

// A word at offset FFFFh takes its high byte from offset 0 of the same segment.
uint16_t CCpu8086::Read16(uint16_t segment, uint16_t offset) const
{
    return static_cast<uint16_t>(m_pMem[CMemory::Linear(segment, offset)] |
                                 (m_pMem[CMemory::Linear(segment, static_cast<uint16_t>(offset + 1))] << 8));
}

void CCpu8086::Write16(uint16_t segment, uint16_t offset, uint16_t value)
{
    m_memory.Write8(CMemory::Linear(segment, offset), static_cast<uint8_t>(value));
    m_memory.Write8(CMemory::Linear(segment, static_cast<uint16_t>(offset + 1)), static_cast<uint8_t>(value >> 8));
}

void CCpu8086::Push(uint16_t value)
{
    m_state.sp() = static_cast<uint16_t>(m_state.sp() - 2);
    Write16(m_state.ss(), m_state.sp(), value);
}

uint16_t CCpu8086::Pop()
{
    const uint16_t value = Read16(m_state.ss(), m_state.sp());
    m_state.sp() = static_cast<uint16_t>(m_state.sp() + 2);
    return value;
}

void CCpu8086::DecodeModRm()
{
    m_nModRm = Fetch8();
    const unsigned mod = m_nModRm >> 6;
    m_bRmIsReg = mod == 3;
    if (m_bRmIsReg) return;
    const uint16_t* r = m_state.reg;
    uint16_t offset;
    SegReg segment = kDS;
    switch (m_nModRm & 7) {
    case 0: offset = static_cast<uint16_t>(r[kBX] + r[kSI]); break;
    case 1: offset = static_cast<uint16_t>(r[kBX] + r[kDI]); break;
    case 2: offset = static_cast<uint16_t>(r[kBP] + r[kSI]); segment = kSS; break;
    case 3: offset = static_cast<uint16_t>(r[kBP] + r[kDI]); segment = kSS; break;
    case 4: offset = r[kSI]; break;
    case 5: offset = r[kDI]; break;
    case 6:
        if (mod == 0) return void((m_nEaOff = Fetch16(), m_nEaSeg = SegmentOr(kDS)));
        offset = r[kBP];
        segment = kSS;
        break;
    default: offset = r[kBX]; break;
    }
    if (mod == 1) {
        offset = static_cast<uint16_t>(offset + SignExtend(Fetch8()));
    } else if (mod == 2) {
        offset = static_cast<uint16_t>(offset + Fetch16());
    }
    m_nEaOff = offset;
    m_nEaSeg = SegmentOr(segment);
}

uint8_t CCpu8086::GetRm8()
{
    return m_bRmIsReg ? Reg8(m_nModRm & 7) : Read8(m_nEaSeg, m_nEaOff);
}

void CCpu8086::SetRm8(uint8_t value)
{
    if (m_bRmIsReg) {
        Reg8(m_nModRm & 7) = value;
    } else {
        Write8(m_nEaSeg, m_nEaOff, value);
    }
}

uint16_t CCpu8086::GetRm16()
{
    return m_bRmIsReg ? m_state.reg[m_nModRm & 7] : Read16(m_nEaSeg, m_nEaOff);
}

void CCpu8086::SetRm16(uint16_t value)
{
    if (m_bRmIsReg) {
        m_state.reg[m_nModRm & 7] = value;
    } else {
        Write16(m_nEaSeg, m_nEaOff, value);
    }
}

template <AluOp op>
CCpu8086::Outcome CCpu8086::AluRm8Reg(bool toReg)
{
    DecodeModRm();
    uint8_t& reg = Reg8(RegField());
    if (toReg) {
        const uint8_t r = CAlu8086::Alu<op, uint8_t>(reg, GetRm8(), m_state.flags);
        if constexpr (op != AluOp::kCmp) reg = r;
    } else {
        const uint8_t r = CAlu8086::Alu<op, uint8_t>(GetRm8(), reg, m_state.flags);
        if constexpr (op != AluOp::kCmp) SetRm8(r);
    }
    return Outcome::kNext;
}

template <AluOp op>
CCpu8086::Outcome CCpu8086::AluRm16Reg(bool toReg)
{
    DecodeModRm();
    uint16_t& reg = m_state.reg[RegField()];
    if (toReg) {
        const uint16_t r = CAlu8086::Alu<op, uint16_t>(reg, GetRm16(), m_state.flags);
        if constexpr (op != AluOp::kCmp) reg = r;
    } else {
        const uint16_t r = CAlu8086::Alu<op, uint16_t>(GetRm16(), reg, m_state.flags);
        if constexpr (op != AluOp::kCmp) SetRm16(r);
    }
    return Outcome::kNext;
}

template <AluOp op>
CCpu8086::Outcome CCpu8086::AluAccImm8()
{
    const uint8_t r = CAlu8086::Alu<op, uint8_t>(m_state.al(), Fetch8(), m_state.flags);
    if constexpr (op != AluOp::kCmp) m_state.set_al(r);
    return Outcome::kNext;
}

template <AluOp op>
CCpu8086::Outcome CCpu8086::AluAccImm16()
{
    const uint16_t r = CAlu8086::Alu<op, uint16_t>(m_state.ax(), Fetch16(), m_state.flags);
    if constexpr (op != AluOp::kCmp) m_state.ax() = r;
    return Outcome::kNext;
}

// 80h-83h: the eight operations on r/m with an immediate (82h is the 8086's alias of 80h).
CCpu8086::Outcome CCpu8086::Group1(uint8_t opcode)
{
    DecodeModRm();
    const auto op = static_cast<AluOp>(RegField());
    if (opcode & 1) {
        const uint16_t a = GetRm16();
        const uint16_t b = opcode == 0x83 ? SignExtend(Fetch8()) : Fetch16();
        const uint16_t r = CAlu8086::AluDynamic<uint16_t>(op, a, b, m_state.flags);
        if (op != AluOp::kCmp) SetRm16(r);
    } else {
        const uint8_t a = GetRm8();
        const uint8_t r = CAlu8086::AluDynamic<uint8_t>(op, a, Fetch8(), m_state.flags);
        if (op != AluOp::kCmp) SetRm8(r);
    }
    return Outcome::kNext;
}

// D0h-D3h count 1 or CL as the 8086 does (unmasked); C0h/C1h take an immediate count that
// the 80186 masks to five bits, and treat reg field 6 as SHL.
CCpu8086::Outcome CCpu8086::Group2(uint8_t opcode)
{
    DecodeModRm();
    auto op = static_cast<ShiftOp>(RegField());
    unsigned count = 1;
    if (opcode >= 0xD2) {
        count = m_state.cl();
    } else if (opcode < 0xD0) {
        count = Fetch8() & 0x1F;
        if (op == ShiftOp::kSetmo) op = ShiftOp::kShl;
    }
    if (opcode & 1) {
        SetRm16(CAlu8086::Shift<uint16_t>(op, GetRm16(), count, m_state.flags));
    } else {
        SetRm8(CAlu8086::Shift<uint8_t>(op, GetRm8(), count, m_state.flags));
    }
    return Outcome::kNext;
}

CCpu8086::Outcome CCpu8086::Group3Byte()
{
    DecodeModRm();
    CpuState& s = m_state;
    const uint8_t value = GetRm8();
    uint8_t quotient = 0;
    uint8_t remainder = 0;
    switch (RegField()) {
    case 0: case 1: CAlu8086::Logic<uint8_t>(value & Fetch8(), s.flags); break;
    case 2: SetRm8(static_cast<uint8_t>(~value)); break;
    case 3: SetRm8(CAlu8086::Sub<uint8_t>(0, value, 0, s.flags)); break;
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
    switch (RegField()) {
    case 0: case 1: CAlu8086::Logic<uint16_t>(value & Fetch16(), s.flags); return Outcome::kNext;
    case 2: SetRm16(static_cast<uint16_t>(~value)); return Outcome::kNext;
    case 3: SetRm16(CAlu8086::Sub<uint16_t>(0, value, 0, s.flags)); return Outcome::kNext;
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
    case 0: SetRm8(CAlu8086::Inc<uint8_t>(GetRm8(), m_state.flags)); return Outcome::kNext;
    case 1: SetRm8(CAlu8086::Dec<uint8_t>(GetRm8(), m_state.flags)); return Outcome::kNext;
    default: return Fault(6);
    }
}

CCpu8086::Outcome CCpu8086::Group5()
{
    DecodeModRm();
    CpuState& s = m_state;
    switch (RegField()) {
    case 0: SetRm16(CAlu8086::Inc<uint16_t>(GetRm16(), s.flags)); return Outcome::kNext;
    case 1: SetRm16(CAlu8086::Dec<uint16_t>(GetRm16(), s.flags)); return Outcome::kNext;
    case 2: {
        const uint16_t target = GetRm16();
        Push(s.ip);
        s.ip = target;
        return Outcome::kNext;
    }
    case 3:
        if (m_bRmIsReg) return Fault(6);
        return CallFar(EaWord(2), EaWord(0));
    case 4: s.ip = GetRm16(); return Outcome::kNext;
    case 5:
        if (m_bRmIsReg) return Fault(6);
        s.ip = EaWord(0);
        s.cs() = EaWord(2);
        return Outcome::kNext;
    default:
        // PUSH SP pushes SP as it is after the decrement (FFh /7 is the 8086's alias of /6).
        if (m_bRmIsReg && (m_nModRm & 7) == kSP) return Dispatch(0x54);
        Push(GetRm16());
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
    m_state.seg[index] = value;
    m_bHoldInterrupts = true;
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

CCpu8086::Outcome CCpu8086::Jump(bool taken, int16_t displacement)
{
    if (taken) m_state.ip = static_cast<uint16_t>(m_state.ip + displacement);
    return Outcome::kNext;
}

CCpu8086::Outcome CCpu8086::Loop(uint8_t opcode)
{
    CpuState& s = m_state;
    const int8_t displacement = static_cast<int8_t>(Fetch8());
    if (opcode == 0xE3) return Jump(s.cx() == 0, displacement);
    s.cx() = static_cast<uint16_t>(s.cx() - 1);
    const bool zero = (s.flags & kFlagZero) != 0;
    bool taken = s.cx() != 0;
    if (opcode == 0xE0) taken = taken && !zero;
    if (opcode == 0xE1) taken = taken && zero;
    return Jump(taken, displacement);
}

bool CCpu8086::Condition(unsigned code) const
{
    const uint16_t f = m_state.flags;
    const bool sign = (f & kFlagSign) != 0;
    const bool overflow = (f & kFlagOverflow) != 0;
    bool result;
    switch (code >> 1) {
    case 0: result = overflow; break;
    case 1: result = (f & kFlagCarry) != 0; break;
    case 2: result = (f & kFlagZero) != 0; break;
    case 3: result = (f & (kFlagCarry | kFlagZero)) != 0; break;
    case 4: result = sign; break;
    case 5: result = (f & kFlagParity) != 0; break;
    case 6: result = sign != overflow; break;
    default: result = (f & kFlagZero) || sign != overflow; break;
    }
    return result != ((code & 1) != 0);
}

CCpu8086::Outcome CCpu8086::CallFar(uint16_t segment, uint16_t offset)
{
    Push(m_state.cs());
    Push(m_state.ip);
    m_state.cs() = segment;
    m_state.ip = offset;
    return Outcome::kNext;
}

CCpu8086::Outcome CCpu8086::ReturnFar(uint16_t release)
{
    m_state.ip = Pop();
    m_state.cs() = Pop();
    m_state.sp() = static_cast<uint16_t>(m_state.sp() + release);
    return Outcome::kNext;
}

CCpu8086::Outcome CCpu8086::Iret()
{
    m_state.ip = Pop();
    m_state.cs() = Pop();
    m_state.flags = static_cast<uint16_t>((Pop() & kFlagsWritable) | kFlagsFixed);
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
    const uint16_t b = wordImmediate ? Fetch16() : SignExtend(Fetch8());
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

template <typename T>
T CCpu8086::ReadT(uint16_t segment, uint16_t offset) const
{
    if constexpr (sizeof(T) == 1) {
        return Read8(segment, offset);
    } else {
        return Read16(segment, offset);
    }
}

template <typename T>
void CCpu8086::WriteT(uint16_t segment, uint16_t offset, T value)
{
    if constexpr (sizeof(T) == 1) {
        Write8(segment, offset, value);
    } else {
        Write16(segment, offset, value);
    }
}

// One element; for CMPS and SCAS, whether the two were equal.
template <typename T, uint8_t kKind>
bool CCpu8086::StringElement()
{
    CpuState& s = m_state;
    const auto step = static_cast<uint16_t>((s.flags & kFlagDirection) ? -static_cast<int>(sizeof(T)) : sizeof(T));
    bool equal = false;
    if constexpr (kKind == kMovs) WriteT<T>(s.es(), s.di(), ReadT<T>(SegmentOr(kDS), s.si()));
    if constexpr (kKind == kCmps) {
        CAlu8086::Sub<T>(ReadT<T>(SegmentOr(kDS), s.si()), ReadT<T>(s.es(), s.di()), 0, s.flags);
        equal = (s.flags & kFlagZero) != 0;
    }
    if constexpr (kKind == kStos) WriteT<T>(s.es(), s.di(), static_cast<T>(s.ax()));
    if constexpr (kKind == kLods) {
        if constexpr (sizeof(T) == 1) {
            s.set_al(Read8(SegmentOr(kDS), s.si()));
        } else {
            s.ax() = Read16(SegmentOr(kDS), s.si());
        }
    }
    if constexpr (kKind == kScas) {
        CAlu8086::Sub<T>(static_cast<T>(s.ax()), ReadT<T>(s.es(), s.di()), 0, s.flags);
        equal = (s.flags & kFlagZero) != 0;
    }
    if constexpr (kKind == kIns) {
        T value = m_bus.In(s.dx());
        if constexpr (sizeof(T) == 2) value = static_cast<T>(value | (m_bus.In(static_cast<uint16_t>(s.dx() + 1)) << 8));
        WriteT<T>(s.es(), s.di(), value);
    }
    if constexpr (kKind == kOuts) {
        const T value = ReadT<T>(SegmentOr(kDS), s.si());
        m_bus.Out(s.dx(), static_cast<uint8_t>(value));
        if constexpr (sizeof(T) == 2) m_bus.Out(static_cast<uint16_t>(s.dx() + 1), static_cast<uint8_t>(value >> 8));
    }
    if constexpr (kKind == kMovs || kKind == kCmps || kKind == kLods || kKind == kOuts) s.si() = static_cast<uint16_t>(s.si() + step);
    if constexpr (kKind != kLods && kKind != kOuts) s.di() = static_cast<uint16_t>(s.di() + step);
    return equal;
}

// With a REP prefix the instruction runs element by element; when it must pause (an interrupt,
// the trap, the end of the caller's budget) CS:IP goes back to its first prefix, as on the
// 8086, so that it resumes where it stopped.
template <typename T, uint8_t kKind>
CCpu8086::Outcome CCpu8086::String()
{
    if (m_nRep == kNoRep) {
        StringElement<T, kKind>();
        return Outcome::kNext;
    }
    uint16_t& cx = m_state.cx();
    if (cx == 0) return Outcome::kNext;
    for (;;) {
        const bool equal = StringElement<T, kKind>();
        --cx;
        if constexpr (kKind == kCmps || kKind == kScas) {
            if (equal != (m_nRep == kRepE)) return Outcome::kNext;
        }
        if (cx == 0) return Outcome::kNext;
        if (m_nExtraElements == 0 || (m_bInterruptLine && (m_state.flags & kFlagInterrupt))) {
            m_state.ip = m_nStartIp;
            m_bInRepeat = true;
            return Outcome::kNext;
        }
        --m_nExtraElements;
    }
}

// Software interrupts, exceptions and hardware interrupts alike: the machine's own handler is
// called directly; any other handler is entered as the 8086 does.
CCpu8086::Outcome CCpu8086::Interrupt(uint8_t vector)
{
    const uint16_t offset = Read16(0, static_cast<uint16_t>(vector * 4));
    const uint16_t segment = Read16(0, static_cast<uint16_t>(vector * 4 + 2));
    if (segment == kServiceSegment && offset == ServiceOffset(vector)) {
        CpuState before = m_state;
        before.ip = m_nStartIp;
        return CallService(vector, before);
    }
    CpuState& s = m_state;
    Push(static_cast<uint16_t>((s.flags & kFlagsWritable) | kFlagsFixed));
    s.flags &= ~(kFlagInterrupt | kFlagTrap);
    Push(s.cs());
    Push(s.ip);
    s.cs() = segment;
    s.ip = offset;
    return Outcome::kNext;
}

// The 80186's exceptions return to the instruction that raised them.
CCpu8086::Outcome CCpu8086::Fault(uint8_t vector)
{
    m_state.ip = m_nStartIp;
    return Interrupt(vector);
}

CCpu8086::Outcome CCpu8086::CallService(uint8_t vector, const CpuState& before)
{
    switch (m_bus.Service(vector, *this)) {
    case ServiceResult::Done: return Outcome::kNext;
    case ServiceResult::Blocked: m_state = before; return Outcome::kBlocked;
    case ServiceResult::Stop: return Outcome::kStop;
    }
    return Outcome::kNext;
}

// F1h as the first byte of an instruction at F000h:ServiceOffset(n), followed by n.
bool CCpu8086::AtServiceMark()
{
    if (m_state.cs() != kServiceSegment || m_state.ip != static_cast<uint16_t>(m_nStartIp + 1)) return false;
    return m_nStartIp == ServiceOffset(Read8(m_state.cs(), m_state.ip));
}

// A program chained to the machine's handler: return as IRET would, then serve the caller.
CCpu8086::Outcome CCpu8086::EnterServiceAtMark()
{
    const uint8_t vector = Fetch8();
    CpuState before = m_state;
    before.ip = m_nStartIp;
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
}

size_t CCpu8086::StepBack(size_t count)
{
    if (m_pHistory == nullptr) return 0;
    return m_pHistory->Undo(count, m_state, m_memory, m_bHalted, m_bInRepeat);
}
