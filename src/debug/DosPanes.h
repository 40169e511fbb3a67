// The panes of a DOS program: registers as DEBUG's `r`, memory as `d`, the stack with its
// return addresses, the disassembly around CS:IP as `u`, the program's screen, its variables,
// DEBUG's commands and the machine's devices; and the edits the panes make. Each text is a
// function of the program's state at a stop, made from the session's caller's thread (the
// screen and the devices also while it runs, from the thread that runs it).
#pragma once

#include "debug/DebugPane.h"
#include "debug/DebugSession.h"
#include "debug/PaneText.h"

#include <memory>
#include <string>
#include <vector>

namespace dos {

class CDosTarget;

class CDosPanes {
public:
    CDosPanes(CDebugSession& session, CDosTarget& target) : m_session(session), m_target(target) {}

    // The panes the DOS machine offers, in the order the window lists them.
    static std::vector<std::unique_ptr<CDebugPane>> Make(CDebugSession& session, CDosTarget& target);

    PaneText Registers() const;
    // rows lines of 16 bytes from the line holding the address the expression names
    // (DS:0000 when it is empty); each line's address is linear.
    PaneText Memory(const std::string& expression, int rows) const;
    // rows words from SS:SP up.
    PaneText Stack(int rows) const;
    // Instructions before and after CS:IP, the current one marked.
    PaneText Disassembly(int before, int after) const;
    // The screen's lines (trailing blanks cut) and its picture.
    PaneContent Screen() const;
    PaneText Variables() const;
    // Each device of the machine by name, with what it shows.
    PaneText Devices() const;

    // A register by DEBUG's name (AX ... DI, DS, ES, SS, CS, IP, F for the flags).
    bool EditRegister(const std::string& name, uint16_t value) const;
    bool EditMemory(uint32_t linear, uint8_t value) const;
    // Sets a flag that is clear, or clears one that is set, by either of the names `r` shows.
    bool ToggleFlag(const std::string& name) const;

private:
    CDebugSession& m_session;
    CDosTarget& m_target;
};

}  // namespace dos
