// Strings and byte runs in the machine's memory as the services read and write them.
#pragma once

#include "dos/CpuState.h"
#include "dos/Memory.h"

#include <cstdint>
#include <string>

namespace dos {

namespace GuestMemory {

// Up to `limit` bytes before a zero byte.
std::string ReadAsciiz(const CMemory& memory, uint16_t segment, uint16_t offset, size_t limit = 128);
// The bytes before a '$' (INT 21h 09h), at most 64 KB.
std::string ReadDollarString(const CMemory& memory, uint16_t segment, uint16_t offset);
std::string ReadBytes(const CMemory& memory, uint16_t segment, uint16_t offset, size_t count);
void WriteBytes(CMemory& memory, uint16_t segment, uint16_t offset, const void* bytes, size_t count);
// The text and a zero byte.
void WriteAsciiz(CMemory& memory, uint16_t segment, uint16_t offset, const std::string& text);
void Fill(CMemory& memory, uint16_t segment, uint16_t offset, uint8_t value, size_t count);

// Whether the vector still points at the machine's own handler.
bool IsOwnVector(const CMemory& memory, uint8_t vector);
// Enters the program's handler of `vector` as INT n would from CS:returnIp: FLAGS, CS and the
// return address pushed, IF and TF cleared.
void EnterHandler(CMemory& memory, CpuState& state, uint8_t vector, uint16_t returnIp);

}

}  // namespace dos
