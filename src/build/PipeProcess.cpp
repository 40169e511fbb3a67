// The process runner with captured output.
#include "build/PipeProcess.h"

#include "framework/Unicode.h"


namespace {
// Pieces are handed on at most this long; one byte of the buffer is kept for a terminator.
constexpr DWORD kReadBufferSize = 4096;
}

void CPipeProcess::ReleaseRun()
{
    m_hWritePipe.reset();
    m_hReadPipe.reset();
    m_hProcess.reset();
    m_hThread.reset();
}

bool CPipeProcess::PreparePipe(STARTUPINFOW& startup)
{
    // Both ends inheritable: the child gets the write end as its standard output and error.
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!::CreatePipe(&read, &write, &attributes, 0))
        return false;
    m_hReadPipe.reset(read);
    m_hWritePipe.reset(write);
    startup.cb = sizeof startup;
    ::GetStartupInfoW(&startup);
    startup.wShowWindow = SW_HIDE;
    startup.hStdOutput = write;
    startup.hStdError = write;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    return true;
}

bool CPipeProcess::Start(const std::string& commandLine)
{
    // An earlier run that was not read to its end would otherwise keep its handles forever.
    ReleaseRun();
    STARTUPINFOW startup{};
    if (!PreparePipe(startup)) {
        m_failure = SystemError::Last();
        return false;
    }
    // Process creation may write into its command line.
    std::wstring buffer = Widen(commandLine);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, CREATE_SEPARATE_WOW_VDM, nullptr, nullptr,
                          &startup, &info)) {
        m_failure = SystemError::Last();
        ReleaseRun();
        return false;
    }
    m_hProcess.reset(info.hProcess);
    m_hThread.reset(info.hThread);
    // Only the child (and what it starts) holds the write end now, so the read ends with it.
    m_hWritePipe.reset();
    return true;
}

std::string CPipeProcess::ReadChunk()
{
    char buffer[kReadBufferSize];
    while (m_hReadPipe) {
        DWORD n = 0;
        if (!::ReadFile(m_hReadPipe.get(), buffer, kReadBufferSize - 1, &n, nullptr) || n == 0)
            break;
        buffer[n] = '\0';
        std::string piece(buffer);
        // A read whose first byte is zero is not the end of the output: the next one follows.
        if (!piece.empty())
            return piece;
    }
    ReleaseRun();
    return {};
}
