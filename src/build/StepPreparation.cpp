// Making a build step ready.
#include "build/StepPreparation.h"

#include "build/ConsolePath.h"
#include "build/StepCommand.h"
#include "framework/Unicode.h"

namespace {
Problem BatchFileNotWritten(const CBatchFile* batch, DWORD error)
{
    return Problem{Problem::Kind::BatchFileNotWritten, batch ? batch->Path().Wide() : std::wstring(), error};
}

const std::string& ToolOf(const StepRequest& request)
{
    return request.action == BuildAction::Compile ? request.settings.m_strCompilerPath
                                                  : request.settings.m_strLinkerPath;
}
}

PreparedStep PrepareStep(const StepRequest& request, const Services& services)
{
    const FilePath sourceDir = request.source.Folder();
    const std::optional<FilePath> consoleDir = ConsoleFormOf(sourceDir);
    if (!consoleDir)
        return Problem{Problem::Kind::PathNotInConsole, sourceDir.Wide()};

    DWORD error = ERROR_SUCCESS;
    std::optional<CBatchFile> batch = CBatchFile::Create(services, error);
    if (!batch)
        return BatchFileNotWritten(nullptr, error);
    if (!batch->WriteLine(DriveLine(*consoleDir), error) || !batch->WriteLine(ChangeDirectoryLine(*consoleDir), error))
        return BatchFileNotWritten(&*batch, error);

    const std::string& tool = ToolOf(request);
    if (tool.empty()) {
        // The drive and folder lines stay on disk, where the user who looks finds them.
        batch->Keep();
        return Problem{request.action == BuildAction::Compile ? Problem::Kind::NoCompilerPath
                                                              : Problem::Kind::NoLinkerPath,
                       {}};
    }
    const StepCommand command =
        MakeStepCommand(request.source, SplitToolSetting(Widen(tool)), ArgumentTemplateOf(request.action, request.settings),
                        FilePath::FromUtf8(request.settings.m_strDosEmulatorPath), services);
    if (command.problem)
        return *command.problem;
    batch->AddCompanionFile(command.captured.configFile);
    batch->AddCompanionFile(command.captured.batchFile);
    if (!batch->WriteLine(command.toolLine, error) || !batch->Close(error))
        return BatchFileNotWritten(&*batch, error);
    return ReadyStep{request.action, request.source, std::move(*batch), command.captured.output,
                     command.captured.exitCode};
}
