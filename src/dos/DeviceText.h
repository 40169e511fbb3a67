// The small pieces the devices' views are written with.
#pragma once

#include <cstdint>
#include <string>

namespace dos {

namespace DeviceText {

// value in hexadecimal capitals, digits wide.
std::string Hex(uint32_t value, int digits);
// The text and a CR LF.
std::string Line(const std::string& text);

}

}  // namespace dos
