// A document file being read or written, with the reason of a failure for the user.
#pragma once

#include <windows.h>

#include <string>

class CArchive {
public:
    enum Mode { load, store };
    CArchive(HANDLE file, Mode mode) : m_hFile(file), m_nMode(mode) {}
    // A store that fails with the error once it has written that many bytes in all, as a
    // full disk would (the services' planned failure).
    CArchive(HANDLE file, Mode mode, ULONGLONG failAfter, DWORD failure)
        : m_hFile(file), m_nMode(mode), m_nFailAfter(failAfter), m_dwPlannedFailure(failure)
    {
    }

    bool IsStoring() const { return m_nMode == store; }
    bool IsLoading() const { return m_nMode == load; }
    ULONGLONG GetFileLength() const;
    bool Read(void* buffer, DWORD count);
    bool Write(const void* buffer, DWORD count);

    // Marks the transfer failed with a framework message (%1 is the file's path).
    void Fail(UINT messageId);
    bool IsFailed() const { return m_bFailed; }
    UINT GetFailureMessage() const { return m_nMessageId; }
    DWORD GetSystemError() const { return m_dwError; }

private:
    // Records the last error, or the given one when the system gave none.
    void FailWithSystemError(DWORD unexplained);

    HANDLE m_hFile;
    Mode m_nMode;
    ULONGLONG m_nWritten = 0;
    ULONGLONG m_nFailAfter = ~0ULL;
    DWORD m_dwPlannedFailure = ERROR_SUCCESS;

    bool m_bFailed = false;
    UINT m_nMessageId = 0;
    DWORD m_dwError = 0;
};
