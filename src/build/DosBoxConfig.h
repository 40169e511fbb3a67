// The configuration file a DOSBox run is started with: its [autoexec] section mounts host
// folders as drives and runs DOS commands. Inside DOSBox, file names are 8.3 and host paths
// are taken in the emulator's own narrow encoding, so they go in as ASCII.
#pragma once

#include "build/FilePath.h"
#include "build/Problem.h"

#include <optional>
#include <string>
#include <vector>

// A DOS file name: a base name of 1 to 8 letters, digits or underscores, and an extension
// of 1 to 3 of them after a dot, or none.
bool IsEightDotThreeName(const std::wstring& name);

// The file a DOSBox build step redirects its tool's output to, in the source folder.
inline constexpr const wchar_t* kDosBoxOutputName = L"KORVANE.OUT";

class CDosBoxConfig {
public:
    // Mounts a host folder as a drive (a letter), in a form DOSBox takes: the path itself
    // when it is ASCII, else its short form; quoted when it holds a blank.
    void Mount(wchar_t drive, const FilePath& folder);
    // The upper-case DOS name of the file at path, which must be 8.3.
    std::wstring DosNameOf(const FilePath& path);
    // A line of the [autoexec] section after the mounts.
    void AddCommand(const std::wstring& command);

    // The first problem of the mounts and names, if any.
    const std::optional<Problem>& GetProblem() const { return m_problem; }
    // The whole file, lines ending in CR LF; every % doubled, as DOSBox runs [autoexec] as
    // a batch file.
    std::string Text() const;
    // Writes the file into the temporary folder. Its path, in the form DOSBox takes (and by
    // which it can be deleted); nothing, with the problem set, when it cannot be written.
    std::optional<FilePath> WriteToTemporaryFolder();

private:
    void SetProblem(Problem::Kind kind, const std::wstring& subject, DWORD error = ERROR_SUCCESS);

    std::vector<std::wstring> m_mounts;
    std::vector<std::wstring> m_commands;
    std::optional<Problem> m_problem;
};
