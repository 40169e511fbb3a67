// Writes the DOSBox configuration of a build step as Korvane does, for a real DOSBox to run:
//   dosbox_step_writer SOURCE TOOL TEMPLATE
// prints "config PATH", "batch PATH", "output PATH" and "exitcode PATH" (UTF-8), or
// "problem N" with the problem's kind, and ends with 0 when the files were written.
#include "build/StepCommand.h"
#include "framework/Services.h"
#include "framework/Unicode.h"

#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4)
        return 2;
    Services services;
    // Where the tests run, as on 64-bit Windows, DOS programs go through the emulator.
    services.systemRunsDosPrograms = false;
    const Result<StepCommand> command = MakeStepCommand(FilePath(argv[1]), ToolSetting{FilePath(argv[2]), L""},
                                                        argv[3], FilePath(L"c:\\dosbox\\dosbox.exe"), services);
    if (!command) {
        std::printf("problem %d\n", static_cast<int>(command.Error().kind));
        return 1;
    }
    const CapturedFiles& files = command->captured;
    std::printf("config %s\nbatch %s\noutput %s\nexitcode %s\n", files.configFile.Utf8().c_str(),
                files.batchFile.Utf8().c_str(), files.output.Utf8().c_str(), files.exitCode.Utf8().c_str());
    return 0;
}
