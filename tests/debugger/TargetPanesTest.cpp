// A machine's target alone decides what the debugger shows: a pane that only a target of the
// test offers is made, docked, listed, filled at each stop and looked at while the program runs,
// with no other code told of it; and time stands still for a program at a stop.
#include "DebuggerTestSupport.h"

#include "debug/DebugResources.h"
#include "debug/DosTarget.h"
#include "debugui/DebugPanels.h"
#include "frame/MainFrame.h"
#include "support/KorvaneSession.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace DebuggerTest;

namespace {

constexpr uint16_t kPaneId = 250;
constexpr uint16_t kBarId = 150;

// The DOS machine with one pane more: how many instructions have run.
class CTargetWithAPane final : public dos::CDosTarget {
public:
    std::vector<std::unique_ptr<CDebugPane>> MakePanes(CDebugSession& session) override
    {
        std::vector<std::unique_ptr<CDebugPane>> panes = CDosTarget::MakePanes(session);
        panes.push_back(std::make_unique<CCallbackPane>(
            PaneInfo{.id = kPaneId, .barId = kBarId, .titleId = IDS_PANE_DEVICES, .row = PaneRow::Right, .live = true},
            CCallbackPane::Callbacks{.content = [this](const PaneQuery&) {
                return TextContent(PaneText{"executed " + std::to_string(Executed()) + "\r\n", {}, {}, true});
            }}));
        return panes;
    }
};

TEST(TargetPanes, APaneOnlyTheTargetOffersIsShownFilledAndKeptUp)
{
    KorvaneSession korvane;
    ASSERT_TRUE(korvane.Started());
    CDebugSession session;
    auto target = std::make_unique<CTargetWithAPane>();
    const std::wstring program = Built("steps.COM");
    ASSERT_EQ(target->Load(program, {}, ""), dos::LoadError::None);
    DebugLaunch launch;
    launch.program = program;
    ASSERT_EQ(session.Start(std::move(target), std::move(launch)).result, SessionResult::Started);
    CDebugPanels panels(korvane.Frame());

    panels.ShowFor(session, false);
    panels.Refresh(session);
    const HWND pane = FindDescendant(korvane.Frame().GetSafeHwnd(), kPaneId);
    ASSERT_NE(pane, nullptr);
    EXPECT_TRUE(::IsWindowVisible(pane));
    EXPECT_EQ(WindowTextOf(pane), "executed 0");
    ASSERT_EQ(panels.Count(), session.Panes().size());
    EXPECT_EQ(panels.At(panels.Count() - 1)->Info().id, kPaneId);

    session.StepInto();
    panels.Refresh(session);
    EXPECT_EQ(WindowTextOf(pane), "executed 1");
    EXPECT_EQ(session.LiveContent(kPaneId).text.text, "executed 1\r\n");
    panels.HideAll();
    PumpMessages();
    EXPECT_FALSE(::IsWindowVisible(pane));
}

// Machine time passes only while the program runs: a step after the program stood at a stop for
// longer than a timer tick takes no tick, and a continue then keeps to the program's own time.
TEST(TargetPanes, TimeStandsStillForAProgramAtAStop)
{
    CDebugSession session;
    DebugLaunch launch;
    launch.program = Built("steps.COM");
    ASSERT_EQ(session.Start(std::move(launch)).result, SessionResult::Started);
    dos::CDosTarget& target = DosTarget(session);
    auto ticks = [&] { return target.ReadByte(0x46C) | target.ReadByte(0x46D) << 8; };
    const int before = ticks();

    ::Sleep(150);
    EXPECT_EQ(session.StepInto().reason, StopReason::Limit);

    EXPECT_EQ(ticks(), before) << "a tick fell due while the program stood still";
    EXPECT_EQ(target.Executed(), 1u);
}

}  // namespace
