// The debugger's panes as docked bars of the main frame: a bar and view for each pane the
// session's machine offers, made the first time that machine offers one with its id (so a
// machine's panes never show another's state, and each keeps its own layout); docked the first
// time it shows, in the row its machine gives it (two rows along the bottom, a column down the
// right); shown for a session as the user left them and hidden when it ends; filled from the
// session at each stop, and the live ones (the screen, the serial line, the ports) also while
// the program runs.
#pragma once

#include "debug/DebugSession.h"
#include "debugui/PaneHost.h"
#include "framework/Handles.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CFrameWnd;

class CDebugPanels {
public:
    explicit CDebugPanels(CFrameWnd& frame) : m_frame(frame) {}

    // Called once for each pane window made, to attach what it does to it.
    void SetHostMade(std::function<void(CPaneHost&)> made) { m_onMade = std::move(made); }

    // Shows the panes of the session's machine; a run without debugging shows those that
    // belong in one alone.
    void ShowFor(const CDebugSession& session, bool runOnly);
    // Hides them all, noting which were shown.
    void HideAll();

    // The panes of the session shown last, in their machine's order.
    size_t Count() const { return m_order.size(); }
    CPaneHost* At(size_t index) const { return index < m_order.size() ? m_order[index] : nullptr; }
    CPaneHost* Host(uint16_t id) const;
    // The first of the session's panes of the kind, or with lines that take breakpoints.
    CPaneHost* OfKind(PaneKind kind) const;
    CPaneHost* BreakpointPane() const;
    bool IsShown(const CPaneHost& host) const { return host.Bar().IsVisible(); }
    void Toggle(CPaneHost& host);
    // Whether the focus is in the pane's window or one of its children.
    bool HasFocus(const CPaneHost& host) const;

    // Fills every pane shown from the stopped session.
    void Refresh(const CDebugSession& session);
    void RefreshPane(CPaneHost& host, const CDebugSession& session);
    // The live panes, from what the running program showed last.
    void RefreshLive(const CDebugSession& session);
    int LineHeight() const;
    // The panes' font's character width.
    int CharWidth() const;

private:
    struct Placement {
        CPaneHost* host;
        // The pane's part of the row's length.
        double share;
    };

    void MakeLook();
    CPaneHost& HostFor(const PaneInfo& info, UINT machine);
    // Docks the panes of one row (of the bottom) or column (of the right side) not docked
    // before: into the row of one of them already there, or a new row.
    void DockRow(UINT side, const std::vector<Placement>& row, int depth, int length);
    void Show(CPaneHost& host, bool shown);
    int RightColumnLength() const;

    CFrameWnd& m_frame;
    GdiObject<HFONT> m_fontOwner;
    CPaneHost::Look m_look{nullptr, {}};
    std::vector<std::unique_ptr<CPaneHost>> m_hosts;
    std::vector<CPaneHost*> m_order;
    // The panes shown last were a run's, which leaves the session's layout as it was.
    bool m_bRunOnly = false;
    std::function<void(CPaneHost&)> m_onMade;
};
