// The SFR side effects of the 8051's devices and their catching up at instruction boundaries.
#include "mcs51/Peripherals51.h"

namespace mcs51 {

namespace {
const uint8_t kTimerRegisters[] = {kTMOD, kTL0, kTL1, kTH0, kTH1};
const uint8_t kTimer2Registers[] = {kT2CON, kRCAP2L, kRCAP2H, kTL2, kTH2};

// The sources whose flag in TCON goes from clear to set.
uint8_t RaisedInTcon(uint8_t before, uint8_t after)
{
    const uint8_t set = after & ~before;
    uint8_t sources = 0;
    if (set & kTconIE0)
        sources |= kIrqExternal0;
    if (set & kTconTF0)
        sources |= kIrqTimer0;
    if (set & kTconIE1)
        sources |= kIrqExternal1;
    if (set & kTconTF1)
        sources |= kIrqTimer1;
    return sources;
}
}

CPeripherals51::CPeripherals51(Mcs51State& state)
    : m_s(state), m_timers(state), m_serial(state, m_timers), m_interrupts(state), m_pins(state, *this)
{
}

void CPeripherals51::SetVariant(Mcs51Variant variant)
{
    m_variant = variant;
    m_timers.SetVariant(variant);
    m_interrupts.SetVariant(variant);
}

void CPeripherals51::SetHost(IHost51* host)
{
    m_serial.SetHost(host);
}

void CPeripherals51::Reset()
{
    m_s.sfr.fill(0);
    for (unsigned port = 0; port < 4; ++port)
        m_s.Sfr(PortSfr(port)) = 0xFF;
    m_s.Sfr(kSP) = 0x07;
    m_abyExternal.fill(0xFF);
    m_timers.Reset();
    m_serial.Reset();
    m_interrupts.Reset();
    m_bInputTaken = false;
    m_s.ServiceSoon();
}

std::array<uint8_t, 128> CPeripherals51::SfrKinds() const
{
    std::array<uint8_t, 128> kinds{};
    auto set = [&kinds](uint8_t address, uint8_t kind) { kinds[address - 0x80] = kind; };
    for (unsigned port = 0; port < 4; ++port)
        set(PortSfr(port), kSfrPort | kSfrReadHook | kSfrWriteHook);
    for (uint8_t address : kTimerRegisters)
        set(address, kSfrReadHook | kSfrWriteHook);
    if (m_variant == Mcs51Variant::k8052) {
        for (uint8_t address : kTimer2Registers)
            set(address, kSfrReadHook | kSfrWriteHook);
    }
    set(kTCON, kSfrReadHook | kSfrWriteHook);
    set(kSCON, kSfrReadHook | kSfrWriteHook);
    // SBUF reads the receive buffer, which is what the SFR file holds.
    set(kSBUF, kSfrWriteHook);
    set(kIE, kSfrWriteHook);
    set(kIP, kSfrWriteHook);
    set(kPCON, kSfrWriteHook);
    set(kPSW, kSfrPsw);
    return kinds;
}

uint8_t CPeripherals51::ReadSfr(uint8_t address)
{
    switch (address) {
    case kP0:
        return Pins(0);
    case kP1:
        return Pins(1);
    case kP2:
        return Pins(2);
    case kP3:
        return Pins(3);
    default:
        CatchUp();
        return m_s.Sfr(address);
    }
}

void CPeripherals51::WriteSfr(uint8_t address, uint8_t value)
{
    if ((address & 0x0F) == 0 && address <= kP3) {
        WritePort((address - kP0) >> 4, value);
        return;
    }
    CatchUp();
    const uint8_t before = m_s.Sfr(address);
    switch (address) {
    case kSBUF:
        m_serial.Transmit(value);
        break;
    case kTCON:
        if ((before ^ value) & (kTconTR0 | kTconTR1))
            SyncToInstructionEnd();
        m_s.SetSfr(address, value);
        m_interrupts.MarkFresh(RaisedInTcon(before, value) | FollowLevels());
        break;
    case kSCON:
        m_s.SetSfr(address, value);
        if (value & ~before & (kSconTI | kSconRI))
            m_interrupts.MarkFresh(kIrqSerial);
        break;
    case kT2CON:
        if ((before ^ value) & kT2conTR2)
            SyncToInstructionEnd();
        m_s.SetSfr(address, value);
        if (value & ~before & (kT2conTF2 | kT2conEXF2))
            m_interrupts.MarkFresh(kIrqTimer2);
        break;
    case kIE:
    case kIP:
        m_s.SetSfr(address, value);
        m_interrupts.HoldOne();
        break;
    default:
        m_s.SetSfr(address, value);
        break;
    }
    AfterControlChange();
}

uint16_t CPeripherals51::Service()
{
    if (m_pins.NextCall() <= m_s.cycle)
        m_pins.CallDue(true);
    CatchUp();
    const uint16_t vector = m_interrupts.Poll();
    // An interrupt ends idle; RETI returns after the instruction that set IDL.
    if (vector && Idle())
        m_s.SetSfr(kPCON, m_s.Sfr(kPCON) & ~kPconIDL);
    return vector;
}

uint64_t CPeripherals51::NextEvent() const
{
    if (m_interrupts.NeedsPoll())
        return m_s.cycle + 1;
    uint64_t next = m_timers.NextFlag();
    if (m_serial.NextEvent() < next)
        next = m_serial.NextEvent();
    if (m_pins.NextCall() < next)
        next = m_pins.NextCall();
    return next;
}

void CPeripherals51::Poke(uint8_t address, uint8_t value)
{
    CatchUp();
    m_s.Sfr(address) = value;
    FollowLevels();
    AfterControlChange();
    if ((address & 0x0F) == 0 && address <= kP3)
        m_pins.FollowLatches();
}

uint8_t CPeripherals51::Pins(unsigned port) const
{
    return m_s.Sfr(PortSfr(port)) & m_abyExternal[port];
}

void CPeripherals51::SetExternal(unsigned port, uint8_t drive, bool byProgram)
{
    if (m_abyExternal[port] == drive)
        return;
    CatchUp();
    const uint8_t before = Pins(port);
    m_abyExternal[port] = drive;
    PinsChanged(port, before, Pins(port), byProgram);
}

void CPeripherals51::QueueInput(uint8_t byte)
{
    m_serial.QueueInput(byte);
    m_s.ServiceSoon();
}

bool CPeripherals51::TakeInputTaken()
{
    const bool taken = m_bInputTaken;
    m_bInputTaken = false;
    return taken;
}

Devices51State CPeripherals51::Save() const
{
    return Devices51State{m_timers.State(), m_serial.State(), m_interrupts.State(), m_abyExternal};
}

void CPeripherals51::Restore(const Devices51State& state)
{
    m_timers.State() = state.timers;
    m_serial.State() = state.serial;
    m_interrupts.State() = state.interrupts;
    m_abyExternal = state.external;
    m_s.ServiceSoon();
}

void CPeripherals51::CatchUp()
{
    uint8_t fresh = m_timers.Sync();
    bool took = false;
    fresh |= m_serial.Sync(took);
    m_bInputTaken |= took;
    m_interrupts.MarkFresh(fresh);
}

void CPeripherals51::SyncToInstructionEnd()
{
    m_interrupts.MarkFresh(m_timers.Sync(m_s.instructionEnd));
}

void CPeripherals51::WritePort(unsigned port, uint8_t latch)
{
    const uint8_t old = m_s.Sfr(PortSfr(port));
    if (old == latch)
        return;
    // Only pins with a function of their own (INT0, INT1, T0, T1; T2, T2EX) concern the devices.
    const uint8_t before = Pins(port);
    const bool watched = (before ^ (latch & m_abyExternal[port])) & WatchedPins(port);
    if (watched) {
        CatchUp();
        // The pin moves in the instruction's last cycle: a gated timer counts that cycle as
        // the pin was.
        SyncToInstructionEnd();
    }
    m_s.SetSfr(PortSfr(port), latch);
    if (watched)
        PinsChanged(port, before, Pins(port), true);
    m_pins.LatchWritten(port, m_s.instructionEnd - 1);
}

uint8_t CPeripherals51::WatchedPins(unsigned port) const
{
    if (port == 3)
        return kPinINT0 | kPinINT1 | kPinT0 | kPinT1;
    if (port == 1 && m_variant == Mcs51Variant::k8052)
        return kPinT2 | kPinT2EX;
    return 0;
}

void CPeripherals51::PinsChanged(unsigned port, uint8_t before, uint8_t after, bool byProgram)
{
    const uint8_t falling = before & ~after;
    uint8_t raised = 0;
    if (port == 3) {
        const uint8_t tcon = m_s.Sfr(kTCON);
        uint8_t edges = 0;
        if ((falling & kPinINT0) && (tcon & kTconIT0))
            edges |= kTconIE0;
        if ((falling & kPinINT1) && (tcon & kTconIT1))
            edges |= kTconIE1;
        if (edges) {
            m_s.SetSfr(kTCON, tcon | edges);
            raised |= RaisedInTcon(tcon, tcon | edges);
        }
        raised |= FollowLevels();
        if (falling & kPinT0)
            raised |= m_timers.CountEdge(kCounterT0, after);
        if (falling & kPinT1)
            raised |= m_timers.CountEdge(kCounterT1, after);
    } else if (port == 1 && m_variant == Mcs51Variant::k8052) {
        if (falling & kPinT2)
            raised |= m_timers.CountEdge(kCounterT2, Pins(3));
        if (falling & kPinT2EX)
            raised |= m_timers.Timer2ExternalEdge();
    }
    if (byProgram)
        m_interrupts.MarkFresh(raised);
    AfterControlChange();
}

uint8_t CPeripherals51::FollowLevels()
{
    const uint8_t tcon = m_s.Sfr(kTCON);
    const uint8_t pins = Pins(3);
    uint8_t levels = tcon;
    if (!(tcon & kTconIT0))
        levels = (pins & kPinINT0) ? (levels & ~kTconIE0) : (levels | kTconIE0);
    if (!(tcon & kTconIT1))
        levels = (pins & kPinINT1) ? (levels & ~kTconIE1) : (levels | kTconIE1);
    if (levels == tcon)
        return 0;
    m_s.SetSfr(kTCON, levels);
    return RaisedInTcon(tcon, levels);
}

void CPeripherals51::AfterControlChange()
{
    m_timers.Rebase(Pins(3));
    m_serial.Reschedule();
    m_s.ServiceSoon();
}

}  // namespace mcs51
