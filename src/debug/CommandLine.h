// A line typed at DEBUG's prompt, read as DEBUG reads it: blanks and commas between the parts,
// hexadecimal numbers, addresses with a segment register or number before a colon, ranges as
// an end offset or L and a length. A part it cannot read throws the column where it failed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dos {

// Where a line could not be read: the index of the character DEBUG's marker points at.
struct CommandError {
    size_t position = 0;
};

// A segment as typed: a segment register's index (ES 0, CS 1, SS 2, DS 3) or a number.
struct TypedAddress {
    std::optional<uint8_t> segmentRegister;
    std::optional<uint16_t> segment;
    uint16_t offset = 0;
};

class CCommandLine {
public:
    explicit CCommandLine(std::string_view text) : m_text(text) {}

    // Passes blanks, tabs and commas.
    void Skip();
    bool AtEnd();
    size_t Position() const { return m_nAt; }
    char Peek() const { return m_nAt < m_text.size() ? m_text[m_nAt] : '\0'; }
    void Advance() { ++m_nAt; }
    // Takes the character if it is next (letters in either case).
    bool Take(char c);
    // A hexadecimal number of at most maxDigits digits.
    uint32_t Number(unsigned maxDigits = 4);
    bool AtNumber();
    TypedAddress Address();
    // After an address: "L length" or an end offset, as a count of bytes; none when the line
    // ends there.
    std::optional<uint32_t> Range(uint16_t start);
    // The letters and digits from here, as DEBUG reads a register's name.
    std::string Word();
    // Fails unless nothing but blanks is left.
    void End();
    [[noreturn]] void Fail() const { throw CommandError{m_nAt}; }

private:
    std::string_view m_text;
    size_t m_nAt = 0;
};

}  // namespace dos
