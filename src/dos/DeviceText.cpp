// Hexadecimal numbers and lines for the devices' views.
#include "dos/DeviceText.h"

namespace dos {

std::string DeviceText::Hex(uint32_t value, int digits)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text(static_cast<size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        text[static_cast<size_t>(i)] = kDigits[value & 15];
    return text;
}

std::string DeviceText::Line(const std::string& text)
{
    return text + "\r\n";
}

}  // namespace dos
