// The texts of the debugger's panes for whichever machine the session holds, as the window
// side shows them: 201 registers, 202 memory, 203 stack, 204 disassembly, 205 the program's
// screen, 208 variables, 211 the 8051's serial output, 212 its ports. Each is made afresh from
// the session's state at a stop, from the session's caller's thread; a pane the machine lacks
// (the 8051's screen, the DOS ports) is empty.
#pragma once

#include "debug/DebugSession.h"
#include "debug/PaneText.h"

#include <string>

class CDebugPanes {
public:
    explicit CDebugPanes(CDebugSession& session) : m_session(session) {}

    PaneText Registers() const;
    // The memory from the address an expression names: for DOS "DS:0000", "ES:DI", "B800:0"
    // (DS:0000 when empty), each line's address linear; for the 8051 "I:30", "X:0100", "@R0"
    // (see CPanes51).
    PaneText Memory(const std::string& expression, int rows) const;
    PaneText Stack(int rows) const;
    PaneText Disassembly(int before, int after) const;
    PaneText Screen() const;
    PaneText Variables() const;
    PaneText Serial() const;
    PaneText Ports() const;

    // Edits from the panes, between steps: a register by the name its pane shows, a byte by
    // the address its memory line gives.
    bool EditRegister(const std::string& name, uint16_t value) const;
    void EditMemory(uint32_t address, uint8_t value) const;
    // A flag as the registers pane names it, set if it was clear and cleared if it was set.
    bool ToggleFlag(const std::string& name) const;

private:
    bool IsDos() const;
    bool Is51() const;

    CDebugSession& m_session;
};
