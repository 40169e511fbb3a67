// Changing the program's state from the panes, between steps: a register's value edited in
// place in the registers pane (a flag's name toggles it), a byte of the memory pane edited in
// place, a breakpoint set or taken away on an instruction of the disassembly pane.
#pragma once

#include "debug/DebugSession.h"
#include "debugui/DebugPanels.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CPaneEditing {
public:
    // canEdit: the program stands still; changed: the panes show the new state.
    CPaneEditing(CDebugSession& session, CDebugPanels& panels, std::function<bool()> canEdit,
                 std::function<void()> changed);

    // Hands the panes' double-clicks and margin clicks to this object (once they exist).
    void Attach();
    // The addresses given breakpoints in the disassembly pane, kept for the next start.
    const std::vector<uint32_t>& AddressBreakpoints() const { return m_addresses; }
    void ForgetAddressBreakpoints() { m_addresses.clear(); }
    // Sets or takes away the breakpoint on the disassembly pane's chosen line, or the line given.
    void ToggleAddressBreakpoint(size_t line);

private:
    void OnRegisterDoubleClick(size_t line, int column);
    void OnMemoryDoubleClick(size_t line, int column);
    void EditByte(uint32_t address, const std::string& typed);

    CDebugSession& m_session;
    CDebugPanels& m_panels;
    std::function<bool()> m_canEdit;
    std::function<void()> m_changed;
    std::vector<uint32_t> m_addresses;
};
