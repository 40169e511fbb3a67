// The machine's BIOS. Its handlers are C++; the vector table points at their marks, so a
// program that hooks a vector and chains to the old one reaches them as on a real PC.
#include "dos/Bios.h"

#include "dos/Bcd.h"
#include "dos/DosLayout.h"
#include "dos/GuestMemory.h"

namespace dos {

using namespace DosLayout;

namespace {

constexpr uint32_t kTicksPerDay = 0x1800B0;
// Equipment: 80x25 colour, no coprocessor; the disk BIOS adds drive A: when it holds a disk.
constexpr uint16_t kEquipment = 0x0020;

}

void CBios::Reset(uint16_t memoryKb)
{
    CMemory& memory = m_c.memory;
    for (unsigned vector = 0; vector < 256; ++vector) {
        uint8_t n = static_cast<uint8_t>(vector);
        memory.Write16(0, static_cast<uint16_t>(vector * 4), ServiceOffset(n));
        memory.Write16(0, static_cast<uint16_t>(vector * 4 + 2), kServiceSegment);
        memory.Write8(kServiceSegment, ServiceOffset(n), kServiceMark);
        memory.Write8(kServiceSegment, static_cast<uint16_t>(ServiceOffset(n) + 1), n);
    }
    memory.Write8(kBiosSegment, kRetfOffset, 0xCB);
    GuestMemory::WriteBytes(memory, kBiosSegment, 0xFFF5, "01/01/92", 8);
    memory.Write8(kBiosSegment, 0xFFFE, 0xFC);
    memory.Write16(kBiosDataSegment, Bda::kEquipment, kEquipment);
    memory.Write16(kBiosDataSegment, Bda::kMemoryKb, memoryKb);
    uint32_t ticks = m_c.clock.TicksSinceMidnight();
    memory.Write16(kBiosDataSegment, Bda::kTicks, static_cast<uint16_t>(ticks));
    memory.Write16(kBiosDataSegment, Bda::kTicks + 2, static_cast<uint16_t>(ticks >> 16));
    m_c.video.Reset();
    m_c.keyboard.Reset();
}

void CBios::Tick(CpuState& state)
{
    CMemory& memory = m_c.memory;
    uint32_t ticks = memory.Read16(kBiosDataSegment, Bda::kTicks) |
                     (static_cast<uint32_t>(memory.Read16(kBiosDataSegment, Bda::kTicks + 2)) << 16);
    if (++ticks >= kTicksPerDay) {
        ticks = 0;
        memory.Write8(kBiosDataSegment, Bda::kMidnight, 1);
    }
    memory.Write16(kBiosDataSegment, Bda::kTicks, static_cast<uint16_t>(ticks));
    memory.Write16(kBiosDataSegment, Bda::kTicks + 2, static_cast<uint16_t>(ticks >> 16));
    m_c.pic.EndOfInterrupt(0);
    if (!GuestMemory::IsOwnVector(memory, 0x1C))
        GuestMemory::EnterHandler(memory, state, 0x1C, state.ip);
}

bool CBios::KeyFromInput()
{
    uint16_t key;
    if (m_c.console.Input() != ConsoleInput::Stream || m_c.keyboard.Peek(key))
        return true;
    uint8_t byte = 0;
    size_t count = 0;
    InputState read = m_c.host.ReadInput(&byte, 1, count);
    if (read == InputState::Pending)
        return false;
    m_c.host.OnExternalEvent(ExternalEvent::InputRead);
    if (read == InputState::End || count == 0)
        m_c.keyboard.Push(0x2C00 | CDosConsole::kCtrlZ);
    else
        m_c.keyboard.Push(static_cast<uint16_t>((byte == '\r' ? 0x1C00 : 0) | byte));
    return true;
}

void CBios::TimeOfDay(CpuState& state)
{
    CMemory& memory = m_c.memory;
    const DosDateTime now = m_c.clock.Now();
    switch (state.ah()) {
    case 0x00:
        state.dx() = memory.Read16(kBiosDataSegment, Bda::kTicks);
        state.cx() = memory.Read16(kBiosDataSegment, Bda::kTicks + 2);
        state.set_al(memory.Read8(kBiosDataSegment, Bda::kMidnight));
        memory.Write8(kBiosDataSegment, Bda::kMidnight, 0);
        break;
    case 0x01:
        memory.Write16(kBiosDataSegment, Bda::kTicks, state.dx());
        memory.Write16(kBiosDataSegment, Bda::kTicks + 2, state.cx());
        memory.Write8(kBiosDataSegment, Bda::kMidnight, 0);
        break;
    case 0x02:
        state.set_ch(ToBcd(now.hour));
        state.set_cl(ToBcd(now.minute));
        state.set_dh(ToBcd(now.second));
        state.set_dl(0);
        state.SetFlag(kFlagCarry, false);
        break;
    case 0x03:
        // The clock set: DOS's time follows; a value that is no BCD time is refused.
        state.SetFlag(kFlagCarry, !m_c.clock.SetTime(static_cast<uint8_t>(FromBcd(state.ch())),
                                                     static_cast<uint8_t>(FromBcd(state.cl())),
                                                     static_cast<uint8_t>(FromBcd(state.dh())), 0));
        break;
    case 0x04:
        state.set_ch(ToBcd(now.year / 100u));
        state.set_cl(ToBcd(now.year % 100u));
        state.set_dh(ToBcd(now.month));
        state.set_dl(ToBcd(now.day));
        state.SetFlag(kFlagCarry, false);
        break;
    case 0x05: {
        const int century = FromBcd(state.ch()), year = FromBcd(state.cl());
        const bool valid = century >= 0 && year >= 0 &&
                           m_c.clock.SetDate(static_cast<uint16_t>(century * 100 + year),
                                             static_cast<uint8_t>(FromBcd(state.dh())),
                                             static_cast<uint8_t>(FromBcd(state.dl())));
        state.SetFlag(kFlagCarry, !valid);
        break;
    }
    default:
        state.SetFlag(kFlagCarry, false);
        break;
    }
}

ServiceResult CBios::Interrupt(uint8_t vector, CpuState& state)
{
    switch (vector) {
    case 0x08:
        Tick(state);
        break;
    case 0x09:
        // The machine's own INT 9: the key whose make code port 60h holds into the buffer.
        if (!m_c.keyboardController.LatchedIsRelease())
            m_c.keyboard.Push(m_c.keyboardController.LatchedKey());
        m_c.pic.EndOfInterrupt(1);
        break;
    case 0x10:
        m_c.video.Interrupt10(state);
        break;
    case 0x11:
        state.ax() = m_c.memory.Read16(kBiosDataSegment, Bda::kEquipment);
        break;
    case 0x12:
        state.ax() = m_c.memory.Read16(kBiosDataSegment, Bda::kMemoryKb);
        break;
    case 0x15:
        state.set_ah(0x86);
        state.SetFlag(kFlagCarry, true);
        break;
    case 0x16: {
        uint8_t function = state.ah();
        bool reads = function == 0x00 || function == 0x10 || function == 0x01 || function == 0x11;
        if (reads && !KeyFromInput())
            return ServiceResult::Blocked;
        if (!m_c.keyboard.Interrupt16(state)) {
            m_c.host.OnKeyWanted();
            return ServiceResult::Blocked;
        }
        if (function == 0x00 || function == 0x10)
            m_c.host.OnExternalEvent(ExternalEvent::KeyRead);
        break;
    }
    case 0x1A:
        TimeOfDay(state);
        break;
    default:
        if ((vector >= 0x0A && vector <= 0x0F) || (vector >= 0x70 && vector <= 0x77))
            m_c.pic.EndOfInterrupt();
        break;
    }
    return ServiceResult::Done;
}

}  // namespace dos
