// INT 13h for diskettes, over drive A:'s image.
#include "dos/DiskBios.h"

#include "dos/DosLayout.h"
#include "dos/MachineBus.h"

namespace dos {

using namespace DosLayout;

namespace {

constexpr uint16_t kStatusOffset = 0x41;
// Where the IBM PC keeps its diskette parameter table, in the BIOS's segment.
constexpr uint16_t kParameterTable = 0xEFC7;
// Step rate and head unload, head load and DMA, motor off delay, 512 bytes a sector, sectors a
// track, gap, data length, format gap, fill byte, head settle, motor start: a 1.44 MB drive's.
constexpr uint8_t kParameters[11] = {0xDF, 0x02, 0x25, 0x02, 0x12, 0x1B, 0xFF, 0x6C, 0xF6, 0x0F, 0x08};
constexpr uint8_t kDisketteVector = 0x1E;
constexpr uint8_t kBootstrapVector = 0x19;
constexpr uint16_t kResetOffset = 0xFFF0;

}

void CDiskBios::Reset()
{
    // The processor's reset address FFFF:0000 jumps to the bootstrap's handler, as a PC's
    // jumps to its power-on test and the bootstrap after it.
    const uint8_t jump[] = {0xEA, static_cast<uint8_t>(ServiceOffset(kBootstrapVector)),
                            static_cast<uint8_t>(ServiceOffset(kBootstrapVector) >> 8), 0x00, 0xF0};
    for (uint16_t i = 0; i < sizeof jump; ++i)
        m_memory.Write8(kBiosSegment, static_cast<uint16_t>(kResetOffset + i), jump[i]);
    for (uint16_t i = 0; i < sizeof kParameters; ++i)
        m_memory.Write8(kBiosSegment, static_cast<uint16_t>(kParameterTable + i), kParameters[i]);
    m_memory.Write8(kBiosSegment, kParameterTable + 4, m_floppy.HasDisk() ? m_floppy.Geometry().sectors : kParameters[4]);
    m_memory.Write16(0, kDisketteVector * 4, kParameterTable);
    m_memory.Write16(0, kDisketteVector * 4 + 2, kBiosSegment);
    const uint16_t equipment = m_memory.Read16(kBiosDataSegment, Bda::kEquipment);
    m_memory.Write16(kBiosDataSegment, Bda::kEquipment, static_cast<uint16_t>(m_floppy.HasDisk() ? equipment | 1 : equipment & ~1));
    m_memory.Write8(kBiosDataSegment, kStatusOffset, 0);
}

void CDiskBios::Finish(CpuState& state, uint8_t status)
{
    state.set_ah(status);
    state.SetFlag(kFlagCarry, status != CFloppyDrive::kOk);
    if (state.dl() < 0x80)
        m_memory.Write8(kBiosDataSegment, kStatusOffset, status);
}

uint8_t CDiskBios::Absent(uint8_t drive) const
{
    if (drive >= 0x80)
        return CFloppyDrive::kBadCommand;
    return drive == 0 && m_floppy.HasDisk() ? CFloppyDrive::kOk : CFloppyDrive::kNotReady;
}

BootSector CDiskBios::LoadBootSector()
{
    uint8_t sector[CFloppyDrive::kSectorSize];
    if (m_floppy.Read(0, 0, 1, sector) != CFloppyDrive::kOk)
        return BootSector::NoDisk;
    if (sector[510] != 0x55 || sector[511] != 0xAA)
        return BootSector::NotBootable;
    for (uint16_t i = 0; i < sizeof sector; ++i)
        m_memory.Write8(0, static_cast<uint16_t>(kBootOffset + i), sector[i]);
    return BootSector::Loaded;
}

void CDiskBios::Sectors(CpuState& state, Transfer transfer)
{
    const uint8_t count = state.al();
    state.set_al(0);
    if (const uint8_t absent = Absent(state.dl())) {
        Finish(state, absent);
        return;
    }
    if (count == 0) {
        Finish(state, CFloppyDrive::kBadCommand);
        return;
    }
    if (transfer == Transfer::Write && m_floppy.ReadOnly()) {
        Finish(state, CFloppyDrive::kWriteProtected);
        return;
    }
    const uint16_t cylinder = static_cast<uint16_t>(state.ch() | ((state.cl() & 0xC0) << 2));
    uint8_t head = state.dh();
    uint8_t sector = state.cl() & 0x3F;
    // The buffer is reached as the DMA controller reaches it: a linear address.
    uint32_t linear = CMemory::Linear(state.es(), 0) + state.bx();
    uint8_t done = 0;
    uint8_t status = CFloppyDrive::kOk;
    for (; done < count; ++done, ++sector) {
        if (done > 0 && sector > m_floppy.Geometry().sectors && head + 1 < m_floppy.Geometry().heads) {
            sector = 1;
            ++head;
        }
        uint8_t bytes[CFloppyDrive::kSectorSize];
        if (transfer == Transfer::Write)
            for (uint32_t i = 0; i < sizeof bytes; ++i)
                bytes[i] = m_memory.Read8(linear + i);
        status = transfer == Transfer::Read    ? m_floppy.Read(cylinder, head, sector, bytes)
                 : transfer == Transfer::Write ? m_floppy.Write(cylinder, head, sector, bytes)
                 : m_floppy.Holds(cylinder, head, sector) ? CFloppyDrive::kOk
                                                          : CFloppyDrive::kSectorNotFound;
        if (status != CFloppyDrive::kOk)
            break;
        if (transfer == Transfer::Read)
            for (uint32_t i = 0; i < sizeof bytes; ++i)
                m_memory.Write8(linear + i, bytes[i]);
        linear += sizeof bytes;
    }
    state.set_al(done);
    Finish(state, status);
}

void CDiskBios::Parameters(CpuState& state)
{
    if (state.dl() >= 0x80) {
        Finish(state, CFloppyDrive::kBadCommand);
        return;
    }
    state.ax() = 0;
    state.bx() = 0;
    state.cx() = 0;
    state.set_dh(0);
    state.es() = 0;
    state.di() = 0;
    const bool present = Absent(state.dl()) == CFloppyDrive::kOk;
    state.set_dl(m_floppy.HasDisk() ? 1 : 0);
    state.SetFlag(kFlagCarry, false);
    if (!present)
        return;
    const FloppyGeometry& geometry = m_floppy.Geometry();
    state.set_bl(geometry.driveType);
    state.set_ch(static_cast<uint8_t>(geometry.cylinders - 1));
    state.set_cl(static_cast<uint8_t>(geometry.sectors | (((geometry.cylinders - 1) >> 2) & 0xC0)));
    state.set_dh(static_cast<uint8_t>(geometry.heads - 1));
    state.es() = kBiosSegment;
    state.di() = kParameterTable;
}

void CDiskBios::Interrupt13(CpuState& state)
{
    switch (state.ah()) {
    case 0x00:
        Finish(state, Absent(state.dl()));
        break;
    case 0x01:
        Finish(state, m_memory.Read8(kBiosDataSegment, kStatusOffset));
        break;
    case 0x02:
        Sectors(state, Transfer::Read);
        break;
    case 0x03:
        Sectors(state, Transfer::Write);
        break;
    case 0x04:
        Sectors(state, Transfer::Verify);
        break;
    case 0x08:
        Parameters(state);
        break;
    case 0x15:
        // 02h: a diskette drive with a change line; 00h: no such drive.
        state.set_ah(Absent(state.dl()) == CFloppyDrive::kOk ? 0x02 : 0x00);
        state.SetFlag(kFlagCarry, false);
        break;
    case 0x16:
        // The image never leaves the drive while the machine runs: the line stays inactive.
        Finish(state, Absent(state.dl()));
        break;
    default:
        Finish(state, CFloppyDrive::kBadCommand);
        break;
    }
}

}  // namespace dos
