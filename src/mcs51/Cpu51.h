// The MCS-51 core: decodes and runs the program's instructions on the chip's memories, and
// leaves the SFRs with side effects, the interrupts and the clocked devices to CPeripherals51.
#pragma once

#include "machine/StopReason.h"
#include "mcs51/Mcs51State.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace mcs51 {

class CPeripherals51;
class CHistory51;

class CCpu51 {
public:
    CCpu51(Mcs51State& state, CPeripherals51& devices);
    CCpu51(const CCpu51&) = delete;
    CCpu51& operator=(const CCpu51&) = delete;

    void SetVariant(Mcs51Variant variant);
    // The registers as after a reset; the SFRs are the devices' to reset.
    void Reset();
    // Follows RS1/RS0 after the PSW was put back from outside an instruction.
    void Refresh() { m_nBank = m_s.Sfr(kPSW) & (kPswRS0 | kPswRS1); }

    // Runs instructions until the cycle count reaches until (Limit) or another reason to stop:
    // a breakpoint, RequestStop (Paused), the program's end (Ended: a jump to itself that no
    // interrupt can leave, power-down, or idle with no interrupt enabled to end it). The first
    // instruction runs even when it has a breakpoint. With breakpoints (one bit an address)
    // or a history the run checks and records every instruction; without them it runs fast.
    machine::StopReason Run(uint64_t until, const std::vector<bool>* breakpoints, CHistory51* history);
    // A jump to itself ends the run (the end of a lab program) unless an interrupt may leave it.
    void SetStopAtSelfJump(bool stop) { m_bStopAtSelfJump = stop; }
    // Makes Run return within a few thousand cycles (it looks at least that often); safe from
    // any thread.
    void RequestStop() { m_bStopRequested.store(true, std::memory_order_relaxed); }

    uint8_t Psw() const;
    uint8_t Reg(unsigned n) const { return m_s.iram[m_nBank + n]; }

private:
    using Handler = void (*)(CCpu51&);
    template <uint8_t kOp> static void Exec(CCpu51& cpu);
    template <size_t... kOps> static constexpr std::array<Handler, 256> MakeHandlers(std::index_sequence<kOps...>);
    static const std::array<Handler, 256> s_handlers;

    template <uint8_t kHi, uint8_t kLo> void Regular();
    template <uint8_t kOp> void Irregular();
    // The operand of the columns 4-F of the opcode map: #data, direct, @Ri, Rn.
    template <uint8_t kLo> uint8_t Source();
    template <uint8_t kLo> uint8_t SourceLatch();
    template <uint8_t kLo> void Destination(uint8_t value);

    using Stop = std::optional<machine::StopReason>;
    template <bool kChecked> machine::StopReason Loop(uint64_t until, const std::vector<bool>* breakpoints, CHistory51* history);
    // At an instruction boundary the devices catch up, an interrupt may be taken, an idle CPU
    // waits; tells whether the run stops here. The history loses the jump to itself that ends
    // the program, which was reached, not run.
    Stop Boundary(uint64_t until, CHistory51* history);
    void Vector(uint16_t address);
    Stop WaitIdle(uint64_t until);

    uint8_t Byte(unsigned offset) const { return m_s.code[static_cast<uint16_t>(m_s.pc + offset)]; }
    uint8_t A() const { return m_s.sfr[kACC - 0x80]; }
    void SetA(uint8_t value) { m_s.SetSfr(kACC, value); }
    bool Cy() const { return (m_s.sfr[kPSW - 0x80] & kPswCY) != 0; }
    void SetCy(bool on);
    void SetFlags(bool cy, bool ac, bool ov);
    uint8_t R(unsigned n) const { return m_s.iram[m_nBank + n]; }
    void SetR(unsigned n, uint8_t value) { m_s.SetIram(static_cast<uint8_t>(m_nBank + n), value); }
    uint16_t Dptr() const { return static_cast<uint16_t>(m_s.Sfr(kDPH) << 8 | m_s.Sfr(kDPL)); }
    void SetDptr(uint16_t value);

    uint8_t ReadDirect(uint8_t address);
    // What a read-modify-write instruction reads: a port's latch rather than its pins.
    uint8_t ReadDirectLatch(uint8_t address);
    void WriteDirect(uint8_t address, uint8_t value);
    uint8_t ReadIndirect(uint8_t address) const;
    void WriteIndirect(uint8_t address, uint8_t value);
    bool ReadBit(uint8_t bit);
    bool ReadBitLatch(uint8_t bit);
    void WriteBit(uint8_t bit, bool on);
    void Push(uint8_t value);
    uint8_t Pop();
    void Call(uint16_t target);
    void Branch(bool take, uint8_t offset);
    // Jumps, or ends the run there when the jump goes to itself and nothing can leave it.
    void Jump(uint16_t target);
    void Return();

    void Add(uint8_t value, bool carry);
    void Subb(uint8_t value);
    void Mul();
    void Div();
    void DecimalAdjust();
    void Compare(uint8_t left, uint8_t right, uint8_t offset);

    Mcs51State& m_s;
    CPeripherals51& m_devices;
    // Per SFR: 0 a plain register, else the kSfr... flags of the kind of access it needs.
    std::array<uint8_t, 128> m_abySfrKind{};
    // The stack and @Ri reach 128 bytes on the 8051, 256 on the 8052.
    unsigned m_nIramSize = 128;
    unsigned m_nBank = 0;
    // Where the instruction under way goes on: the next one, or where it jumps.
    uint16_t m_nNext = 0;
    bool m_bStopAtSelfJump = false;
    // The instruction just run was the jump to itself that ends the program.
    bool m_bAtEnd = false;
    std::atomic<bool> m_bStopRequested{false};
};

}  // namespace mcs51
