// The 8086's arithmetic and the flags it leaves, for bytes and words alike: what the lazy flags
// do not keep (shifts by large counts, rotates, multiplication, division, decimal adjustment).
#pragma once

#include "dos/CpuState.h"

#include <array>
#include <cstdint>

namespace dos {

// The operations of the 00h-3Fh block and of the 80h-83h group, in the order of their reg field.
enum class AluOp : uint8_t { kAdd, kOr, kAdc, kSbb, kAnd, kSub, kXor, kCmp };

// The rotates and shifts of the D0h-D3h and C0h/C1h groups, in the order of their reg field.
enum class ShiftOp : uint8_t { kRol, kRor, kRcl, kRcr, kShl, kShr, kSetmo, kSar };

class CAlu8086 {
public:
    static constexpr uint16_t kArithFlags =
        kFlagCarry | kFlagParity | kFlagAuxCarry | kFlagZero | kFlagSign | kFlagOverflow;

    template <typename T>
    static constexpr unsigned kBits = sizeof(T) * 8;

    static uint16_t SignExtend(uint8_t value) { return static_cast<uint16_t>(static_cast<int8_t>(value)); }
    // PF of a result's low byte.
    static uint16_t Parity(uint8_t value) { return kParity[value]; }

    // Sign, zero and parity of a result.
    template <typename T>
    static uint16_t Szp(T result)
    {
        const uint16_t parity = kParity[static_cast<uint8_t>(result)];
        const uint16_t sign = static_cast<uint16_t>((result >> (kBits<T> - 8)) & kFlagSign);
        return static_cast<uint16_t>(parity | sign | (result == 0 ? kFlagZero : 0));
    }

    template <typename T>
    static T Add(T a, T b, unsigned carry, uint16_t& flags)
    {
        const uint32_t r = static_cast<uint32_t>(a) + b + carry;
        const uint32_t overflow = ((a ^ r) & (b ^ r)) >> (kBits<T> - 1) & 1;
        flags = static_cast<uint16_t>((flags & ~kArithFlags) | Szp<T>(static_cast<T>(r)) | ((r >> kBits<T>) & 1) |
                                      ((a ^ b ^ r) & kFlagAuxCarry) | (overflow << 11));
        return static_cast<T>(r);
    }

    template <typename T>
    static T Sub(T a, T b, unsigned borrow, uint16_t& flags)
    {
        const uint32_t r = static_cast<uint32_t>(a) - b - borrow;
        const uint32_t overflow = ((a ^ b) & (a ^ r)) >> (kBits<T> - 1) & 1;
        flags = static_cast<uint16_t>((flags & ~kArithFlags) | Szp<T>(static_cast<T>(r)) | ((r >> kBits<T>) & 1) |
                                      ((a ^ b ^ r) & kFlagAuxCarry) | (overflow << 11));
        return static_cast<T>(r);
    }

    // A rotate or shift by count as the 8086 runs it (count as given: the 8086 does not mask
    // it; the 80186's forms mask it before calling). A count of 0 changes nothing.
    template <typename T>
    static T Shift(ShiftOp op, T value, unsigned count, uint16_t& flags);

    // MUL and IMUL: the double-width product; CF and OF tell that the high half is needed.
    // negate: the 8086's microcode starts its sign bookkeeping from the flag a REP prefix
    // sets, so IMUL and IDIV behind REP give the negated product or quotient.
    template <typename T>
    static uint32_t Mul(T a, T b, uint16_t& flags);
    template <typename T>
    static uint32_t Imul(T a, T b, bool negate, uint16_t& flags);

    // DIV and IDIV of the double-width dividend: false on a divide error, with the flags the
    // 8086's division leaves behind (they are pushed by the interrupt that follows).
    template <typename T>
    static bool Div(uint32_t dividend, T divisor, T& quotient, T& remainder, uint16_t& flags);
    template <typename T>
    static bool Idiv(uint32_t dividend, T divisor, bool negate, T& quotient, T& remainder, uint16_t& flags);

    // The decimal adjustments on AX.
    static void Daa(CpuState& s);
    static void Das(CpuState& s);
    static void Aaa(CpuState& s);
    static void Aas(CpuState& s);
    static bool Aam(CpuState& s, uint8_t base);
    static void Aad(CpuState& s, uint8_t base);

private:
    static uint8_t HighLimit(const CpuState& s);

    static constexpr std::array<uint8_t, 256> kParity = [] {
        std::array<uint8_t, 256> table{};
        for (unsigned i = 0; i < 256; ++i) {
            unsigned bits = 0;
            for (unsigned v = i; v != 0; v >>= 1) bits += v & 1;
            table[i] = (bits & 1) ? 0 : kFlagParity;
        }
        return table;
    }();
};

}  // namespace dos
