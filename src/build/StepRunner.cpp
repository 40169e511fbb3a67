// The worker of a build step and what it shares with the window's thread.
#include "build/StepRunner.h"

#include "build/ToolOutputDecoder.h"

#include <mutex>

namespace {
// After a report with text, the next one is announced no sooner than a screen refreshes;
// being a timer's, it also waits for input and painting.
constexpr UINT kRefreshMs = 16;
// How long closing waits for a worker whose output does not end although its job has been
// ended (a process outside the job holds the pipe); the worker is then left to finish alone.
constexpr DWORD kShutdownWaitMs = 5000;

// The text of the file a tool's output was redirected to, which then goes.
std::wstring TakeCapturedOutput(const FilePath& path)
{
    const std::string bytes = path.ReadBytes();
    ::DeleteFileW(path.c_str());
    CToolOutputDecoder decoder;
    return decoder.Decode(bytes) + decoder.Finish();
}

// The exit code a file holds as a decimal number (blanks and line breaks around it), which
// then goes; nothing when there is no such file or no number in it.
std::optional<DWORD> TakeCapturedExitCode(const FilePath& path)
{
    const std::string text = path.ReadBytes();
    ::DeleteFileW(path.c_str());
    const size_t first = text.find_first_not_of(" \t\r\n");
    const size_t end = text.find_last_not_of(" \t\r\n");
    if (first == std::string::npos || end - first > 8)
        return std::nullopt;
    DWORD code = 0;
    for (size_t i = first; i <= end; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        code = code * 10 + static_cast<DWORD>(text[i] - '0');
    }
    return code;
}
}

// Everything the worker and the window's thread share; the worker keeps it alive for as
// long as it runs, also past the runner itself.
struct CStepRunner::Shared {
    std::mutex mutex;
    std::unique_ptr<CPipeProcess> pProcess = std::make_unique<CPipeProcess>();
    std::wstring strCommandLine;
    FilePath capturedOutput;
    FilePath capturedExitCode;
    // Where a report is announced, and what announces it there; none once the runner shuts down.
    std::optional<CMailbox::CSender> sender;
    std::function<void()> announce;
    std::wstring pending;
    // A message is on its way, or the window's thread comes back by itself.
    bool bNotified = false;
    bool bStopRequested = false;
    bool bEnded = false;
    DWORD exitCode = 0;
    std::optional<Problem> problem;

    void Run();
    bool StartProcess();
    void Deliver(const std::wstring& text);
    // Under the lock: announces a report unless an announcement is on its way already.
    void NotifyLocked();
    // Under the lock: ends the step. Its end is announced even while output is paced.
    void EndLocked(DWORD code);
};

void CStepRunner::Shared::NotifyLocked()
{
    if (!bNotified && sender)
        bNotified = sender->Post(announce);
}

void CStepRunner::Shared::EndLocked(DWORD code)
{
    bEnded = true;
    exitCode = code;
    bNotified = false;
    NotifyLocked();
}

bool CStepRunner::Shared::StartProcess()
{
    std::lock_guard lock(mutex);
    if (bStopRequested) {
        EndLocked(CPipeProcess::kStoppedExitCode);
        return false;
    }
    Result<void> started = pProcess->Start(strCommandLine);
    if (started)
        return true;
    problem = started.Error();
    EndLocked(0);
    return false;
}

void CStepRunner::Shared::Deliver(const std::wstring& text)
{
    std::lock_guard lock(mutex);
    pending += text;
    NotifyLocked();
}

void CStepRunner::Shared::Run()
{
    for (const FilePath* captured : {&capturedOutput, &capturedExitCode}) {
        if (!captured->empty())
            ::DeleteFileW(captured->c_str());
    }
    if (!StartProcess())
        return;
    CToolOutputDecoder decoder;
    for (std::string piece = pProcess->ReadChunk(); !piece.empty(); piece = pProcess->ReadChunk()) {
        std::wstring text = decoder.Decode(piece);
        if (!text.empty())
            Deliver(text);
    }
    DWORD code = pProcess->WaitForExitCode();
    std::wstring rest = decoder.Finish();
    if (!capturedOutput.empty())
        rest += TakeCapturedOutput(capturedOutput);
    if (!capturedExitCode.empty())
        code = TakeCapturedExitCode(capturedExitCode).value_or(code);
    std::lock_guard lock(mutex);
    pProcess->Release();
    pending += rest;
    EndLocked(code);
}

CStepRunner::CStepRunner() : m_pShared(std::make_shared<Shared>()) {}

CStepRunner::~CStepRunner()
{
    Shutdown();
}

void CStepRunner::SetProcess(std::unique_ptr<CPipeProcess> process)
{
    std::lock_guard lock(m_pShared->mutex);
    m_pShared->pProcess = std::move(process);
}

void CStepRunner::Start(const std::wstring& commandLine, std::function<void()> onReport,
                        const FilePath& capturedOutput, const FilePath& capturedExitCode)
{
    m_onReport = std::move(onReport);
    Shared& shared = *m_pShared;
    {
        std::lock_guard lock(shared.mutex);
        shared.strCommandLine = commandLine;
        shared.capturedOutput = capturedOutput;
        shared.capturedExitCode = capturedExitCode;
        shared.sender = m_mailbox.Sender();
        // Runs on this thread, and only while the mailbox, and so the runner, lasts.
        shared.announce = [this] { m_onReport(); };
        shared.pending.clear();
        shared.bNotified = shared.bStopRequested = shared.bEnded = false;
        shared.exitCode = 0;
        shared.problem.reset();
    }
    m_bRunning = true;
    // The worker keeps what it shares alive for as long as it runs, also past the runner.
    m_hThread = StartThread([shared = m_pShared] { shared->Run(); });
    if (m_hThread)
        return;
    std::lock_guard lock(shared.mutex);
    shared.problem = Problem{Problem::Kind::NotStarted, commandLine, ::GetLastError()};
    shared.EndLocked(0);
}

void CStepRunner::Stop()
{
    if (!m_bRunning)
        return;
    std::lock_guard lock(m_pShared->mutex);
    m_pShared->bStopRequested = true;
    m_pShared->pProcess->Stop();
}

void CALLBACK CStepRunner::RefreshTimer(HWND wnd, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(wnd, id);
    reinterpret_cast<CStepRunner*>(id)->Refresh();
}

void CStepRunner::Refresh()
{
    std::lock_guard lock(m_pShared->mutex);
    m_pShared->bNotified = false;
    if (!m_pShared->pending.empty())
        m_pShared->NotifyLocked();
}

void CStepRunner::KillRefreshTimer()
{
    ::KillTimer(m_mailbox.GetSafeHwnd(), reinterpret_cast<UINT_PTR>(this));
}

StepReport CStepRunner::TakeReport()
{
    StepReport report;
    if (!m_bRunning)
        return report;
    {
        std::lock_guard lock(m_pShared->mutex);
        Shared& shared = *m_pShared;
        report.text.swap(shared.pending);
        if (!shared.bEnded) {
            // Output that keeps coming is taken again when the timer says so; after a quiet
            // spell the worker announces the next piece itself.
            shared.bNotified = !report.text.empty();
            if (shared.bNotified)
                ::SetTimer(m_mailbox.Window(), reinterpret_cast<UINT_PTR>(this), kRefreshMs, RefreshTimer);
            return report;
        }
        report.bEnded = true;
        report.bStopped = shared.bStopRequested && !shared.problem;
        report.exitCode = shared.exitCode;
        report.problem = shared.problem;
    }
    KillRefreshTimer();
    // The worker has nothing left to do but return.
    if (m_hThread)
        ::WaitForSingleObject(m_hThread.get(), INFINITE);
    m_hThread.reset();
    m_bRunning = false;
    return report;
}

void CStepRunner::Shutdown()
{
    {
        std::lock_guard lock(m_pShared->mutex);
        KillRefreshTimer();
        m_pShared->sender.reset();
    }
    Stop();
    if (m_hThread)
        ::WaitForSingleObject(m_hThread.get(), kShutdownWaitMs);
    m_hThread.reset();
    m_bRunning = false;
}
