// Making a build step ready.
#include "build/StepPreparation.h"

#include "build/ConsolePath.h"
#include "build/StepCommand.h"
#include "framework/Unicode.h"

namespace {
const std::string& ToolOf(const StepRequest& request)
{
    return request.action == BuildAction::Compile ? request.settings.m_strCompilerPath
                                                  : request.settings.m_strLinkerPath;
}
}

Result<ReadyStep> PrepareStep(const StepRequest& request, const Services& services)
{
    const FilePath sourceDir = request.source.Folder();
    const std::optional<FilePath> consoleDir = ConsoleFormOf(sourceDir);
    if (!consoleDir)
        return Problem{Problem::Kind::PathNotInConsole, sourceDir.Wide()};

    Result<CBatchFile> batch = CBatchFile::Create(services);
    if (!batch)
        return batch.Error();
    for (const std::wstring& line : {DriveLine(*consoleDir), ChangeDirectoryLine(*consoleDir)}) {
        if (Result<void> written = batch->WriteLine(line); !written)
            return written.Error();
    }

    const std::string& tool = ToolOf(request);
    if (tool.empty()) {
        // The drive and folder lines stay on disk, where the user who looks finds them.
        batch->Keep();
        return Problem{request.action == BuildAction::Compile ? Problem::Kind::NoCompilerPath
                                                              : Problem::Kind::NoLinkerPath,
                       {}};
    }
    Result<StepCommand> command =
        MakeStepCommand(request.source, SplitToolSetting(Widen(tool)), ArgumentTemplateOf(request.action, request.settings, request.bForDebugger),
                        FilePath::FromUtf8(request.settings.m_strDosEmulatorPath), services, request.linkedModules);
    if (!command)
        return command.Error();
    batch->AddCompanionFile(command->captured.configFile);
    batch->AddCompanionFile(command->captured.batchFile);
    if (Result<void> written = batch->WriteLine(command->toolLine); !written)
        return written.Error();
    if (Result<void> closed = batch->Close(); !closed)
        return closed.Error();
    return ReadyStep{request.action, request.source, std::move(batch).Value(), command->captured.output,
                     command->captured.exitCode};
}
