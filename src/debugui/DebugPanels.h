// The debugger's panes as docked bars of the main frame, each with its title and the window
// that tools find by its id: made when a session first needs them; each docked the first time
// it shows (the registers and the command line, then the memory and the program's screen in two
// rows along the bottom, the disassembly, the stack and the variables down the right); shown for
// the machine a session holds and hidden when the session ends, to come back the next time as
// the user left them; filled from the session at each stop, and the screen, the serial line
// and the ports also while the program runs.
#pragma once

#include "debug/DebugCommands.h"
#include "debug/DebugSession.h"
#include "debugui/CommandPane.h"
#include "debugui/MemoryPane.h"
#include "debugui/PaneView.h"
#include "debugui/PortsView.h"
#include "debugui/ScreenView.h"
#include "framework/Handles.h"
#include "panels/CaptionBar.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

class CFrameWnd;

enum class DebugPane : uint8_t { Registers, Memory, Stack, Disassembly, Screen, Command, Variables, Serial, Ports };
inline constexpr size_t kDebugPaneCount = 9;

class CDebugPanels {
public:
    explicit CDebugPanels(CFrameWnd& frame) : m_frame(frame) {}

    bool Exists() const { return m_font != nullptr; }
    // Makes the panes, hidden, unless they are there.
    void Create();
    // Shows the panes of a session on the machine; the 8051's run shows its serial line and
    // ports alone.
    void ShowFor(TargetKind kind, bool runOnly);
    // Hides them all, noting which were shown.
    void HideAll();
    bool IsShown(DebugPane pane) const;
    void Toggle(DebugPane pane);
    // Whether the pane has something to show for the machine of the session shown last.
    bool BelongsToMachine(DebugPane pane) const;

    // Fills every pane shown from the session, stopped.
    void Refresh(CDebugSession& session, CDebugCommands& commands);
    void RefreshPane(DebugPane pane, CDebugSession& session, CDebugCommands& commands);
    // What can be read while the program runs: its screen, its serial output and its ports.
    void RefreshLive(CDebugSession& session);

    CPaneView& Registers() { return m_registers; }
    CMemoryPane& Memory() { return m_memory; }
    CPaneView& Disassembly() { return m_disassembly; }
    CScreenView& Screen() { return m_screen; }
    CCommandPane& Command() { return m_command; }
    CPaneView& Serial() { return m_serial; }
    // Whether the focus is in the pane's window or one of its children.
    bool HasFocus(DebugPane pane) const;

private:
    struct Placement {
        DebugPane pane;
        // The pane's part of the row's length.
        double share;
    };
    CCaptionBar& Bar(DebugPane pane) { return m_bars[static_cast<size_t>(pane)]; }
    const CCaptionBar& Bar(DebugPane pane) const { return m_bars[static_cast<size_t>(pane)]; }
    void CreateBar(DebugPane pane);
    void CreateViews();
    // Docks the panes of one row (of the bottom) or column (of the right side) not docked
    // before: into the row of one of them already there, or a new row.
    void DockRow(UINT side, const std::vector<Placement>& row, int depth, int length);
    void Show(DebugPane pane, bool shown);

    CFrameWnd& m_frame;
    GdiObject<HFONT> m_fontOwner;
    HFONT m_font = nullptr;
    std::array<CCaptionBar, kDebugPaneCount> m_bars;
    std::array<bool, kDebugPaneCount> m_docked{};
    // The panes shown when the last session ended (all, before the first).
    std::array<bool, kDebugPaneCount> m_wanted{};
    std::array<bool, kDebugPaneCount> m_belongs{};
    CPaneView m_registers;
    CMemoryPane m_memory;
    CPaneView m_stack;
    CPaneView m_disassembly;
    CScreenView m_screen;
    CCommandPane m_command;
    CPaneView m_variables;
    CPaneView m_serial;
    CPortsView m_ports;
    // The serial text's length when the serial pane was last filled while the program ran.
    size_t m_nSerialShown = 0;
};
