// Keys from pins to ground (K1-K4): a held key pulls its pin low, so the program reads 0.
#pragma once

#include "mcs51/KeyPart51.h"

#include <array>
#include <vector>

namespace mcs51 {

class CKeys51 final : public CKeyPart51 {
public:
    // The pins of K1, K2, ...
    explicit CKeys51(std::vector<Pin51> pins) : CKeyPart51(pins.size()), m_pins(std::move(pins)) {}

    std::string_view Name() const override { return "keys"; }
    void OnLatch(unsigned, uint8_t, uint64_t) override {}
    std::string Text(uint64_t) const override { return {}; }
    // The keys side by side, a held one darker, each with its name and the key that types it.
    void Draw(machine::CCanvas& canvas, const machine::Rect& place, uint64_t now) const override;
    unsigned Keys() const override { return static_cast<unsigned>(m_pins.size()); }
    std::string KeyName(unsigned key) const override { return "K" + std::to_string(key + 1); }
    // 1, 2, 3, 4 type K1-K4.
    char KeyChar(unsigned key) const override { return static_cast<char>('1' + key); }
    machine::Rect KeyRect(const machine::Rect& place, unsigned key) const override;

private:
    void Apply() override;

    std::vector<Pin51> m_pins;
};

}  // namespace mcs51
