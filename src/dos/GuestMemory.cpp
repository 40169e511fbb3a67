// Strings and byte runs in the machine's memory; every offset wraps within its segment.
#include "dos/GuestMemory.h"

#include "dos/MachineBus.h"

namespace dos {

namespace GuestMemory {

std::string ReadAsciiz(const CMemory& memory, uint16_t segment, uint16_t offset, size_t limit)
{
    std::string text;
    for (size_t i = 0; i < limit; ++i) {
        uint8_t byte = memory.Read8(segment, static_cast<uint16_t>(offset + i));
        if (byte == 0)
            break;
        text.push_back(static_cast<char>(byte));
    }
    return text;
}

std::string ReadDollarString(const CMemory& memory, uint16_t segment, uint16_t offset)
{
    std::string text;
    for (size_t i = 0; i < 0x10000; ++i) {
        uint8_t byte = memory.Read8(segment, static_cast<uint16_t>(offset + i));
        if (byte == '$')
            break;
        text.push_back(static_cast<char>(byte));
    }
    return text;
}

std::string ReadBytes(const CMemory& memory, uint16_t segment, uint16_t offset, size_t count)
{
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>(memory.Read8(segment, static_cast<uint16_t>(offset + i)));
    return bytes;
}

void WriteBytes(CMemory& memory, uint16_t segment, uint16_t offset, const void* bytes, size_t count)
{
    const uint8_t* source = static_cast<const uint8_t*>(bytes);
    for (size_t i = 0; i < count; ++i)
        memory.Write8(segment, static_cast<uint16_t>(offset + i), source[i]);
}

void WriteAsciiz(CMemory& memory, uint16_t segment, uint16_t offset, const std::string& text)
{
    WriteBytes(memory, segment, offset, text.data(), text.size());
    memory.Write8(segment, static_cast<uint16_t>(offset + text.size()), 0);
}

void Fill(CMemory& memory, uint16_t segment, uint16_t offset, uint8_t value, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        memory.Write8(segment, static_cast<uint16_t>(offset + i), value);
}

bool IsOwnVector(const CMemory& memory, uint8_t vector)
{
    return memory.Read16(0, static_cast<uint16_t>(vector * 4)) == ServiceOffset(vector) &&
           memory.Read16(0, static_cast<uint16_t>(vector * 4 + 2)) == kServiceSegment;
}

void EnterHandler(CMemory& memory, CpuState& state, uint8_t vector, uint16_t returnIp)
{
    auto push = [&](uint16_t value) {
        state.sp() = static_cast<uint16_t>(state.sp() - 2);
        memory.Write16(state.ss(), state.sp(), value);
    };
    push(state.flags);
    push(state.cs());
    push(returnIp);
    state.SetFlag(kFlagInterrupt, false);
    state.SetFlag(kFlagTrap, false);
    state.ip = memory.Read16(0, static_cast<uint16_t>(vector * 4));
    state.cs() = memory.Read16(0, static_cast<uint16_t>(vector * 4 + 2));
}

}

}  // namespace dos
