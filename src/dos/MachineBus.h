// What the CPU asks of the rest of the machine: the I/O ports, the interrupt controller, and
// the BIOS and DOS services that the machine provides in C++ rather than as 8086 code.
#pragma once

#include <cstdint>

namespace dos {

class CCpu8086;

// The machine's own handler of vector n is the two bytes F1h, n at F000h:ServiceOffset(n) in
// the BIOS's read-only area; the interrupt vector table points there until a program sets a
// vector of its own. (On the 8086 F1h is an unused alias of LOCK; the CPU treats it as the
// handler's mark only in segment F000h.)
constexpr uint16_t kServiceSegment = 0xF000;
constexpr uint16_t ServiceOffset(uint8_t vector) { return static_cast<uint16_t>(0x0100 + 2 * vector); }
constexpr uint8_t kServiceMark = 0xF1;

// What a service tells the CPU once it has run.
enum class ServiceResult : uint8_t {
    // Done: the registers and flags are the service's answer; the program goes on.
    Done,
    // The service waits for something (a key that has not come): the CPU puts back every
    // register as it was before the instruction that reached the service, so that running on
    // reaches it again, and Run returns.
    Blocked,
    // The machine must stop (the last program ended): Run returns after this instruction.
    Stop,
};

class IMachineBus {
public:
    virtual uint8_t In(uint16_t port) = 0;
    virtual void Out(uint16_t port, uint8_t value) = 0;

    // The vector of the hardware interrupt the CPU takes now (the CPU asks only while the
    // machine holds its interrupt line up and IF is set, between instructions).
    virtual uint8_t AcknowledgeInterrupt() = 0;

    // Runs the machine's own handler of interrupt `vector` on the CPU's state. The CPU calls
    // it for INT n (also INT 3, INTO, and the CPU's own exceptions) whose vector points at the
    // machine's handler of n, and for execution that arrives at that handler (a program that
    // chains to the vector it found); either way the CPU first leaves CS:IP and FLAGS as they
    // are after the handler's IRET, so the service sees the caller's state and answers in it.
    virtual ServiceResult Service(uint8_t vector, CCpu8086& cpu) = 0;

protected:
    ~IMachineBus() = default;
};

}  // namespace dos
