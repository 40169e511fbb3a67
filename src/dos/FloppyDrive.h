// Drive A: as the BIOS sees it: a diskette image file of one of the PC's formats (360 KB,
// 720 KB, 1.2 MB, 1.44 MB, told by its size) that the machine reads and writes through its
// drive, sector by sector, by cylinder, head and sector; read-only where the write rule keeps
// the program from changing the file.
#pragma once

#include "dos/Drive.h"

#include <cstdint>
#include <memory>

namespace dos {

struct FloppyGeometry {
    uint16_t cylinders = 0;
    uint8_t heads = 0;
    uint8_t sectors = 0;
    // The drive type INT 13h 08h reports in BL.
    uint8_t driveType = 0;

    uint32_t Bytes() const { return uint32_t{cylinders} * heads * sectors * 512; }
    // The PC format of an image of `bytes` bytes; none (all 0) for any other size.
    static FloppyGeometry OfSize(uint64_t bytes);
    // The format of an image that may hold only a diskette's first sectors (a boot sector as an
    // assembler builds it, with what follows it): its own size's, else a 1.44 MB diskette's
    // for 512 bytes up to that size; none for less or more.
    static FloppyGeometry OfFirstSectors(uint64_t bytes);
};

class CFloppyDrive {
public:
    static constexpr uint32_t kSectorSize = 512;

    // The status codes of the diskette BIOS, as INT 13h returns them in AH.
    enum Status : uint8_t {
        kOk = 0x00,
        kBadCommand = 0x01,
        kWriteProtected = 0x03,
        kSectorNotFound = 0x04,
        kNotReady = 0x80,
    };

    // Takes the image file (open for reading, and writing unless readOnly); no disk for a
    // file of no diskette's size. With `firstSectors` a shorter file (OfFirstSectors) is the
    // start of a diskette whose other sectors read as zeros, write-protected so that the file
    // stays as its build made it.
    void Insert(std::unique_ptr<IDriveFile> image, bool readOnly, bool firstSectors = false);
    void Eject() { m_image.reset(); }
    bool HasDisk() const { return m_image != nullptr; }
    bool ReadOnly() const { return m_bReadOnly; }
    const FloppyGeometry& Geometry() const { return m_geometry; }

    // Whether the sector lies on the disk (sectors count from 1).
    bool Holds(uint16_t cylinder, uint8_t head, uint8_t sector) const;
    // One sector; kSectorNotFound off the disk, kNotReady without one.
    Status Read(uint16_t cylinder, uint8_t head, uint8_t sector, uint8_t* bytes);
    Status Write(uint16_t cylinder, uint8_t head, uint8_t sector, const uint8_t* bytes);

private:
    Status Seek(uint16_t cylinder, uint8_t head, uint8_t sector);

    std::unique_ptr<IDriveFile> m_image;
    FloppyGeometry m_geometry;
    bool m_bReadOnly = true;
    // The image ends before the disk does.
    bool m_bShort = false;
};

}  // namespace dos
