// The tool line of a build step.
#include "build/StepCommand.h"

#include "build/CommandText.h"
#include "build/ConsolePath.h"

namespace {
std::wstring OptionsPart(const ToolSetting& tool)
{
    return tool.options.empty() ? std::wstring() : L" " + tool.options;
}

Problem PathNotInConsole(const FilePath& path)
{
    return Problem{Problem::Kind::PathNotInConsole, path.Wide()};
}

Result<StepCommand> DosBoxStep(const FilePath& source, const ToolSetting& tool, const std::wstring& argumentTemplate,
                               const FilePath& emulatorPath)
{
    const std::optional<FilePath> emulator = ConsoleFormOf(emulatorPath);
    if (!emulator)
        return PathNotInConsole(emulatorPath);
    CDosBoxConfig config = DosBoxStepConfig(source, tool, argumentTemplate);
    const Result<FilePath> configFile = config.WriteToTemporaryFolder();
    if (!configFile)
        return configFile.Error();
    StepCommand command;
    command.toolLine = DosBoxToolLine(*emulator, EmulatorKindOf(emulatorPath), *configFile);
    command.captured = CapturedFiles{*configFile, config.BatchFile(), source.Folder().Child(kDosBoxOutputName),
                                     source.Folder().Child(kDosBoxExitCodeName)};
    return command;
}
}

std::wstring DirectToolLine(const ToolSetting& tool, const std::wstring& arguments)
{
    return BatchPath(tool.program) + OptionsPart(tool) + L" " + arguments;
}

std::wstring EmulatedToolLine(const FilePath& emulator, const ToolSetting& tool, const std::wstring& arguments)
{
    return BatchPath(emulator, Quoting::Always) + L" " + BatchPath(tool.program, Quoting::Always) + OptionsPart(tool) +
           L" " + arguments;
}

std::wstring DosBoxToolLine(const FilePath& emulator, EmulatorKind kind, const FilePath& configFile)
{
    return BatchPath(emulator, Quoting::Always) + L" -conf " + BatchPath(configFile, Quoting::Always) +
           DosBoxOptions(kind);
}

CDosBoxConfig DosBoxStepConfig(const FilePath& source, const ToolSetting& tool, const std::wstring& argumentTemplate)
{
    CDosBoxConfig config;
    config.DosNameOf(source);
    const std::wstring toolName = config.DosNameOf(tool.program);
    config.Mount(L'c', source.Folder());
    config.Mount(L'd', tool.program.Folder());
    config.AddCommand(L"c:");
    config.AddCapturedCommand(L"D:\\" + toolName + OptionsPart(tool) + L" " +
                              ExpandArguments(argumentTemplate, source.Name(), ArgumentsFor::Dos));
    config.AddCommand(L"exit");
    return config;
}

Result<StepCommand> MakeStepCommand(const FilePath& source, const ToolSetting& tool,
                                    const std::wstring& argumentTemplate, const FilePath& emulatorPath,
                                    const Services& services)
{
    const Result<Route> route = ChooseRoute(tool.program, emulatorPath, services);
    if (!route)
        return route.Error();
    if (*route == Route::DosBox)
        return DosBoxStep(source, tool, argumentTemplate, emulatorPath);

    const std::optional<FilePath> program = ConsoleFormOf(tool.program);
    if (!program)
        return PathNotInConsole(tool.program);
    const std::optional<std::wstring> sourceName = ConsoleNameOf(source);
    if (!sourceName)
        return PathNotInConsole(source);
    const ToolSetting consoleTool{*program, tool.options};
    const std::wstring argument = ExpandArguments(argumentTemplate, *sourceName, ArgumentsFor::Batch);
    StepCommand command;
    if (*route == Route::Direct) {
        command.toolLine = DirectToolLine(consoleTool, argument);
        return command;
    }
    const FilePath emulatorProgram = *route == Route::BuiltIn ? BuiltInMachine() : emulatorPath;
    const std::optional<FilePath> emulator = ConsoleFormOf(emulatorProgram);
    if (!emulator)
        return PathNotInConsole(emulatorProgram);
    command.toolLine = EmulatedToolLine(*emulator, consoleTool, argument);
    return command;
}
