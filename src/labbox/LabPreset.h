// The lab box's presets: the chips' port addresses of the two layouts the courses' boxes use
// ("288" and "300") and each one's wiring table, as text the settings may change.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace labbox {

struct LabPreset {
    std::string name;
    // The first port of each chip: the 8255's four, the 8253's four, the 8259's two, the
    // DAC's one and the ADC's eight (a write to the ADC's port + n converts input n).
    uint16_t ppi = 0;
    uint16_t pit = 0;
    uint16_t pic = 0;
    uint16_t dac = 0;
    uint16_t adc = 0;
    // In CLabWiring's text form.
    std::string wiring;

    static std::optional<LabPreset> Find(std::string_view name);
};

}  // namespace labbox
