// Prints the debugger's speed for an 8051 program beside its baseline in the same run: a
// continue to a breakpoint with the step-back history on, each instruction counted, against
// the simulator alone running to the same breakpoint; both as fast as they can.
//   debugger51_bench
#include "debug/DebugSession.h"
#include "support/BenchProcess.h"

#include "mcs51/Machine51.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace mcs51;

namespace {

const int kRuns = 5;

// mov r6,#0 / mov r5,#40 / outer: mov r7,#0 / inner: inc a; mov 30h,a; djnz r7,inner /
// djnz r6,outer / djnz r5,outer / done: sjmp done: some 7.9 million instructions.
const std::vector<uint8_t> kCode = {0x7E, 0x00, 0x7D, 0x28, 0x7F, 0x00, 0x04, 0xF5, 0x30,
                                    0xDF, 0xFB, 0xDE, 0xF7, 0xDD, 0xF5, 0x80, 0xFE};
const uint16_t kDone = 0x0F;

std::string IntelHex(const std::vector<uint8_t>& code)
{
    std::string text;
    char record[80];
    uint8_t sum = static_cast<uint8_t>(code.size());
    int at = std::snprintf(record, sizeof record, ":%02X000000", static_cast<unsigned>(code.size()));
    for (const uint8_t byte : code) {
        at += std::snprintf(record + at, sizeof record - at, "%02X", byte);
        sum = static_cast<uint8_t>(sum + byte);
    }
    std::snprintf(record + at, sizeof record - at, "%02X\r\n", static_cast<uint8_t>(-sum));
    return text + record + ":00000001FF\r\n";
}

double MachineAlone(uint64_t instructions, bool history)
{
    std::vector<double> speeds;
    for (int run = 0; run <= kRuns; ++run) {
        CMachine51 machine;
        machine.LoadBinary(std::string(kCode.begin(), kCode.end()));
        machine.SetBreakpoint(kDone, true);
        machine.EnableHistory(history);
        const double start = Now();
        while (machine.Run(100'000'000) == machine::StopReason::Limit) {
        }
        const double seconds = (Now() - start) / 1000;
        if (run)
            speeds.push_back(static_cast<double>(instructions) / seconds);
    }
    return Median(speeds);
}

double SessionContinue(const std::wstring& program, uint64_t& instructions)
{
    std::vector<double> speeds;
    for (int run = 0; run <= kRuns; ++run) {
        CDebugSession session;
        DebugLaunch launch;
        launch.program = program;
        launch.realTime = false;
        launch.addressBreakpoints = {kDone};
        session.Start(launch);
        const double start = Now();
        session.Continue();
        const size_t shown = session.Content(*session.Panes().front(), PaneQuery{}).text.text.size();
        const double seconds = (Now() - start) / 1000;
        instructions = session.Target()->Executed() + (shown == 0);
        if (run)
            speeds.push_back(static_cast<double>(instructions) / seconds);
    }
    return Median(speeds);
}

}

int main()
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "kdbgbnch.hex";
    std::ofstream(path, std::ios::binary) << IntelHex(kCode);
    uint64_t instructions = 0;
    const double debugged = SessionContinue(path.wstring(), instructions);
    const double machine = MachineAlone(instructions, false);
    const double recording = MachineAlone(instructions, true);
    std::printf("8051 debugger, %llu instructions to a breakpoint, median of %d runs\n",
                static_cast<unsigned long long>(instructions), kRuns);
    std::printf("%-62s %8.1f M instructions/s\n", "the simulator alone, run to the breakpoint", machine / 1e6);
    std::printf("%-62s %8.1f M instructions/s  (%.0f%%)\n", "the simulator alone with its step-back history",
                recording / 1e6, 100 * recording / machine);
    std::printf("%-62s %8.1f M instructions/s  (%.0f%%; a real 12 MHz chip: about 0.6)\n",
                "continue with the step-back history, each instruction counted", debugged / 1e6, 100 * debugged / machine);
    std::filesystem::remove(path);
    return 0;
}
