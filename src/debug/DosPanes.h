// The panes' texts for a DOS program: registers as DEBUG's `r`, memory as `d`, the stack with
// its return addresses, the disassembly around CS:IP as `u`, the program's screen, and the
// program's variables; and the edits the panes make. Each is a function of the session's
// state at a stop, made from the session's caller's thread.
#pragma once

#include "debug/DebugSession.h"
#include "debug/PaneText.h"

#include <string>

namespace dos {

class CDosTarget;

class CDosPanes {
public:
    // The session must hold a DOS program.
    explicit CDosPanes(CDebugSession& session);

    PaneText Registers() const;
    // rows lines of 16 bytes from the line holding the address the expression names
    // (DS:0000 when it is empty); each line's address is linear.
    PaneText Memory(const std::string& expression, int rows) const;
    // rows words from SS:SP up.
    PaneText Stack(int rows) const;
    // Instructions before and after CS:IP, the current one marked.
    PaneText Disassembly(int before, int after) const;
    PaneText Screen() const;
    PaneText Variables() const;

    // A register by DEBUG's name (AX ... DI, DS, ES, SS, CS, IP, F for the flags).
    bool EditRegister(const std::string& name, uint16_t value) const;
    void EditMemory(uint32_t linear, uint8_t value) const;
    // Sets a flag that is clear, or clears one that is set, by either of the names `r` shows.
    bool ToggleFlag(const std::string& name) const;

private:
    CDebugSession& m_session;
    CDosTarget& m_target;
};

}  // namespace dos
