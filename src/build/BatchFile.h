// The batch file of a build step: "c:\temp.bat" (or where the services say), or temp.bat in
// the user's temporary folder where that cannot be written. Lines end in CR LF. The file
// goes when its owner does, together with its companions (a DOSBox step's configuration),
// unless it is kept on purpose.
#pragma once

#include "build/FilePath.h"
#include "build/Result.h"
#include "framework/Handles.h"

#include <windows.h>

#include <string>
#include <vector>

struct Services;

class CBatchFile {
public:
    // Creates (truncates) the file; the problem, with the system's reason, when neither place
    // can be written.
    static Result<CBatchFile> Create(const Services& services);

    CBatchFile(CBatchFile&& other) noexcept;
    CBatchFile& operator=(CBatchFile&& other) noexcept;
    ~CBatchFile();

    // Writes the line in the console's code page, as cmd.exe reads it; the problem, with the
    // system's reason, when the write fails.
    Result<void> WriteLine(const std::wstring& line);
    Result<void> Close();
    // A file that goes together with the batch file (none for an empty path).
    void AddCompanionFile(const FilePath& path);
    // Closes the file and leaves it on disk, as it is now, for whoever looks.
    void Keep();

    const FilePath& Path() const { return m_path; }
    // The command line that runs the file: its path, quoted when it holds blanks.
    std::wstring CommandLine() const;

private:
    CBatchFile(UniqueHandle file, FilePath path) : m_file(std::move(file)), m_path(std::move(path)) {}
    // The file could not be written: the system's reason, the file its subject.
    Problem NotWritten(DWORD error) const;
    void Delete();

    UniqueHandle m_file;
    FilePath m_path;
    std::vector<FilePath> m_companions;
};
