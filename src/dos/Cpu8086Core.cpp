// The interpreter's hot core: the run loop with the instruction switch inlined into it, and
// the instruction families programs spend their time in (the rarer ones are in Cpu8086.cpp).
#include "dos/Cpu8086.h"

#include "dos/ExecutionHistory.h"

#include <bit>
#include <type_traits>

namespace dos {

static_assert(std::endian::native == std::endian::little, "the byte registers are views of the word registers");

namespace {

enum StringKind : uint8_t { kMovs, kCmps, kStos, kLods, kScas, kIns, kOuts };

}  // namespace

// The register forms (mod 3) take a short way that leaves the ModRM state alone.
template <AluOp op>
[[gnu::always_inline]] inline CCpu8086::Outcome CCpu8086::AluRm8Reg(bool toReg)
{
    const unsigned modrm = Fetch8();
    const unsigned regIndex = (modrm >> 3) & 7;
    const uint8_t reg = Reg8(regIndex);
    if (modrm >= 0xC0) {
        const uint8_t rm = Reg8(modrm & 7);
        const uint8_t r = m_lazy.Alu<op, uint8_t>(toReg ? reg : rm, toReg ? rm : reg, m_state.flags);
        if constexpr (op != AluOp::kCmp) SetReg8(toReg ? regIndex : modrm & 7, r);
        return Outcome::kNext;
    }
    DecodeEa(modrm);
    const uint8_t value = Read8(m_nEaSeg, m_nEaOff);
    if (toReg) {
        const uint8_t r = m_lazy.Alu<op, uint8_t>(reg, value, m_state.flags);
        if constexpr (op != AluOp::kCmp) SetReg8(regIndex, r);
    } else {
        const uint8_t r = m_lazy.Alu<op, uint8_t>(value, reg, m_state.flags);
        if constexpr (op != AluOp::kCmp) Write8(m_nEaSeg, m_nEaOff, r);
    }
    return Outcome::kNext;
}

template <AluOp op>
[[gnu::always_inline]] inline CCpu8086::Outcome CCpu8086::AluRm16Reg(bool toReg)
{
    const unsigned modrm = Fetch8();
    uint16_t& reg = m_state.reg[(modrm >> 3) & 7];
    if (modrm >= 0xC0) {
        uint16_t& rm = m_state.reg[modrm & 7];
        uint16_t& target = toReg ? reg : rm;
        const uint16_t r = m_lazy.Alu<op, uint16_t>(target, toReg ? rm : reg, m_state.flags);
        if constexpr (op != AluOp::kCmp) target = r;
        return Outcome::kNext;
    }
    DecodeEa(modrm);
    const uint16_t value = Read16(m_nEaSeg, m_nEaOff);
    if (toReg) {
        const uint16_t r = m_lazy.Alu<op, uint16_t>(reg, value, m_state.flags);
        if constexpr (op != AluOp::kCmp) reg = r;
    } else {
        const uint16_t r = m_lazy.Alu<op, uint16_t>(value, reg, m_state.flags);
        if constexpr (op != AluOp::kCmp) Write16(m_nEaSeg, m_nEaOff, r);
    }
    return Outcome::kNext;
}

template <AluOp op>
[[gnu::always_inline]] inline CCpu8086::Outcome CCpu8086::AluAccImm8()
{
    const uint8_t r = m_lazy.Alu<op, uint8_t>(m_state.al(), Fetch8(), m_state.flags);
    if constexpr (op != AluOp::kCmp) m_state.set_al(r);
    return Outcome::kNext;
}

template <AluOp op>
[[gnu::always_inline]] inline CCpu8086::Outcome CCpu8086::AluAccImm16()
{
    const uint16_t r = m_lazy.Alu<op, uint16_t>(m_state.ax(), Fetch16(), m_state.flags);
    if constexpr (op != AluOp::kCmp) m_state.ax() = r;
    return Outcome::kNext;
}

// 80h-83h: the eight operations on r/m with an immediate (82h is the 8086's alias of 80h).
[[gnu::always_inline]] inline CCpu8086::Outcome CCpu8086::Group1(uint8_t opcode)
{
    DecodeModRm();
    const auto op = static_cast<AluOp>(RegField());
    if (opcode & 1) {
        const uint16_t a = GetRm16();
        const uint16_t b = opcode == 0x83 ? CAlu8086::SignExtend(Fetch8()) : Fetch16();
        const uint16_t r = m_lazy.AluDynamic<uint16_t>(op, a, b, m_state.flags);
        if (op != AluOp::kCmp) SetRm16(r);
    } else {
        const uint8_t a = GetRm8();
        const uint8_t r = m_lazy.AluDynamic<uint8_t>(op, a, Fetch8(), m_state.flags);
        if (op != AluOp::kCmp) SetRm8(r);
    }
    return Outcome::kNext;
}

// D0h-D3h count 1 or CL as the 8086 does (unmasked); C0h/C1h take an immediate count that
// the 80186 masks to five bits, and treat reg field 6 as SHL.
[[gnu::always_inline]] inline CCpu8086::Outcome CCpu8086::Group2(uint8_t opcode)
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
        SetRm16(Shift<uint16_t>(op, GetRm16(), count));
    } else {
        SetRm8(Shift<uint8_t>(op, GetRm8(), count));
    }
    return Outcome::kNext;
}

// SHL, SHR and SAR by less than the width leave their flags pending, ROL and ROR by any count
// and RCL and RCR by 1 change CF and OF in what is pending; the rest are worked out by CAlu8086
// on settled flags.
template <typename T>
[[gnu::always_inline]] inline T CCpu8086::Shift(ShiftOp op, T value, unsigned count)
{
    constexpr unsigned kWidth = CAlu8086::kBits<T>;
    constexpr unsigned kTop = kWidth - 1;
    if (count == 0) return value;
    if (op == ShiftOp::kRol || op == ShiftOp::kRor) {
        const unsigned n = count % kWidth;
        if (op == ShiftOp::kRol) {
            const T r = n ? static_cast<T>((value << n) | (value >> (kWidth - n))) : value;
            m_lazy.SetCarryOverflow(r & 1, ((r >> kTop) ^ r) & 1, m_state.flags);
            return r;
        }
        const T r = n ? static_cast<T>((value >> n) | (value << (kWidth - n))) : value;
        m_lazy.SetCarryOverflow((r >> kTop) & 1, ((r >> kTop) ^ (r >> (kTop - 1))) & 1, m_state.flags);
        return r;
    }
    if (count == 1 && (op == ShiftOp::kRcl || op == ShiftOp::kRcr)) {
        const unsigned carry = Carry();
        if (op == ShiftOp::kRcl) {
            const T r = static_cast<T>((value << 1) | carry);
            const unsigned out = (value >> kTop) & 1;
            m_lazy.SetCarryOverflow(out, ((r >> kTop) & 1) ^ out, m_state.flags);
            return r;
        }
        const T r = static_cast<T>((value >> 1) | (carry << kTop));
        m_lazy.SetCarryOverflow(value & 1, ((r >> kTop) ^ (r >> (kTop - 1))) & 1, m_state.flags);
        return r;
    }
    if (count < kWidth) {
        switch (op) {
        case ShiftOp::kShl: {
            const T r = static_cast<T>(value << count);
            const unsigned carry = (value >> (kWidth - count)) & 1;
            return m_lazy.Shifted<T>(r, carry, ((r >> kTop) & 1) ^ carry);
        }
        case ShiftOp::kShr:
            return m_lazy.Shifted<T>(static_cast<T>(value >> count), (value >> (count - 1)) & 1,
                                     (static_cast<T>(value >> (count - 1)) >> kTop) & 1);
        case ShiftOp::kSar: {
            using S = std::make_signed_t<T>;
            const T r = static_cast<T>(static_cast<S>(value) >> count);
            return m_lazy.Shifted<T>(r, (static_cast<S>(value) >> (count - 1)) & 1, 0);
        }
        default:
            break;
        }
    }
    SettleFlags();
    return CAlu8086::Shift<T>(op, value, count, m_state.flags);
}

[[gnu::always_inline]] inline CCpu8086::Outcome CCpu8086::Jump(bool taken, int16_t displacement)
{
    if (taken) SetIp(static_cast<uint16_t>(NextIp() + displacement));
    return Outcome::kNext;
}

[[gnu::always_inline]] inline CCpu8086::Outcome CCpu8086::Loop(uint8_t opcode)
{
    CpuState& s = m_state;
    const int8_t displacement = static_cast<int8_t>(Fetch8());
    if (opcode == 0xE3) return Jump(s.cx() == 0, displacement);
    s.cx() = static_cast<uint16_t>(s.cx() - 1);
    const bool zero = m_lazy.Zero(s.flags);
    bool taken = s.cx() != 0;
    if (opcode == 0xE0) taken = taken && !zero;
    if (opcode == 0xE1) taken = taken && zero;
    return Jump(taken, displacement);
}

[[gnu::always_inline]] inline bool CCpu8086::Condition(unsigned code) const
{
    const uint16_t f = m_state.flags;
    bool result;
    switch (code >> 1) {
    case 0: result = m_lazy.Overflow(f); break;
    case 1: result = m_lazy.Carry(f) != 0; break;
    case 2: result = m_lazy.Zero(f); break;
    case 3: result = m_lazy.Carry(f) || m_lazy.Zero(f); break;
    case 4: result = m_lazy.Sign(f); break;
    case 5: result = m_lazy.Parity(f); break;
    case 6: result = m_lazy.Sign(f) != m_lazy.Overflow(f); break;
    default: result = m_lazy.Zero(f) || m_lazy.Sign(f) != m_lazy.Overflow(f); break;
    }
    return result != ((code & 1) != 0);
}

CCpu8086::Outcome CCpu8086::CallFar(uint16_t segment, uint16_t offset)
{
    Push(m_state.cs());
    Push(NextIp());
    SetCsIp(segment, offset);
    return Outcome::kNext;
}

CCpu8086::Outcome CCpu8086::ReturnFar(uint16_t release)
{
    const uint16_t ip = Pop();
    SetCsIp(Pop(), ip);
    m_state.sp() = static_cast<uint16_t>(m_state.sp() + release);
    return Outcome::kNext;
}

template <typename T>
[[gnu::always_inline]] inline T CCpu8086::ReadT(uint16_t segment, uint16_t offset) const
{
    if constexpr (sizeof(T) == 1) {
        return Read8(segment, offset);
    } else {
        return Read16(segment, offset);
    }
}

template <typename T>
[[gnu::always_inline]] inline void CCpu8086::WriteT(uint16_t segment, uint16_t offset, T value)
{
    if constexpr (sizeof(T) == 1) {
        Write8(segment, offset, value);
    } else {
        Write16(segment, offset, value);
    }
}

// One element; for CMPS and SCAS, whether the two were equal.
template <typename T, uint8_t kKind>
[[gnu::always_inline]] inline bool CCpu8086::StringElement()
{
    CpuState& s = m_state;
    const auto step = static_cast<uint16_t>((s.flags & kFlagDirection) ? -static_cast<int>(sizeof(T)) : sizeof(T));
    bool equal = false;
    if constexpr (kKind == kMovs) WriteT<T>(s.es(), s.di(), ReadT<T>(SegmentOr(kDS), s.si()));
    if constexpr (kKind == kCmps) {
        const T a = ReadT<T>(SegmentOr(kDS), s.si());
        const T b = ReadT<T>(s.es(), s.di());
        m_lazy.Sub<T>(a, b, 0);
        equal = a == b;
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
        const T b = ReadT<T>(s.es(), s.di());
        m_lazy.Sub<T>(static_cast<T>(s.ax()), b, 0);
        equal = static_cast<T>(s.ax()) == b;
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
[[gnu::always_inline]] inline CCpu8086::Outcome CCpu8086::String()
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
        if (m_nBudget == 0 || (m_nAttention & kAttentionTrap) || InterruptWaits()) {
            SetIp(StartIp());
            m_nMode |= kModeInRepeat;
            return Outcome::kNext;
        }
        --m_nBudget;
        // For the history each element is an instruction of its own, begun at the prefix.
        if (m_pHistory != nullptr) [[unlikely]] m_pHistory->BeginInstruction(m_state, StartIp(), m_lazy, kModeInRepeat);
    }
}

[[gnu::always_inline]] inline CCpu8086::Outcome CCpu8086::Dispatch(uint8_t opcode)
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
        case 0x07: case 0x17: case 0x1F:
            return SetSegment(opcode >> 3, Pop());
        // The 8086's POP CS; the 80186 left it undefined, so that it raises interrupt 6.
        case 0x0F: return Fault(6);

        case 0x26: case 0x2E: case 0x36: case 0x3E:
            m_nOverride = (opcode >> 3) & 3;
            opcode = FetchAfterPrefix();
            continue;
        case 0xF0:
            opcode = FetchAfterPrefix();
            continue;
        case 0xF1:
            if (AtServiceMark()) return EnterServiceAtMark();
            opcode = FetchAfterPrefix();
            continue;
        case 0xF2: case 0xF3:
            m_nRep = opcode;
            opcode = FetchAfterPrefix();
            continue;

        case 0x27: SettleFlags(); CAlu8086::Daa(s); return Outcome::kNext;
        case 0x2F: SettleFlags(); CAlu8086::Das(s); return Outcome::kNext;
        case 0x37: SettleFlags(); CAlu8086::Aaa(s); return Outcome::kNext;
        case 0x3F: SettleFlags(); CAlu8086::Aas(s); return Outcome::kNext;

        case 0x40: case 0x41: case 0x42: case 0x43: case 0x44: case 0x45: case 0x46: case 0x47:
            s.reg[opcode & 7] = m_lazy.Inc<uint16_t>(s.reg[opcode & 7], Carry());
            return Outcome::kNext;
        case 0x48: case 0x49: case 0x4A: case 0x4B: case 0x4C: case 0x4D: case 0x4E: case 0x4F:
            s.reg[opcode & 7] = m_lazy.Dec<uint16_t>(s.reg[opcode & 7], Carry());
            return Outcome::kNext;
        case 0x50: case 0x51: case 0x52: case 0x53: case 0x55: case 0x56: case 0x57:
            Push(s.reg[opcode & 7]);
            return Outcome::kNext;
        case 0x54: PushStackPointer(); return Outcome::kNext;
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
        case 0x6A: Push(CAlu8086::SignExtend(Fetch8())); return Outcome::kNext;
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
            m_lazy.Logic<uint8_t>(GetRm8() & Reg8(RegField()));
            return Outcome::kNext;
        case 0x85:
            DecodeModRm();
            m_lazy.Logic<uint16_t>(GetRm16() & s.reg[RegField()]);
            return Outcome::kNext;
        case 0x86: {
            DecodeModRm();
            const uint8_t value = GetRm8();
            SetRm8(Reg8(RegField()));
            SetReg8(RegField(), value);
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
        case 0x8A: DecodeModRm(); SetReg8(RegField(), GetRm8()); return Outcome::kNext;
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
        case 0x98: s.ax() = CAlu8086::SignExtend(s.al()); return Outcome::kNext;
        case 0x99: s.dx() = (s.ax() & 0x8000) ? 0xFFFF : 0; return Outcome::kNext;
        case 0x9A: {
            const uint16_t offset = Fetch16();
            return CallFar(Fetch16(), offset);
        }
        case 0x9B: return Outcome::kNext;
        case 0x9C:
            SettleFlags();
            Push(NormalFlags(s.flags));
            return Outcome::kNext;
        case 0x9D:
            m_lazy.Discard();
            s.flags = NormalFlags(Pop());
            SyncTrap();
            return Outcome::kNext;
        case 0x9E:
            SettleFlags();
            s.flags = static_cast<uint16_t>((s.flags & 0xFF00) | (s.ah() & 0xD5) | 0x02);
            return Outcome::kNext;
        case 0x9F:
            SettleFlags();
            s.set_ah(static_cast<uint8_t>(s.flags));
            return Outcome::kNext;

        case 0xA0: s.set_al(Read8(SegmentOr(kDS), Fetch16())); return Outcome::kNext;
        case 0xA1: s.ax() = Read16(SegmentOr(kDS), Fetch16()); return Outcome::kNext;
        case 0xA2: Write8(SegmentOr(kDS), Fetch16(), s.al()); return Outcome::kNext;
        case 0xA3: Write16(SegmentOr(kDS), Fetch16(), s.ax()); return Outcome::kNext;
        case 0xA4: return String<uint8_t, kMovs>();
        case 0xA5: return String<uint16_t, kMovs>();
        case 0xA6: return String<uint8_t, kCmps>();
        case 0xA7: return String<uint16_t, kCmps>();
        case 0xA8: m_lazy.Logic<uint8_t>(s.al() & Fetch8()); return Outcome::kNext;
        case 0xA9: m_lazy.Logic<uint16_t>(s.ax() & Fetch16()); return Outcome::kNext;
        case 0xAA: return String<uint8_t, kStos>();
        case 0xAB: return String<uint16_t, kStos>();
        case 0xAC: return String<uint8_t, kLods>();
        case 0xAD: return String<uint16_t, kLods>();
        case 0xAE: return String<uint8_t, kScas>();
        case 0xAF: return String<uint16_t, kScas>();

        case 0xB0: case 0xB1: case 0xB2: case 0xB3: case 0xB4: case 0xB5: case 0xB6: case 0xB7:
            SetReg8(opcode & 7, Fetch8());
            return Outcome::kNext;
        case 0xB8: case 0xB9: case 0xBA: case 0xBB: case 0xBC: case 0xBD: case 0xBE: case 0xBF:
            s.reg[opcode & 7] = Fetch16();
            return Outcome::kNext;

        case 0xC0: case 0xC1: case 0xD0: case 0xD1: case 0xD2: case 0xD3: return Group2(opcode);
        case 0xC2: {
            const uint16_t release = Fetch16();
            SetIp(Pop());
            s.sp() = static_cast<uint16_t>(s.sp() + release);
            return Outcome::kNext;
        }
        case 0xC3: SetIp(Pop()); return Outcome::kNext;
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
        case 0xCE: return m_lazy.Overflow(s.flags) ? Interrupt(4) : Outcome::kNext;
        case 0xCF: return Iret();

        case 0xD4: SettleFlags(); return CAlu8086::Aam(s, Fetch8()) ? Outcome::kNext : Interrupt(0);
        case 0xD5: SettleFlags(); CAlu8086::Aad(s, Fetch8()); return Outcome::kNext;
        case 0xD6: s.set_al(Carry() ? 0xFF : 0x00); return Outcome::kNext;
        case 0xD7: s.set_al(Read8(SegmentOr(kDS), static_cast<uint16_t>(s.bx() + s.al()))); return Outcome::kNext;
        case 0xD8: case 0xD9: case 0xDA: case 0xDB: case 0xDC: case 0xDD: case 0xDE: case 0xDF:
            // A coprocessor's instruction: its operand is decoded and nothing else happens.
            DecodeModRm();
            return Outcome::kNext;

        case 0xE0: case 0xE1: case 0xE2: case 0xE3: return Loop(opcode);
        case 0xE4: case 0xE5: case 0xE6: case 0xE7: case 0xEC: case 0xED: case 0xEE: case 0xEF: return Port(opcode);
        case 0xE8: {
            const uint16_t displacement = Fetch16();
            Push(NextIp());
            SetIp(static_cast<uint16_t>(NextIp() + displacement));
            return Outcome::kNext;
        }
        case 0xE9: {
            const uint16_t displacement = Fetch16();
            SetIp(static_cast<uint16_t>(NextIp() + displacement));
            return Outcome::kNext;
        }
        case 0xEA: {
            const uint16_t offset = Fetch16();
            SetCsIp(Fetch16(), offset);
            return Outcome::kNext;
        }
        case 0xEB: return Jump(true, static_cast<int8_t>(Fetch8()));

        case 0xF4:
            m_nMode |= kModeHalted;
            return Outcome::kHalted;
        case 0xF5: SettleFlags(); s.flags ^= kFlagCarry; return Outcome::kNext;
        case 0xF6: return Group3Byte();
        case 0xF7: return Group3Word();
        case 0xF8: SettleFlags(); s.flags &= ~kFlagCarry; return Outcome::kNext;
        case 0xF9: SettleFlags(); s.flags |= kFlagCarry; return Outcome::kNext;
        case 0xFA: s.flags &= ~kFlagInterrupt; return Outcome::kNext;
        case 0xFB:
            // Interrupts come no sooner than after the instruction that follows STI.
            if (!(s.flags & kFlagInterrupt)) m_nAttention |= kAttentionHold;
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

// One instruction with its prefixes, then whatever must happen before the next one.
[[gnu::always_inline]] inline CCpu8086::Outcome CCpu8086::Execute()
{
    m_pStart = m_pIp;
    if (m_pIp >= m_pIpLimit) [[unlikely]] Queue();
    m_nOverride = kNoOverride;
    m_nRep = kNoRep;
    m_nMode &= ~kModeInRepeat;
    const Outcome outcome = Dispatch(Fetch8());
    if (m_nAttention) [[unlikely]] return AfterInstruction(outcome);
    return outcome;
}

// One instruction, recorded first when the history is on.
template <bool kRecord>
[[gnu::always_inline]] inline CCpu8086::Outcome CCpu8086::Step(bool mayBeHalted)
{
    if constexpr (!kRecord) {
        return (mayBeHalted && (m_nMode & kModeHalted)) ? WakeFromHalt() : Execute();
    } else {
        m_pHistory->BeginInstruction(m_state, NextIp(), m_lazy, m_nMode);
        return (mayBeHalted && (m_nMode & kModeHalted)) ? WakeFromHalt() : Execute();
    }
}

// One copy of the loop for each combination of history and breakpoints, so that neither costs
// anything while it is off. Run stops neither at a breakpoint nor at a request before its first
// instruction, so that running on from a stop always makes progress.
template <bool kRecord, bool kBreakpoints>
StopReason CCpu8086::RunLoop(uint64_t maxInstructions)
{
    if (maxInstructions == 0) {
        m_nExecuted = 0;
        return StopReason::Limit;
    }
    m_nBudget = maxInstructions - 1;
    m_nRunLength = maxInstructions;
    m_bTrapLatched = (m_state.flags & kFlagTrap) != 0;
    LoadState();
    // Only the first instruction can find the CPU halted: HLT ends the loop.
    Outcome outcome = Step<kRecord>(true);
    StopReason reason = StopReason::Limit;
    for (;;) {
        if (outcome != Outcome::kNext) [[unlikely]] {
            if (outcome == Outcome::kBlocked) {
                if (kRecord) StepBack(1);
                ++m_nBudget;
            }
            reason = ReasonOf(outcome);
            break;
        }
        if (m_nBudget == 0) {
            // The run after this one would step over a breakpoint at its first instruction: a
            // run cut short (its budget spent, a port write's EndRun) stops at it now.
            if constexpr (kBreakpoints) {
                if (HasBreakpoint(CMemory::Linear(m_state.cs(), NextIp()))) reason = StopReason::Breakpoint;
            }
            break;
        }
        if (m_bStopRequested.load(std::memory_order_relaxed)) [[unlikely]] {
            m_bStopRequested.store(false, std::memory_order_relaxed);
            reason = StopReason::Paused;
            break;
        }
        if constexpr (kBreakpoints) {
            if (HasBreakpoint(CMemory::Linear(m_state.cs(), NextIp()))) {
                reason = StopReason::Breakpoint;
                break;
            }
        }
        --m_nBudget;
        outcome = Step<kRecord>(false);
    }
    SettleFlags();
    CommitIp();
    m_nExecuted = m_nRunLength - m_nBudget;
    m_nBudget = 0;
    m_nRunLength = 0;
    return reason;
}

StopReason CCpu8086::Run(uint64_t maxInstructions)
{
    if (m_pHistory != nullptr) {
        return m_nBreakpointCount ? RunLoop<true, true>(maxInstructions) : RunLoop<true, false>(maxInstructions);
    }
    return m_nBreakpointCount ? RunLoop<false, true>(maxInstructions) : RunLoop<false, false>(maxInstructions);
}

StopReason CCpu8086::Step()
{
    return m_pHistory != nullptr ? RunLoop<true, false>(1) : RunLoop<false, false>(1);
}

}  // namespace dos
