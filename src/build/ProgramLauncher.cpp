// Starting built programs and the debugger.
#include "build/ProgramLauncher.h"

#include <utility>

#include "build/BuildAction.h"
#include "build/BuiltInAssembler.h"
#include "build/CommandText.h"
#include "build/ConsolePath.h"
#include "build/DosProgram.h"
#include "build/ProgramModules.h"
#include "framework/Handles.h"

namespace {
constexpr const wchar_t* kDebuggerName = L"debug.exe";
// The names of the system's debugger, looked for in this order.
constexpr const wchar_t* kDebuggerNames[] = {L"debug.exe", L"debug.com"};

bool CreateLaunchedProcess(const LaunchCommand& command, PROCESS_INFORMATION& process)
{
    // Process creation may write into its command line.
    std::wstring buffer = command.commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (command.bThroughEmulator) {
        // The emulator writes to its console through its standard handles, which a new
        // console fills in only where the launch record leaves them alone.
        std::wstring title = command.consoleTitle;
        if (!title.empty())
            startup.lpTitle = title.data();
        const wchar_t* folder = command.workingFolder.empty() ? nullptr : command.workingFolder.c_str();
        return ::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, folder,
                                &startup, &process);
    }
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_SHOW;
    return ::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, CREATE_SEPARATE_WOW_VDM, nullptr, nullptr,
                            &startup, &process);
}

LaunchCommand Direct(const std::wstring& commandLine, const FilePath& program)
{
    LaunchCommand command;
    command.commandLine = commandLine;
    command.program = program;
    return command;
}

bool IsComProgram(const FilePath& program)
{
    const std::wstring name = program.Name();
    return name.size() > 4 && ::CompareStringOrdinal(name.c_str() + name.size() - 4, 4, L".com", 4, TRUE) == CSTR_EQUAL;
}

Result<LaunchCommand> DosBoxLaunch(const FilePath& emulatorPath, CDosBoxConfig config)
{
    const Result<FilePath> configFile = config.WriteToTemporaryFolder();
    if (!configFile)
        return configFile.Error();
    LaunchCommand command = Direct(DosBoxCommandLine(emulatorPath, EmulatorKindOf(emulatorPath), *configFile),
                                   emulatorPath);
    command.bThroughEmulator = true;
    command.configFile = *configFile;
    return command;
}

LaunchCommand MsDosPlayerLaunch(const FilePath& emulatorPath, std::initializer_list<FilePath> programs)
{
    LaunchCommand command = Direct(MsDosPlayerCommandLine(emulatorPath, programs), emulatorPath);
    command.bThroughEmulator = true;
    return command;
}

LaunchCommand Titled(LaunchCommand command, const std::wstring& title)
{
    command.consoleTitle = title;
    return command;
}

LaunchCommand BuiltInLaunch(const std::wstring& commandLine)
{
    LaunchCommand command = Direct(commandLine, BuiltInMachine());
    command.bThroughEmulator = true;
    return command;
}

// A file's name as DOS sees it in its folder: the name itself where it is 8.3, else the
// volume's short name for it; a name with neither is left to the machine's own alias.
std::wstring DosNameInFolder(const FilePath& file)
{
    const std::wstring name = file.Name();
    if (IsEightDotThreeName(name))
        return name;
    const std::wstring shortForm = ShortFormOf(file.Wide());
    return shortForm.empty() ? name : FilePath(shortForm).Name();
}

std::optional<FilePath> DebuggerOnSearchPath()
{
    for (const wchar_t* name : kDebuggerNames) {
        wchar_t found[MAX_PATH * 4] = L"";
        const DWORD n = ::SearchPathW(nullptr, name, nullptr, MAX_PATH * 4, found, nullptr);
        if (n > 0 && n < MAX_PATH * 4)
            return FilePath(found);
    }
    return std::nullopt;
}

std::wstring OptionsPart(const std::wstring& options)
{
    return options.empty() ? std::wstring() : L" " + options;
}
}

FilePath BuiltProgram(const FilePath& source)
{
    const FilePath mainSource = MainSourceOf(source);
    const std::wstring base = mainSource.Folder().Wide() + L"\\" + SourceBaseName(mainSource.Name());
    const FilePath exe(base + L".exe"), com(base + L".com");
    return com.IsNewerFileThan(exe) ? com : exe;
}

ProgramToDebug DebuggedProgram(const FilePath& source, const CompilerSettings& settings)
{
    if (settings.m_compilerType != CompilerType::Mcs51) {
        FilePath program = BuiltProgram(source);
        for (const wchar_t* extension : {L".bin", L".img"}) {
            const FilePath image = source.Folder().Child(SourceBaseName(source.Name()) + extension);
            if (image.IsNewerFileThan(program))
                program = image;
        }
        return {program, true};
    }
    const FilePath hex = source.Folder().Child(SourceBaseName(source.Name()) + L".hex");
    return {hex, !(WithBuiltInAssembler(settings).m_bNoLink && hex.IsNewerFileThan(source))};
}

std::wstring RunCommandLine(const FilePath& source)
{
    const FilePath program = BuiltProgram(source);
    // The system adds ".exe" to a name without one.
    return CommandLinePath(IsComProgram(program) ? program : FilePath(program.Wide().substr(0, program.Wide().size() - 4)));
}

std::wstring DebugCommandLine(const FilePath& debugger, const std::wstring& options, const FilePath& source)
{
    return CommandLinePath(debugger) + OptionsPart(options) + L" " + CommandLinePath(BuiltProgram(source));
}

namespace {
// The table's cables on one command line: each ended by ';'.
std::wstring OneLineWiring(const std::string& table)
{
    std::wstring line;
    for (const char c : table)
        if (c != '\r')
            line += c == '\n' ? L';' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return line;
}
}

std::wstring BuiltInRunCommandLine(const FilePath& program, const BuiltInRun& builtIn)
{
    std::wstring options = L" --pause";
    if (builtIn.pace)
        options += L" --pace " + std::to_wstring(builtIn.pace);
    for (const FilePath& folder : builtIn.writableFolders)
        options += L" --allow-writes " + CommandLinePath(folder, Quoting::Always);
    if (!builtIn.floppy.empty())
        options += L" --floppy " + CommandLinePath(builtIn.floppy, Quoting::Always);
    if (!builtIn.labBox.empty())
        options += L" --labbox " + FilePath::FromUtf8(builtIn.labBox).Wide();
    if (!builtIn.labBox.empty() && !builtIn.labWiring.empty())
        options += L" --wiring \"" + OneLineWiring(builtIn.labWiring) + L"\"";
    return CommandLinePath(BuiltInMachine(), Quoting::Always) + options + L" " + CommandLinePath(program, Quoting::Always);
}

std::wstring BuiltInDebugCommandLine(const FilePath& debugger, const FilePath& program)
{
    return CommandLinePath(BuiltInMachine(), Quoting::Always) + L" --pause " +
           CommandLinePath(debugger, Quoting::Always) + L" " + DosNameInFolder(program);
}

std::wstring MsDosPlayerCommandLine(const FilePath& emulator, std::initializer_list<FilePath> programs)
{
    std::wstring commandLine = CommandLinePath(emulator, Quoting::Always);
    for (const FilePath& program : programs)
        commandLine += L" " + CommandLinePath(program, Quoting::Always);
    return commandLine;
}

std::wstring DosBoxCommandLine(const FilePath& emulator, EmulatorKind kind, const FilePath& configFile)
{
    return CommandLinePath(emulator, Quoting::Always) + L" -conf " + CommandLinePath(configFile, Quoting::Always) +
           DosBoxOptions(kind);
}

CDosBoxConfig DosBoxRunConfig(const FilePath& source, const FilePath& debugger)
{
    CDosBoxConfig config;
    const std::wstring program = config.DosNameOf(BuiltProgram(source));
    config.Mount(L'c', source.Folder());
    if (!debugger.empty())
        config.Mount(L'd', debugger.Folder());
    config.AddCommand(L"c:");
    config.AddCommand(debugger.empty() ? program : L"D:\\" + config.DosNameOf(debugger) + L" " + program);
    return config;
}

std::optional<FilePath> FindDebugger(const FilePath& compilerProgram, const FilePath& emulatorPath)
{
    for (const FilePath* tool : {&compilerProgram, &emulatorPath}) {
        if (tool->empty())
            continue;
        for (const wchar_t* name : kDebuggerNames) {
            if (const FilePath debugger = tool->Folder().Child(name); debugger.IsFile())
                return debugger;
        }
    }
    return DebuggerOnSearchPath();
}

Result<LaunchCommand> MakeRunCommand(const FilePath& source, const FilePath& emulatorPath, const Services& services,
                                     const BuiltInRun& builtIn)
{
    const FilePath program = BuiltProgram(source);
    const Result<Route> route = ChooseRoute(program, emulatorPath, services);
    if (!route)
        return route.Error();
    switch (*route) {
    case Route::BuiltIn:
        return Titled(BuiltInLaunch(BuiltInRunCommandLine(program, builtIn)), program.Name());
    case Route::MsDosPlayer:
        return Titled(MsDosPlayerLaunch(emulatorPath, {program}), program.Name());
    case Route::DosBox:
        return DosBoxLaunch(emulatorPath, DosBoxRunConfig(source));
    case Route::Direct:
        break;
    }
    return Direct(RunCommandLine(source), program);
}

Result<LaunchCommand> MakeDebugCommand(const FilePath& source, const std::wstring& debuggerSetting,
                                       const FilePath& compilerProgram, const FilePath& emulatorPath,
                                       const Services& services)
{
    const ToolSetting chosen = SplitToolSetting(debuggerSetting);
    std::optional<FilePath> debugger;
    if (!chosen.program.empty())
        debugger = chosen.program;
    else if (SystemRunsDosPrograms(services))
        debugger = FilePath(kDebuggerName);
    else
        debugger = FindDebugger(compilerProgram, emulatorPath);
    if (!debugger)
        return Problem{Problem::Kind::NoDebugger, kDebuggerName};
    const Result<Route> route = ChooseRoute(*debugger, emulatorPath, services);
    if (!route)
        return route.Error();
    switch (*route) {
    case Route::BuiltIn: {
        // DEBUG takes its program's name from its command tail, as a DOS name in its folder.
        LaunchCommand command = BuiltInLaunch(BuiltInDebugCommandLine(*debugger, BuiltProgram(source)));
        command.workingFolder = source.Folder().AsFolder();
        return Titled(std::move(command), L"DEBUG " + BuiltProgram(source).Name());
    }
    case Route::MsDosPlayer:
        return Titled(MsDosPlayerLaunch(emulatorPath, {*debugger, BuiltProgram(source)}), L"DEBUG " + BuiltProgram(source).Name());
    case Route::DosBox:
        return DosBoxLaunch(emulatorPath, DosBoxRunConfig(source, *debugger));
    case Route::Direct:
        break;
    }
    return Direct(DebugCommandLine(*debugger, chosen.options, source), *debugger);
}

Result<void> LaunchProgram(const LaunchCommand& command)
{
    PROCESS_INFORMATION process{};
    if (!CreateLaunchedProcess(command, process)) {
        const DWORD error = ::GetLastError();
        if (!command.configFile.empty())
            ::DeleteFileW(command.configFile.c_str());
        return Problem{Problem::Kind::NotStarted, command.program.Wide(), error};
    }
    ::CloseHandle(process.hThread);
    UniqueHandle program(process.hProcess);
    // DOSBox reads its configuration when it starts, but nothing tells when that is done.
    if (!command.configFile.empty() || command.bWaitForEnd)
        ::WaitForSingleObject(program.get(), INFINITE);
    if (!command.configFile.empty())
        ::DeleteFileW(command.configFile.c_str());
    return {};
}
