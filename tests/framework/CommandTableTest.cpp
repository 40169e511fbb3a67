// A command target's table, reached through real WM_COMMAND messages and command-UI updates:
// what runs, what shows enabled or checked, and that a disabled command does neither.
#include "framework/CCmdTarget.h"
#include "framework/CWnd.h"
#include "support/ProbeCmdUI.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {
constexpr UINT kPlain = 100, kDisabled = 101, kChecked = 102, kUnchecked = 103, kIndicator = 104;
constexpr UINT kRangeFirst = 110, kRangeLast = 113, kUnknown = 120;

class TableWnd : public CWnd {
public:
    bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override
    {
        static const CommandEntry<TableWnd> kCommands[] = {
            {kPlain, Run},
            {kDisabled, Run, [](const TableWnd&, UINT) { return false; }},
            {kChecked, Run, nullptr, [](const TableWnd&, UINT) { return true; }},
            {kUnchecked, Run, nullptr, [](const TableWnd&, UINT) { return false; }},
            {kIndicator, nullptr, nullptr, nullptr, [](TableWnd&, UINT, CCmdUI& ui) { ui.SetText("lit"); }},
            {.id = kRangeFirst, .run = Run, .lastId = kRangeLast},
        };
        return RouteCommand(*this, kCommands, nID, pCmdUI);
    }

    std::vector<UINT> m_ran;

private:
    static void Run(TableWnd& wnd, UINT id) { wnd.m_ran.push_back(id); }
};

struct CommandCase {
    const char* name;
    UINT id;
    bool runs;
    int enabled;  // as DoUpdate leaves it; an id nobody handles shows disabled
    int check;    // -1: no check shown
    const char* text;
};

void PrintTo(const CommandCase& c, std::ostream* out)
{
    *out << c.name;
}

const CommandCase kCases[] = {
    {"Plain", kPlain, true, 1, -1, ""},
    {"DisabledNeitherRunsNorShowsEnabled", kDisabled, false, 0, -1, ""},
    {"Checked", kChecked, true, 1, 1, ""},
    {"Unchecked", kUnchecked, true, 1, 0, ""},
    {"IndicatorShowsItsText", kIndicator, false, 1, -1, "lit"},
    {"RangeStart", kRangeFirst, true, 1, -1, ""},
    {"RangeEnd", kRangeLast, true, 1, -1, ""},
    {"PastTheRange", kRangeLast + 1, false, 0, -1, ""},
    {"Unknown", kUnknown, false, 0, -1, ""},
};

class CommandTable : public ::testing::TestWithParam<CommandCase> {};
}

TEST_P(CommandTable, RunsAndShowsWhatItsEntrySays)
{
    const CommandCase& c = GetParam();
    TableWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, CWnd::RegisterWndClass(0), "", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(c.id, 0), 0);
    EXPECT_EQ(wnd.m_ran, c.runs ? std::vector<UINT>{c.id} : std::vector<UINT>{});

    ProbeCmdUI ui(c.id);
    ui.DoUpdate(&wnd, true);
    EXPECT_EQ(ui.m_nEnabled, c.enabled);
    EXPECT_EQ(ui.m_nCheck, c.check);
    EXPECT_EQ(ui.m_strText, c.text);
    // Updating runs nothing.
    EXPECT_EQ(wnd.m_ran.size(), c.runs ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Table, CommandTable, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<CommandCase>& info) { return std::string(info.param.name); });
