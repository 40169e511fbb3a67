// A boot sector built by nasm under the debugger: started as the PC's bootstrap starts it,
// stopped at a breakpoint on a source line, stepped and stepped back, with its registers, its
// variables, what it printed through the BIOS and the sector it read from its own image; and
// the files that cannot boot, refused in words.
#include "DebuggerTestSupport.h"

#include "debug/DebugResources.h"
#include "debug/DosPanes.h"
#include "debug/DosTarget.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace dos;

using namespace DebuggerTest;

namespace {

class BootSession : public ::testing::Test {
protected:
    StopInfo Start(std::vector<SourceLine> breakpoints = {})
    {
        return m_session.Start(Launch(Built("bootread.BIN"), Built("bootread.ASM"), std::move(breakpoints)));
    }
    static SourceLine Line(const std::string& text) { return LineOf(Built("bootread.ASM"), "bootread.ASM", text); }
    CpuState& Registers() { return DosTarget(m_session).Registers(); }
    std::string FirstScreenLine() { return ScreenText(m_session).substr(0, ScreenText(m_session).find('\n')); }
    CDosPanes Panes() { return CDosPanes(m_session, DosTarget(m_session)); }

    CDebugSession m_session;
};

TEST_F(BootSession, StartsAtTheSectorAsTheBootstrapLeavesIt)
{
    ASSERT_EQ(Start().result, SessionResult::Started);
    EXPECT_EQ(Registers().cs(), 0);
    EXPECT_EQ(Registers().ip, 0x7C00);
    EXPECT_EQ(Registers().dl(), 0);
    EXPECT_EQ(m_session.Target()->Pc(), 0x7C00u);
    EXPECT_EQ(m_session.CurrentLine().value_or(SourceLine{}), Line("start:  xor     ax, ax"));
    EXPECT_EQ(DosTarget(m_session).ReadByte(0x7DFE), 0x55);
    EXPECT_EQ(DosTarget(m_session).ReadByte(0x7DFF), 0xAA);
    EXPECT_EQ(DosTarget(m_session).ReadByte(0x7E00), 0) << "only the first sector is loaded";
    EXPECT_EQ(ScreenText(m_session).find("boot"), std::string::npos);
}

TEST_F(BootSession, StopsAtALineBreakpointStepsAndStepsBack)
{
    ASSERT_EQ(Start({Line("mov     ax, 0201h")}).result, SessionResult::Started);
    EXPECT_EQ(m_session.Continue().reason, StopReason::Breakpoint);
    EXPECT_EQ(m_session.CurrentLine().value_or(SourceLine{}), Line("mov     ax, 0201h"));
    EXPECT_EQ(FirstScreenLine(), "boot");
    const uint16_t ax = Registers().ax();

    EXPECT_EQ(m_session.StepInto().reason, StopReason::Limit);
    EXPECT_EQ(Registers().ax(), 0x0201);
    EXPECT_EQ(m_session.CurrentLine().value_or(SourceLine{}), Line("mov     cx, 0002h"));
    EXPECT_EQ(Panes().Registers().text.substr(0, 7), "AX=0201");
    EXPECT_EQ(m_session.StepBack().result, SessionResult::SteppedBack);
    EXPECT_EQ(Registers().ax(), ax);
    EXPECT_EQ(m_session.CurrentLine().value_or(SourceLine{}), Line("mov     ax, 0201h"));

    // INT 13h reads sector 2 from the image the machine booted.
    ASSERT_EQ(m_session.RunToLine(Line("mov     si, 7E00h")).reason, StopReason::Limit);
    EXPECT_EQ(Registers().ax(), 0x0001) << "status 0, one sector";
    EXPECT_FALSE(Registers().Flag(kFlagCarry));
    EXPECT_EQ(Panes().Memory("0:7E00", 1).text.substr(0, 40), "0000:7E00  73 65 63 74 6F 72 20 32-00 00");
    EXPECT_EQ(m_session.StepInto().reason, StopReason::Limit);
    EXPECT_EQ(Registers().si(), 0x7E00);
    EXPECT_EQ(m_session.StepOver().reason, StopReason::Limit);
    EXPECT_EQ(m_session.CurrentLine().value_or(SourceLine{}), Line("park:   hlt"));
    EXPECT_EQ(FirstScreenLine(), "boot sector 2");
    EXPECT_EQ(m_session.StepBack().result, SessionResult::SteppedBack);
    EXPECT_EQ(FirstScreenLine(), "boot") << "the text printed by the step is taken back";
}

// The data labels of the listing show at their linear addresses, as the sector is loaded.
TEST_F(BootSession, VariablesShowAtTheSectorsAddresses)
{
    ASSERT_EQ(Start().result, SessionResult::Started);
    const std::string variables = Panes().Variables().text;
    EXPECT_NE(variables.find("hello     BYTE   0000:7C"), std::string::npos) << variables;
    EXPECT_NE(variables.find("'boot ',00"), std::string::npos) << variables;
}

TEST(BootLoad, RefusesWhatCannotBootInWords)
{
    CScratchFolder folder;
    const std::string sector = [] {
        std::ifstream file(Built("bootread.BIN").c_str(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()).substr(0, 512);
    }();
    struct Case {
        const char* name;
        std::string bytes;
        uint32_t textId;
        std::vector<std::string> inserts;
    } cases[] = {
        {"SHORT.BIN", sector.substr(0, 300), IDS_LOAD_BOOT_SHORT, {"300"}},
        {"EMPTY.IMG", "", IDS_LOAD_BOOT_SHORT, {"0"}},
        {"NOSIG.BIN", sector.substr(0, 510) + std::string("\x55\x00", 2), IDS_LOAD_NOT_BOOTABLE, {}},
        {"HUGE.IMG", std::string(1474560 + 512, '\0'), IDS_LOAD_BOOT_TOO_LARGE, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = folder.File(c.name);
        std::ofstream(path.c_str(), std::ios::binary) << c.bytes;
        DebugLaunch launch;
        launch.program = path;
        launch.folder = folder.Path();
        CDebugSession session;
        const StopInfo stop = session.Start(launch);
        EXPECT_EQ(stop.result, SessionResult::LoadFailed);
        EXPECT_EQ(stop.failure.textId, c.textId);
        ASSERT_FALSE(stop.failure.inserts.empty());
        EXPECT_NE(stop.failure.inserts[0].find(c.name), std::string::npos);
        EXPECT_EQ(std::vector<std::string>(stop.failure.inserts.begin() + 1, stop.failure.inserts.end()), c.inserts);
    }
}

}  // namespace
