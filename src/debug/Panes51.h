// The panes' texts for an 8051 program: the registers (PC, A, B, PSW, SP, DPTR; R0-R7; the
// machine cycles; PSW's bits by name), a memory space in DEBUG's `d` layout, the stack with its
// return addresses, the disassembly in the assembler's mnemonics, the serial output and the
// ports; and the edits the panes make. Made from the session's caller's thread at a stop.
#pragma once

#include "debug/DebugPane.h"
#include "debug/PaneText.h"

#include <memory>
#include <string>
#include <vector>

namespace mcs51 {

class CTarget51;

class CPanes51 {
public:
    explicit CPanes51(CTarget51& target) : m_target(target) {}

    // The panes the 8051 offers, in the order the window lists them.
    static std::vector<std::unique_ptr<CDebugPane>> Make(CTarget51& target);

    PaneText Registers() const;
    // rows lines of 16 bytes from the line holding the address the expression names: a space
    // and an address ("I:30" internal RAM, "S:80" the SFRs, "X:0100" external RAM, "C:0000"
    // code), a register that points ("@R0", "@R1", "DPTR", "SP"), or a number in internal RAM;
    // I:00 when it is empty. Each line's address is the space's number (I 0, S 1, X 2, C 3)
    // times 10000h plus the address.
    PaneText Memory(const std::string& expression, int rows) const;
    // The bytes from SP down to the bottom of the stack, return addresses marked.
    PaneText Stack(int rows) const;
    PaneText Disassembly(int before, int after) const;
    PaneText Serial() const;
    // "P0=FF P1=FF P2=FF P3=FF" and the LEDs, as the ports device shows them.
    PaneContent Ports() const;
    // The board's lines (one a part, as a person sees it over the last 20 ms) and its picture.
    PaneContent Board() const;

    // A register by name: A, B, PSW, SP, DPTR, DPL, DPH, R0-R7 (of the bank PSW selects), PC.
    bool EditRegister(const std::string& name, uint16_t value) const;
    // A byte by the address a memory line gives (space times 10000h plus address).
    bool EditMemory(uint32_t address, uint8_t value) const;
    // Inverts a bit of PSW by the name the registers pane shows it with (CY, AC, F0, RS1, RS0,
    // OV; P follows A and is not set by hand).
    bool ToggleFlag(const std::string& name) const;

private:
    static PaneContent DeviceContent(const machine::IDevice& device);

    CTarget51& m_target;
};

}  // namespace mcs51
