// What leaves the simulated 8051 through its serial port; the machine calls it on its own
// thread, at the cycle a frame ends. (The ports are the pin devices' to show.)
#pragma once

#include <cstdint>

namespace mcs51 {

class IHost51 {
public:
    // A frame the serial port finished sending; ninth is TB8 in modes 2 and 3.
    virtual void OnSerialOut(uint8_t byte, bool ninth) = 0;

protected:
    ~IHost51() = default;
};

}  // namespace mcs51
