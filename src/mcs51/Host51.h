// What leaves the simulated 8051: the bytes its serial port sends and the port latches it
// writes. The machine calls these on its own thread, at the cycle they happen.
#pragma once

#include <cstdint>

namespace mcs51 {

class IHost51 {
public:
    // A frame the serial port finished sending; ninth is TB8 in modes 2 and 3.
    virtual void OnSerialOut(uint8_t byte, bool ninth) = 0;
    // A port's latch changed (port 0-3).
    virtual void OnPortWrite(unsigned port, uint8_t latch) = 0;

protected:
    ~IHost51() = default;
};

}  // namespace mcs51
