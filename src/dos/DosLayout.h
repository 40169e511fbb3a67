// Where the machine keeps things in its megabyte: the BIOS data area, DOS's own data, the
// arena of memory blocks and the BIOS's area at F000h, as a DOS 5 machine lays them out.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dos {

namespace DosLayout {

constexpr uint16_t kBiosDataSegment = 0x0040;
// DOS's own tables (list of lists, InDOS flag, country and case tables).
constexpr uint16_t kDosDataSegment = 0x0080;
// The first memory block: the shell's PSP, then its environment, then the free arena.
constexpr uint16_t kFirstMcbSegment = 0x0100;
constexpr uint16_t kShellPspSegment = kFirstMcbSegment + 1;
constexpr uint16_t kShellPspParagraphs = 0x10;
// DOS keeps an environment block below 32 KB.
constexpr size_t kEnvironmentLimit = 0x7FF0;
constexpr uint16_t kColourTextSegment = 0xB800;
constexpr uint16_t kMonoTextSegment = 0xB000;
constexpr uint16_t kBiosSegment = 0xF000;
// A far RETF in the BIOS area: the country table's case-map routine maps nothing.
constexpr uint16_t kRetfOffset = 0x0080;

// The BIOS data area, as offsets in segment 40h.
namespace Bda {
constexpr uint16_t kEquipment = 0x10;
constexpr uint16_t kMemoryKb = 0x13;
constexpr uint16_t kShiftFlags = 0x17;
constexpr uint16_t kKeyHead = 0x1A;
constexpr uint16_t kKeyTail = 0x1C;
constexpr uint16_t kKeyBufferFirst = 0x1E;
constexpr uint16_t kKeyBufferEnd = 0x3E;
constexpr uint16_t kVideoMode = 0x49;
constexpr uint16_t kColumns = 0x4A;
constexpr uint16_t kPageSize = 0x4C;
constexpr uint16_t kPageOffset = 0x4E;
constexpr uint16_t kCursorPositions = 0x50;
constexpr uint16_t kCursorShape = 0x60;
constexpr uint16_t kActivePage = 0x62;
constexpr uint16_t kCrtcPort = 0x63;
constexpr uint16_t kCgaModeSelect = 0x65;
constexpr uint16_t kCgaPalette = 0x66;
constexpr uint16_t kTicks = 0x6C;
constexpr uint16_t kMidnight = 0x70;
constexpr uint16_t kKeyBufferStart = 0x80;
constexpr uint16_t kKeyBufferStop = 0x82;
constexpr uint16_t kRowsMinusOne = 0x84;
constexpr uint16_t kCharHeight = 0x85;
// The video BIOS's control byte: bit 7 set while the last mode set kept the memory.
constexpr uint16_t kVideoControl = 0x87;
}

// DOS's own data, as offsets in kDosDataSegment.
namespace DosData {
// INT 21h 34h points here; the critical error flag is the byte before.
constexpr uint16_t kInDosFlag = 0x0001;
// The first memory block's segment sits in the word before the list of lists.
constexpr uint16_t kFirstMcbWord = 0x0010;
constexpr uint16_t kListOfLists = 0x0012;
constexpr uint16_t kDbcsTable = 0x0080;
constexpr uint16_t kUppercaseTable = 0x0090;     // word count, then 128 bytes
constexpr uint16_t kFilenameUppercase = 0x0120;  // word count, then 128 bytes
constexpr uint16_t kFilenameTerminators = 0x01B0;
constexpr uint16_t kCollatingTable = 0x01D0;     // word count, then 256 bytes
constexpr uint16_t kEnd = 0x02E0;
}

// The program segment prefix, as offsets in a PSP.
namespace Psp {
constexpr uint16_t kMemoryTop = 0x02;
constexpr uint16_t kCpmCall = 0x05;
constexpr uint16_t kTerminateAddress = 0x0A;
constexpr uint16_t kBreakAddress = 0x0E;
constexpr uint16_t kCriticalErrorAddress = 0x12;
constexpr uint16_t kParent = 0x16;
constexpr uint16_t kHandleTable = 0x18;
constexpr uint16_t kEnvironment = 0x2C;
constexpr uint16_t kStackSave = 0x2E;
constexpr uint16_t kHandleCount = 0x32;
constexpr uint16_t kHandleTablePointer = 0x34;
constexpr uint16_t kPreviousPsp = 0x38;
constexpr uint16_t kVersion = 0x40;
constexpr uint16_t kDosCall = 0x50;
constexpr uint16_t kFcb1 = 0x5C;
constexpr uint16_t kFcb2 = 0x6C;
constexpr uint16_t kCommandTail = 0x80;
constexpr uint16_t kSize = 0x100;
constexpr uint8_t kDefaultHandles = 20;
constexpr uint8_t kUnusedHandle = 0xFF;
}

}

}  // namespace dos
