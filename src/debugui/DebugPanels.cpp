// The debugger's panes and their bars.
#include "debugui/DebugPanels.h"

#include "debug/DebugPanes.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "framework/docking/CFrameWnd.h"
#include "resource.h"

#include <algorithm>

namespace {
struct PaneBar {
    UINT barId;
    UINT titleId;
};

// In the order of DebugPane.
constexpr PaneBar kPaneBars[kDebugPaneCount] = {
    {IDW_REGISTERS_BAR, IDS_PANE_REGISTERS}, {IDW_MEMORY_BAR, IDS_PANE_MEMORY},
    {IDW_STACK_BAR, IDS_PANE_STACK},         {IDW_DISASSEMBLY_BAR, IDS_PANE_DISASSEMBLY},
    {IDW_SCREEN_BAR, IDS_PANE_SCREEN},       {IDW_COMMAND_BAR, IDS_PANE_COMMAND},
    {IDW_VARIABLES_BAR, IDS_PANE_VARIABLES}, {IDW_SERIAL_BAR, IDS_PANE_SERIAL},
    {IDW_PORTS_BAR, IDS_PANE_PORTS},
};

// A visible child aligned to the top, before docking; shown once it is docked.
constexpr DWORD kBarStyle = WS_CHILD | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
// The panes' text: a fixed-pitch font of this height in pixels.
constexpr int kFontHeight = 12;
// What the pane texts are in: bytes of the machine's screen, the system's OEM code page.
constexpr UINT kPaneCodePage = CP_OEMCP;
// The bars' depth beyond their text: the title strip, the borders, the edges.
constexpr int kBarChrome = 40;

using Pane = DebugPane;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}
}

void CDebugPanels::Create()
{
    if (Exists())
        return;
    const std::wstring face = Widen(LoadResString(IDS_PANE_FONT_FACE));
    m_fontOwner.reset(::CreateFontW(-kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                                    face.c_str()));
    m_font = m_fontOwner ? m_fontOwner.get() : static_cast<HFONT>(::GetStockObject(ANSI_FIXED_FONT));
    for (size_t pane = 0; pane < kDebugPaneCount; ++pane)
        CreateBar(static_cast<Pane>(pane));
    CreateViews();
    m_wanted.fill(true);
}

void CDebugPanels::CreateBar(Pane pane)
{
    const PaneBar& info = kPaneBars[static_cast<size_t>(pane)];
    CCaptionBar& bar = Bar(pane);
    bar.ShowTitle(true);
    bar.Create(LoadResString(info.titleId).c_str(), &m_frame, SIZE{200, 150}, true, info.barId, kBarStyle);
    bar.SetBarStyle(bar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    bar.EnableDocking(CBRS_ALIGN_ANY);
}

void CDebugPanels::CreateViews()
{
    m_registers.Create(Bar(Pane::Registers), IDC_DEBUG_REGISTERS, m_font, false);
    m_memory.Create(Bar(Pane::Memory), IDC_DEBUG_MEMORY, m_font, LoadResString(IDS_MEMORY_ADDRESS),
                    Lines(LoadResString(IDS_MEMORY_SPACES)));
    m_stack.Create(Bar(Pane::Stack), IDC_DEBUG_STACK, m_font, false);
    m_stack.SetMarkLook(CPaneView::MarkLook::Return);
    m_disassembly.Create(Bar(Pane::Disassembly), IDC_DEBUG_DISASSEMBLY, m_font, false);
    m_disassembly.SetMarkLook(CPaneView::MarkLook::Current);
    m_disassembly.AllowChoosing();
    m_screen.Create(Bar(Pane::Screen), IDC_DEBUG_SCREEN, Widen(LoadResString(IDS_PANE_FONT_FACE)));
    m_command.Create(Bar(Pane::Command), IDC_DEBUG_COMMAND_PANE, IDC_DEBUG_COMMAND, IDC_DEBUG_COMMAND_OUTPUT, m_font);
    m_variables.Create(Bar(Pane::Variables), IDC_DEBUG_VARIABLES, m_font, true);
    m_serial.Create(Bar(Pane::Serial), IDC_DEBUG_SERIAL, m_font, true);
    m_ports.Create(Bar(Pane::Ports), IDC_DEBUG_PORTS, m_font);
}

void CDebugPanels::ShowFor(TargetKind kind, bool runOnly)
{
    Create();
    const bool dos = kind == TargetKind::Dos;
    for (size_t i = 0; i < kDebugPaneCount; ++i) {
        const auto pane = static_cast<Pane>(i);
        const bool shared = pane != Pane::Screen && pane != Pane::Command && pane != Pane::Variables &&
                            pane != Pane::Serial && pane != Pane::Ports;
        const bool ownDos = pane == Pane::Screen || pane == Pane::Command || pane == Pane::Variables;
        m_belongs[i] = shared || (dos ? ownDos : !ownDos);
    }
    const bool serialOrPorts[kDebugPaneCount] = {false, false, false, false, false, false, false, true, true};
    auto shows = [&](Pane pane) {
        const auto i = static_cast<size_t>(pane);
        return m_belongs[i] && (runOnly ? serialOrPorts[i] : m_wanted[i]);
    };
    for (size_t i = 0; i < kDebugPaneCount; ++i)
        if (!shows(static_cast<Pane>(i)))
            Show(static_cast<Pane>(i), false);

    const RECT client = m_frame.GetClientRect();
    const int lineHeight = m_registers.LineHeight();
    const int width = client.right;
    const int rowA = 5 * lineHeight + kBarChrome;
    const int rowB = std::max(static_cast<int>(client.bottom * 3 / 10), 9 * lineHeight + kBarChrome);
    const int column = std::clamp(static_cast<int>(width * 28 / 100), 280, 420);
    const int columnLength = std::max(200, static_cast<int>(client.bottom) - rowA - rowB - 80);
    auto only = [&](std::vector<Placement> row) {
        row.erase(std::remove_if(row.begin(), row.end(), [&](const Placement& p) { return !shows(p.pane); }), row.end());
        return row;
    };
    if (runOnly) {
        DockRow(AFX_IDW_DOCKBAR_BOTTOM, only({{Pane::Serial, 0.6}, {Pane::Ports, 0.4}}), rowB, width);
    } else if (dos) {
        DockRow(AFX_IDW_DOCKBAR_BOTTOM, only({{Pane::Registers, 0.58}, {Pane::Command, 0.42}}), rowA, width);
        DockRow(AFX_IDW_DOCKBAR_BOTTOM, only({{Pane::Memory, 0.58}, {Pane::Screen, 0.42}}), rowB, width);
        DockRow(AFX_IDW_DOCKBAR_RIGHT, only({{Pane::Disassembly, 0.45}, {Pane::Stack, 0.25}, {Pane::Variables, 0.3}}),
                column, columnLength);
    } else {
        DockRow(AFX_IDW_DOCKBAR_BOTTOM, only({{Pane::Registers, 0.5}, {Pane::Serial, 0.5}}), rowA, width);
        DockRow(AFX_IDW_DOCKBAR_BOTTOM, only({{Pane::Memory, 0.6}, {Pane::Ports, 0.4}}), rowB, width);
        DockRow(AFX_IDW_DOCKBAR_RIGHT, only({{Pane::Disassembly, 0.6}, {Pane::Stack, 0.4}}), column, columnLength);
    }
    for (size_t i = 0; i < kDebugPaneCount; ++i)
        if (shows(static_cast<Pane>(i)))
            Show(static_cast<Pane>(i), true);
    m_memory.ShowSpaces(!dos);
}

void CDebugPanels::DockRow(UINT side, const std::vector<Placement>& row, int depth, int length)
{
    const bool horizontal = side == AFX_IDW_DOCKBAR_TOP || side == AFX_IDW_DOCKBAR_BOTTOM;
    CCaptionBar* previous = nullptr;
    for (const Placement& placement : row) {
        CCaptionBar& bar = Bar(placement.pane);
        if (m_docked[static_cast<size_t>(placement.pane)]) {
            if (bar.IsVisible())
                previous = &bar;
            continue;
        }
        const int along = static_cast<int>(length * placement.share);
        if (horizontal)
            bar.SetHorzSize(SIZE{along, depth});
        else
            bar.SetVertSize(SIZE{depth, along});
        if (previous) {
            // Dropped just past the end of the pane before it: the same row, after it.
            const RECT last = previous->GetWindowRect();
            const RECT drop = horizontal ? RECT{last.right, last.top, last.right + along, last.bottom}
                                         : RECT{last.left, last.bottom, last.right, last.bottom + along};
            m_frame.DockControlBar(&bar, side, &drop);
        } else {
            m_frame.DockControlBar(&bar, side);
        }
        m_docked[static_cast<size_t>(placement.pane)] = true;
        m_frame.ShowControlBar(&bar, true, false);
        previous = &bar;
    }
}

void CDebugPanels::Show(Pane pane, bool shown)
{
    CCaptionBar& bar = Bar(pane);
    if (shown && !m_docked[static_cast<size_t>(pane)]) {
        DockRow(AFX_IDW_DOCKBAR_BOTTOM, {{pane, 0.5}}, 10 * m_registers.LineHeight() + kBarChrome,
                m_frame.GetClientRect().right);
        return;
    }
    if (bar.IsVisible() != shown)
        m_frame.ShowControlBar(&bar, shown, true);
}

void CDebugPanels::HideAll()
{
    if (!Exists())
        return;
    for (size_t i = 0; i < kDebugPaneCount; ++i) {
        const auto pane = static_cast<Pane>(i);
        if (m_belongs[i] && m_docked[i])
            m_wanted[i] = IsShown(pane);
        Show(pane, false);
    }
}

bool CDebugPanels::IsShown(Pane pane) const
{
    return Exists() && Bar(pane).IsVisible();
}

void CDebugPanels::Toggle(Pane pane)
{
    if (Exists())
        Show(pane, !IsShown(pane));
}

bool CDebugPanels::BelongsToMachine(Pane pane) const
{
    return Exists() && m_belongs[static_cast<size_t>(pane)];
}

bool CDebugPanels::HasFocus(Pane pane) const
{
    const HWND focus = ::GetFocus();
    const HWND bar = Bar(pane).GetSafeHwnd();
    return focus && bar && (focus == bar || ::IsChild(bar, focus));
}

void CDebugPanels::Refresh(CDebugSession& session, CDebugCommands& commands)
{
    for (size_t i = 0; i < kDebugPaneCount; ++i)
        if (IsShown(static_cast<Pane>(i)))
            RefreshPane(static_cast<Pane>(i), session, commands);
}

void CDebugPanels::RefreshPane(Pane pane, CDebugSession& session, CDebugCommands& commands)
{
    if (!session.Loaded())
        return;
    const CDebugPanes panes(session);
    switch (pane) {
    case Pane::Registers: m_registers.Show(panes.Registers(), kPaneCodePage); break;
    case Pane::Memory:
        if (const PaneText memory = panes.Memory(m_memory.Expression(), m_memory.View().VisibleRows()); memory.valid)
            m_memory.View().Show(memory, kPaneCodePage);
        else
            ::MessageBeep(MB_ICONEXCLAMATION);
        break;
    case Pane::Stack: m_stack.Show(panes.Stack(m_stack.VisibleRows()), kPaneCodePage); break;
    case Pane::Disassembly: {
        const int rows = m_disassembly.VisibleRows();
        m_disassembly.Show(panes.Disassembly(rows / 3, rows - rows / 3 - 1), kPaneCodePage);
        break;
    }
    case Pane::Screen: m_screen.Show(session.Screen()); break;
    case Pane::Command: m_command.SetPrompt(commands.Prompt()); break;
    case Pane::Variables: m_variables.Show(panes.Variables(), kPaneCodePage); break;
    case Pane::Serial:
        m_serial.Show(panes.Serial(), kPaneCodePage);
        m_serial.ScrollToEnd();
        break;
    case Pane::Ports: m_ports.Show(session.Ports()); break;
    }
}

void CDebugPanels::RefreshLive(CDebugSession& session)
{
    if (!session.Loaded())
        return;
    if (IsShown(Pane::Screen))
        m_screen.Show(session.Screen());
    if (IsShown(Pane::Ports))
        m_ports.Show(session.Ports());
    if (IsShown(Pane::Serial)) {
        const std::string serial = session.SerialText();
        if (serial.size() != m_nSerialShown) {
            m_nSerialShown = serial.size();
            m_serial.Show(PaneText{serial, {}, {}, true}, kPaneCodePage);
            m_serial.ScrollToEnd();
        }
    }
}
