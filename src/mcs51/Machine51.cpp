// The simulated chip's front: loading, running, history and breakpoints, inspection.
#include "mcs51/Machine51.h"

namespace mcs51 {

namespace {
const uint8_t kErased = 0xFF;
}

CMachine51::CMachine51(Mcs51Variant variant)
    : m_variant(variant),
      m_state(std::make_unique<Mcs51State>()),
      m_s(*m_state),
      m_devices(m_s),
      m_cpu(m_s, m_devices),
      m_breakpoints(kCodeSize, false)
{
    m_devices.SetVariant(variant);
    m_cpu.SetVariant(variant);
    m_s.code.fill(kErased);
    Reset();
}

HexResult51 CMachine51::LoadHex(std::string_view text)
{
    auto code = std::make_unique<CIntelHex51::Code>();
    code->fill(kErased);
    return Load(CIntelHex51::Parse(text, *code), *code);
}

HexResult51 CMachine51::LoadBinary(std::string_view bytes)
{
    auto code = std::make_unique<CIntelHex51::Code>();
    code->fill(kErased);
    return Load(CIntelHex51::LoadBinary(bytes, *code), *code);
}

HexResult51 CMachine51::Load(const HexResult51& result, const CIntelHex51::Code& code)
{
    if (!result.Ok())
        return result;
    m_s.code = code;
    m_s.iram.fill(0);
    m_s.xram.fill(0);
    Reset();
    return result;
}

void CMachine51::Reset()
{
    const bool history = m_history != nullptr;
    m_history.reset();
    m_devices.Reset();
    m_cpu.Reset();
    // The devices hear of the reset once the cycles count from 0.
    m_devices.PinBus().Reset();
    EnableHistory(history);
}

machine::StopReason CMachine51::Run(uint64_t maxCycles)
{
    const uint64_t until = m_s.cycle + maxCycles < m_s.cycle ? kNever : m_s.cycle + maxCycles;
    return m_cpu.Run(until, m_nBreakpoints ? &m_breakpoints : nullptr, m_history.get());
}

machine::StopReason CMachine51::Step()
{
    return m_cpu.Run(m_s.cycle + 1, nullptr, m_history.get());
}

bool CMachine51::StepBack()
{
    HistoryEntry51 entry;
    if (!m_history || !m_history->Undo(entry))
        return false;
    m_s.pc = entry.pc;
    m_s.cycle = entry.cycle;
    m_devices.Restore(entry.devices);
    m_cpu.Refresh();
    m_devices.PinBus().Restored();
    return true;
}

void CMachine51::EnableHistory(bool enable)
{
    if (!enable)
        m_history.reset();
    else if (!m_history)
        m_history = std::make_unique<CHistory51>(m_s);
}

void CMachine51::SetBreakpoint(uint16_t address, bool set)
{
    if (m_breakpoints[address] == set)
        return;
    m_breakpoints[address] = set;
    m_nBreakpoints += set ? 1 : -1;
}

void CMachine51::ClearBreakpoints()
{
    m_breakpoints.assign(kCodeSize, false);
    m_nBreakpoints = 0;
}

Registers51 CMachine51::Registers() const
{
    Registers51 registers;
    registers.pc = m_s.pc;
    registers.a = m_s.Sfr(kACC);
    registers.b = m_s.Sfr(kB);
    registers.psw = m_cpu.Psw();
    registers.sp = m_s.Sfr(kSP);
    registers.dptr = static_cast<uint16_t>(m_s.Sfr(kDPH) << 8 | m_s.Sfr(kDPL));
    for (unsigned n = 0; n < 8; ++n)
        registers.r[n] = m_cpu.Reg(n);
    registers.cycles = m_s.cycle;
    return registers;
}

bool CMachine51::AtSelfJump() const
{
    const auto at = [this](unsigned offset) { return m_s.code[static_cast<uint16_t>(m_s.pc + offset)]; };
    const uint8_t op = at(0);
    if (op == 0x80)
        return at(1) == 0xFE;
    if (op == 0x02)
        return (at(1) << 8 | at(2)) == m_s.pc;
    if ((op & 0x1F) == 0x01) {
        const uint16_t next = static_cast<uint16_t>(m_s.pc + 2);
        return ((next & 0xF800) | (op >> 5) << 8 | at(1)) == m_s.pc;
    }
    return false;
}

uint8_t CMachine51::Read(Mcs51Space space, uint16_t address)
{
    switch (space) {
    case Mcs51Space::kIram:
        return m_s.iram[address & 0xFF];
    case Mcs51Space::kSfr: {
        const auto sfr = static_cast<uint8_t>(address | 0x80);
        if (sfr == kPSW)
            return m_cpu.Psw();
        if ((sfr & 0x0F) == 0 && sfr <= kP3)
            return m_s.Sfr(sfr);
        m_devices.Settle();
        return m_s.Sfr(sfr);
    }
    case Mcs51Space::kXram:
        return m_s.xram[address];
    case Mcs51Space::kCode:
        return m_s.code[address];
    }
    return 0;
}

void CMachine51::Write(Mcs51Space space, uint16_t address, uint8_t value)
{
    switch (space) {
    case Mcs51Space::kIram:
        m_s.iram[address & 0xFF] = value;
        return;
    case Mcs51Space::kSfr:
        m_devices.Poke(static_cast<uint8_t>(address | 0x80), value);
        m_cpu.Refresh();
        return;
    case Mcs51Space::kXram:
        m_s.xram[address] = value;
        return;
    case Mcs51Space::kCode:
        m_s.code[address] = value;
        return;
    }
}

uint8_t CMachine51::PortLatch(unsigned port) const
{
    return m_s.Sfr(PortSfr(port));
}

}  // namespace mcs51
