// Reading DEBUG's command lines.
#include "debug/CommandLine.h"

#include <cctype>

namespace dos {

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper >= 'A' && upper <= 'F')
        return upper - 'A' + 10;
    return -1;
}

const char* const kSegmentNames[] = {"ES", "CS", "SS", "DS"};

}

void CCommandLine::Skip()
{
    while (m_nAt < m_text.size() && (m_text[m_nAt] == ' ' || m_text[m_nAt] == '\t' || m_text[m_nAt] == ','))
        ++m_nAt;
}

bool CCommandLine::AtEnd()
{
    Skip();
    return m_nAt >= m_text.size();
}

bool CCommandLine::Take(char c)
{
    if (std::toupper(static_cast<unsigned char>(Peek())) != std::toupper(static_cast<unsigned char>(c)))
        return false;
    ++m_nAt;
    return true;
}

bool CCommandLine::AtNumber()
{
    Skip();
    return HexDigit(Peek()) >= 0;
}

uint32_t CCommandLine::Number(unsigned maxDigits)
{
    Skip();
    if (HexDigit(Peek()) < 0)
        Fail();
    uint32_t value = 0;
    for (unsigned digits = 0; HexDigit(Peek()) >= 0; ++digits) {
        if (digits == maxDigits)
            Fail();
        value = value * 16 + static_cast<uint32_t>(HexDigit(Peek()));
        ++m_nAt;
    }
    return value;
}

TypedAddress CCommandLine::Address()
{
    Skip();
    TypedAddress address;
    if (m_text.size() - m_nAt >= 3 && m_text[m_nAt + 2] == ':') {
        const std::string name{static_cast<char>(std::toupper(static_cast<unsigned char>(m_text[m_nAt]))),
                               static_cast<char>(std::toupper(static_cast<unsigned char>(m_text[m_nAt + 1])))};
        for (uint8_t i = 0; i < 4; ++i) {
            if (name == kSegmentNames[i]) {
                address.segmentRegister = i;
                m_nAt += 3;
                address.offset = static_cast<uint16_t>(Number());
                return address;
            }
        }
    }
    const auto first = static_cast<uint16_t>(Number());
    if (Take(':')) {
        address.segment = first;
        address.offset = static_cast<uint16_t>(Number());
    } else {
        address.offset = first;
    }
    return address;
}

std::optional<uint32_t> CCommandLine::Range(uint16_t start)
{
    if (AtEnd())
        return std::nullopt;
    if (Take('L')) {
        const uint32_t length = Number();
        if (length == 0 || start + length > 0x10000)
            Fail();
        return length;
    }
    const size_t at = m_nAt;
    const uint32_t end = Number();
    if (end < start) {
        m_nAt = at;
        Fail();
    }
    return end - start + 1;
}

std::string CCommandLine::Word()
{
    Skip();
    std::string word;
    while (std::isalnum(static_cast<unsigned char>(Peek()))) {
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(Peek())));
        ++m_nAt;
    }
    return word;
}

void CCommandLine::End()
{
    if (!AtEnd())
        Fail();
}

}  // namespace dos
