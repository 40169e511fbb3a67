// DEBUG's dump line, column for column.
#include "debug/HexDump.h"

namespace {
const char kDigits[] = "0123456789ABCDEF";
}

std::string CHexDump::Hex2(uint8_t value)
{
    return {kDigits[value >> 4], kDigits[value & 15]};
}

std::string CHexDump::Hex4(uint16_t value)
{
    return Hex2(static_cast<uint8_t>(value >> 8)) + Hex2(static_cast<uint8_t>(value));
}

std::string CHexDump::Line(const std::string& address, const uint8_t* bytes, unsigned first, unsigned last)
{
    std::string text = address + ' ';
    std::string characters(16, ' ');
    for (unsigned i = 0; i < 16; ++i) {
        const bool shown = i >= first && i <= last;
        text += (i == 8 && shown) ? '-' : ' ';
        if (!shown) {
            text += "  ";
            continue;
        }
        text += Hex2(bytes[i]);
        characters[i] = Character(bytes[i]);
    }
    characters.resize(last < 16 ? last + 1 : 16);
    return text + "   " + characters + "\r\n";
}
