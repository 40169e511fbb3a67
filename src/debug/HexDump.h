// The layout of DEBUG's `d` line for any machine: an address, sixteen bytes with a dash
// before the ninth, three blanks, the bytes as characters; bytes not shown left blank.
#pragma once

#include <cstdint>
#include <string>

class CHexDump {
public:
    static std::string Hex2(uint8_t value);
    static std::string Hex4(uint16_t value);
    // The line for bytes[first..last] of the sixteen after `address` (an address text of any
    // width), with its line end.
    static std::string Line(const std::string& address, const uint8_t* bytes, unsigned first, unsigned last);
    // The columns of byte i's two digits and of its character in a line whose address text
    // has addressWidth characters.
    static int HexColumn(size_t addressWidth, unsigned i) { return static_cast<int>(addressWidth) + 2 + 3 * static_cast<int>(i); }
    static int CharColumn(size_t addressWidth, unsigned i) { return static_cast<int>(addressWidth) + 52 + static_cast<int>(i); }
    // Printable ASCII as itself, anything else as a dot.
    static char Character(uint8_t byte) { return byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '.'; }
};
