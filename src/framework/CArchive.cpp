// Document file transfer.
#include "framework/CArchive.h"

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
    if (!::ReadFile(m_hFile, buffer, count, &done, nullptr) || done != count) {
        FailWithSystemError();
        return false;
    }
    return true;
}

bool CArchive::Write(const void* buffer, DWORD count)
{
    DWORD done = 0;
    if (m_bFailed)
        return false;
    if (!::WriteFile(m_hFile, buffer, count, &done, nullptr) || done != count) {
        FailWithSystemError();
        return false;
    }
    return true;
}

void CArchive::Fail(UINT messageId)
{
    m_bFailed = true;
    m_nMessageId = messageId;
}

void CArchive::FailWithSystemError()
{
    m_bFailed = true;
    m_dwError = ::GetLastError();
    if (m_dwError == ERROR_SUCCESS)
        m_dwError = ERROR_HANDLE_EOF;
}
