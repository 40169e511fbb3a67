// Reading and writing document files.
#include "framework/docview/DocumentFile.h"

#include "framework/AfxRes.h"
#include "framework/Handles.h"
#include "framework/SafeSave.h"
#include "framework/Services.h"
#include "framework/Unicode.h"

#include <algorithm>

namespace {
// The calling thread's last error, or the given one when the system gave none.
DWORD LastErrorOr(DWORD unexplained)
{
    const DWORD error = ::GetLastError();
    return error == ERROR_SUCCESS ? unexplained : error;
}
}

UINT FileErrorMessageId(DWORD systemError, UINT fallbackId)
{
    switch (systemError) {
    case ERROR_FILE_NOT_FOUND:
        return AFX_IDP_FILE_NOT_FOUND;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return AFX_IDP_FILE_BAD_PATH;
    case ERROR_TOO_MANY_OPEN_FILES:
        return AFX_IDP_FILE_TOO_MANY_OPEN;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return AFX_IDP_FILE_ACCESS_DENIED;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    // A target that another program holds open cannot be replaced.
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_USER_MAPPED_FILE:
        return AFX_IDP_FILE_SHARING;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return AFX_IDP_FILE_DISKFULL;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
        return AFX_IDP_FILE_HARD_IO;
    default:
        return fallbackId;
    }
}

Expected<std::string, FileError> ReadDocumentFile(const std::string& path, size_t maxBytes)
{
    UniqueHandle file = FileHandle(::CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return FileError{0, ::GetLastError(), false};
    LARGE_INTEGER size{};
    ::GetFileSizeEx(file.get(), &size);
    if (static_cast<ULONGLONG>(size.QuadPart) > maxBytes)
        return FileError{AFX_IDP_FILE_TOO_LARGE, ERROR_SUCCESS, true};
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD done = 0;
    ::SetLastError(ERROR_SUCCESS);
    // A short read without an error is a file that ended early.
    if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) ||
        done != bytes.size())
        return FileError{0, LastErrorOr(ERROR_HANDLE_EOF), true};
    return bytes;
}

Expected<void, FileError> WriteDocumentFile(const std::string& path, std::string_view bytes, const Services& services)
{
    CSafeSave save(path);
    if (!save.GetFile())
        return FileError{0, save.GetError(), false};
    // A planned failure writes what a disk with that much room left would take.
    const DWORD allowed = static_cast<DWORD>(std::min<ULONGLONG>(bytes.size(), services.nStoreFailsAfter));
    DWORD done = 0;
    ::SetLastError(ERROR_SUCCESS);
    if (!::WriteFile(save.GetFile(), bytes.data(), allowed, &done, nullptr) || done != bytes.size()) {
        if (allowed < bytes.size())
            ::SetLastError(services.dwStoreFailure);
        // A short write without an error is a volume that had no more room (Wine reports it so).
        return FileError{0, LastErrorOr(ERROR_DISK_FULL), false};
    }
    if (!save.Commit())
        return FileError{0, save.GetError(), false};
    return {};
}
