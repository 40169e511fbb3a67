// A program of two modules (MAIN.ASM with EXTRN and an INCLUDE file of macros and a procedure,
// CALC.ASM with PUBLIC, listed in MAIN.kvp) built by the build session with the real MASM 5.10
// and LINK 3.65 in the built-in DOS machine: one MAIN.EXE that korvane-dos.exe runs to its
// result, and a source map with the lines of both modules and of the INCLUDE file where LINK
// put them, which a debug session steps through.
#include "DebuggerTestSupport.h"

#include "build/BuildSession.h"
#include "build/CommandText.h"
#include "build/PipeProcess.h"
#include "debug/DosTarget.h"
#include "debug/SourceMapLoader.h"
#include "framework/Services.h"
#include "framework/Unicode.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace dos;
using namespace DebuggerTest;

namespace {
class BuildRecorder : public IBuildOwner {
public:
    explicit BuildRecorder(FilePath source) : m_source(std::move(source)) {}
    void OnStepBegins(BuildAction) override {}
    FilePath CurrentSource() const override { return m_source; }
    bool SaveSource() override { return true; }
    void OnStepStarted(BuildAction, bool) override {}
    void OnOutput(std::wstring_view text) override { m_text += text; }
    void OnStepEnded(const StepEnd&) override {}
    void OnProblem(const Problem& problem) override { m_problems.push_back(problem.kind); }

    FilePath m_source;
    std::wstring m_text;
    std::vector<Problem::Kind> m_problems;
};

std::string DosTool(const std::string& name)
{
    return std::string(KORVANE_DOS_TOOLS) + "\\" + name;
}

// The places LINK 3.65's map of the program gives: CSEG (MAIN's part, then CALC's at the next
// paragraph) at 00090H, CALCSEG at 000F0H, ADDUP at 0009:0050, SCALE at 000F:0002 and the
// entry point at 0009:001A; PRINTDEC, MACROS.INC's procedure, opens CSEG.
constexpr uint32_t kPrintDec = 0x90;
constexpr uint32_t kStart = 0x90 + 0x1A;
constexpr uint32_t kAddUp = 0x90 + 0x50;
constexpr uint32_t kScale = 0xF0 + 0x02;

class ModuleProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        CopySources({"MAIN.ASM", "CALC.ASM", "MACROS.INC", "MAIN.kvp"}, m_folder.Path());
        m_services.strBatchFilePath = m_folder.File("temp.bat");
        CBuildSession session(m_owner, m_services,
                              StepTexts{L"compile ended %1", L"link ended %1", L"compile stopped", L"link stopped",
                                        L"compile failed, no link", L"source changed, no link"});
        // The debugger's build: each module with its listing, the program with its map.
        session.Start(BuildCommand::Debug, CompilerSettings{CompilerType::Masm, DosTool("MASM.EXE"), DosTool("LINK.EXE")});
        ASSERT_TRUE(WaitFor([&] { return !session.IsRunning(); }, 120000));
        ASSERT_TRUE(EndsWith(Narrow(m_owner.m_text), "link ended 0\r\n")) << Narrow(m_owner.m_text);
    }
    SourceLine Line(const std::string& file, const std::string& text) const
    {
        return LineOf(m_source, file, text);
    }
    CSourceMap SourceMap() const { return CSourceMapLoader::Load(m_program, m_source, {m_folder.File("CALC.ASM")}); }
    CpuState& Registers() { return DosTarget(m_session).Registers(); }

    CScratchFolder m_folder;
    const std::wstring m_source = m_folder.File("MAIN.ASM");
    const std::wstring m_program = m_folder.File("MAIN.EXE");
    Services m_services;
    BuildRecorder m_owner{FilePath(m_source)};
    CDebugSession m_session;
};
}

TEST_F(ModuleProgram, TheRealToolsBuildOneProgramThatPrintsItsResult)
{
    const std::string output = Narrow(m_owner.m_text);
    EXPECT_EQ(Count(output, "0 Severe  Errors"), 2u) << output;
    EXPECT_EQ(Count(output, "compile ended 0"), 2u) << output;
    EXPECT_TRUE(Contains(output, "Microsoft (R) Overlay Linker  Version 3.65")) << output;
    for (const char* file : {"MAIN.OBJ", "CALC.OBJ", "MAIN.LST", "CALC.LST", "MAIN.MAP"})
        EXPECT_TRUE(FileExists(Narrow(m_folder.File(file)))) << file;
    EXPECT_FALSE(FileExists(Narrow(m_folder.File("CALC.EXE"))));

    // (1+2+3+4+5+6) * 3, summed by CALC's ADDUP, scaled by its SCALE, printed by MACROS.INC's PRINTDEC.
    CPipeProcess machine;
    ASSERT_TRUE(machine.Start(CommandLinePath(RunningProgramFolder().Child(L"korvane-dos.exe")) + L" " +
                              CommandLinePath(FilePath(m_program))));
    std::string printed;
    for (std::string chunk = machine.ReadChunk(); !chunk.empty(); chunk = machine.ReadChunk())
        printed += chunk;
    EXPECT_EQ(machine.WaitForExitCode(), 0u);
    EXPECT_EQ(printed, "63\r\n");
}

TEST_F(ModuleProgram, TheSourceMapPlacesEachModulesLinesAndTheIncludedOnesWhereLinkPutThem)
{
    const CSourceMap map = SourceMap();
    const struct {
        SourceLine line;
        uint32_t offset;
    } cases[] = {
        {Line("MAIN.ASM", "START:  MOV     AX, DSEG"), kStart},
        {Line("MAIN.ASM", "MOV     DS, AX"), kStart + 3},
        {Line("MACROS.INC", "MOV     BX, 10"), kPrintDec},
        {Line("CALC.ASM", "XOR     AX, AX"), kAddUp},
        {Line("CALC.ASM", "NEXT:   ADD     AX, [SI]"), kAddUp + 2},
        {Line("CALC.ASM", "MUL     FACTOR"), kScale},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(map.OffsetOf(c.line), c.offset) << c.line.file << " " << c.line.line;
        EXPECT_EQ(map.LineAt(c.offset), c.line) << c.offset;
    }
    // A macro's expansion is its call's line.
    const SourceLine putch = Line("MAIN.ASM", "PUTCH   13");
    ASSERT_TRUE(map.OffsetOf(putch));
    EXPECT_EQ(map.LineAt(*map.OffsetOf(putch) + 2), putch);

    // CALC's data in its own segment, MAIN's in its.
    std::map<std::string, std::pair<uint32_t, std::optional<uint32_t>>> symbols;
    for (const DataSymbol& symbol : map.Symbols())
        symbols[symbol.name] = {symbol.imageOffset, symbol.segmentStart};
    EXPECT_EQ(symbols["FACTOR"], std::make_pair(0xF0u, std::optional<uint32_t>(0xF0)));
    EXPECT_EQ(symbols["COUNT"], std::make_pair(0x0Cu, std::optional<uint32_t>(0)));

    // Without its other module the map holds the main module's lines alone.
    const CSourceMap mainOnly = CSourceMapLoader::Load(m_program, m_source);
    EXPECT_EQ(mainOnly.LineAt(kStart), Line("MAIN.ASM", "START:  MOV     AX, DSEG"));
    EXPECT_FALSE(mainOnly.OffsetOf(Line("CALC.ASM", "XOR     AX, AX")));
}

TEST_F(ModuleProgram, ADebugSessionStepsIntoTheOtherModuleAndTheIncludedProcedure)
{
    const DebugLaunch launch = Launch(m_program, m_source, {}, {m_folder.File("CALC.ASM")});
    ASSERT_EQ(m_session.Start(launch).result, SessionResult::Started);
    EXPECT_EQ(*m_session.CurrentLine(), Line("MAIN.ASM", "START:  MOV     AX, DSEG"));
    EXPECT_EQ(m_session.RunToLine(Line("MAIN.ASM", "CALL    ADDUP")).reason, StopReason::Limit);
    EXPECT_EQ(m_session.StepInto().reason, StopReason::Limit);
    EXPECT_EQ(*m_session.CurrentLine(), Line("CALC.ASM", "XOR     AX, AX"));
    EXPECT_EQ(m_session.StepOut().reason, StopReason::Limit);
    EXPECT_EQ(*m_session.CurrentLine(), Line("MAIN.ASM", "CALL    SCALE"));
    EXPECT_EQ(Registers().ax(), 21);
    EXPECT_EQ(m_session.StepInto().reason, StopReason::Limit);
    EXPECT_EQ(*m_session.CurrentLine(), Line("CALC.ASM", "MUL     FACTOR"));
    EXPECT_EQ(m_session.StepOut().reason, StopReason::Limit);
    EXPECT_EQ(Registers().ax(), 63);
    EXPECT_EQ(m_session.StepInto().reason, StopReason::Limit);
    EXPECT_EQ(*m_session.CurrentLine(), Line("MACROS.INC", "MOV     BX, 10"));
    const StopInfo end = m_session.Continue();
    EXPECT_EQ(end.reason, StopReason::Ended);
    EXPECT_EQ(end.exitCode, 0);
    EXPECT_EQ(ScreenText(m_session).substr(0, 3), "63\n");
}
