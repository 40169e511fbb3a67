// The keyboard: keys wait in the BIOS's ring buffer at 40h:1Eh, where programs that look at
// the head and tail words directly find them too.
#include "dos/Keyboard.h"

#include "dos/DosLayout.h"

namespace dos {

using namespace DosLayout;

void CKeyboard::Reset()
{
    m_memory.Write16(kBiosDataSegment, Bda::kKeyBufferStart, Bda::kKeyBufferFirst);
    m_memory.Write16(kBiosDataSegment, Bda::kKeyBufferStop, Bda::kKeyBufferEnd);
    Flush();
    SetShiftFlags(0);
}

uint16_t CKeyboard::Word(uint16_t offset) const { return m_memory.Read16(kBiosDataSegment, offset); }

uint16_t CKeyboard::Advance(uint16_t offset) const
{
    offset = static_cast<uint16_t>(offset + 2);
    return offset >= Word(Bda::kKeyBufferStop) ? Word(Bda::kKeyBufferStart) : offset;
}

bool CKeyboard::Push(uint16_t key)
{
    uint16_t tail = Word(Bda::kKeyTail);
    uint16_t next = Advance(tail);
    if (next == Word(Bda::kKeyHead))
        return false;
    m_memory.Write16(kBiosDataSegment, tail, key);
    m_memory.Write16(kBiosDataSegment, Bda::kKeyTail, next);
    return true;
}

bool CKeyboard::Peek(uint16_t& key) const
{
    uint16_t head = Word(Bda::kKeyHead);
    if (head == Word(Bda::kKeyTail))
        return false;
    key = Word(head);
    return true;
}

bool CKeyboard::Pop(uint16_t& key)
{
    if (!Peek(key))
        return false;
    m_memory.Write16(kBiosDataSegment, Bda::kKeyHead, Advance(Word(Bda::kKeyHead)));
    return true;
}

void CKeyboard::Flush()
{
    m_memory.Write16(kBiosDataSegment, Bda::kKeyHead, Bda::kKeyBufferFirst);
    m_memory.Write16(kBiosDataSegment, Bda::kKeyTail, Bda::kKeyBufferFirst);
}

void CKeyboard::SetShiftFlags(uint8_t flags) { m_memory.Write8(kBiosDataSegment, Bda::kShiftFlags, flags); }

bool CKeyboard::Interrupt16(CpuState& state)
{
    uint16_t key = 0;
    switch (state.ah()) {
    case 0x00:
    case 0x10:
        if (!Pop(key))
            return false;
        // The plain read gives the grey keys' E0h as 00h, as the older BIOS call did.
        if (state.ah() == 0x00 && (key & 0xFF) == 0xE0 && (key >> 8) != 0)
            key &= 0xFF00;
        state.ax() = key;
        return true;
    case 0x01:
    case 0x11:
        if (Peek(key)) {
            if (state.ah() == 0x01 && (key & 0xFF) == 0xE0 && (key >> 8) != 0)
                key &= 0xFF00;
            state.ax() = key;
        }
        state.SetFlag(kFlagZero, !Peek(key));
        return true;
    case 0x02:
        state.set_al(m_memory.Read8(kBiosDataSegment, Bda::kShiftFlags));
        return true;
    case 0x12:
        state.set_al(m_memory.Read8(kBiosDataSegment, Bda::kShiftFlags));
        state.set_ah(0);
        return true;
    case 0x05:
        state.set_al(Push(state.cx()) ? 0 : 1);
        return true;
    default:
        return true;
    }
}

}  // namespace dos
