// The debugger's panes and their bars.
#include "debugui/DebugPanels.h"

#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "framework/docking/CDockBar.h"
#include "framework/docking/CFrameWnd.h"
#include "resource.h"

#include <algorithm>

namespace {
// The panes' text: a fixed-pitch font of this height in pixels.
constexpr int kFontHeight = 12;
// The bars' depth beyond their text: the title strip, the borders, the edges.
constexpr int kBarChrome = 40;
// A disassembly line whole, and what a bar adds across: borders and a scroll bar.
constexpr int kRightColumnChars = 46;
constexpr int kColumnChrome = 40;
// A bottom row may take this share of the window's height for a device's picture.
constexpr double kPictureRowShare = 0.36;
}

void CDebugPanels::MakeLook()
{
    if (m_look.font)
        return;
    const std::wstring face = Widen(LoadResString(IDS_PANE_FONT_FACE));
    m_fontOwner.reset(::CreateFontW(-kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                                    face.c_str()));
    m_look.font = m_fontOwner ? m_fontOwner.get() : static_cast<HFONT>(::GetStockObject(ANSI_FIXED_FONT));
    m_look.screenFace = face;
}

int CDebugPanels::CharWidth() const
{
    const WindowDc dc = WindowDc::Client(nullptr);
    SelectGuard font(dc.get(), m_look.font);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.get(), &metrics);
    return std::max<int>(1, metrics.tmAveCharWidth);
}

int CDebugPanels::LineHeight() const
{
    for (const std::unique_ptr<CPaneHost>& host : m_hosts)
        if (const CPaneView* lines = host->Lines())
            return lines->LineHeight();
    return kFontHeight + 4;
}

// A pane of an id and kind already shown once keeps its window (and where it is docked); one
// of another kind under the same id gets a window of its own beside the hidden one.
CPaneHost& CDebugPanels::HostFor(const PaneInfo& info, UINT machine)
{
    for (const std::unique_ptr<CPaneHost>& host : m_hosts) {
        if (host->m_nMachine == machine && host->Info().id == info.id && host->Info().kind == info.kind) {
            host->Configure(info);
            return *host;
        }
    }
    m_hosts.push_back(std::make_unique<CPaneHost>(m_frame, info, m_look));
    m_hosts.back()->m_nMachine = machine;
    if (m_onMade)
        m_onMade(*m_hosts.back());
    return *m_hosts.back();
}

void CDebugPanels::ShowFor(const CDebugSession& session, bool runOnly)
{
    MakeLook();
    m_order.clear();
    m_bRunOnly = runOnly;
    const UINT machine = session.Target() ? session.Target()->NameId() : 0;
    for (const std::unique_ptr<CDebugPane>& pane : session.Panes())
        m_order.push_back(&HostFor(pane->Info(), machine));
    auto shows = [&](const CPaneHost& host) { return runOnly ? host.Info().shownInRun : host.m_bWanted; };
    for (const std::unique_ptr<CPaneHost>& host : m_hosts)
        if (std::find(m_order.begin(), m_order.end(), host.get()) == m_order.end() || !shows(*host))
            Show(*host, false);

    const RECT client = m_frame.GetClientRect();
    const int lineHeight = LineHeight();
    const int width = client.right;
    // The first row shows the command pane's last lines; the right column a disassembly
    // line whole (address, bytes, "MOV [BX+SI+1234],AX"), as far as half the window allows.
    const int rightColumn = std::max(kRightColumnChars * CharWidth() + kColumnChrome, width * 28 / 100);
    const int rowDepths[] = {7 * lineHeight + kBarChrome,
                             std::max(static_cast<int>(client.bottom * 3 / 10), 9 * lineHeight + kBarChrome),
                             std::min(rightColumn, width / 2)};
    auto row = [&](PaneRow wanted) {
        std::vector<Placement> placed;
        // A run's few panes go where the session's go, so that a session after it finds
        // its layout as it would without the run.
        for (CPaneHost* host : m_order) {
            if (host->Info().row == wanted && shows(*host))
                placed.push_back({host, host->Info().share});
        }
        double total = 0;
        for (const Placement& placement : placed)
            total += placement.share;
        for (Placement& placement : placed)
            placement.share = total > 0 ? placement.share / total : 1;
        return placed;
    };
    // A bottom row holding a device's picture is as deep as the picture whole where the window
    // has room for it; the editor keeps the rest.
    auto bottomDepth = [&](const std::vector<Placement>& placed, int usual) {
        int wanted = 0;
        for (const Placement& placement : placed)
            wanted = std::max(wanted, placement.host->Info().depth);
        return wanted ? std::max(usual, std::min(wanted + kBarChrome, static_cast<int>(client.bottom * kPictureRowShare))) : usual;
    };
    const std::vector<Placement> first = row(PaneRow::BottomFirst), second = row(PaneRow::BottomSecond);
    DockRow(AFX_IDW_DOCKBAR_BOTTOM, first, bottomDepth(first, rowDepths[0]), width);
    DockRow(AFX_IDW_DOCKBAR_BOTTOM, second, bottomDepth(second, rowDepths[1]), width);
    DockRow(AFX_IDW_DOCKBAR_RIGHT, row(PaneRow::Right), rowDepths[2], RightColumnLength());
    for (CPaneHost* host : m_order)
        if (shows(*host))
            Show(*host, true);
}

void CDebugPanels::DockRow(UINT side, const std::vector<Placement>& row, int depth, int length)
{
    const bool horizontal = side == AFX_IDW_DOCKBAR_TOP || side == AFX_IDW_DOCKBAR_BOTTOM;
    auto plan = [&](const Placement& placement) {
        const int along = static_cast<int>(length * placement.share);
        CCaptionBar& bar = placement.host->Bar();
        if (horizontal)
            bar.SetHorzSize(SIZE{along, depth});
        else
            bar.SetVertSize(SIZE{depth, along});
    };
    // A bar docked before (by a run, or a session that hid it since) is in the row already,
    // shown or about to be: the row's new bars join it.
    CCaptionBar* previous = nullptr;
    for (const Placement& placement : row)
        if (placement.host->m_bDocked)
            previous = &placement.host->Bar();
    std::vector<Placement> placed;
    for (const Placement& placement : row) {
        CCaptionBar& bar = placement.host->Bar();
        if (placement.host->m_bDocked)
            continue;
        plan(placement);
        if (previous)
            m_frame.DockControlBarAfter(&bar, previous);
        else
            m_frame.DockControlBar(&bar, side);
        placement.host->m_bDocked = true;
        m_frame.ShowControlBar(&bar, true, false);
        previous = &bar;
        placed.push_back(placement);
    }
    // The first bar of a row stretched to the whole row while it was alone there: the row
    // takes the planned lengths again now that all of it is docked.
    if (placed.empty() || row.size() < 2)
        return;
    for (const Placement& placement : row)
        plan(placement);
    m_frame.RecalcLayout();
}

// What the bottom rows leave of the frame's height: the right side's room at the last layout.
int CDebugPanels::RightColumnLength() const
{
    const CDockBar* right = m_frame.GetDockBar(AFX_IDW_DOCKBAR_RIGHT);
    const RECT room = right ? right->GetLayoutRect() : m_frame.GetClientRect();
    return std::max(0, static_cast<int>(room.bottom - room.top));
}

void CDebugPanels::Show(CPaneHost& host, bool shown)
{
    if (shown && !host.m_bDocked) {
        DockRow(AFX_IDW_DOCKBAR_BOTTOM, {{&host, 0.5}}, 10 * LineHeight() + kBarChrome, m_frame.GetClientRect().right);
        return;
    }
    if (host.Bar().IsVisible() != shown)
        m_frame.ShowControlBar(&host.Bar(), shown, true);
}

void CDebugPanels::HideAll()
{
    for (CPaneHost* host : m_order)
        if (host->m_bDocked && !m_bRunOnly)
            host->m_bWanted = IsShown(*host);
    for (const std::unique_ptr<CPaneHost>& host : m_hosts)
        Show(*host, false);
}

CPaneHost* CDebugPanels::Host(uint16_t id) const
{
    for (CPaneHost* host : m_order)
        if (host->Info().id == id)
            return host;
    return nullptr;
}

CPaneHost* CDebugPanels::OfKind(PaneKind kind) const
{
    for (CPaneHost* host : m_order)
        if (host->Info().kind == kind)
            return host;
    return nullptr;
}

CPaneHost* CDebugPanels::BreakpointPane() const
{
    for (CPaneHost* host : m_order)
        if (host->Info().breakpoints)
            return host;
    return nullptr;
}

void CDebugPanels::Toggle(CPaneHost& host)
{
    Show(host, !IsShown(host));
}

bool CDebugPanels::HasFocus(const CPaneHost& host) const
{
    const HWND focus = ::GetFocus();
    const HWND bar = host.Bar().GetSafeHwnd();
    return focus && bar && (focus == bar || ::IsChild(bar, focus));
}

void CDebugPanels::Refresh(const CDebugSession& session)
{
    for (CPaneHost* host : m_order)
        if (IsShown(*host))
            RefreshPane(*host, session);
}

void CDebugPanels::RefreshPane(CPaneHost& host, const CDebugSession& session)
{
    const CDebugPane* pane = session.Pane(host.Info().id);
    if (!pane)
        return;
    if (host.Command()) {
        host.Command()->SetPrompt(pane->Prompt());
        return;
    }
    if (!host.Show(session.Content(*pane, host.Query())))
        ::MessageBeep(MB_ICONEXCLAMATION);
}

void CDebugPanels::RefreshLive(const CDebugSession& session)
{
    for (CPaneHost* host : m_order)
        if (host->Info().live && IsShown(*host))
            host->Show(session.LiveContent(host->Info().id));
}
