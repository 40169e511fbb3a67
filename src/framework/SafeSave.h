// Writing a file so that a failure never damages it: the bytes go to a temporary file in the
// same folder, which takes the target's place only once it is complete and on the disk. Until
// then the target is what it was; a failure leaves no temporary file behind.
#pragma once

#include "framework/Handles.h"

#include <windows.h>

#include <string>

class CSafeSave {
public:
    explicit CSafeSave(const std::string& path);
    // Removes the temporary file unless it took the target's place.
    ~CSafeSave();
    CSafeSave(const CSafeSave&) = delete;
    CSafeSave& operator=(const CSafeSave&) = delete;

    // The temporary file to write the new bytes into; null when it could not be made.
    HANDLE GetFile() const { return m_file.get(); }
    // Flushes and closes the temporary file and puts it in the target's place, keeping an
    // existing target's attributes (and, where the system's ReplaceFile does so, its security
    // and creation time).
    bool Commit();
    // The system's error of the step that failed.
    DWORD GetError() const { return m_dwError; }

private:
    bool TargetCanBeReplaced() const;
    bool Fail();

    std::wstring m_strTarget;
    std::wstring m_strTemporary;
    UniqueHandle m_file;
    DWORD m_dwError = ERROR_SUCCESS;
};
