// A 4x4 matrix keypad: sixteen keys S1-S16, each joining a row line and a column line. A held
// key ties its two lines together, so wherever the program drives one of them low the other
// reads low too (and through several held keys, further).
#pragma once

#include "mcs51/KeyPart51.h"

#include <array>

namespace mcs51 {

class CKeypad51 final : public CKeyPart51 {
public:
    // The keypad's port, its rows' pins (S1's row first) and its columns' (S1's column first).
    CKeypad51(unsigned port, const std::array<uint8_t, 4>& rows, const std::array<uint8_t, 4>& columns)
        : CKeyPart51(16), m_nPort(port), m_rows(rows), m_columns(columns)
    {
    }

    // The characters that type S1-S16 on the computer's keyboard.
    static constexpr char kKeyMap[17] = "5678TYUIGHJKBNM,";

    std::string_view Name() const override { return "keypad"; }
    void OnLatch(unsigned port, uint8_t latch, uint64_t cycle) override;
    std::string Text(uint64_t) const override { return {}; }
    void Draw(machine::CCanvas& canvas, const machine::Rect& place, uint64_t now) const override;
    unsigned Keys() const override { return 16; }
    std::string KeyName(unsigned key) const override { return "S" + std::to_string(key + 1); }
    char KeyChar(unsigned key) const override { return kKeyMap[key % 16]; }
    machine::Rect KeyRect(const machine::Rect& place, unsigned key) const override;

private:
    void Apply() override;

    unsigned m_nPort;
    std::array<uint8_t, 4> m_rows;
    std::array<uint8_t, 4> m_columns;
};

}  // namespace mcs51
