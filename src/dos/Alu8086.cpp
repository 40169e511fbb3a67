// The 8086's longer arithmetic: rotates and shifts by a count, multiplication, division with
// the flags its microcode leaves when it fails, and the decimal adjustments.
#include "dos/Alu8086.h"

#include <type_traits>

namespace dos {

namespace {

template <typename T>
constexpr T kSignBit = static_cast<T>(1u << (CAlu8086::kBits<T> - 1));

template <typename T>
unsigned Msb(T v)
{
    return (v >> (CAlu8086::kBits<T> - 1)) & 1;
}

uint16_t WithCarryOverflow(uint16_t flags, unsigned carry, unsigned overflow)
{
    return static_cast<uint16_t>((flags & ~(kFlagCarry | kFlagOverflow)) | carry | (overflow << 11));
}

// Through the carry the value is one bit wider; the 8086 walks the count bit by bit.
template <typename T>
T RotateThroughCarry(T value, unsigned count, bool left, unsigned& carry)
{
    count %= CAlu8086::kBits<T> + 1;
    for (unsigned i = 0; i < count; ++i) {
        if (left) {
            const unsigned out = Msb(value);
            value = static_cast<T>((value << 1) | carry);
            carry = out;
        } else {
            const unsigned out = value & 1;
            value = static_cast<T>((value >> 1) | (carry ? kSignBit<T> : 0));
            carry = out;
        }
    }
    return value;
}

}  // namespace

template <typename T>
T CAlu8086::Shift(ShiftOp op, T value, unsigned count, uint16_t& flags)
{
    constexpr unsigned kWidth = kBits<T>;
    if (count == 0) return value;
    unsigned carry = flags & kFlagCarry;
    T r = value;
    switch (op) {
    case ShiftOp::kRol: {
        const unsigned n = count % kWidth;
        r = n ? static_cast<T>((value << n) | (value >> (kWidth - n))) : value;
        carry = r & 1;
        flags = WithCarryOverflow(flags, carry, Msb(r) ^ carry);
        return r;
    }
    case ShiftOp::kRor: {
        const unsigned n = count % kWidth;
        r = n ? static_cast<T>((value >> n) | (value << (kWidth - n))) : value;
        carry = Msb(r);
        flags = WithCarryOverflow(flags, carry, Msb(r) ^ ((r >> (kWidth - 2)) & 1));
        return r;
    }
    case ShiftOp::kRcl:
        r = RotateThroughCarry<T>(value, count, true, carry);
        flags = WithCarryOverflow(flags, carry, Msb(r) ^ carry);
        return r;
    case ShiftOp::kRcr:
        r = RotateThroughCarry<T>(value, count, false, carry);
        flags = WithCarryOverflow(flags, carry, Msb(r) ^ ((r >> (kWidth - 2)) & 1));
        return r;
    case ShiftOp::kShl:
        r = count < kWidth ? static_cast<T>(value << count) : 0;
        carry = count <= kWidth ? (value >> (kWidth - count)) & 1 : 0;
        flags = WithCarryOverflow(flags, carry, Msb(r) ^ carry);
        break;
    case ShiftOp::kShr:
        r = count < kWidth ? static_cast<T>(value >> count) : 0;
        carry = count <= kWidth ? (value >> (count - 1)) & 1 : 0;
        flags = WithCarryOverflow(flags, carry, count <= kWidth ? Msb(static_cast<T>(value >> (count - 1))) : 0);
        break;
    case ShiftOp::kSar: {
        const unsigned n = count < kWidth ? count : kWidth - 1;
        const T fill = Msb(value) ? static_cast<T>(~T(0) << (kWidth - n)) : 0;
        r = static_cast<T>((value >> n) | fill);
        if (count >= kWidth) r = Msb(value) ? static_cast<T>(~T(0)) : 0;
        carry = count < kWidth ? (value >> (count - 1)) & 1 : Msb(value);
        flags = WithCarryOverflow(flags, carry, 0);
        break;
    }
    case ShiftOp::kSetmo:
        r = static_cast<T>(~T(0));
        flags = WithCarryOverflow(flags, 0, 0);
        break;
    }
    flags = static_cast<uint16_t>((flags & ~(kFlagParity | kFlagAuxCarry | kFlagZero | kFlagSign)) | Szp<T>(r));
    return r;
}

template <typename T>
uint32_t CAlu8086::Mul(T a, T b, uint16_t& flags)
{
    const uint32_t product = static_cast<uint32_t>(a) * b;
    const unsigned high = (product >> kBits<T>) != 0;
    flags = WithCarryOverflow(flags, high, high);
    return product;
}

template <typename T>
uint32_t CAlu8086::Imul(T a, T b, bool negate, uint16_t& flags)
{
    using S = std::make_signed_t<T>;
    int32_t product = static_cast<int32_t>(static_cast<S>(a)) * static_cast<S>(b);
    if (negate) product = -product;
    const unsigned wide = product != static_cast<S>(product);
    flags = WithCarryOverflow(flags, wide, wide);
    return static_cast<uint32_t>(product);
}

// The 8086 first compares the dividend's high half with the divisor (a subtraction whose
// flags stay when that already shows the quotient too wide), then runs its loop of shifts and
// subtractions.
template <typename T>
bool CAlu8086::Div(uint32_t dividend, T divisor, T& quotient, T& remainder, uint16_t& flags)
{
    const T high = static_cast<T>(dividend >> kBits<T>);
    Sub<T>(high, divisor, 0, flags);
    if (high >= divisor) return false;
    quotient = static_cast<T>(dividend / divisor);
    remainder = static_cast<T>(dividend % divisor);
    return true;
}

// IDIV divides the magnitudes. A quotient that fits the magnitudes but not the signed range
// (the 8086 refuses -80h and -8000h too) fails only after the loop: the flags are then those of
// the loop's last subtraction, with the carry clear.
template <typename T>
bool CAlu8086::Idiv(uint32_t dividend, T divisor, bool negate, T& quotient, T& remainder, uint16_t& flags)
{
    constexpr unsigned kWidth = kBits<T>;
    constexpr uint32_t kDoubleMask = kWidth == 8 ? 0xFFFF : 0xFFFFFFFF;
    const bool negativeDividend = (dividend >> (2 * kWidth - 1)) & 1;
    const bool negativeDivisor = Msb(divisor);
    const uint32_t magnitude = negativeDividend ? (0u - dividend) & kDoubleMask : dividend;
    const T divisorMagnitude = negativeDivisor ? static_cast<T>(0u - divisor) : divisor;
    const T high = static_cast<T>(magnitude >> kWidth);
    Sub<T>(high, divisorMagnitude, 0, flags);
    if (high >= divisorMagnitude) return false;
    const uint32_t q = magnitude / divisorMagnitude;
    const uint32_t r = magnitude % divisorMagnitude;
    if (q >= kSignBit<T>) {
        const uint32_t partial = (magnitude >> 1) % divisorMagnitude;
        Sub<T>(static_cast<T>((partial << 1) | (magnitude & 1)), divisorMagnitude, 0, flags);
        flags &= ~kFlagCarry;
        return false;
    }
    quotient = static_cast<T>((negativeDividend != negativeDivisor) != negate ? 0u - q : q);
    remainder = static_cast<T>(negativeDividend ? 0u - r : r);
    return true;
}

template uint8_t CAlu8086::Shift<uint8_t>(ShiftOp, uint8_t, unsigned, uint16_t&);
template uint16_t CAlu8086::Shift<uint16_t>(ShiftOp, uint16_t, unsigned, uint16_t&);
template uint32_t CAlu8086::Mul<uint8_t>(uint8_t, uint8_t, uint16_t&);
template uint32_t CAlu8086::Mul<uint16_t>(uint16_t, uint16_t, uint16_t&);
template uint32_t CAlu8086::Imul<uint8_t>(uint8_t, uint8_t, bool, uint16_t&);
template uint32_t CAlu8086::Imul<uint16_t>(uint16_t, uint16_t, bool, uint16_t&);
template bool CAlu8086::Div<uint8_t>(uint32_t, uint8_t, uint8_t&, uint8_t&, uint16_t&);
template bool CAlu8086::Div<uint16_t>(uint32_t, uint16_t, uint16_t&, uint16_t&, uint16_t&);
template bool CAlu8086::Idiv<uint8_t>(uint32_t, uint8_t, bool, uint8_t&, uint8_t&, uint16_t&);
template bool CAlu8086::Idiv<uint16_t>(uint32_t, uint16_t, bool, uint16_t&, uint16_t&, uint16_t&);

// The 8086 decides the high digit's adjustment on AL as it came in, against 99h, or against 9Fh
// when AF is set: AL 9Ah-9Fh with AF set and CF clear gets the low adjustment alone on the chip.
uint8_t CAlu8086::HighLimit(const CpuState& s)
{
    return s.Flag(kFlagAuxCarry) ? 0x9F : 0x99;
}

void CAlu8086::Daa(CpuState& s)
{
    const uint8_t old = s.al();
    const bool oldCarry = s.Flag(kFlagCarry);
    uint8_t al = old;
    const bool adjustLow = (al & 0x0F) > 9 || s.Flag(kFlagAuxCarry);
    if (adjustLow) al = static_cast<uint8_t>(al + 6);
    const bool adjustHigh = old > HighLimit(s) || oldCarry;
    if (adjustHigh) al = static_cast<uint8_t>(al + 0x60);
    s.set_al(al);
    s.flags = static_cast<uint16_t>((s.flags & ~(kArithFlags & ~kFlagOverflow)) | Szp<uint8_t>(al) |
                                    (adjustLow ? kFlagAuxCarry : 0) | (adjustHigh ? kFlagCarry : 0));
}

void CAlu8086::Das(CpuState& s)
{
    const uint8_t old = s.al();
    const bool oldCarry = s.Flag(kFlagCarry);
    uint8_t al = old;
    // Unlike later processors, the 8086 takes the carry from the second step alone.
    const bool adjustLow = (al & 0x0F) > 9 || s.Flag(kFlagAuxCarry);
    if (adjustLow) al = static_cast<uint8_t>(al - 6);
    const bool adjustHigh = old > HighLimit(s) || oldCarry;
    if (adjustHigh) al = static_cast<uint8_t>(al - 0x60);
    s.set_al(al);
    s.flags = static_cast<uint16_t>((s.flags & ~(kArithFlags & ~kFlagOverflow)) | Szp<uint8_t>(al) |
                                    (adjustLow ? kFlagAuxCarry : 0) | (adjustHigh ? kFlagCarry : 0));
}

void CAlu8086::Aaa(CpuState& s)
{
    const bool adjust = (s.al() & 0x0F) > 9 || s.Flag(kFlagAuxCarry);
    if (adjust) {
        s.set_al(static_cast<uint8_t>(s.al() + 6));
        s.set_ah(static_cast<uint8_t>(s.ah() + 1));
    }
    s.set_al(s.al() & 0x0F);
    s.SetFlag(kFlagAuxCarry, adjust);
    s.SetFlag(kFlagCarry, adjust);
}

void CAlu8086::Aas(CpuState& s)
{
    const bool adjust = (s.al() & 0x0F) > 9 || s.Flag(kFlagAuxCarry);
    if (adjust) {
        s.set_al(static_cast<uint8_t>(s.al() - 6));
        s.set_ah(static_cast<uint8_t>(s.ah() - 1));
    }
    s.set_al(s.al() & 0x0F);
    s.SetFlag(kFlagAuxCarry, adjust);
    s.SetFlag(kFlagCarry, adjust);
}

// AAM divides with the same microcode as DIV: a base of 0 fails its first comparison (0 - 0).
bool CAlu8086::Aam(CpuState& s, uint8_t base)
{
    if (base == 0) {
        Sub<uint8_t>(0, 0, 0, s.flags);
        return false;
    }
    const uint8_t al = s.al();
    s.set_ah(static_cast<uint8_t>(al / base));
    s.set_al(static_cast<uint8_t>(al % base));
    s.flags = static_cast<uint16_t>((s.flags & ~(kFlagParity | kFlagZero | kFlagSign)) | Szp<uint8_t>(s.al()));
    return true;
}

void CAlu8086::Aad(CpuState& s, uint8_t base)
{
    const uint8_t al = Add<uint8_t>(s.al(), static_cast<uint8_t>(s.ah() * base), 0, s.flags);
    s.ax() = al;
}

}  // namespace dos
