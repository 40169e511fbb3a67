// The process runner with captured output: starts a command line as a hidden
// child whose standard output and standard error share one anonymous pipe, and hands the
// captured bytes back piece by piece.
#pragma once

#include <windows.h>

#include <string>

class CPipeProcess {
public:
    CPipeProcess();
    // Releases what a run that was never drained still holds (nothing after a drained run).
    virtual ~CPipeProcess();
    CPipeProcess(const CPipeProcess&) = delete;
    CPipeProcess& operator=(const CPipeProcess&) = delete;

    // Starts the command line hidden; true when the child process was created. On false the
    // user has been shown the system's text for the error. A command line of up to 99
    // characters goes through the fixed 100-byte buffer; a longer one is copied whole into a
    // buffer of its own size (never cut, never overrun).
    bool Start(const char* pszCommandLine);
    bool Start(const std::string& commandLine) { return Start(commandLine.c_str()); }

    // The next piece of output (at most 4095 bytes, cut at its first zero byte), or the empty
    // string once the output has ended or a read failed. Blocks until data arrives or the
    // pipe ends. The run's handles are released when the empty string is returned.
    std::string ReadChunk();

    // Creates the inheritable pipe and fills the startup record; false (after a warning box)
    // when the pipe cannot be created.
    bool PreparePipe();

    // The system's text for the calling thread's last error code: the whole text, or the
    // error number when the system has none, never empty.
    std::string LastErrorText();

    static constexpr size_t CommandBufferSize = 100;
    static constexpr size_t ReadBufferSize = 4096;
    static constexpr size_t ErrorTextBufferSize = 100;

    PROCESS_INFORMATION m_processInfo;
    STARTUPINFOA m_startupInfo;
    SECURITY_ATTRIBUTES m_pipeAttributes;
    HANDLE m_hWritePipe;
    HANDLE m_hReadPipe;

private:
    // Closes every handle of the current run that is still held.
    void ReleaseRun();
    void ShowLastError();
};
