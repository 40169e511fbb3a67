// Reading the memory pane's address expressions.
#include "debug/DosAddress.h"

#include "debug/ListingText.h"

#include <cctype>
#include <string>

namespace dos {

namespace {

struct NamedRegister {
    const char* name;
    Reg16 reg;
};

const NamedRegister kRegisters[] = {{"AX", kAX}, {"BX", kBX}, {"CX", kCX}, {"DX", kDX},
                                    {"SP", kSP}, {"BP", kBP}, {"SI", kSI}, {"DI", kDI}};

// A term: a register's value or a hexadecimal number of at most four digits.
std::optional<uint16_t> Term(std::string_view text, const CpuState& state)
{
    if (const std::optional<uint16_t> value = CDosAddress::RegisterValue(text, state))
        return value;
    if (const std::optional<SegReg> segment = CDosAddress::SegmentNamed(text))
        return state.seg[*segment];
    const std::optional<uint32_t> number = ParseHex(text, 4);
    if (!number)
        return std::nullopt;
    return static_cast<uint16_t>(*number);
}

std::optional<uint16_t> Sum(std::string_view text, const CpuState& state)
{
    uint16_t total = 0;
    bool negative = false;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '+' && text[i] != '-')
            continue;
        const std::optional<uint16_t> term = Term(Trim(text.substr(start, i - start)), state);
        if (!term)
            return std::nullopt;
        total = static_cast<uint16_t>(negative ? total - *term : total + *term);
        if (i < text.size())
            negative = text[i] == '-';
        start = i + 1;
    }
    return total;
}

}

std::optional<SegReg> CDosAddress::SegmentNamed(std::string_view name)
{
    static const std::pair<const char*, SegReg> kSegments[] = {{"CS", kCS}, {"DS", kDS}, {"ES", kES}, {"SS", kSS}};
    for (const auto& [text, segment] : kSegments)
        if (EqualsNoCase(name, text))
            return segment;
    return std::nullopt;
}

std::optional<Reg16> CDosAddress::RegisterNamed(std::string_view name)
{
    for (const NamedRegister& named : kRegisters)
        if (EqualsNoCase(name, named.name))
            return named.reg;
    return std::nullopt;
}

std::optional<uint16_t> CDosAddress::RegisterValue(std::string_view name, const CpuState& state)
{
    if (EqualsNoCase(name, "IP"))
        return state.ip;
    if (const std::optional<Reg16> reg = RegisterNamed(name))
        return state.reg[*reg];
    return std::nullopt;
}

std::optional<SegmentedAddress> CDosAddress::Parse(std::string_view text, const CpuState& state, SegReg defaultSegment)
{
    text = Trim(text);
    if (text.empty())
        return std::nullopt;
    SegmentedAddress address{state.seg[defaultSegment], 0};
    const size_t colon = text.find(':');
    if (colon != std::string_view::npos) {
        const std::optional<uint16_t> segment = Term(Trim(text.substr(0, colon)), state);
        if (!segment)
            return std::nullopt;
        address.segment = *segment;
        text = text.substr(colon + 1);
    }
    const std::optional<uint16_t> offset = Sum(text, state);
    if (!offset)
        return std::nullopt;
    address.offset = *offset;
    return address;
}

}  // namespace dos
