// Document file transfer.
#include "framework/CArchive.h"

#include <algorithm>

ULONGLONG CArchive::GetFileLength() const
{
    LARGE_INTEGER size{};
    ::GetFileSizeEx(m_hFile, &size);
    return static_cast<ULONGLONG>(size.QuadPart);
}

bool CArchive::Read(void* buffer, DWORD count)
{
    DWORD done = 0;
    if (m_bFailed)
        return false;
    ::SetLastError(ERROR_SUCCESS);
    if (!::ReadFile(m_hFile, buffer, count, &done, nullptr) || done != count) {
        // A short read without an error is a file that ended early.
        FailWithSystemError(ERROR_HANDLE_EOF);
        return false;
    }
    return true;
}

bool CArchive::Write(const void* buffer, DWORD count)
{
    if (m_bFailed)
        return false;
    const DWORD allowed =
        static_cast<DWORD>(std::min<ULONGLONG>(count, m_nFailAfter - std::min(m_nFailAfter, m_nWritten)));
    DWORD done = 0;
    ::SetLastError(ERROR_SUCCESS);
    if (!::WriteFile(m_hFile, buffer, allowed, &done, nullptr) || done != count) {
        if (allowed < count)
            ::SetLastError(m_dwPlannedFailure);
        // A short write without an error is a volume that had no more room (Wine reports it so).
        FailWithSystemError(ERROR_DISK_FULL);
        return false;
    }
    m_nWritten += done;
    return true;
}

void CArchive::Fail(UINT messageId)
{
    m_bFailed = true;
    m_nMessageId = messageId;
}

void CArchive::FailWithSystemError(DWORD unexplained)
{
    m_bFailed = true;
    m_dwError = ::GetLastError();
    if (m_dwError == ERROR_SUCCESS)
        m_dwError = unexplained;
}

