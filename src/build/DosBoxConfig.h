// The configuration file a DOSBox run is started with: its [autoexec] section mounts host
// folders as drives and runs DOS commands. Inside DOSBox, file names are 8.3 and host paths
// are taken in the emulator's own narrow encoding, so they go in as ASCII.
#pragma once

#include "build/FilePath.h"
#include "build/Result.h"

#include <optional>
#include <string>
#include <vector>

// A DOS file name: a base name of 1 to 8 letters, digits or underscores, and an extension
// of 1 to 3 of them after a dot, or none.
bool IsEightDotThreeName(const std::wstring& name);

// The files a DOSBox build step leaves in the source folder: its tool's output, and the
// tool's exit code (DOSBox itself always ends with 0).
inline constexpr const wchar_t* kDosBoxOutputName = L"KORVANE.OUT";
inline constexpr const wchar_t* kDosBoxExitCodeName = L"KORVANE.RET";

class CDosBoxConfig {
public:
    // Mounts a host folder as a drive (a letter), in a form DOSBox takes: the path itself
    // when it is ASCII, else its short form; quoted when it holds a blank.
    void Mount(wchar_t drive, const FilePath& folder);
    // The upper-case DOS name of the file at path, which must be 8.3.
    std::wstring DosNameOf(const FilePath& path);
    // A line of the [autoexec] section after the mounts.
    void AddCommand(const std::wstring& command);
    // Runs the command, its output into KORVANE.OUT and its exit code into KORVANE.RET on
    // the current drive. The lines that find the code (one per errorlevel) do not fit into
    // [autoexec], so they go into a batch file beside the configuration, on drive E:.
    void AddCapturedCommand(const std::wstring& command);

    // The whole file, lines ending in CR LF; every % doubled, as DOSBox runs [autoexec] as
    // a batch file. A captured command calls the batch file of that name on E:, which
    // WriteToTemporaryFolder mounts (the temporary folder).
    std::string Text(const std::wstring& batchName = {}) const;
    // The batch file of a captured command.
    std::string BatchText() const;
    // Writes the file (and a captured command's batch file, of the same name with the
    // extension .BAT) into the temporary folder. Its path, in the form DOSBox takes (and by
    // which it can be deleted); the first problem of the mounts and names instead, when there
    // was one (nothing is written then), or why it could not be written.
    Result<FilePath> WriteToTemporaryFolder();
    // The batch file written with the configuration, if there is one.
    const FilePath& BatchFile() const { return m_batchFile; }

private:
    // Keeps the first problem of the mounts and names, which writing then returns.
    void SetProblem(Problem::Kind kind, const std::wstring& subject, DWORD error = ERROR_SUCCESS);

    std::optional<FilePath> WriteBatchBeside(const FilePath& config);

    std::vector<std::wstring> m_mounts;
    std::vector<std::wstring> m_commands;
    // The command that AddCapturedCommand took, and where in m_commands its call goes.
    std::wstring m_strCaptured;
    size_t m_nCapturedAt = 0;
    FilePath m_batchFile;
    std::optional<Problem> m_problem;
};
