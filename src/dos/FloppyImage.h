// Diskette images the machine's front ends make: an empty 1.44 MB disk formatted as DOS
// formats one (FAT12: a boot sector with its BIOS parameter block, two FATs, an empty root
// folder), whose boot code says it is no system disk, waits for a key and restarts.
#pragma once

#include <cstdint>
#include <vector>

namespace dos {

namespace FloppyImage {

std::vector<uint8_t> Formatted1440();

}

}  // namespace dos
