// Reads a DOS program file: an MZ (or ZM) header makes it an .EXE, anything else is a .COM
// image, as DOS's loader decides.
#include "dos/ProgramImage.h"

#include <cstring>

namespace dos {

namespace {

constexpr size_t kHeaderFields = 0x1C;

uint16_t Word(const std::vector<uint8_t>& file, size_t offset)
{
    return static_cast<uint16_t>(file[offset] | (file[offset + 1] << 8));
}

}

ImageError CProgramImage::Parse(std::vector<uint8_t> file)
{
    bool mz = file.size() >= 2 && ((file[0] == 'M' && file[1] == 'Z') || (file[0] == 'Z' && file[1] == 'M'));
    if (mz)
        return ParseExe(file);
    if (file.size() > kComLimit)
        return ImageError::ComTooLarge;
    m_bExe = false;
    m_module = std::move(file);
    return ImageError::None;
}

bool CProgramImage::IsWindowsProgram(const std::vector<uint8_t>& file)
{
    if (file.size() < 0x40 || Word(file, 0x18) < 0x40)
        return false;
    uint32_t next = Word(file, 0x3C) | (static_cast<uint32_t>(Word(file, 0x3E)) << 16);
    if (next >= file.size() || file.size() - next < 4)
        return false;
    const char* sign = reinterpret_cast<const char*>(file.data() + next);
    return std::memcmp(sign, "PE\0\0", 4) == 0 || std::memcmp(sign, "NE", 2) == 0 ||
           std::memcmp(sign, "LE", 2) == 0 || std::memcmp(sign, "LX", 2) == 0;
}

ImageError CProgramImage::ParseExe(const std::vector<uint8_t>& file)
{
    if (file.size() < kHeaderFields)
        return ImageError::CorruptHeader;
    if (IsWindowsProgram(file))
        return ImageError::WindowsProgram;
    uint16_t lastPage = Word(file, 2);
    uint16_t pages = Word(file, 4);
    uint16_t relocations = Word(file, 6);
    size_t header = static_cast<size_t>(Word(file, 8)) * 16;
    size_t table = Word(file, 0x18);
    if (pages == 0 || lastPage >= 512)
        return ImageError::CorruptHeader;
    size_t end = static_cast<size_t>(pages) * 512 - (lastPage ? 512 - lastPage : 0);
    if (header < kHeaderFields || header > end || end > file.size() ||
        table + static_cast<size_t>(relocations) * 4 > file.size())
        return ImageError::CorruptHeader;
    m_bExe = true;
    m_module.assign(file.begin() + static_cast<ptrdiff_t>(header), file.begin() + static_cast<ptrdiff_t>(end));
    m_relocations.resize(relocations);
    for (size_t i = 0; i < relocations; ++i)
        m_relocations[i] = {Word(file, table + 4 * i), Word(file, table + 4 * i + 2)};
    m_nMinExtra = Word(file, 0x0A);
    m_nMaxExtra = Word(file, 0x0C);
    m_nSs = Word(file, 0x0E);
    m_nSp = Word(file, 0x10);
    m_nIp = Word(file, 0x14);
    m_nCs = Word(file, 0x16);
    return ImageError::None;
}

}  // namespace dos
