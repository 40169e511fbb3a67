// The lab box's picture: the LEDs, the switches, the two digits, the traffic lights, the
// stepper's rotor, the pulse key, the DAC's trace over the last 20 ms and the ADC's slider;
// and which of its controls lies under a point.
#pragma once

#include "machine/ScreenImage.h"

#include <cstdint>

namespace labbox {

struct LabBoxState;

class CLabBoxPicture {
public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 232;

    enum class Target : uint8_t { None, Switch, Pulse, Slider };
    struct Hit {
        Target target = Target::None;
        // The switch's bit.
        unsigned index = 0;
        // The slider's voltage at the point.
        double volts = 0;
    };

    static machine::ScreenImage Draw(const LabBoxState& state);
    static Hit HitAt(int x, int y);
};

}  // namespace labbox
