// Replacing a file through a temporary file.
#include "framework/SafeSave.h"

#include "framework/PathName.h"
#include "framework/Unicode.h"

CSafeSave::CSafeSave(const std::string& path) : m_strTarget(Widen(FullPathOf(path)))
{
    std::wstring folder = Widen(SplitPath(Narrow(m_strTarget)).folder);
    wchar_t temporary[MAX_PATH * 4] = L"";
    // Made in the target's folder, so that putting it in place is a rename on one volume.
    if (folder.empty() || !::GetTempFileNameW(folder.c_str(), L"kvn", 0, temporary)) {
        Fail();
        return;
    }
    m_strTemporary = temporary;
    m_file = FileHandle(
        ::CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_file)
        Fail();
}

CSafeSave::~CSafeSave()
{
    m_file.reset();
    if (!m_strTemporary.empty())
        ::DeleteFileW(m_strTemporary.c_str());
}

// A target that another program holds open without letting it be deleted cannot be replaced.
// Asking first gives the plain sharing error, and spares the stray file that some systems'
// ReplaceFile leaves behind when it finds this out halfway.
bool CSafeSave::TargetCanBeReplaced() const
{
    UniqueHandle probe = FileHandle(::CreateFileW(m_strTarget.c_str(), DELETE,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(probe);
}

bool CSafeSave::Fail()

{
    m_dwError = ::GetLastError();
    if (m_dwError == ERROR_SUCCESS)
        m_dwError = ERROR_GEN_FAILURE;
    return false;
}

bool CSafeSave::Commit()
{
    if (!m_file)
        return false;
    if (!::FlushFileBuffers(m_file.get()))
        return Fail();
    m_file.reset();
    DWORD attributes = ::GetFileAttributesW(m_strTarget.c_str());
    bool targetExists = attributes != INVALID_FILE_ATTRIBUTES;
    // The target's attributes go to the new file by hand as well, for the systems whose
    // ReplaceFile only renames (Wine's). Read-only is left out: such a target cannot be
    // replaced anyway, and a read-only temporary file could not be removed.
    if (targetExists)
        ::SetFileAttributesW(m_strTemporary.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    if (targetExists && !TargetCanBeReplaced())
        return Fail();
    BOOL moved = targetExists ? ::ReplaceFileW(m_strTarget.c_str(), m_strTemporary.c_str(), nullptr,
                                               REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                              : ::MoveFileExW(m_strTemporary.c_str(), m_strTarget.c_str(), MOVEFILE_WRITE_THROUGH);
    if (!moved)
        return Fail();
    m_strTemporary.clear();
    return true;
}
