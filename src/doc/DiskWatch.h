// What the document knows of its file on disk, its last write and its size when it was read
// or saved, so that a change by another program (or the file's going) is noticed, once.
#pragma once

#include <windows.h>

#include <string>

struct FileStamp {
    bool bExists = false;
    FILETIME lastWrite{};
    ULONGLONG nSize = 0;

    static FileStamp Of(const std::string& path);
    bool SameAs(const FileStamp& other) const;
};

enum class DiskChange { None, Changed, Gone };

class CDiskWatch {
public:
    // The file as it is now is the document's own: just read or saved.
    void Record(const std::string& path);
    // The file of a document that was never read here, as a recovered backup knew it.
    void Record(const std::string& path, const FileStamp& stamp);
    // A document without a file: nothing to watch.
    void Forget();

    // How the file differs from what was recorded; a difference is told once, and the file as
    // it is now is what the next check compares with.
    DiskChange Check();
    const FileStamp& GetStamp() const { return m_stamp; }

private:
    std::string m_strPath;
    FileStamp m_stamp;
};
