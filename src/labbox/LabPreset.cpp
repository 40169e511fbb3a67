// The two layouts, both with the courses' wiring.
#include "labbox/LabPreset.h"

#include "labbox/LabWiring.h"

namespace labbox {

namespace {
struct Layout {
    const char* name;
    uint16_t ppi, pit, pic, dac, adc;
};

const Layout kLayouts[] = {
    {"288", 0x288, 0x280, 0x2B0, 0x290, 0x298},
    {"300", 0x300, 0x304, 0x308, 0x310, 0x318},
};
}

std::optional<LabPreset> LabPreset::Find(std::string_view name)
{
    for (const Layout& layout : kLayouts)
        if (name == layout.name)
            return LabPreset{layout.name, layout.ppi, layout.pit, layout.pic, layout.dac, layout.adc, CLabWiring::kDefault};
    return std::nullopt;
}

}  // namespace labbox
