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

// The objects of a link of several modules as a batch line names them: each module from the
// source's folder, as the console holds it (its whole short form where the source's folder
// does not lead to it), without its extension.
Result<ObjectList> ConsoleObjects(const FilePath& consoleFolder, const ToolSetting& linker,
                                  const std::vector<ProgramModule>& linked)
{
    ObjectList objects{{}, ObjectSeparatorOf(linker.program)};
    for (const ProgramModule& module : linked) {
        const std::optional<FilePath> form = ConsoleFormOf(module.path);
        if (!form)
            return PathNotInConsole(module.path);
        const std::wstring relative = form->RelativeTo(consoleFolder);
        const std::wstring name = *form == module.path ? module.listedName : relative.empty() ? form->Wide() : relative;
        objects.names.push_back(SourceBaseName(name));
    }
    return objects;
}

Result<StepCommand> DosBoxStep(const FilePath& source, const ToolSetting& tool, const std::wstring& argumentTemplate,
                               const FilePath& emulatorPath, const std::vector<ProgramModule>& linked)
{
    const std::optional<FilePath> emulator = ConsoleFormOf(emulatorPath);
    if (!emulator)
        return PathNotInConsole(emulatorPath);
    CDosBoxConfig config = DosBoxStepConfig(source, tool, argumentTemplate, linked);
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

CDosBoxConfig DosBoxStepConfig(const FilePath& source, const ToolSetting& tool, const std::wstring& argumentTemplate,
                               const std::vector<ProgramModule>& linked)
{
    CDosBoxConfig config;
    config.DosNameOf(source);
    // The source's folder is C:, so each module goes by its path from there.
    ObjectList objects{{}, ObjectSeparatorOf(tool.program)};
    for (const ProgramModule& module : linked) {
        config.DosNameOf(module.path);
        objects.names.push_back(SourceBaseName(module.listedName));
    }
    const std::wstring toolName = config.DosNameOf(tool.program);
    config.Mount(L'c', source.Folder());
    config.Mount(L'd', tool.program.Folder());
    config.AddCommand(L"c:");
    config.AddCapturedCommand(L"D:\\" + toolName + OptionsPart(tool) + L" " +
                              ExpandArguments(argumentTemplate, source.Name(), ArgumentsFor::Dos, objects));
    config.AddCommand(L"exit");
    return config;
}

Result<StepCommand> MakeStepCommand(const FilePath& source, const ToolSetting& tool,
                                    const std::wstring& argumentTemplate, const FilePath& emulatorPath,
                                    const Services& services, const std::vector<ProgramModule>& linked)
{
    const Result<Route> route = ChooseRoute(tool.program, emulatorPath, services);
    if (!route)
        return route.Error();
    if (*route == Route::DosBox)
        return DosBoxStep(source, tool, argumentTemplate, emulatorPath, linked);

    const std::optional<FilePath> program = ConsoleFormOf(tool.program);
    if (!program)
        return PathNotInConsole(tool.program);
    const std::optional<std::wstring> sourceName = ConsoleNameOf(source);
    if (!sourceName)
        return PathNotInConsole(source);
    const std::optional<FilePath> sourceFolder = ConsoleFormOf(source.Folder());
    if (!sourceFolder)
        return PathNotInConsole(source.Folder());
    const Result<ObjectList> objects = ConsoleObjects(*sourceFolder, tool, linked);
    if (!objects)
        return objects.Error();
    const ToolSetting consoleTool{*program, tool.options};
    const std::wstring argument = ExpandArguments(argumentTemplate, *sourceName, ArgumentsFor::Batch, *objects);
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
