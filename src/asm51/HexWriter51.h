// The code image as Intel HEX: data records of up to 16 bytes over each run of filled
// addresses, then the end record; the layout CIntelHex51 (the simulator's loader) reads.
#pragma once

#include "asm51/CodeImage51.h"

#include <string>

namespace asm51 {

class CHexWriter51 {
public:
    static std::string Write(const CCodeImage51& image);
    // The image from address 0 to its last filled byte, the gaps 0FFH as in an erased EPROM.
    static std::string Binary(const CCodeImage51& image);

private:
    static std::string Record(uint32_t address, uint8_t type, const uint8_t* data, size_t count);
};

}  // namespace asm51
