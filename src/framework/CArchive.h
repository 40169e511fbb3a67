// A document file being read or written, with the reason of a failure for the user.
#pragma once

#include <windows.h>

#include <string>

class CArchive {
public:
    enum Mode { load, store };
    CArchive(HANDLE file, Mode mode) : m_hFile(file), m_nMode(mode) {}

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
    void FailWithSystemError();

    HANDLE m_hFile;
    Mode m_nMode;
    bool m_bFailed = false;
    UINT m_nMessageId = 0;
    DWORD m_dwError = 0;
};
