// Writing Intel HEX records and binary images.
#include "asm51/HexWriter51.h"

namespace asm51 {

namespace {
constexpr size_t kRecordBytes = 16;

void AppendHex(std::string& text, uint8_t byte)
{
    const char digits[] = "0123456789ABCDEF";
    text += digits[byte >> 4];
    text += digits[byte & 0xF];
}
}

std::string CHexWriter51::Record(uint32_t address, uint8_t type, const uint8_t* data, size_t count)
{
    std::string line = ":";
    uint8_t sum = 0;
    const uint8_t head[] = {static_cast<uint8_t>(count), static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address), type};
    for (uint8_t byte : head) {
        AppendHex(line, byte);
        sum = static_cast<uint8_t>(sum + byte);
    }
    for (size_t i = 0; i < count; ++i) {
        AppendHex(line, data[i]);
        sum = static_cast<uint8_t>(sum + data[i]);
    }
    AppendHex(line, static_cast<uint8_t>(-sum));
    return line + "\r\n";
}

std::string CHexWriter51::Write(const CCodeImage51& image)
{
    std::string text;
    uint32_t address = 0;
    while (address < CCodeImage51::kSize) {
        if (!image.Used(address)) {
            ++address;
            continue;
        }
        uint8_t data[kRecordBytes];
        size_t count = 0;
        while (count < kRecordBytes && address + count < CCodeImage51::kSize && image.Used(address + static_cast<uint32_t>(count))) {
            data[count] = image.At(address + static_cast<uint32_t>(count));
            ++count;
        }
        text += Record(address, 0, data, count);
        address += static_cast<uint32_t>(count);
    }
    return text + Record(0, 1, nullptr, 0);
}

std::string CHexWriter51::Binary(const CCodeImage51& image)
{
    uint32_t end = CCodeImage51::kSize;
    while (end > 0 && !image.Used(end - 1))
        --end;
    std::string bytes(end, '\xFF');
    for (uint32_t address = 0; address < end; ++address) {
        if (image.Used(address))
            bytes[address] = static_cast<char>(image.At(address));
    }
    return bytes;
}

}  // namespace asm51
