// The process runner with captured output.
#include "build/PipeProcess.h"

namespace {
// Room for a tool to print a megabyte ahead while the reader is busy (a tool that waits on a
// full pipe under Wine waits long), and the most one read takes.
constexpr DWORD kPipeSize = 1048576;
constexpr DWORD kReadSize = 65536;
}

void CPipeProcess::Release()
{
    m_hWritePipe.reset();
    m_hReadPipe.reset();
    m_hProcess.reset();
    m_hJob.reset();
}

bool CPipeProcess::PreparePipe(STARTUPINFOW& startup)
{
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, TRUE};
    if (!::CreatePipe(m_hReadPipe.put(), m_hWritePipe.put(), &attributes, kPipeSize))
        return false;
    // A child holding the read end too would never see the output end.
    if (!::SetHandleInformation(m_hReadPipe.get(), HANDLE_FLAG_INHERIT, 0))
        return false;
    startup.cb = sizeof startup;
    ::GetStartupInfoW(&startup);
    startup.wShowWindow = SW_HIDE;
    startup.hStdOutput = m_hWritePipe.get();
    startup.hStdError = m_hWritePipe.get();
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    return true;
}

bool CPipeProcess::CreateJob()
{
    m_hJob.reset(::CreateJobObjectW(nullptr, nullptr));
    if (!m_hJob)
        return false;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    return ::SetInformationJobObject(m_hJob.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits) != FALSE;
}

bool CPipeProcess::CreateChild(const std::wstring& commandLine, STARTUPINFOW& startup)
{
    // Process creation may write into its command line.
    std::wstring buffer = commandLine;
    PROCESS_INFORMATION info{};
    // Suspended until it is in the job, so that nothing it starts can escape the job.
    if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED | CREATE_SEPARATE_WOW_VDM,
                          nullptr, nullptr, &startup, &info))
        return false;
    m_hProcess.reset(info.hProcess);
    UniqueHandle thread(info.hThread);
    // A program that runs in a job itself, on a system without nested jobs, cannot put its
    // children into one of its own: the step still runs, and Stop ends the child alone.
    if (!::AssignProcessToJobObject(m_hJob.get(), info.hProcess))
        m_hJob.reset();
    ::ResumeThread(thread.get());
    return true;
}

Result<void> CPipeProcess::Start(const std::wstring& commandLine)
{
    // An earlier run that was not read to its end would otherwise keep its handles forever.
    Release();
    STARTUPINFOW startup{};

    if (!PreparePipe(startup) || !CreateJob() || !CreateChild(commandLine, startup)) {
        const DWORD error = ::GetLastError();
        Release();
        return Problem{Problem::Kind::NotStarted, commandLine, error};
    }
    // Only the child (and what it starts) holds the write end now, so the read ends with it.
    m_hWritePipe.reset();
    return {};
}

std::string CPipeProcess::ReadChunk()
{
    std::string piece(kReadSize, '\0');
    DWORD n = 0;
    // A write of no bytes reads as no bytes, which is not the end: only a broken pipe is.
    while (n == 0) {
        if (!m_hReadPipe || !::ReadFile(m_hReadPipe.get(), piece.data(), kReadSize, &n, nullptr))
            return {};
    }
    piece.resize(n);
    return piece;
}

void CPipeProcess::Stop()
{
    if (m_hJob)
        ::TerminateJobObject(m_hJob.get(), kStoppedExitCode);
    else if (m_hProcess)
        ::TerminateProcess(m_hProcess.get(), kStoppedExitCode);
}

DWORD CPipeProcess::WaitForExitCode() const
{
    DWORD code = 0;
    if (m_hProcess) {
        ::WaitForSingleObject(m_hProcess.get(), INFINITE);
        ::GetExitCodeProcess(m_hProcess.get(), &code);
    }
    return code;
}
