// Changing the program's state from the panes, between steps: a value edited in place in a
// pane of NAME=VALUE fields (a flag's name toggles it), a byte of a memory pane edited in place,
// a breakpoint set or taken away on an instruction of the pane whose lines take breakpoints.
#pragma once

#include "debug/DebugSession.h"
#include "debugui/PaneHost.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CPaneEditing {
public:
    // canEdit: the program stands still; changed: the panes show the new state.
    CPaneEditing(CDebugSession& session, std::function<bool()> canEdit, std::function<void()> changed);

    // Hands a pane's double-clicks and margin clicks to this object, as its kind takes them.
    void Attach(CPaneHost& host);
    // The addresses given breakpoints in the disassembly pane, kept for the next start.
    const std::vector<uint32_t>& AddressBreakpoints() const { return m_addresses; }
    void ForgetAddressBreakpoints() { m_addresses.clear(); }
    // Sets or takes away the breakpoint on a line of the pane that takes them.
    void ToggleAddressBreakpoint(CPaneHost& host, size_t line);

private:
    void OnValueDoubleClick(CPaneHost& host, size_t line, int column);
    void OnMemoryDoubleClick(CPaneHost& host, size_t line, int column);
    void EditByte(uint16_t pane, uint32_t address, const std::string& typed);

    CDebugSession& m_session;
    std::function<bool()> m_canEdit;
    std::function<void()> m_changed;
    std::vector<uint32_t> m_addresses;
};
