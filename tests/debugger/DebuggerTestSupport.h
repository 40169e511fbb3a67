// What the debugger's tests share: scratch folders, the test programs built with the real
// tools (MASM 5.10 and LINK 3.65 run in the DOS machine in this process; nasm and as31 built
// them beside the tests), and sessions started on them.
#pragma once

#include "debug/DebugSession.h"
#include "dos/CpuState.h"

namespace dos {
class CDosTarget;
}
namespace mcs51 {
class CTarget51;
}

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

// How a failing comparison names a source line.
void PrintTo(const SourceLine& line, std::ostream* out);

namespace DebuggerTest {

// A scratch folder of its own, removed with what it holds when the object goes.
class CScratchFolder {
public:
    CScratchFolder();
    ~CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;
    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::string& name) const;

private:
    std::wstring m_path;
};

// A DOS tool of ../shared/dos-tools run in the machine with `folder` current; its exit code,
// what it printed in `output`.
int RunDosTool(const std::string& tool, const std::string& tail, const std::wstring& folder, std::string& output);
// Copies test sources (tests/debugger/programs) into the folder with DOS line ends.
void CopySources(const std::vector<std::string>& names, const std::wstring& folder);
// Assembles NAME.ASM with a listing and links NAME.EXE with a map, as Korvane builds for the
// debugger; fails the test where a tool fails.
void BuildMasm(const std::string& name, const std::wstring& folder);
// A file nasm or as31 built beside the tests (a program, its listing, its source's copy).
std::wstring Built(const std::string& name);

// The launch of a built program with its source map (of the main source and the other modules
// linked after it) and the given breakpoints.
DebugLaunch Launch(const std::wstring& program, const std::wstring& source, std::vector<SourceLine> breakpoints = {},
                   const std::vector<std::wstring>& otherModules = {});
// The line of `file` (as the sources name it) whose text holds `text`, from 1.
SourceLine LineOf(const std::wstring& source, const std::string& file, const std::string& text);
// The 25 lines of the program's screen as the screen pane shows them.
std::string ScreenText(CDebugSession& session);
// The session's machine, as the test that started it knows it is.
dos::CDosTarget& DosTarget(CDebugSession& session);
mcs51::CTarget51& Target51(CDebugSession& session);
// The session's pane with this window id; the test fails where there is none.
CDebugPane& PaneOf(CDebugSession& session, uint16_t id);

// A session on SUM.ASM (with PRINT.INC) built by the real MASM and LINK, stopped at its entry.
class SumSession : public ::testing::Test {
protected:
    void SetUp() override;
    dos::CpuState& Registers();
    // The text with the program's segments where it says {CS}, {SS}, {PSP} and {DS}, and {DSB}
    // for DS's two bytes as MOV AX,DSEG holds them (low first).
    std::string Expand(std::string text);

    CScratchFolder m_folder;
    std::wstring m_source;
    CDebugSession m_session;
};

}
