// Prints the debugger's figures for a DOS program, each beside its baseline in the same run: a
// continue to a breakpoint with the step-back history on (and the panes made once at the
// stop) against the machine alone running to the same breakpoint; then a single step with
// every pane's text made afresh against the 16 ms of a frame.
//   debugger_bench
#include "debug/DebugSession.h"
#include "support/BenchProcess.h"
#include "support/QuietDosHost.h"

#include "dos/DosMachine.h"
#include "doshost/HostDrive.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace dos;

namespace {

const int kRuns = 5;
const int kSteps = 2000;

// mov bx,300 / outer: xor cx,cx / inner: add ax,cx; mov [data],ax; loop inner / dec bx;
// jnz outer / done: mov ax,4C00h; int 21h / data dw 0: some 59 million instructions, one in
// three writing memory, before `done`.
const unsigned char kProgram[] = {0xBB, 0x2C, 0x01, 0x31, 0xC9, 0x01, 0xC8, 0xA3, 0x14, 0x01, 0xE2, 0xF9,
                                  0x4B, 0x75, 0xF4, 0xB8, 0x00, 0x4C, 0xCD, 0x21, 0x00, 0x00};
const uint16_t kDone = 0x10F;

std::wstring WriteProgram()
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "KDBGBNCH.COM";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(kProgram), sizeof kProgram);
    return path.wstring();
}

// Instructions a second, the machine alone: load, a breakpoint at `done`, run to it; the
// instructions are as many as the session counts for the same run.
double MachineAlone(const std::wstring& program, uint64_t instructions, bool history)
{
    std::vector<double> speeds;
    for (int run = 0; run <= kRuns; ++run) {
        CQuietDosHost host;
        auto machine = std::make_unique<CDosMachine>(host, std::make_unique<CHostDrive>(), DosMachineSettings{});
        machine->Load(program, "");
        machine->Cpu().SetBreakpoint(CMemory::Linear(machine->Registers().cs(), kDone));
        CExecutionHistory record;
        if (history)
            machine->Cpu().AttachHistory(&record);
        const double start = Now();
        while (machine->Run(1'000'000'000) == StopReason::Limit) {
        }
        const double seconds = (Now() - start) / 1000;
        if (run)
            speeds.push_back(static_cast<double>(instructions) / seconds);
    }
    return Median(speeds);
}

// Every pane's content made once, as the window makes them at a stop: its size.
size_t AllPanes(const CDebugSession& session)
{
    size_t shown = 0;
    for (const std::unique_ptr<CDebugPane>& pane : session.Panes()) {
        const PaneContent content = session.Content(*pane, PaneQuery{16, "DS:0"});
        shown += content.text.text.size() + content.image.cells.size() + pane->Prompt().size();
    }
    return shown;
}

// Instructions a second, the session: continue to the same breakpoint with the history, then
// every pane made once.
double SessionContinue(const std::wstring& program, CDebugSession& session)
{
    std::vector<double> speeds;
    for (int run = 0; run <= kRuns; ++run) {
        DebugLaunch launch;
        launch.program = program;
        session.Start(launch);
        const uint32_t done = session.Target()->ImageBase() + kDone;
        session.SetAddressBreakpoint(done, true);
        const double start = Now();
        const StopInfo stop = session.Continue();
        const size_t shown = AllPanes(session);
        const double seconds = (Now() - start) / 1000;
        if (stop.reason != StopReason::Breakpoint || shown == 0)
            std::printf("  (the run stopped for reason %d)\n", static_cast<int>(stop.reason));
        if (run)
            speeds.push_back(static_cast<double>(session.Target()->Executed()) / seconds);
    }
    return Median(speeds);
}

// Milliseconds for one step into with every pane's text made afresh, and the step alone.
void Steps(const std::wstring& program, double& withPanes, double& alone)
{
    CDebugSession session;
    DebugLaunch launch;
    launch.program = program;
    session.Start(launch);
    std::vector<double> times;
    std::vector<double> bare;
    for (int step = 0; step < kSteps; ++step) {
        const double start = Now();
        session.StepInto();
        const double stepped = Now();
        const size_t shown = AllPanes(session);
        times.push_back(Now() - start + static_cast<double>(shown == 0));
        bare.push_back(stepped - start);
    }
    withPanes = Median(times);
    alone = Median(bare);
}

}

int main()
{
    const std::wstring program = WriteProgram();
    std::printf("DOS debugger, a run of about 59 million instructions to a breakpoint, median of %d runs\n", kRuns);
    CDebugSession session;
    const double debugged = SessionContinue(program, session);
    const double machine = MachineAlone(program, session.Target()->Executed(), false);
    const double recording = MachineAlone(program, session.Target()->Executed(), true);
    std::printf("%-62s %8.1f M instructions/s\n", "the machine alone, run to the breakpoint", machine / 1e6);
    std::printf("%-62s %8.1f M instructions/s  (%.0f%%)\n", "the machine alone with a step-back history attached",
                recording / 1e6, 100 * recording / machine);
    std::printf("%-62s %8.1f M instructions/s  (%.0f%% of the machine; aim 50%%)\n",
                "continue with the step-back history, panes made at the stop", debugged / 1e6, 100 * debugged / machine);
    session.Stop();
    double withPanes = 0;
    double alone = 0;
    Steps(program, withPanes, alone);
    std::printf("%-62s %8.3f ms  (the step alone %.3f ms; a frame is 16 ms)\n",
                "a single step with every pane's text made afresh, median", withPanes, alone);
    std::filesystem::remove(program);
    return 0;
}
