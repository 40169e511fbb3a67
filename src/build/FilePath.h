// A path of a file or folder in the build engine, as the system takes it (UTF-16): widened
// once where it enters the engine, handed to the system as it is.
#pragma once

#include <string>
#include <string_view>

class FilePath {
public:
    FilePath() = default;
    explicit FilePath(std::wstring path) : m_strPath(std::move(path)) {}
    static FilePath FromUtf8(std::string_view path);

    const std::wstring& Wide() const { return m_strPath; }
    const wchar_t* c_str() const { return m_strPath.c_str(); }
    // For the program's own texts (messages, the document's path).
    std::string Utf8() const;
    bool empty() const { return m_strPath.empty(); }

    // The folder, without a separator at its end ("c:" for a file in a drive's root); empty
    // for a bare name.
    FilePath Folder() const;
    // The last part: the file's name with its extension.
    std::wstring Name() const;
    // The file of this name in this folder.
    FilePath Child(std::wstring_view name) const;
    // A folder as Folder gives it, as a path that names that folder alone: a bare drive
    // ("c:", the current folder on that drive) gets its backslash.
    FilePath AsFolder() const;
    // The path from the folder to this one where it lies inside it (letter case aside), else
    // empty.
    std::wstring RelativeTo(const FilePath& folder) const;

    bool IsFile() const;
    // The file's bytes; what could be read of them, nothing when it cannot be opened.
    std::string ReadBytes() const;
    // Whether it is a file whose last write is later than the other's, or the other is none.
    bool IsNewerFileThan(const FilePath& other) const;

    friend bool operator==(const FilePath&, const FilePath&) = default;

private:
    std::wstring m_strPath;
};

// The folder of the running program, where Korvane's own tools lie beside it.
FilePath RunningProgramFolder();

// The user's temporary folder; empty when the system names none.
FilePath TemporaryFolderPath();
