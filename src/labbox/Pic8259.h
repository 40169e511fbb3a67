// The 8259A programmable interrupt controller as its data sheet describes it: ICW1-ICW4 (edge
// or level, single or cascade, 8086 vectors, automatic EOI), OCW1 (the mask), OCW2 (EOI,
// specific EOI, rotation, set priority), OCW3 (IRR or ISR reads, poll, special mask mode).
// Whoever wires it drives the IR pins with SetInput, watches INT and answers the CPU's
// acknowledge with Acknowledge; on the lab box no acknowledge arrives, so a program serves it
// with the poll command or by reading IRR and ISR.
#pragma once

#include <cstdint>

namespace labbox {

class CPic8259 {
public:
    // Before ICW1: nothing masked, IR7 lowest, edge triggered, IRR read.
    void Reset();

    uint8_t Read(unsigned a0);
    void Write(unsigned a0, uint8_t value);

    // An IR pin's level. In edge mode a request is a rising edge, and it is withdrawn when the
    // pin falls before it is acknowledged; in level mode IRR follows the pin.
    void SetInput(unsigned ir, bool high);
    // The INT pin: a request that is not masked and outranks what is in service.
    bool Int() const { return Chosen() < 8; }
    // The two INTA pulses of an 8086: the request chosen goes in service (and out of it again
    // with automatic EOI); its vector. With no request: IR7's vector, nothing in service.
    uint8_t Acknowledge();

    uint8_t Requests() const { return m_nIrr; }

private:
    enum class Expect : uint8_t { Icw2, Icw3, Icw4, Ready };

    void Icw1(uint8_t value);
    void Ocw2(uint8_t value);
    void Ocw3(uint8_t value);
    // The level given its priority (0 highest) in the order the rotation sets.
    unsigned LevelAt(unsigned rank) const { return (m_nLowest + 1 + rank) & 7; }
    // The request that would interrupt now, 8 for none.
    unsigned Chosen() const;
    // The level in service of the highest priority, 8 for none.
    unsigned HighestInService() const;
    void EndOf(unsigned level, bool rotate);
    uint8_t Poll();

    Expect m_expect = Expect::Ready;
    bool m_bIcw4 = false;
    bool m_bSingle = true;
    bool m_bLevel = false;
    bool m_bAutoEoi = false;
    bool m_bRotateOnAutoEoi = false;
    bool m_bSpecialMask = false;
    bool m_bReadIsr = false;
    bool m_bPoll = false;
    uint8_t m_nVectorBase = 0;
    uint8_t m_nIrr = 0;
    uint8_t m_nIsr = 0;
    uint8_t m_nImr = 0;
    // The IR pins' levels.
    uint8_t m_nPins = 0;
    unsigned m_nLowest = 7;
};

}  // namespace labbox
