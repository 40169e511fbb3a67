// The 8051's memories and the registers every part of the chip shares: internal RAM, the SFR
// file, code and external RAM, the program counter and the machine-cycle clock.
#pragma once

#include "mcs51/WriteLog51.h"

#include <array>
#include <cstdint>

namespace mcs51 {

// The chip simulated: the 8051 (128 bytes of internal RAM, Timers 0 and 1) or the 8052
// (256 bytes, Timer 2).
enum class Mcs51Variant : uint8_t { k8051, k8052 };

// The address spaces the debugger reads and writes.
enum class Mcs51Space : uint8_t {
    // Internal RAM by indirect address (00h-7Fh, or 00h-FFh on the 8052).
    kIram,
    // The special function registers by direct address (80h-FFh).
    kSfr,
    kXram,
    kCode,
};

// SFR addresses.
enum Sfr : uint8_t {
    kP0 = 0x80,
    kSP = 0x81,
    kDPL = 0x82,
    kDPH = 0x83,
    kPCON = 0x87,
    kTCON = 0x88,
    kTMOD = 0x89,
    kTL0 = 0x8A,
    kTL1 = 0x8B,
    kTH0 = 0x8C,
    kTH1 = 0x8D,
    kP1 = 0x90,
    kSCON = 0x98,
    kSBUF = 0x99,
    kP2 = 0xA0,
    kIE = 0xA8,
    kP3 = 0xB0,
    kIP = 0xB8,
    kT2CON = 0xC8,
    kRCAP2L = 0xCA,
    kRCAP2H = 0xCB,
    kTL2 = 0xCC,
    kTH2 = 0xCD,
    kPSW = 0xD0,
    kACC = 0xE0,
    kB = 0xF0,
};

// The SFR of port 0-3 (80h, 90h, A0h, B0h).
constexpr uint8_t PortSfr(unsigned port) { return static_cast<uint8_t>(kP0 + 0x10 * (port & 3)); }

// PSW bits.
enum PswBit : uint8_t {
    kPswP = 0x01,
    kPswOV = 0x04,
    kPswRS0 = 0x08,
    kPswRS1 = 0x10,
    kPswF0 = 0x20,
    kPswAC = 0x40,
    kPswCY = 0x80,
};

// TCON bits.
enum TconBit : uint8_t {
    kTconIT0 = 0x01,
    kTconIE0 = 0x02,
    kTconIT1 = 0x04,
    kTconIE1 = 0x08,
    kTconTR0 = 0x10,
    kTconTF0 = 0x20,
    kTconTR1 = 0x40,
    kTconTF1 = 0x80,
};

// SCON bits.
enum SconBit : uint8_t {
    kSconRI = 0x01,
    kSconTI = 0x02,
    kSconRB8 = 0x04,
    kSconTB8 = 0x08,
    kSconREN = 0x10,
    kSconSM2 = 0x20,
};

// T2CON bits.
enum T2conBit : uint8_t {
    kT2conCPRL2 = 0x01,
    kT2conCT2 = 0x02,
    kT2conTR2 = 0x04,
    kT2conEXEN2 = 0x08,
    kT2conTCLK = 0x10,
    kT2conRCLK = 0x20,
    kT2conEXF2 = 0x40,
    kT2conTF2 = 0x80,
};

// PCON bits.
enum PconBit : uint8_t {
    kPconIDL = 0x01,
    kPconPD = 0x02,
    kPconSMOD = 0x80,
};

// Bits of IE and IP, one per source; also the order in which sources of one level are polled.
enum IrqSource : uint8_t {
    kIrqExternal0 = 0x01,
    kIrqTimer0 = 0x02,
    kIrqExternal1 = 0x04,
    kIrqTimer1 = 0x08,
    kIrqSerial = 0x10,
    kIrqTimer2 = 0x20,
    kIrqAll8051 = 0x1F,
    kIrqAll8052 = 0x3F,
    kIeEA = 0x80,
};

// Pins of port 3 with a function of their own.
enum Port3Pin : uint8_t {
    kPinRXD = 0x01,
    kPinTXD = 0x02,
    kPinINT0 = 0x04,
    kPinINT1 = 0x08,
    kPinT0 = 0x10,
    kPinT1 = 0x20,
};

// Pins of port 1 that Timer 2 uses on the 8052.
enum Port1Pin : uint8_t {
    kPinT2 = 0x01,
    kPinT2EX = 0x02,
};

constexpr uint32_t kCodeSize = 0x10000;
constexpr uint32_t kXramSize = 0x10000;
// A cycle count that is never reached.
constexpr uint64_t kNever = ~uint64_t{0};

// What the instructions and the devices share. The CPU reaches the SFRs with side effects
// through CSfrDevices51; plain ones it reads and writes here directly.
struct Mcs51State {
    std::array<uint8_t, 256> iram{};
    // The SFR file by address - 80h; the ports hold their latches here.
    std::array<uint8_t, 128> sfr{};
    std::array<uint8_t, kCodeSize> code{};
    std::array<uint8_t, kXramSize> xram{};
    uint16_t pc = 0;
    // Machine cycles since reset; an instruction runs with the count at its start.
    uint64_t cycle = 0;
    // Where the instruction under way ends: what happens "in its last cycle" happens by then.
    uint64_t instructionEnd = 0;
    // The CPU calls the devices at the first instruction boundary at or after this cycle.
    uint64_t eventAt = 0;

    // Where the old values of overwritten bytes go while the history records.
    CWriteLog51* log = nullptr;

    uint8_t& Sfr(uint8_t address) { return sfr[address - 0x80u]; }
    uint8_t Sfr(uint8_t address) const { return sfr[address - 0x80u]; }
    void SetSfr(uint8_t address, uint8_t value) { Store(Mcs51Space::kSfr, address, Sfr(address), value); }
    void SetIram(uint8_t address, uint8_t value) { Store(Mcs51Space::kIram, address, iram[address], value); }
    void SetXram(uint16_t address, uint8_t value) { Store(Mcs51Space::kXram, address, xram[address], value); }
    void Store(Mcs51Space space, uint16_t address, uint8_t& cell, uint8_t value)
    {
        if (log) [[unlikely]]
            log->Add(static_cast<uint8_t>(space), address, cell);
        cell = value;
    }
    // Asks the devices to look at the chip at the next instruction boundary.
    void ServiceSoon() { eventAt = 0; }
};

}  // namespace mcs51
