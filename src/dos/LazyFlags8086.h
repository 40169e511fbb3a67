// The arithmetic flags of the last instruction that set them, kept as its operands and result
// and turned into flag bits only when something reads them: most flags a program computes are
// overwritten before anything looks at them.
#pragma once

#include "dos/Alu8086.h"

#include <cstdint>

namespace dos {

class CLazyFlags8086 {
public:
    [[gnu::always_inline]] bool Pending() const { return m_nKind != kNone; }

    // The operations, as CAlu8086's but recorded instead of computed. INC and DEC keep the
    // carry they are given in the bit above the result, where CF is read from.
    template <typename T>
    [[gnu::always_inline]] T Add(T a, T b, unsigned carry)
    {
        const uint32_t r = static_cast<uint32_t>(a) + b + carry;
        Keep<T>(a, b, r, kAddition);
        return static_cast<T>(r);
    }
    template <typename T>
    [[gnu::always_inline]] T Sub(T a, T b, unsigned borrow)
    {
        const uint32_t r = static_cast<uint32_t>(a) - b - borrow;
        Keep<T>(a, b, r, kSubtraction);
        return static_cast<T>(r);
    }
    // AND, OR, XOR, TEST: as an addition of the result and 0, whose CF, AF and OF are clear.
    template <typename T>
    [[gnu::always_inline]] T Logic(T r)
    {
        Keep<T>(r, 0, r, kAddition);
        return r;
    }
    template <typename T>
    [[gnu::always_inline]] T Inc(T a, unsigned carry)
    {
        const T r = static_cast<T>(a + 1);
        Keep<T>(a, 1, r | (carry << CAlu8086::kBits<T>), kAddition);
        return r;
    }
    template <typename T>
    [[gnu::always_inline]] T Dec(T a, unsigned carry)
    {
        const T r = static_cast<T>(a - 1);
        Keep<T>(a, 1, r | (carry << CAlu8086::kBits<T>), kSubtraction);
        return r;
    }

    // SHL, SHR, SAR: the result, the last bit shifted out and OF, as the operands of an
    // addition (AF clear) with OF beside them.
    template <typename T>
    [[gnu::always_inline]] T Shifted(T r, unsigned carry, unsigned overflow)
    {
        Keep<T>(r, static_cast<uint16_t>(overflow), r | (carry << CAlu8086::kBits<T>), kShift);
        return r;
    }

    template <AluOp op, typename T>
    [[gnu::always_inline]] T Alu(T a, T b, uint16_t flags)
    {
        if constexpr (op == AluOp::kAdd) return Add<T>(a, b, 0);
        if constexpr (op == AluOp::kAdc) return Add<T>(a, b, Carry(flags));
        if constexpr (op == AluOp::kSub || op == AluOp::kCmp) return Sub<T>(a, b, 0);
        if constexpr (op == AluOp::kSbb) return Sub<T>(a, b, Carry(flags));
        if constexpr (op == AluOp::kOr) return Logic<T>(static_cast<T>(a | b));
        if constexpr (op == AluOp::kAnd) return Logic<T>(static_cast<T>(a & b));
        if constexpr (op == AluOp::kXor) return Logic<T>(static_cast<T>(a ^ b));
    }
    // The same with the operation known only at run time (the 80h-83h group).
    template <typename T>
    [[gnu::always_inline]] T AluDynamic(AluOp op, T a, T b, uint16_t flags)
    {
        switch (op) {
        case AluOp::kAdd: return Alu<AluOp::kAdd, T>(a, b, flags);
        case AluOp::kOr: return Alu<AluOp::kOr, T>(a, b, flags);
        case AluOp::kAdc: return Alu<AluOp::kAdc, T>(a, b, flags);
        case AluOp::kSbb: return Alu<AluOp::kSbb, T>(a, b, flags);
        case AluOp::kAnd: return Alu<AluOp::kAnd, T>(a, b, flags);
        case AluOp::kSub: return Alu<AluOp::kSub, T>(a, b, flags);
        case AluOp::kXor: return Alu<AluOp::kXor, T>(a, b, flags);
        case AluOp::kCmp: return Alu<AluOp::kCmp, T>(a, b, flags);
        }
        return a;
    }

    // Single flags for the conditional jumps; flags holds them when nothing is pending.
    [[gnu::always_inline]] unsigned Carry(uint16_t flags) const { return Pending() ? (m_nResult >> Bits()) & 1 : flags & kFlagCarry; }
    [[gnu::always_inline]] bool Zero(uint16_t flags) const { return Pending() ? (m_nResult & Mask()) == 0 : (flags & kFlagZero) != 0; }
    [[gnu::always_inline]] bool Sign(uint16_t flags) const { return Pending() ? (m_nResult >> (Bits() - 1)) & 1 : (flags & kFlagSign) != 0; }
    [[gnu::always_inline]] bool Parity(uint16_t flags) const { return Pending() ? CAlu8086::Parity(static_cast<uint8_t>(m_nResult)) != 0 : (flags & kFlagParity) != 0; }
    [[gnu::always_inline]] bool Overflow(uint16_t flags) const { return Pending() ? OverflowBit() : (flags & kFlagOverflow) != 0; }

    // The rotates change CF and OF alone. With something pending, the carry is the bit above
    // its result, and OF follows the sign bits of its operands, which nothing else reads.
    [[gnu::always_inline]] void SetCarryOverflow(unsigned carry, unsigned overflow, uint16_t& flags)
    {
        if (!Pending()) {
            flags = static_cast<uint16_t>((flags & ~(kFlagCarry | kFlagOverflow)) | carry | (overflow << 11));
            return;
        }
        const unsigned bits = Bits();
        m_nResult = (m_nResult & ~(1u << bits)) | (carry << bits);
        if (m_nKind & kShift) {
            m_nOperands = (m_nOperands & 0xFFFF) | (overflow << 16);
            return;
        }
        const uint16_t sign = static_cast<uint16_t>(1u << (bits - 1));
        const uint16_t resultSign = static_cast<uint16_t>(m_nResult & sign);
        const uint16_t flipped = static_cast<uint16_t>(resultSign ^ (overflow ? sign : 0));
        const uint32_t a = (A() & ~sign) | flipped;
        const uint32_t b = (B() & ~sign) | ((m_nKind & kSubtraction) ? resultSign : flipped);
        m_nOperands = a | (b << 16);
    }

    // Writes what is pending into flags and forgets it.
    void Settle(uint16_t& flags)
    {
        if (!Pending()) return;
        const unsigned bits = Bits();
        const uint16_t arithmetic = static_cast<uint16_t>(
            ((m_nResult >> bits) & 1) | CAlu8086::Parity(static_cast<uint8_t>(m_nResult)) | ((A() ^ B() ^ m_nResult) & kFlagAuxCarry) |
            ((m_nResult & Mask()) == 0 ? kFlagZero : 0) | ((m_nResult >> (bits - 8)) & kFlagSign) | (OverflowBit() << 11));
        flags = static_cast<uint16_t>((flags & ~CAlu8086::kArithFlags) | arithmetic);
        m_nKind = kNone;
    }
    // The flags were set as a whole (POPF, IRET, a service): nothing is pending any more.
    [[gnu::always_inline]] void Discard() { m_nKind = kNone; }

    // What the step-back history keeps of it, copied field by field for the same reason as
    // its registers.
    struct Record {
        uint32_t result;
        uint32_t operands;
        uint16_t kind;
    };
    [[gnu::always_inline]] void CopyTo(Record& record) const
    {
        record.result = m_nResult;
        record.operands = m_nOperands;
        record.kind = m_nKind;
    }
    void CopyFrom(const Record& record)
    {
        m_nResult = record.result;
        m_nOperands = record.operands;
        m_nKind = record.kind;
    }

private:
    // The width in bits, and how OF is found.
    enum Kind : uint8_t { kNone = 0, kAddition = 0, kWidthMask = 0x1F, kShift = 0x40, kSubtraction = 0x80 };

    template <typename T>
    [[gnu::always_inline]] void Keep(uint16_t a, uint16_t b, uint32_t r, uint8_t kind)
    {
        m_nOperands = a | (static_cast<uint32_t>(b) << 16);
        m_nResult = r;
        m_nKind = static_cast<uint16_t>(CAlu8086::kBits<T> | kind);
    }
    [[gnu::always_inline]] unsigned Bits() const { return m_nKind & kWidthMask; }
    [[gnu::always_inline]] uint32_t A() const { return m_nOperands & 0xFFFF; }
    [[gnu::always_inline]] uint32_t B() const { return m_nOperands >> 16; }
    [[gnu::always_inline]] uint32_t Mask() const { return (1u << Bits()) - 1; }
    [[gnu::always_inline]] unsigned OverflowBit() const
    {
        if (m_nKind & kShift) return B();
        const uint32_t r = m_nResult;
        const uint32_t a = A();
        const uint32_t b = B();
        const uint32_t sign = (m_nKind & kSubtraction) ? (a ^ b) & (a ^ r) : (a ^ r) & (b ^ r);
        return (sign >> (Bits() - 1)) & 1;
    }

    // No field is of a character type (see CCpu8086::Reg8).
    uint32_t m_nResult = 0;
    // The operands, a in the low word and b in the high one: one store, one load.
    uint32_t m_nOperands = 0;
    uint16_t m_nKind = kNone;
};

}  // namespace dos
