// The process runner with captured output: starts a command line as a hidden child whose
// standard output and standard error share one anonymous pipe, inside a job object that
// holds everything the child starts, and hands the captured bytes back piece by piece.
#pragma once

#include "build/Result.h"
#include "framework/Handles.h"

#include <windows.h>

#include <string>

// Start, Stop and Release must not run at the same time. ReadChunk and WaitForExitCode may
// block on another thread while Stop runs.
class CPipeProcess {
public:
    CPipeProcess() = default;
    // Closing the job ends whatever the run still has running.
    virtual ~CPipeProcess() = default;
    CPipeProcess(const CPipeProcess&) = delete;
    CPipeProcess& operator=(const CPipeProcess&) = delete;

    // Starts the command line hidden; the problem (the system's reason, the command line its
    // subject) when the child process could not be created. The command line is copied whole,
    // whatever its length.
    virtual Result<void> Start(const std::wstring& commandLine);

    // The next piece of output as the pipe delivered it (zero bytes included), or the empty
    // string once the output has ended or a read failed. Blocks until data arrives or the
    // pipe ends.
    virtual std::string ReadChunk();

    // Ends the child and every process it started, at once.
    void Stop();
    // Waits until the child has ended and returns its exit code.
    DWORD WaitForExitCode() const;
    // Closes every handle of the current run; processes still in its job end with it.
    void Release();

    // The exit code of the processes that Stop ends (that of a console program ended by
    // Ctrl+Break).
    static constexpr DWORD kStoppedExitCode = 0xC000013A;

private:
    // Creates the pipe, whose write end alone the child inherits, and fills the startup record.
    bool PreparePipe(STARTUPINFOW& startup);
    // Creates the job that ends its processes when its last handle closes.
    bool CreateJob();
    bool CreateChild(const std::wstring& commandLine, STARTUPINFOW& startup);

    UniqueHandle m_hReadPipe;
    UniqueHandle m_hWritePipe;
    UniqueHandle m_hJob;
    UniqueHandle m_hProcess;
};
