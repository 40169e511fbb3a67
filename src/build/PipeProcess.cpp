// The process runner with captured output.
#include "build/PipeProcess.h"

#include "framework/MessageBox.h"
#include "framework/Strings.h"

#include <cstring>
#include <vector>

namespace {

void CloseIfSet(HANDLE& handle)
{
    if (handle) {
        ::CloseHandle(handle);
        handle = nullptr;
    }
}

}

CPipeProcess::CPipeProcess() : m_hWritePipe(nullptr), m_hReadPipe(nullptr)
{
    std::memset(&m_processInfo, 0, sizeof m_processInfo);
    std::memset(&m_startupInfo, 0, sizeof m_startupInfo);
    std::memset(&m_pipeAttributes, 0, sizeof m_pipeAttributes);
}

CPipeProcess::~CPipeProcess()
{
    ReleaseRun();
}

void CPipeProcess::ReleaseRun()
{
    CloseIfSet(m_hWritePipe);
    CloseIfSet(m_hReadPipe);
    CloseIfSet(m_processInfo.hProcess);
    CloseIfSet(m_processInfo.hThread);
}

std::string CPipeProcess::LastErrorText()
{
    return SystemErrorText(::GetLastError(), ErrorTextBufferSize);
}

void CPipeProcess::ShowLastError()
{
    AfxMessageBox(LastErrorText(), MB_OK | MB_ICONEXCLAMATION);
}

bool CPipeProcess::PreparePipe()
{
    m_pipeAttributes.nLength = sizeof m_pipeAttributes;
    m_pipeAttributes.lpSecurityDescriptor = nullptr;
    m_pipeAttributes.bInheritHandle = TRUE;
    m_hReadPipe = nullptr;
    m_hWritePipe = nullptr;
    if (!::CreatePipe(&m_hReadPipe, &m_hWritePipe, &m_pipeAttributes, 0)) {
        ShowLastError();
        m_hReadPipe = nullptr;
        m_hWritePipe = nullptr;
        return false;
    }
    m_startupInfo.cb = sizeof m_startupInfo;
    ::GetStartupInfoA(&m_startupInfo);
    m_startupInfo.wShowWindow = SW_HIDE;
    m_startupInfo.hStdOutput = m_hWritePipe;
    m_startupInfo.hStdError = m_hWritePipe;
    m_startupInfo.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    return true;
}

bool CPipeProcess::Start(const char* pszCommandLine)
{
    // An earlier run that was not read to its end would otherwise keep its handles forever.
    ReleaseRun();
    if (!PreparePipe())
        return false;

    const char* command = pszCommandLine ? pszCommandLine : "";
    size_t length = std::strlen(command);
    char fixedBuffer[CommandBufferSize];
    std::vector<char> longBuffer;
    char* buffer = fixedBuffer;
    if (length >= CommandBufferSize) {
        longBuffer.resize(length + 1);
        buffer = longBuffer.data();
    }
    std::memcpy(buffer, command, length + 1);

    std::memset(&m_processInfo, 0, sizeof m_processInfo);
    if (!::CreateProcessA(nullptr, buffer, nullptr, nullptr, TRUE, CREATE_SEPARATE_WOW_VDM, nullptr, nullptr,
                          &m_startupInfo, &m_processInfo)) {
        DWORD error = ::GetLastError();
        std::memset(&m_processInfo, 0, sizeof m_processInfo);
        ReleaseRun();
        ::SetLastError(error);
        ShowLastError();
        return false;
    }
    // Only the child (and what it starts) holds the write end now, so the read ends with it.
    CloseIfSet(m_hWritePipe);
    return true;
}

std::string CPipeProcess::ReadChunk()
{
    char buffer[ReadBufferSize];
    while (m_hReadPipe) {
        DWORD n = 0;
        if (!::ReadFile(m_hReadPipe, buffer, ReadBufferSize - 1, &n, nullptr) || n == 0)
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
