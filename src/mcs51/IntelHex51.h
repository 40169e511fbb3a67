// Reads a program's code from an Intel HEX file (records checked: digits, length, checksum,
// type, addresses within 64 KB) or from a binary image.
#pragma once

#include "mcs51/Mcs51State.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace mcs51 {

enum class HexError51 : uint8_t {
    kNone,
    // A line that is not a record (no colon, a character that is not a hexadecimal digit).
    kNotHex,
    kChecksum,
    // A record shorter than its length says, or a file that ends before its end record.
    kTruncated,
    // Data beyond the 64 KB of code memory.
    kBeyondCode,
    kRecordType,
    // A binary image larger than 64 KB.
    kTooLarge,
};

struct HexResult51 {
    HexError51 error = HexError51::kNone;
    // The line of the fault, from 1.
    unsigned line = 0;
    // The bytes the file gave, and the lowest and highest address they went to.
    unsigned bytes = 0;
    uint16_t lowest = 0xFFFF;
    uint16_t highest = 0;
    bool Ok() const { return error == HexError51::kNone; }
};

class CIntelHex51 {
public:
    using Code = std::array<uint8_t, kCodeSize>;

    // Fills code from the records; bytes no record names are left as they were.
    static HexResult51 Parse(std::string_view text, Code& code);
    static HexResult51 LoadBinary(std::string_view bytes, Code& code);

private:
    // One record: its data into code and result, its address into base; ended at the end record.
    static HexError51 Record(std::string_view line, Code& code, uint32_t& base, bool& ended, HexResult51& result);
};

}  // namespace mcs51
