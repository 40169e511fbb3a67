// Intel HEX records: ':', length, address, type, data, checksum, all as hexadecimal pairs.
#include "mcs51/IntelHex51.h"

#include <vector>

namespace mcs51 {

namespace {
// ':' and the pairs of length, address (two), type and checksum.
const size_t kRecordOverhead = 11;

enum RecordType : uint8_t {
    kData = 0,
    kEnd = 1,
    kSegmentAddress = 2,
    kStartSegment = 3,
    kLinearAddress = 4,
    kStartLinear = 5,
};

int Digit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The line's pairs after the colon; false when a character is not a hexadecimal digit. A
// digit left without its pair is reported apart: a record cut short ends that way.
bool Pairs(std::string_view digits, std::vector<uint8_t>& bytes, bool& oddDigit)
{
    bytes.clear();
    for (char c : digits) {
        if (Digit(c) < 0)
            return false;
    }
    oddDigit = digits.size() % 2 != 0;
    for (size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(Digit(digits[i]) << 4 | Digit(digits[i + 1])));
    return true;
}

HexResult51 Failed(HexError51 error, unsigned line)
{
    HexResult51 result;
    result.error = error;
    result.line = line;
    return result;
}
}

HexResult51 CIntelHex51::Parse(std::string_view text, Code& code)
{
    HexResult51 result;
    uint32_t base = 0;
    bool ended = false;
    unsigned line = 0;
    while (!text.empty() && !ended) {
        ++line;
        const size_t end = text.find('\n');
        std::string_view record = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        while (!record.empty() && (record.back() == '\r' || record.back() == ' ' || record.back() == '\t'))
            record.remove_suffix(1);
        if (record.empty())
            continue;
        const HexError51 error = Record(record, code, base, ended, result);
        if (error != HexError51::kNone)
            return Failed(error, line);
    }
    if (!ended)
        return Failed(line ? HexError51::kTruncated : HexError51::kNotHex, line + 1);
    return result;
}

HexError51 CIntelHex51::Record(std::string_view line, Code& code, uint32_t& base, bool& ended, HexResult51& result)
{
    std::vector<uint8_t> bytes;
    bool oddDigit = false;
    if (line.front() != ':' || !Pairs(line.substr(1), bytes, oddDigit))
        return HexError51::kNotHex;
    const size_t overhead = (kRecordOverhead - 1) / 2;
    if (bytes.size() < overhead || bytes.size() < overhead + bytes[0])
        return HexError51::kTruncated;
    const size_t length = bytes[0];
    if (oddDigit || bytes.size() > overhead + length)
        return HexError51::kNotHex;
    uint8_t sum = 0;
    for (uint8_t byte : bytes)
        sum = static_cast<uint8_t>(sum + byte);
    if (sum != 0)
        return HexError51::kChecksum;
    const uint32_t address = static_cast<uint32_t>(bytes[1] << 8 | bytes[2]);
    const uint8_t* data = bytes.data() + 4;
    switch (bytes[3]) {
    case kData:
        if (base + address + length > kCodeSize)
            return HexError51::kBeyondCode;
        for (size_t i = 0; i < length; ++i)
            code[base + address + i] = data[i];
        if (length) {
            result.bytes += static_cast<unsigned>(length);
            if (base + address < result.lowest)
                result.lowest = static_cast<uint16_t>(base + address);
            if (base + address + length - 1 > result.highest)
                result.highest = static_cast<uint16_t>(base + address + length - 1);
        }
        break;
    case kEnd:
        ended = true;
        break;
    case kSegmentAddress:
    case kLinearAddress:
        if (length != 2)
            return HexError51::kNotHex;
        base = static_cast<uint32_t>(data[0] << 8 | data[1]) << (bytes[3] == kSegmentAddress ? 4 : 16);
        break;
    case kStartSegment:
    case kStartLinear:
        break;
    default:
        return HexError51::kRecordType;
    }
    return HexError51::kNone;
}

HexResult51 CIntelHex51::LoadBinary(std::string_view bytes, Code& code)
{
    if (bytes.size() > kCodeSize)
        return Failed(HexError51::kTooLarge, 0);
    HexResult51 result;
    for (size_t i = 0; i < bytes.size(); ++i)
        code[i] = static_cast<uint8_t>(bytes[i]);
    result.bytes = static_cast<unsigned>(bytes.size());
    result.lowest = 0;
    result.highest = bytes.empty() ? 0 : static_cast<uint16_t>(bytes.size() - 1);
    return result;
}

}  // namespace mcs51
