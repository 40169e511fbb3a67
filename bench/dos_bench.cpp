// Times Korvane's DOS machine for bench/dos_bench.sh, which sets the figures beside DOSBox's:
//   dos_bench machine PROGRAM [--history]
//                                    the program in the machine in this process: time and speed
//                                    (the median of three runs); with the debugger's step-back
//                                    history attached
//   dos_bench runner RUNS COMMAND... korvane-dos.exe with each command (one per argument, run one
//                                    after another), the median of RUNS rounds
// Times are printed in milliseconds, one "name value" pair a line.
#include "dos/DosMachine.h"
#include "doshost/HostDrive.h"
#include "support/BenchProcess.h"
#include "support/QuietDosHost.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace dos;

namespace {

// One run of the program in a fresh machine: its time, and the instructions counted in slices
// of a million (the last one counted whole).
bool MachineRun(const std::wstring& program, bool history, double& ms, uint64_t& instructions)
{
    CQuietDosHost host;
    CDosMachine machine(host, std::make_unique<CHostDrive>(), DosMachineSettings{});
    // As large as the debugger's.
    CExecutionHistory record(CExecutionHistory::kDefaultInstructions, size_t{1} << 22);
    double start = Now();
    if (machine.Load(program, "") != LoadError::None)
        return false;
    if (history)
        machine.Cpu().AttachHistory(&record);
    const uint64_t slice = 1000000;
    instructions = 0;
    StopReason state = StopReason::Limit;
    while (state == StopReason::Limit || state == StopReason::Idle) {
        state = machine.Run(slice);
        instructions += slice;
    }
    ms = Now() - start;
    return state == StopReason::Ended;
}

int Machine(const char* program, bool history)
{
    std::string name = program;
    std::vector<double> times;
    uint64_t instructions = 0;
    for (int run = 0; run < 3; ++run) {
        double ms = 0;
        if (!MachineRun(std::wstring(name.begin(), name.end()), history, ms, instructions)) {
            std::fprintf(stderr, "cannot run %s\n", program);
            return 1;
        }
        times.push_back(ms);
    }
    double ms = Median(times);
    std::printf("machine_ms %.1f\nmillion_instructions %.0f\nmips %.0f\n", ms, instructions / 1e6, instructions / 1e3 / ms);
    return 0;
}

int Runner(int rounds, const std::vector<std::string>& commands)
{
    std::string runner = ProgramDir() + "\\korvane-dos.exe";
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        double start = Now();
        for (const std::string& command : commands) {
            STARTUPINFOA startup{};
            startup.cb = sizeof startup;
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
            startup.hStdOutput = startup.hStdError = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                                                  OPEN_EXISTING, 0, nullptr);
            SetHandleInformation(startup.hStdOutput, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
            PROCESS_INFORMATION info{};
            std::string line = "\"" + runner + "\" " + command;
            if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
                std::fprintf(stderr, "cannot start %s\n", line.c_str());
                return 1;
            }
            WaitForSingleObject(info.hProcess, INFINITE);
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
            CloseHandle(startup.hStdOutput);
        }
        times.push_back(Now() - start);
    }
    std::printf("runner_ms %.1f\n", Median(times));
    return 0;
}

}

int main(int argc, char** argv)
{
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "machine" && (argc == 3 || (argc == 4 && std::string(argv[3]) == "--history")))
        return Machine(argv[2], argc == 4);
    if (mode == "runner" && argc >= 4)
        return Runner(std::atoi(argv[2]), std::vector<std::string>(argv + 3, argv + argc));
    std::fprintf(stderr, "usage: dos_bench machine PROGRAM | dos_bench runner RUNS COMMAND...\n");
    return 2;
}
