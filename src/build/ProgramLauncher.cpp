// Starting built programs and the debugger.
#include "build/ProgramLauncher.h"

#include "build/BuildAction.h"
#include "build/CommandText.h"
#include "build/DosProgram.h"
#include "framework/PathName.h"
#include "framework/Unicode.h"

#include <memory>

namespace {
constexpr const char* kDebuggerName = "debug.exe";

struct LaunchRequest {
    LaunchCommand command;
    HWND notifyWnd;
    UINT failureMessage;
};

bool CreateLaunchedProcess(const LaunchCommand& command, PROCESS_INFORMATION& process)
{
    // Process creation may write into its command line.
    std::wstring buffer = Widen(command.commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (command.bThroughEmulator) {
        // The emulator writes to its console through its standard handles, which a new
        // console fills in only where the launch record leaves them alone.
        return ::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr,
                                &startup, &process);
    }
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_SHOW;
    return ::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, CREATE_SEPARATE_WOW_VDM, nullptr, nullptr,
                            &startup, &process);
}

DWORD WINAPI LaunchProgramThread(LPVOID parameter)
{
    std::unique_ptr<LaunchRequest> request(static_cast<LaunchRequest*>(parameter));
    const std::wstring configFile = Widen(request->command.configFile);
    PROCESS_INFORMATION process{};
    if (!CreateLaunchedProcess(request->command, process)) {
        const DWORD error = ::GetLastError();
        if (!configFile.empty())
            ::DeleteFileW(configFile.c_str());
        ::PostMessageW(request->notifyWnd, request->failureMessage, error, 0);
        return 0;
    }
    ::CloseHandle(process.hThread);
    UniqueHandle program(process.hProcess);
    // DOSBox reads its configuration when it starts, but nothing tells when that is done.
    if (!configFile.empty()) {
        ::WaitForSingleObject(program.get(), INFINITE);
        ::DeleteFileW(configFile.c_str());
    }
    return 0;
}

LaunchCommand Direct(const std::string& commandLine)
{
    LaunchCommand command;
    command.commandLine = commandLine;
    return command;
}

LaunchCommand Failed(CommandProblem problem)
{
    LaunchCommand command;
    command.problem = std::move(problem);
    return command;
}

std::string ProgramPath(const std::string& sourceDir, const std::string& sourceName)
{
    return sourceDir + "\\" + SourceBaseName(sourceName) + ".exe";
}

LaunchCommand DosBoxLaunch(const std::string& emulatorPath, CDosBoxConfig config)
{
    const std::optional<std::string> configFile = config.Problem() ? std::nullopt : config.WriteToTemporaryFolder();
    if (!configFile)
        return Failed(*config.Problem());
    LaunchCommand command;
    command.commandLine = DosBoxCommandLine(emulatorPath, EmulatorKindOf(emulatorPath), *configFile);
    command.bThroughEmulator = true;
    command.configFile = *configFile;
    return command;
}

LaunchCommand MsDosPlayerLaunch(const std::string& emulatorPath, std::initializer_list<std::string> programs)
{
    LaunchCommand command;
    command.commandLine = MsDosPlayerCommandLine(emulatorPath, programs);
    command.bThroughEmulator = true;
    return command;
}

std::optional<std::string> ExistingFile(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return path;
}

std::optional<std::string> DebuggerOnSearchPath()
{
    wchar_t found[MAX_PATH * 4] = L"";
    const DWORD n = ::SearchPathW(nullptr, Widen(kDebuggerName).c_str(), nullptr, MAX_PATH * 4, found, nullptr);
    return n > 0 && n < MAX_PATH * 4 ? std::optional<std::string>(Narrow(found)) : std::nullopt;
}
}

std::string RunCommandLine(const std::string& sourceDir, const std::string& sourceName)
{
    return CommandLinePath(sourceDir + "\\" + SourceBaseName(sourceName));
}

std::string DebugCommandLine(const std::string& debugger, const std::string& sourceDir, const std::string& sourceName)
{
    return CommandLinePath(debugger) + " " + CommandLinePath(ProgramPath(sourceDir, sourceName));
}

std::string MsDosPlayerCommandLine(const std::string& emulator, std::initializer_list<std::string> programs)
{
    std::string commandLine = CommandLinePath(emulator, Quoting::Always);
    for (const std::string& program : programs)
        commandLine += " " + CommandLinePath(program, Quoting::Always);
    return commandLine;
}

std::string DosBoxCommandLine(const std::string& emulator, EmulatorKind kind, const std::string& configFile)
{
    return CommandLinePath(emulator, Quoting::Always) + " -conf " + CommandLinePath(configFile, Quoting::Always) +
           DosBoxOptions(kind);
}

CDosBoxConfig DosBoxRunConfig(const std::string& sourceDir, const std::string& sourceName, const std::string& debugger)
{
    CDosBoxConfig config;
    const std::string program = config.DosNameOf(ProgramPath(sourceDir, sourceName));
    config.Mount('c', sourceDir);
    if (!debugger.empty())
        config.Mount('d', SplitPath(debugger).folder);
    config.AddCommand("c:");
    config.AddCommand(debugger.empty() ? program : "D:\\" + config.DosNameOf(debugger) + " " + program);
    return config;
}

std::optional<std::string> FindDebugger(const std::string& compilerProgram, const std::string& emulatorPath)
{
    for (const std::string& tool : {compilerProgram, emulatorPath}) {
        if (tool.empty())
            continue;
        if (std::optional<std::string> debugger = ExistingFile(SplitPath(tool).folder + "\\" + kDebuggerName))
            return debugger;
    }
    return DebuggerOnSearchPath();
}

LaunchCommand MakeRunCommand(const std::string& sourceDir, const std::string& sourceName,
                             const std::string& emulatorPath)
{
    const std::string program = ProgramPath(sourceDir, sourceName);
    const RouteChoice choice = ChooseRoute(program, emulatorPath);
    if (choice.problem)
        return Failed(*choice.problem);
    switch (choice.route) {
    case Route::MsDosPlayer:
        return MsDosPlayerLaunch(emulatorPath, {program});
    case Route::DosBox:
        return DosBoxLaunch(emulatorPath, DosBoxRunConfig(sourceDir, sourceName));
    default:
        return Direct(RunCommandLine(sourceDir, sourceName));
    }
}

LaunchCommand MakeDebugCommand(const std::string& sourceDir, const std::string& sourceName,
                               const std::string& compilerSetting, const std::string& emulatorPath)
{
    if (SystemRunsDosPrograms())
        return Direct(DebugCommandLine(kDebuggerName, sourceDir, sourceName));
    const std::optional<std::string> debugger = FindDebugger(SplitToolSetting(compilerSetting).program, emulatorPath);
    if (!debugger)
        return Failed(CommandProblem{CommandProblem::Kind::NoDebugger, kDebuggerName});
    const RouteChoice choice = ChooseRoute(*debugger, emulatorPath);
    if (choice.problem)
        return Failed(*choice.problem);
    switch (choice.route) {
    case Route::MsDosPlayer:
        return MsDosPlayerLaunch(emulatorPath, {*debugger, ProgramPath(sourceDir, sourceName)});
    case Route::DosBox:
        return DosBoxLaunch(emulatorPath, DosBoxRunConfig(sourceDir, sourceName, *debugger));
    default:
        return Direct(DebugCommandLine(*debugger, sourceDir, sourceName));
    }
}

UniqueHandle LaunchProgramAsync(const LaunchCommand& command, HWND notifyWnd, UINT failureMessage)
{
    auto request = std::make_unique<LaunchRequest>(LaunchRequest{command, notifyWnd, failureMessage});
    HANDLE thread = ::CreateThread(nullptr, 0, LaunchProgramThread, request.get(), 0, nullptr);
    if (thread)
        request.release();
    return UniqueHandle(thread);
}
