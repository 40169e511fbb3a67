// The timers' and interrupts' SFRs by their fields' names.
#include "debug/TimerPane51.h"

#include "debug/FieldLine.h"
#include "debug/HexDump.h"
#include "debug/ListingText.h"
#include "debug/Target51.h"

#include <span>
#include <utility>

namespace mcs51 {

namespace {

struct Bit {
    const char* name;
    uint8_t mask;
    // Only the 8052 has it.
    bool only8052;
};

struct BitRegister {
    const char* name;
    uint8_t address;
    std::span<const Bit> bits;
    bool only8052;
};

const Bit kTconBits[] = {{"TF1", 0x80, false}, {"TR1", 0x40, false}, {"TF0", 0x20, false}, {"TR0", 0x10, false},
                         {"IE1", 0x08, false}, {"IT1", 0x04, false}, {"IE0", 0x02, false}, {"IT0", 0x01, false}};
const Bit kIeBits[] = {{"EA", 0x80, false}, {"ET2", 0x20, true}, {"ES", 0x10, false}, {"ET1", 0x08, false},
                       {"EX1", 0x04, false}, {"ET0", 0x02, false}, {"EX0", 0x01, false}};
const Bit kIpBits[] = {{"PT2", 0x20, true}, {"PS", 0x10, false}, {"PT1", 0x08, false},
                       {"PX1", 0x04, false}, {"PT0", 0x02, false}, {"PX0", 0x01, false}};
const Bit kT2conBits[] = {{"TF2", 0x80, true},   {"EXF2", 0x40, true}, {"RCLK", 0x20, true}, {"TCLK", 0x10, true},
                          {"EXEN2", 0x08, true}, {"TR2", 0x04, true},  {"C/T2", 0x02, true}, {"CP/RL2", 0x01, true}};
const BitRegister kBitRegisters[] = {{"TCON", kTCON, kTconBits, false},
                                     {"IE", kIE, kIeBits, false},
                                     {"IP", kIP, kIpBits, false},
                                     {"T2CON", kT2CON, kT2conBits, true}};

const std::pair<const char*, uint8_t> kByteRegisters[] = {
    {"TMOD", kTMOD}, {"TCON", kTCON}, {"TH0", kTH0}, {"TL0", kTL0},   {"TH1", kTH1},       {"TL1", kTL1},
    {"IE", kIE},     {"IP", kIP},     {"T2CON", kT2CON}, {"TH2", kTH2}, {"TL2", kTL2}, {"RCAP2H", kRCAP2H},
    {"RCAP2L", kRCAP2L}};

// The modes' names in code page 936: 13-bit, 16-bit, 8-bit auto-reload, and mode 3 (Timer 0
// splits into two 8-bit timers, Timer 1 stops).
const char* const kModeNames[] = {"13\xCE\xBB", "16\xCE\xBB", "8\xCE\xBB\xD7\xD4\xB6\xAF\xD6\xD8\xD7\xB0"};
const char kSplit[] = "\xC1\xBD\xB8\xF6" "8\xCE\xBB";
const char kStopped[] = "\xCD\xA3\xD6\xB9";

bool Is8052Register(uint8_t address)
{
    return address >= kT2CON && address <= kTH2;
}

}

PaneText CTimerPane51::Text() const
{
    PaneText pane;
    const bool is8052 = m_target.Machine().Variant() == Mcs51Variant::k8052;
    int line = 0;
    auto byte = [&](uint8_t address) { return m_target.Read(Mcs51Space::kSfr, address); };
    auto before = [&](uint8_t address) { return m_target.ByteBefore(Mcs51Space::kSfr, address); };
    auto addByte = [&](CFieldLine& fields, const char* name, uint8_t address) {
        fields.Add(name, CHexDump::Hex2(byte(address)), byte(address) != before(address));
    };
    {
        CFieldLine fields(pane, line++);
        addByte(fields, "TMOD", kTMOD);
        addByte(fields, "TCON", kTCON);
        addByte(fields, "IE", kIE);
        addByte(fields, "IP", kIP);
    }
    const uint8_t tmod = byte(kTMOD);
    const uint8_t tmodBefore = before(kTMOD);
    for (unsigned timer = 0; timer < 2; ++timer) {
        CFieldLine fields(pane, line++);
        const unsigned shift = timer * 4;
        const unsigned mode = (tmod >> shift) & 3;
        const uint8_t moved = static_cast<uint8_t>((tmod ^ tmodBefore) >> shift);
        fields.Label(timer == 0 ? "T0:" : "T1:");
        fields.Add("M", std::to_string(mode), (moved & 3) != 0);
        fields.Add("GATE", (tmod >> (shift + 3)) & 1 ? "1" : "0", (moved & 8) != 0);
        fields.Add("C/T", (tmod >> (shift + 2)) & 1 ? "1" : "0", (moved & 4) != 0);
        addByte(fields, timer == 0 ? "TH0" : "TH1", timer == 0 ? kTH0 : kTH1);
        addByte(fields, timer == 0 ? "TL0" : "TL1", timer == 0 ? kTL0 : kTL1);
        // Last: the marks before it count columns, which a Chinese word's width may not keep.
        fields.Label(mode < 3 ? kModeNames[mode] : timer == 0 ? kSplit : kStopped);
    }
    if (is8052) {
        CFieldLine fields(pane, line++);
        fields.Label("T2:");
        for (const auto& [name, address] : kByteRegisters)
            if (Is8052Register(address) && address != kT2CON)
                addByte(fields, name, address);
    }
    for (const BitRegister& reg : kBitRegisters) {
        if (reg.only8052 && !is8052)
            continue;
        CFieldLine fields(pane, line++);
        fields.Label(std::string(reg.name) + ":");
        const uint8_t now = byte(reg.address);
        const uint8_t was = before(reg.address);
        for (const Bit& bit : reg.bits)
            if (!bit.only8052 || is8052)
                fields.Add(bit.name, now & bit.mask ? "1" : "0", ((now ^ was) & bit.mask) != 0);
    }
    return pane;
}

bool CTimerPane51::EditRegister(const std::string& name, uint16_t value) const
{
    const bool is8052 = m_target.Machine().Variant() == Mcs51Variant::k8052;
    for (const auto& [registerName, address] : kByteRegisters) {
        if (EqualsNoCase(name, registerName) && (is8052 || !Is8052Register(address))) {
            m_target.Write(Mcs51Space::kSfr, address, static_cast<uint8_t>(value));
            return true;
        }
    }
    return false;
}

bool CTimerPane51::ToggleBit(const std::string& name) const
{
    const bool is8052 = m_target.Machine().Variant() == Mcs51Variant::k8052;
    for (const BitRegister& reg : kBitRegisters)
        for (const Bit& bit : reg.bits)
            if (EqualsNoCase(name, bit.name) && (!bit.only8052 || is8052)) {
                m_target.Write(Mcs51Space::kSfr, reg.address,
                               static_cast<uint8_t>(m_target.Read(Mcs51Space::kSfr, reg.address) ^ bit.mask));
                return true;
            }
    return false;
}

}  // namespace mcs51
