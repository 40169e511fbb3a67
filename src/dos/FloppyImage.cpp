// The empty 1.44 MB disk: 2880 sectors of 512 bytes, 18 to a track, 2 heads; one reserved
// sector, two FATs of 9 sectors, 224 root entries (14 sectors), one sector a cluster.
#include "dos/FloppyImage.h"

#include <cstring>

namespace dos {

namespace {

constexpr uint32_t kSectors = 2880;
constexpr uint32_t kSectorSize = 512;
constexpr uint8_t kMedia = 0xF0;
constexpr uint16_t kFatSectors = 9;
constexpr uint16_t kBootCodeOffset = 0x3E;

// At 0000:7C3Eh: set up DS and a stack, print the message after the code through INT 10h 0Eh,
// wait for a key (INT 16h), restart (INT 19h).
constexpr uint8_t kBootCode[] = {
    0xFA,                    // cli
    0x31, 0xC0,              // xor ax, ax
    0x8E, 0xD8,              // mov ds, ax
    0x8E, 0xD0,              // mov ss, ax
    0xBC, 0x00, 0x7C,        // mov sp, 7C00h
    0xFB,                    // sti
    0xFC,                    // cld
    0xBE, 0x61, 0x7C,        // mov si, 7C61h (the message)
    0xAC,                    // next: lodsb
    0x84, 0xC0,              // test al, al
    0x74, 0x09,              // jz wait
    0xB4, 0x0E,              // mov ah, 0Eh
    0xBB, 0x07, 0x00,        // mov bx, 0007h
    0xCD, 0x10,              // int 10h
    0xEB, 0xF2,              // jmp next
    0x30, 0xE4,              // wait: xor ah, ah
    0xCD, 0x16,              // int 16h
    0xCD, 0x19,              // int 19h
};
static_assert(kBootCodeOffset + sizeof kBootCode == 0x61, "the code's message follows it");
constexpr char kMessage[] = "\r\nNon-system disk or disk error\r\nReplace and press any key when ready\r\n";

void Put16(uint8_t* at, uint16_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void Put32(uint8_t* at, uint32_t value)
{
    Put16(at, static_cast<uint16_t>(value));
    Put16(at + 2, static_cast<uint16_t>(value >> 16));
}

void WriteBootSector(uint8_t* sector)
{
    const uint8_t jump[] = {0xEB, kBootCodeOffset - 2, 0x90};
    std::memcpy(sector, jump, sizeof jump);
    std::memcpy(sector + 0x03, "KORVANE ", 8);
    Put16(sector + 0x0B, kSectorSize);
    sector[0x0D] = 1;
    Put16(sector + 0x0E, 1);
    sector[0x10] = 2;
    Put16(sector + 0x11, 224);
    Put16(sector + 0x13, kSectors);
    sector[0x15] = kMedia;
    Put16(sector + 0x16, kFatSectors);
    Put16(sector + 0x18, 18);
    Put16(sector + 0x1A, 2);
    sector[0x24] = 0x00;
    sector[0x26] = 0x29;
    Put32(sector + 0x27, 0x4B4F5256);
    std::memcpy(sector + 0x2B, "NO NAME    FAT12   ", 19);
    std::memcpy(sector + kBootCodeOffset, kBootCode, sizeof kBootCode);
    std::memcpy(sector + kBootCodeOffset + sizeof kBootCode, kMessage, sizeof kMessage);
    sector[510] = 0x55;
    sector[511] = 0xAA;
}

}

namespace FloppyImage {

std::vector<uint8_t> Formatted1440()
{
    std::vector<uint8_t> image(kSectors * kSectorSize, 0);
    WriteBootSector(image.data());
    for (uint32_t fat = 0; fat < 2; ++fat) {
        uint8_t* first = image.data() + (1 + fat * kFatSectors) * kSectorSize;
        first[0] = kMedia;
        first[1] = 0xFF;
        first[2] = 0xFF;
    }
    return image;
}

}

}  // namespace dos
