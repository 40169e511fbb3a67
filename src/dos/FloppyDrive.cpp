// Drive A: over its image file.
#include "dos/FloppyDrive.h"

#include <algorithm>

namespace dos {

FloppyGeometry FloppyGeometry::OfSize(uint64_t bytes)
{
    static const FloppyGeometry kFormats[] = {
        {40, 2, 9, 1},
        {80, 2, 15, 2},
        {80, 2, 9, 3},
        {80, 2, 18, 4},
    };
    for (const FloppyGeometry& format : kFormats)
        if (format.Bytes() == bytes)
            return format;
    return {};
}

FloppyGeometry FloppyGeometry::OfFirstSectors(uint64_t bytes)
{
    const FloppyGeometry largest = OfSize(1474560);
    if (const FloppyGeometry exact = OfSize(bytes); exact.sectors)
        return exact;
    return bytes >= CFloppyDrive::kSectorSize && bytes < largest.Bytes() ? largest : FloppyGeometry{};
}

void CFloppyDrive::Insert(std::unique_ptr<IDriveFile> image, bool readOnly, bool firstSectors)
{
    const uint64_t bytes = image ? image->Size() : 0;
    m_geometry = !image ? FloppyGeometry{} : firstSectors ? FloppyGeometry::OfFirstSectors(bytes) : FloppyGeometry::OfSize(bytes);
    m_image = m_geometry.sectors ? std::move(image) : nullptr;
    m_bShort = m_image && bytes < m_geometry.Bytes();
    m_bReadOnly = readOnly || m_bShort;
}

bool CFloppyDrive::Holds(uint16_t cylinder, uint8_t head, uint8_t sector) const
{
    return cylinder < m_geometry.cylinders && head < m_geometry.heads && sector >= 1 && sector <= m_geometry.sectors;
}

CFloppyDrive::Status CFloppyDrive::Seek(uint16_t cylinder, uint8_t head, uint8_t sector)
{
    if (!m_image)
        return kNotReady;
    if (!Holds(cylinder, head, sector))
        return kSectorNotFound;
    const uint64_t index = (uint64_t{cylinder} * m_geometry.heads + head) * m_geometry.sectors + sector - 1;
    uint64_t position = 0;
    return m_image->Seek(static_cast<int64_t>(index * kSectorSize), SeekOrigin::Start, position) == kErrNone ? kOk : kSectorNotFound;
}

CFloppyDrive::Status CFloppyDrive::Read(uint16_t cylinder, uint8_t head, uint8_t sector, uint8_t* bytes)
{
    const Status status = Seek(cylinder, head, sector);
    if (status != kOk)
        return status;
    uint32_t got = 0;
    if (m_image->Read(bytes, kSectorSize, got) != kErrNone)
        return kSectorNotFound;
    if (m_bShort)
        std::fill(bytes + got, bytes + kSectorSize, uint8_t{0});
    return got == kSectorSize || m_bShort ? kOk : kSectorNotFound;
}

CFloppyDrive::Status CFloppyDrive::Write(uint16_t cylinder, uint8_t head, uint8_t sector, const uint8_t* bytes)
{
    if (m_image && m_bReadOnly)
        return kWriteProtected;
    const Status status = Seek(cylinder, head, sector);
    if (status != kOk)
        return status;
    uint32_t written = 0;
    return m_image->Write(bytes, kSectorSize, written) == kErrNone && written == kSectorSize ? kOk : kSectorNotFound;
}

}  // namespace dos
