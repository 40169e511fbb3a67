// The MCS-51 instruction set: one handler per opcode, made from templates that decode the
// opcode at compile time, called through one table; the run loop and the instruction boundary.
#include "mcs51/Cpu51.h"

#include "mcs51/History51.h"
#include "mcs51/Opcodes51.h"
#include "mcs51/Peripherals51.h"

#include <bit>

namespace mcs51 {

using machine::StopReason;

namespace {
// A run that goes on for long without an event still looks for a stop request this often.
const uint64_t kStopPollCycles = 4096;

constexpr std::array<uint8_t, 256> MakeCycles()
{
    std::array<uint8_t, 256> cycles{};
    for (size_t op = 0; op < 256; ++op)
        cycles[op] = kOpcodes51[op].cycles;
    return cycles;
}
constexpr std::array<uint8_t, 256> kCycles = MakeCycles();

uint8_t BitAddressByte(uint8_t bit) { return bit < 0x80 ? static_cast<uint8_t>(0x20 + (bit >> 3)) : bit & 0xF8; }
uint8_t BitMask(uint8_t bit) { return static_cast<uint8_t>(1u << (bit & 7)); }
}

CCpu51::CCpu51(Mcs51State& state, CPeripherals51& devices) : m_s(state), m_devices(devices)
{
    m_abySfrKind = m_devices.SfrKinds();
}

void CCpu51::SetVariant(Mcs51Variant variant)
{
    m_nIramSize = variant == Mcs51Variant::k8052 ? 256 : 128;
    m_abySfrKind = m_devices.SfrKinds();
}

void CCpu51::Reset()
{
    m_s.pc = 0;
    m_s.cycle = 0;
    m_s.eventAt = 0;
    m_s.instructionEnd = 0;
    m_bAtEnd = false;
    Refresh();
}

uint8_t CCpu51::Psw() const
{
    // P follows the accumulator; the stored bit is never read.
    return static_cast<uint8_t>((m_s.Sfr(kPSW) & ~kPswP) | (std::popcount(A()) & 1));
}

StopReason CCpu51::Run(uint64_t until, const std::vector<bool>* breakpoints, CHistory51* history)
{
    // Input taken in a run without the history is a limit for the history all the same.
    if (m_devices.TakeInputTaken() && history)
        history->Limit();
    // The boundary the run starts at: a call asked for since the last run, for now, is made now.
    m_devices.CallPinDevices();
    if (m_devices.PoweredDown())
        return StopReason::Ended;
    if (m_devices.Idle()) {
        if (const Stop stop = WaitIdle(until))
            return *stop;
    }
    m_s.eventAt = 0;
    if (breakpoints || history)
        return Loop<true>(until, breakpoints, history);
    return Loop<false>(until, nullptr, nullptr);
}

template <bool kChecked>
StopReason CCpu51::Loop(uint64_t until, const std::vector<bool>* breakpoints, CHistory51* history)
{
    bool first = true;
    for (;;) {
        if constexpr (kChecked) {
            if (!first && breakpoints && (*breakpoints)[m_s.pc])
                return StopReason::Breakpoint;
            first = false;
            if (history)
                history->Begin(m_s.pc, m_s.cycle, m_devices.Save());
        }
        // The instruction reads and writes the chip as its first cycle begins; its cycles
        // pass after it.
        const uint8_t op = m_s.code[m_s.pc];
        m_s.instructionEnd = m_s.cycle + kCycles[op];
        s_handlers[op](*this);
        m_s.cycle += kCycles[op];
        const Stop stop = m_s.cycle >= m_s.eventAt ? Boundary(until, kChecked ? history : nullptr) : std::nullopt;
        if constexpr (kChecked) {
            if (history && m_devices.TakeInputTaken())
                history->Limit();
        }
        if (stop)
            return *stop;
    }
}

CCpu51::Stop CCpu51::Boundary(uint64_t until, CHistory51* history)
{
    if (m_bAtEnd) {
        m_bAtEnd = false;
        if (history)
            history->Drop();
        return StopReason::Ended;
    }
    if (const uint16_t vector = m_devices.Service())
        Vector(vector);
    if (m_devices.PoweredDown())
        return StopReason::Ended;
    if (m_devices.Idle()) {
        if (const Stop stop = WaitIdle(until))
            return stop;
    }
    if (m_bStopRequested.exchange(false, std::memory_order_relaxed))
        return StopReason::Paused;
    if (m_s.cycle >= until)
        return StopReason::Limit;
    uint64_t next = m_devices.NextEvent();
    if (until < next)
        next = until;
    if (m_s.cycle + kStopPollCycles < next)
        next = m_s.cycle + kStopPollCycles;
    m_s.eventAt = next;
    return std::nullopt;
}

void CCpu51::Vector(uint16_t address)
{
    // The hardware's LCALL: two machine cycles.
    Push(static_cast<uint8_t>(m_s.pc));
    Push(static_cast<uint8_t>(m_s.pc >> 8));
    m_s.pc = address;
    m_s.cycle += 2;
}

CCpu51::Stop CCpu51::WaitIdle(uint64_t until)
{
    // The clock runs on for the devices; only an interrupt (or a reset) ends idle.
    while (m_devices.Idle()) {
        if (!m_devices.AnyInterruptEnabled())
            return StopReason::Ended;
        if (m_bStopRequested.exchange(false, std::memory_order_relaxed))
            return StopReason::Paused;
        uint64_t next = m_devices.NextEvent();
        if (until < next)
            next = until;
        if (m_s.cycle + kStopPollCycles < next)
            next = m_s.cycle + kStopPollCycles;
        if (next > m_s.cycle)
            m_s.cycle = next;
        if (const uint16_t vector = m_devices.Service()) {
            Vector(vector);
            return std::nullopt;
        }
        if (m_s.cycle >= until)
            return StopReason::Limit;
    }
    return std::nullopt;
}

void CCpu51::SetCy(bool on)
{
    const uint8_t psw = m_s.Sfr(kPSW);
    m_s.SetSfr(kPSW, on ? (psw | kPswCY) : (psw & ~kPswCY));
}

void CCpu51::SetFlags(bool cy, bool ac, bool ov)
{
    uint8_t psw = m_s.Sfr(kPSW) & ~(kPswCY | kPswAC | kPswOV);
    if (cy)
        psw |= kPswCY;
    if (ac)
        psw |= kPswAC;
    if (ov)
        psw |= kPswOV;
    m_s.SetSfr(kPSW, psw);
}

void CCpu51::SetDptr(uint16_t value)
{
    m_s.SetSfr(kDPL, static_cast<uint8_t>(value));
    m_s.SetSfr(kDPH, static_cast<uint8_t>(value >> 8));
}

uint8_t CCpu51::ReadDirect(uint8_t address)
{
    if (address < 0x80)
        return m_s.iram[address];
    const uint8_t kind = m_abySfrKind[address - 0x80];
    if (!(kind & (kSfrReadHook | kSfrPsw)))
        return m_s.Sfr(address);
    if (kind & kSfrPsw)
        return Psw();
    return m_devices.ReadSfr(address);
}

uint8_t CCpu51::ReadDirectLatch(uint8_t address)
{
    if (address >= 0x80 && (m_abySfrKind[address - 0x80] & kSfrPort))
        return m_s.Sfr(address);
    return ReadDirect(address);
}

void CCpu51::WriteDirect(uint8_t address, uint8_t value)
{
    if (address < 0x80) {
        m_s.SetIram(address, value);
        return;
    }
    const uint8_t kind = m_abySfrKind[address - 0x80];
    if (kind & kSfrWriteHook) {
        m_devices.WriteSfr(address, value);
        return;
    }
    m_s.SetSfr(address, value);
    if (kind & kSfrPsw)
        Refresh();
}

uint8_t CCpu51::ReadIndirect(uint8_t address) const
{
    // The 8051 has nothing at 80h-FFh for indirect addressing; reads find the bus high.
    return address < m_nIramSize ? m_s.iram[address] : 0xFF;
}

void CCpu51::WriteIndirect(uint8_t address, uint8_t value)
{
    if (address < m_nIramSize)
        m_s.SetIram(address, value);
}

bool CCpu51::ReadBit(uint8_t bit) { return ReadDirect(BitAddressByte(bit)) & BitMask(bit); }

bool CCpu51::ReadBitLatch(uint8_t bit) { return ReadDirectLatch(BitAddressByte(bit)) & BitMask(bit); }

void CCpu51::WriteBit(uint8_t bit, bool on)
{
    const uint8_t address = BitAddressByte(bit);
    const uint8_t value = ReadDirectLatch(address);
    WriteDirect(address, on ? (value | BitMask(bit)) : (value & ~BitMask(bit)));
}

void CCpu51::Push(uint8_t value)
{
    const uint8_t sp = static_cast<uint8_t>(m_s.Sfr(kSP) + 1);
    m_s.SetSfr(kSP, sp);
    WriteIndirect(sp, value);
}

uint8_t CCpu51::Pop()
{
    const uint8_t sp = m_s.Sfr(kSP);
    const uint8_t value = ReadIndirect(sp);
    m_s.SetSfr(kSP, static_cast<uint8_t>(sp - 1));
    return value;
}

void CCpu51::Call(uint16_t target)
{
    Push(static_cast<uint8_t>(m_nNext));
    Push(static_cast<uint8_t>(m_nNext >> 8));
    m_nNext = target;
}

void CCpu51::Branch(bool take, uint8_t offset)
{
    if (take)
        m_nNext = static_cast<uint16_t>(m_nNext + static_cast<int8_t>(offset));
}

void CCpu51::Jump(uint16_t target)
{
    if (target == m_s.pc && m_bStopAtSelfJump && !m_devices.AnyInterruptEnabled()) {
        // The end of the program: it is reached, not run (the loop adds the cycles this takes back).
        m_s.cycle -= kCycles[m_s.code[m_s.pc]];
        m_nNext = m_s.pc;
        m_bAtEnd = true;
        m_s.ServiceSoon();
        return;
    }
    m_nNext = target;
}

void CCpu51::Return()
{
    const uint8_t high = Pop();
    const uint8_t low = Pop();
    m_nNext = static_cast<uint16_t>(high << 8 | low);
}

void CCpu51::Add(uint8_t value, bool carry)
{
    const uint8_t a = A();
    const unsigned c = carry ? 1 : 0;
    const unsigned sum = a + value + c;
    const bool ac = (a & 0x0F) + (value & 0x0F) + c > 0x0F;
    // Signed overflow: a carry out of bit 6 but not bit 7, or out of bit 7 but not bit 6.
    const bool ov = ((a ^ sum) & (value ^ sum) & 0x80) != 0;
    SetA(static_cast<uint8_t>(sum));
    SetFlags(sum > 0xFF, ac, ov);
}

void CCpu51::Subb(uint8_t value)
{
    const uint8_t a = A();
    const int c = Cy() ? 1 : 0;
    const int difference = a - value - c;
    const bool ac = (a & 0x0F) - (value & 0x0F) - c < 0;
    const bool ov = ((a ^ value) & (a ^ difference) & 0x80) != 0;
    SetA(static_cast<uint8_t>(difference));
    SetFlags(difference < 0, ac, ov);
}

void CCpu51::Mul()
{
    const unsigned product = A() * m_s.Sfr(kB);
    SetA(static_cast<uint8_t>(product));
    m_s.SetSfr(kB, static_cast<uint8_t>(product >> 8));
    SetFlags(false, (m_s.Sfr(kPSW) & kPswAC) != 0, product > 0xFF);
}

void CCpu51::Div()
{
    const uint8_t a = A();
    const uint8_t b = m_s.Sfr(kB);
    const bool ac = (m_s.Sfr(kPSW) & kPswAC) != 0;
    // Division by zero leaves A and B as they were (the data sheet calls them undefined).
    if (b == 0) {
        SetFlags(false, ac, true);
        return;
    }
    SetA(static_cast<uint8_t>(a / b));
    m_s.SetSfr(kB, static_cast<uint8_t>(a % b));
    SetFlags(false, ac, false);
}

void CCpu51::DecimalAdjust()
{
    unsigned a = A();
    const uint8_t psw = m_s.Sfr(kPSW);
    bool cy = (psw & kPswCY) != 0;
    // Each correction can set CY; neither clears it.
    if ((a & 0x0F) > 9 || (psw & kPswAC)) {
        a += 0x06;
        if (a > 0xFF)
            cy = true;
        a &= 0xFF;
    }
    if ((a >> 4) > 9 || cy) {
        a += 0x60;
        if (a > 0xFF)
            cy = true;
    }
    SetA(static_cast<uint8_t>(a));
    SetCy(cy);
}

void CCpu51::Compare(uint8_t left, uint8_t right, uint8_t offset)
{
    SetCy(left < right);
    Branch(left != right, offset);
}

template <uint8_t kLo> uint8_t CCpu51::Source()
{
    if constexpr (kLo == 4)
        return Byte(1);
    else if constexpr (kLo == 5)
        return ReadDirect(Byte(1));
    else if constexpr (kLo < 8)
        return ReadIndirect(R(kLo - 6));
    else
        return R(kLo - 8);
}

template <uint8_t kLo> uint8_t CCpu51::SourceLatch()
{
    if constexpr (kLo == 5)
        return ReadDirectLatch(Byte(1));
    else
        return Source<kLo>();
}

template <uint8_t kLo> void CCpu51::Destination(uint8_t value)
{
    if constexpr (kLo == 5)
        WriteDirect(Byte(1), value);
    else if constexpr (kLo == 6 || kLo == 7)
        WriteIndirect(R(kLo - 6), value);
    else
        SetR(kLo - 8, value);
}

template <uint8_t kHi, uint8_t kLo> void CCpu51::Regular()
{
    if constexpr (kHi == 0x0 || kHi == 0x1) {
        const uint8_t step = kHi == 0 ? 1 : 0xFF;
        if constexpr (kLo == 4)
            SetA(static_cast<uint8_t>(A() + step));
        else
            Destination<kLo>(static_cast<uint8_t>(SourceLatch<kLo>() + step));
    } else if constexpr (kHi == 0x2 || kHi == 0x3) {
        Add(Source<kLo>(), kHi == 0x3 && Cy());
    } else if constexpr (kHi == 0x4) {
        SetA(A() | Source<kLo>());
    } else if constexpr (kHi == 0x5) {
        SetA(A() & Source<kLo>());
    } else if constexpr (kHi == 0x6) {
        SetA(A() ^ Source<kLo>());
    } else if constexpr (kHi == 0x7) {
        if constexpr (kLo == 4)
            SetA(Byte(1));
        else if constexpr (kLo == 5)
            WriteDirect(Byte(1), Byte(2));
        else
            Destination<kLo>(Byte(1));
    } else if constexpr (kHi == 0x8) {
        if constexpr (kLo == 4) {
            Div();
        } else if constexpr (kLo == 5) {
            const uint8_t value = ReadDirect(Byte(1));
            WriteDirect(Byte(2), value);
        } else {
            WriteDirect(Byte(1), Source<kLo>());
        }
    } else if constexpr (kHi == 0x9) {
        Subb(Source<kLo>());
    } else if constexpr (kHi == 0xA) {
        if constexpr (kLo == 4)
            Mul();
        else if constexpr (kLo >= 6)
            Destination<kLo>(ReadDirect(Byte(1)));
    } else if constexpr (kHi == 0xB) {
        if constexpr (kLo == 4)
            Compare(A(), Byte(1), Byte(2));
        else if constexpr (kLo == 5)
            Compare(A(), ReadDirect(Byte(1)), Byte(2));
        else
            Compare(Source<kLo>(), Byte(1), Byte(2));
    } else if constexpr (kHi == 0xC) {
        if constexpr (kLo == 4) {
            const uint8_t a = A();
            SetA(static_cast<uint8_t>(a << 4 | a >> 4));
        } else {
            const uint8_t value = Source<kLo>();
            Destination<kLo>(A());
            SetA(value);
        }
    } else if constexpr (kHi == 0xD) {
        if constexpr (kLo == 4) {
            DecimalAdjust();
        } else if constexpr (kLo == 5) {
            const uint8_t value = static_cast<uint8_t>(ReadDirectLatch(Byte(1)) - 1);
            WriteDirect(Byte(1), value);
            Branch(value != 0, Byte(2));
        } else if constexpr (kLo < 8) {
            const uint8_t address = R(kLo - 6);
            const uint8_t value = ReadIndirect(address);
            const uint8_t a = A();
            WriteIndirect(address, static_cast<uint8_t>((value & 0xF0) | (a & 0x0F)));
            SetA(static_cast<uint8_t>((a & 0xF0) | (value & 0x0F)));
        } else {
            const uint8_t value = static_cast<uint8_t>(R(kLo - 8) - 1);
            SetR(kLo - 8, value);
            Branch(value != 0, Byte(1));
        }
    } else if constexpr (kHi == 0xE) {
        if constexpr (kLo == 4)
            SetA(0);
        else
            SetA(Source<kLo>());
    } else {
        if constexpr (kLo == 4)
            SetA(static_cast<uint8_t>(~A()));
        else
            Destination<kLo>(A());
    }
}

template <uint8_t kOp> void CCpu51::Irregular()
{
    const uint8_t a = A();
    if constexpr (kOp == 0x02) {
        Jump(static_cast<uint16_t>(Byte(1) << 8 | Byte(2)));
    } else if constexpr (kOp == 0x03) {
        SetA(static_cast<uint8_t>(a >> 1 | a << 7));
    } else if constexpr (kOp == 0x10) {
        const uint8_t bit = Byte(1);
        const bool set = ReadBitLatch(bit);
        if (set)
            WriteBit(bit, false);
        Branch(set, Byte(2));
    } else if constexpr (kOp == 0x12) {
        Call(static_cast<uint16_t>(Byte(1) << 8 | Byte(2)));
    } else if constexpr (kOp == 0x13) {
        const bool carry = Cy();
        SetCy(a & 0x01);
        SetA(static_cast<uint8_t>(a >> 1 | (carry ? 0x80 : 0)));
    } else if constexpr (kOp == 0x20 || kOp == 0x30) {
        Branch(ReadBit(Byte(1)) == (kOp == 0x20), Byte(2));
    } else if constexpr (kOp == 0x22) {
        Return();
    } else if constexpr (kOp == 0x23) {
        SetA(static_cast<uint8_t>(a << 1 | a >> 7));
    } else if constexpr (kOp == 0x32) {
        Return();
        m_devices.Reti();
        m_s.ServiceSoon();
    } else if constexpr (kOp == 0x33) {
        const bool carry = Cy();
        SetCy(a & 0x80);
        SetA(static_cast<uint8_t>(a << 1 | (carry ? 1 : 0)));
    } else if constexpr (kOp == 0x40 || kOp == 0x50) {
        Branch(Cy() == (kOp == 0x40), Byte(1));
    } else if constexpr (kOp == 0x60 || kOp == 0x70) {
        Branch((a == 0) == (kOp == 0x60), Byte(1));
    } else if constexpr (kOp == 0x42 || kOp == 0x43 || kOp == 0x52 || kOp == 0x53 || kOp == 0x62 || kOp == 0x63) {
        const uint8_t address = Byte(1);
        const uint8_t operand = (kOp & 1) ? Byte(2) : a;
        const uint8_t value = ReadDirectLatch(address);
        const uint8_t result = kOp < 0x50 ? (value | operand) : kOp < 0x60 ? (value & operand) : (value ^ operand);
        WriteDirect(address, result);
    } else if constexpr (kOp == 0x72 || kOp == 0xA0) {
        SetCy(Cy() || ReadBit(Byte(1)) == (kOp == 0x72));
    } else if constexpr (kOp == 0x82 || kOp == 0xB0) {
        SetCy(Cy() && ReadBit(Byte(1)) == (kOp == 0x82));
    } else if constexpr (kOp == 0x73) {
        m_nNext = static_cast<uint16_t>(a + Dptr());
    } else if constexpr (kOp == 0x80) {
        Jump(static_cast<uint16_t>(m_nNext + static_cast<int8_t>(Byte(1))));
    } else if constexpr (kOp == 0x83) {
        SetA(m_s.code[static_cast<uint16_t>(m_nNext + a)]);
    } else if constexpr (kOp == 0x90) {
        SetDptr(static_cast<uint16_t>(Byte(1) << 8 | Byte(2)));
    } else if constexpr (kOp == 0x92) {
        WriteBit(Byte(1), Cy());
    } else if constexpr (kOp == 0x93) {
        SetA(m_s.code[static_cast<uint16_t>(a + Dptr())]);
    } else if constexpr (kOp == 0xA2) {
        SetCy(ReadBit(Byte(1)));
    } else if constexpr (kOp == 0xA3) {
        SetDptr(static_cast<uint16_t>(Dptr() + 1));
    } else if constexpr (kOp == 0xB2) {
        WriteBit(Byte(1), !ReadBitLatch(Byte(1)));
    } else if constexpr (kOp == 0xB3) {
        SetCy(!Cy());
    } else if constexpr (kOp == 0xC0) {
        Push(ReadDirect(Byte(1)));
    } else if constexpr (kOp == 0xC2 || kOp == 0xD2) {
        WriteBit(Byte(1), kOp == 0xD2);
    } else if constexpr (kOp == 0xC3 || kOp == 0xD3) {
        SetCy(kOp == 0xD3);
    } else if constexpr (kOp == 0xD0) {
        const uint8_t value = Pop();
        WriteDirect(Byte(1), value);
    } else if constexpr (kOp == 0xE0) {
        SetA(m_s.xram[Dptr()]);
    } else if constexpr (kOp == 0xE2 || kOp == 0xE3) {
        // @Ri reaches external RAM with P2's latch as the high byte of the address.
        SetA(m_s.xram[static_cast<uint16_t>(m_s.Sfr(kP2) << 8 | R(kOp & 1))]);
    } else if constexpr (kOp == 0xF0) {
        m_s.SetXram(Dptr(), a);
    } else if constexpr (kOp == 0xF2 || kOp == 0xF3) {
        m_s.SetXram(static_cast<uint16_t>(m_s.Sfr(kP2) << 8 | R(kOp & 1)), a);
    }
}

template <uint8_t kOp> void CCpu51::Exec(CCpu51& cpu)
{
    constexpr uint8_t kHi = kOp >> 4;
    constexpr uint8_t kLo = kOp & 0x0F;
    cpu.m_nNext = static_cast<uint16_t>(cpu.m_s.pc + kOpcodes51[kOp].bytes);
    if constexpr (kLo == 1) {
        // AJMP and ACALL: eleven bits from the opcode and its byte, in the next instruction's 2 KB page.
        const auto target = static_cast<uint16_t>((cpu.m_nNext & 0xF800) | (kOp >> 5) << 8 | cpu.Byte(1));
        if constexpr (kHi & 1)
            cpu.Call(target);
        else
            cpu.Jump(target);
    } else if constexpr (kLo >= 4) {
        cpu.Regular<kHi, kLo>();
    } else {
        cpu.Irregular<kOp>();
    }
    cpu.m_s.pc = cpu.m_nNext;
}

template <size_t... kOps>
constexpr std::array<CCpu51::Handler, 256> CCpu51::MakeHandlers(std::index_sequence<kOps...>)
{
    return {{&Exec<static_cast<uint8_t>(kOps)>...}};
}

const std::array<CCpu51::Handler, 256> CCpu51::s_handlers = MakeHandlers(std::make_index_sequence<256>{});

}  // namespace mcs51
