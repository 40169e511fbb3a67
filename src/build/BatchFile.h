// The batch file of a build step: "c:\temp.bat", or temp.bat in the user's temporary folder
// where the root of drive C: cannot be written. Lines end in CR LF. A step that runs its tool
// in DOSBox has a configuration file besides, which goes with the batch file.
#pragma once

#include <cstdio>
#include <string>

class CBatchFile {
public:
    CBatchFile() = default;
    ~CBatchFile();
    CBatchFile(const CBatchFile&) = delete;
    CBatchFile& operator=(const CBatchFile&) = delete;

    // Creates (truncates) the file; false when neither place can be written.
    bool Create();
    // Writes the line (UTF-8) in the console's code page, as cmd.exe reads it.
    void WriteLine(const std::string& line);
    // A file that Delete removes together with the batch file.
    void SetCompanionFile(const std::string& path) { m_strCompanionPath = path; }

    void Close();
    // Deletes the file (closing it first) and its companion.
    void Delete();

    const std::string& Path() const { return m_strPath; }
    // The command line that runs the file: its path, quoted when it holds blanks.
    std::string CommandLine() const;

    // Where the file is tried first; tests point it somewhere that cannot be written.
    static void SetPreferredPath(const std::string& path);
    static std::string PreferredPath();

private:
    bool CreateAt(const std::string& path);

    std::FILE* m_pFile = nullptr;
    std::string m_strPath;
    std::string m_strCompanionPath;
};
