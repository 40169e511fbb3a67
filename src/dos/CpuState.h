// The 8086's registers and flags: what an instruction changes, what the BIOS and DOS services
// read and set, and what the debugger shows and restores.
#pragma once

#include <cstdint>

namespace dos {

// FLAGS as PUSHF stores them.
enum CpuFlag : uint16_t {
    kFlagCarry = 0x0001,
    kFlagParity = 0x0004,
    kFlagAuxCarry = 0x0010,
    kFlagZero = 0x0040,
    kFlagSign = 0x0080,
    kFlagTrap = 0x0100,
    kFlagInterrupt = 0x0200,
    kFlagDirection = 0x0400,
    kFlagOverflow = 0x0800,
};

// The 8086 keeps bits 12-15 and 1 of FLAGS set and bits 3 and 5 clear, whatever is stored.
constexpr uint16_t kFlagsFixed = 0xF002;
constexpr uint16_t kFlagsWritable = 0x0FD5;
constexpr uint16_t NormalFlags(uint16_t value)
{
    return static_cast<uint16_t>((value & kFlagsWritable) | kFlagsFixed);
}

// The general registers in the order of an instruction's reg field.
enum Reg16 : uint8_t { kAX, kCX, kDX, kBX, kSP, kBP, kSI, kDI };
// The segment registers in the order of an instruction's sreg field.
enum SegReg : uint8_t { kES, kCS, kSS, kDS };

struct CpuState {
    uint16_t reg[8] = {};
    uint16_t seg[4] = {};
    uint16_t ip = 0;
    // Always as PUSHF would store it whenever code outside the CPU looks at it.
    uint16_t flags = 0xF002;

    uint16_t& ax() { return reg[kAX]; }
    uint16_t& bx() { return reg[kBX]; }
    uint16_t& cx() { return reg[kCX]; }
    uint16_t& dx() { return reg[kDX]; }
    uint16_t& sp() { return reg[kSP]; }
    uint16_t& bp() { return reg[kBP]; }
    uint16_t& si() { return reg[kSI]; }
    uint16_t& di() { return reg[kDI]; }
    uint16_t& es() { return seg[kES]; }
    uint16_t& cs() { return seg[kCS]; }
    uint16_t& ss() { return seg[kSS]; }
    uint16_t& ds() { return seg[kDS]; }

    uint8_t Low(Reg16 r) const { return static_cast<uint8_t>(reg[r]); }
    uint8_t High(Reg16 r) const { return static_cast<uint8_t>(reg[r] >> 8); }
    void SetLow(Reg16 r, uint8_t v) { reg[r] = static_cast<uint16_t>((reg[r] & 0xFF00) | v); }
    void SetHigh(Reg16 r, uint8_t v) { reg[r] = static_cast<uint16_t>((reg[r] & 0x00FF) | (v << 8)); }

    uint8_t al() const { return Low(kAX); }
    uint8_t ah() const { return High(kAX); }
    uint8_t bl() const { return Low(kBX); }
    uint8_t bh() const { return High(kBX); }
    uint8_t cl() const { return Low(kCX); }
    uint8_t ch() const { return High(kCX); }
    uint8_t dl() const { return Low(kDX); }
    uint8_t dh() const { return High(kDX); }
    void set_al(uint8_t v) { SetLow(kAX, v); }
    void set_ah(uint8_t v) { SetHigh(kAX, v); }
    void set_bl(uint8_t v) { SetLow(kBX, v); }
    void set_bh(uint8_t v) { SetHigh(kBX, v); }
    void set_cl(uint8_t v) { SetLow(kCX, v); }
    void set_ch(uint8_t v) { SetHigh(kCX, v); }
    void set_dl(uint8_t v) { SetLow(kDX, v); }
    void set_dh(uint8_t v) { SetHigh(kDX, v); }

    bool Flag(CpuFlag f) const { return (flags & f) != 0; }
    void SetFlag(CpuFlag f, bool on) { flags = static_cast<uint16_t>(on ? (flags | f) : (flags & ~f)); }
};

}  // namespace dos
