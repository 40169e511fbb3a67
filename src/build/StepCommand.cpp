// The tool line of a build step.
#include "build/StepCommand.h"

#include "build/CommandText.h"
#include "build/ConsolePath.h"
#include "framework/PathName.h"

namespace {
std::string OptionsPart(const ToolSetting& tool)
{
    return tool.options.empty() ? std::string() : " " + tool.options;
}

StepCommand Failed(CommandProblem problem)
{
    StepCommand command;
    command.problem = std::move(problem);
    return command;
}

StepCommand PathNotInConsole(const std::string& path)
{
    return Failed(CommandProblem{CommandProblem::Kind::PathNotInConsole, path});
}

StepCommand DosBoxStep(BuildAction action, const std::string& sourcePath, const ToolSetting& tool,
                       const std::string& emulatorPath)
{
    const std::optional<std::string> emulator = ConsoleFormOf(emulatorPath);
    if (!emulator)
        return PathNotInConsole(emulatorPath);
    CDosBoxConfig config = DosBoxStepConfig(action, sourcePath, tool);
    const std::optional<std::string> configFile = config.Problem() ? std::nullopt : config.WriteToTemporaryFolder();
    if (!configFile)
        return Failed(*config.Problem());
    StepCommand command;
    command.toolLine = DosBoxToolLine(*emulator, EmulatorKindOf(emulatorPath), *configFile);
    command.configFile = *configFile;
    command.capturedFile = SplitPath(sourcePath).folder + "\\" + kDosBoxOutputName;
    return command;
}
}

std::string DirectToolLine(const ToolSetting& tool, const std::string& argument)
{
    return BatchPath(tool.program) + OptionsPart(tool) + " " + BatchArgument(argument);
}

std::string MsDosPlayerToolLine(const std::string& emulator, const ToolSetting& tool, const std::string& argument)
{
    return BatchPath(emulator, Quoting::Always) + " " + BatchPath(tool.program, Quoting::Always) + OptionsPart(tool) +
           " " + BatchArgument(argument);
}

std::string DosBoxToolLine(const std::string& emulator, EmulatorKind kind, const std::string& configFile)
{
    return BatchPath(emulator, Quoting::Always) + " -conf " + BatchPath(configFile, Quoting::Always) +
           DosBoxOptions(kind);
}

CDosBoxConfig DosBoxStepConfig(BuildAction action, const std::string& sourcePath, const ToolSetting& tool)
{
    const PathParts source = SplitPath(sourcePath);
    CDosBoxConfig config;
    config.DosNameOf(sourcePath);
    const std::string toolName = config.DosNameOf(tool.program);
    config.Mount('c', source.folder);
    config.Mount('d', SplitPath(tool.program).folder);
    config.AddCommand("c:");
    config.AddCommand("D:\\" + toolName + OptionsPart(tool) + " " + StepArgument(action, source.name) + " > " +
                      kDosBoxOutputName);
    config.AddCommand("exit");
    return config;
}

StepCommand MakeStepCommand(BuildAction action, const std::string& sourcePath, const std::string& toolSetting,
                            const std::string& emulatorPath)
{
    const ToolSetting tool = SplitToolSetting(toolSetting);
    const RouteChoice choice = ChooseRoute(tool.program, emulatorPath);
    if (choice.problem)
        return Failed(*choice.problem);
    if (choice.route == Route::DosBox)
        return DosBoxStep(action, sourcePath, tool, emulatorPath);

    const std::optional<std::string> program = ConsoleFormOf(tool.program);
    if (!program)
        return PathNotInConsole(tool.program);
    const std::optional<std::string> sourceName = ConsoleNameOf(sourcePath);
    if (!sourceName)
        return PathNotInConsole(sourcePath);
    const ToolSetting consoleTool{*program, tool.options};
    const std::string argument = StepArgument(action, *sourceName);
    StepCommand command;
    if (choice.route == Route::Direct) {
        command.toolLine = DirectToolLine(consoleTool, argument);
        return command;
    }
    const std::optional<std::string> emulator = ConsoleFormOf(emulatorPath);
    if (!emulator)
        return PathNotInConsole(emulatorPath);
    command.toolLine = MsDosPlayerToolLine(*emulator, consoleTool, argument);
    return command;
}
