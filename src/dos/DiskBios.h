// The diskette part of the machine's BIOS: INT 13h on drive A: (reset, status, read, write,
// verify, parameters, type, change line) with the BIOS's status codes in AH and CF, the
// diskette parameter table at INT 1Eh, the bootstrap's read of A:'s boot sector and the reset
// address that leads to it.
#pragma once

#include "dos/CpuState.h"
#include "dos/FloppyDrive.h"
#include "dos/Memory.h"

#include <cstdint>

namespace dos {

enum class BootSector : uint8_t {
    Loaded,
    // No disk in A: (or no drive).
    NoDisk,
    // The first sector does not end in 55h AAh.
    NotBootable,
};

class CDiskBios {
public:
    static constexpr uint16_t kBootOffset = 0x7C00;

    CDiskBios(CMemory& memory, CFloppyDrive& floppy) : m_memory(memory), m_floppy(floppy) {}

    // After the BIOS's own reset: the reset address's jump, the parameter table and its
    // vector, the equipment word's drive A: (there when it holds a disk), the status cleared.
    void Reset();
    void Interrupt13(CpuState& state);
    // A:'s first sector at 0000:7C00, as the bootstrap loads it.
    BootSector LoadBootSector();

private:
    enum class Transfer : uint8_t { Read, Write, Verify };

    void Finish(CpuState& state, uint8_t status);
    // AH=02h-04h: AL sectors from CH/CL/DH on, on to the next head of the cylinder.
    void Sectors(CpuState& state, Transfer transfer);
    void Parameters(CpuState& state);
    // The status of a function on a drive that is not there (none but A:, and A: only with a disk).
    uint8_t Absent(uint8_t drive) const;

    CMemory& m_memory;
    CFloppyDrive& m_floppy;
};

}  // namespace dos
