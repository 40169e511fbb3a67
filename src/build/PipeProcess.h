// The process runner with captured output: starts a command line as a hidden child whose
// standard output and standard error share one anonymous pipe, and hands the captured bytes
// back piece by piece.
#pragma once

#include "framework/Handles.h"
#include "framework/Strings.h"

#include <windows.h>

#include <string>

class CPipeProcess {
public:
    CPipeProcess() = default;
    // Releases what a run that was never drained still holds.
    virtual ~CPipeProcess() = default;
    CPipeProcess(const CPipeProcess&) = delete;
    CPipeProcess& operator=(const CPipeProcess&) = delete;

    // Starts the command line hidden; true when the child process was created. On false,
    // GetFailure tells why. The command line is copied whole, whatever its length.
    virtual bool Start(const std::string& commandLine);

    // The next piece of output (at most 4095 bytes, cut at its first zero byte), or the empty
    // string once the output has ended or a read failed. Blocks until data arrives or the
    // pipe ends. The run's handles are released when the empty string is returned.
    virtual std::string ReadChunk();

    // Why the last Start failed.
    const SystemError& GetFailure() const { return m_failure; }

private:
    // Creates the inheritable pipe and fills the startup record.
    bool PreparePipe(STARTUPINFOW& startup);
    // Closes every handle of the current run that is still held.
    void ReleaseRun();

    UniqueHandle m_hReadPipe;
    UniqueHandle m_hWritePipe;
    UniqueHandle m_hProcess;
    UniqueHandle m_hThread;
    SystemError m_failure;
};
