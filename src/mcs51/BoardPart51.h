// A part of a teaching board on the 8051's pins (its LEDs, digits, keys, keypad, LCD, buzzer):
// a pin device that also draws itself into the board's picture and may take a person's keys.
#pragma once

#include "machine/Canvas.h"
#include "mcs51/PinDevice51.h"

#include <cstdint>
#include <string>

namespace mcs51 {

// A pin of a port: P1.5 is {1, 5}.
struct Pin51 {
    uint8_t port = 0;
    uint8_t bit = 0;
    uint8_t Mask() const { return static_cast<uint8_t>(1u << bit); }
    bool High(uint8_t value) const { return (value >> bit) & 1; }
};

class CBoardPart51 : public IPinDevice51 {
public:
    void OnAttach(const CPinLink51& link) override { m_link = link; Follow(link.Cycle()); }
    void OnReset() override { Follow(0); }
    machine::DeviceView View() const override { return {Text(Now()), {}}; }
    // The machine cycle the chip stands at.
    uint64_t Now() const { return m_link.Cycle(); }

    // What the part shows over the time before now, a line (or lines) ended by CR LF.
    virtual std::string Text(uint64_t now) const = 0;
    virtual void Draw(machine::CCanvas& canvas, const machine::Rect& place, uint64_t now) const = 0;
    // The part's keys: how many, each one's name ("K1", "S16", "P3.2"), the character that
    // types it (0 for none), where the picture shows it, and holding it down or letting it go.
    virtual unsigned Keys() const { return 0; }
    virtual std::string KeyName(unsigned) const { return {}; }
    virtual char KeyChar(unsigned) const { return 0; }
    virtual machine::Rect KeyRect(const machine::Rect&, unsigned) const { return {}; }
    virtual void Hold(unsigned, bool) {}
    // Keys bounce for a few milliseconds as they close and open.
    virtual void SetBounce(bool) {}

    // The board owns its parts.
    virtual ~CBoardPart51() = default;

protected:
    // Takes the latches as they are at cycle (attached, or the chip reset).
    virtual void Follow(uint64_t cycle) = 0;
    CPinLink51& Link() { return m_link; }
    const CPinLink51& Link() const { return m_link; }

private:
    CPinLink51 m_link;
};

}  // namespace mcs51
