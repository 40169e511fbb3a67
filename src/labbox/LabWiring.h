// The lab box's jumper cables as data: which chip pin each of the box's devices hangs on and
// what drives each chip input, kept per preset and editable as text. One cable a line,
// "SINK = SOURCE", or a row of them "led0-7 = pa0-7" (both ranges of the same length); a ';'
// ends a cable as a line's end does (a table on one command line); '#' starts a comment. Sinks: led0-7, seg0-7 (a ... dp), digit0-1 (the digits' selects, digit0
// the left one), light0-5 (south-north red, yellow, green, east-west red, yellow, green),
// speaker, phase0-3 (the stepper's phases A-D), pa0-7 / pb0-7 / pc0-7 (the 8255's pins as
// inputs), clk0-2, gate0-2 (the 8253's), ir0-7 (the 8259's), irq0-15 (the PC's own
// interrupt controller). Sources: pa0-7 / pb0-7 / pc0-7 (the 8255's pins), out0-2 (the 8253's),
// int (the 8259's), eoc (the ADC's end of conversion), switch0-7 (up = 1), pulse (the single-pulse key, 1 while held), 1mhz,
// high, low. A chip input no cable drives is held high.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace labbox {

enum class PinKind : uint8_t {
    Led, Segment, Digit, Light, Speaker, Phase, PortA, PortB, PortC, Clk, Gate, Ir, Irq,
    Out, Int, Eoc, Switch, Pulse, Clock1Mhz, High, Low,
};

struct LabPin {
    PinKind kind = PinKind::Low;
    uint8_t index = 0;
    friend bool operator==(const LabPin&, const LabPin&) = default;
};

struct LabCable {
    LabPin sink;
    LabPin source;
    friend bool operator==(const LabCable&, const LabCable&) = default;
};

class CLabWiring {
public:
    // The courses' wiring: PA to the LEDs and the segments, PC6/PC7 the digits' selects, PB
    // from the switches, PC0-PC5 the traffic lights, the 8253 clocked at 1 MHz with its gates
    // high, OUT0 the speaker, the pulse key on IR0 and INT on IRQ 3.
    static const char* const kDefault;

    // The cables of the text; none and the number of the first bad line (1-based) in `badLine`.
    static std::optional<CLabWiring> Parse(std::string_view text, int& badLine);

    const std::vector<LabCable>& Cables() const { return m_cables; }
    // The source of a sink, if a cable gives it one.
    std::optional<LabPin> SourceOf(LabPin sink) const;
    bool Drives(LabPin source, PinKind sinkKind) const;

private:
    static bool ParseLine(std::string_view line, std::vector<LabCable>& cables);
    // "led0-7", "pc6", "int": the kind and the first and last index.
    static bool ParseRange(std::string_view text, PinKind& kind, unsigned& first, unsigned& last);

    std::vector<LabCable> m_cables;
};

}  // namespace labbox
