// Starting built programs and the debugger.
#include "build/ProgramLauncher.h"

#include "build/BuildAction.h"

#include "framework/Unicode.h"

#include <memory>


namespace {
struct LaunchRequest {
    std::string commandLine;
    HWND notifyWnd;
    UINT failureMessage;
};

DWORD WINAPI LaunchProgramThread(LPVOID parameter)
{
    std::unique_ptr<LaunchRequest> request(static_cast<LaunchRequest*>(parameter));
    // Process creation may write into its command line.
    std::wstring buffer = Widen(request->commandLine);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, CREATE_SEPARATE_WOW_VDM, nullptr, nullptr,
                          &startup, &process)) {
        ::PostMessageW(request->notifyWnd, request->failureMessage, ::GetLastError(), 0);
        return 0;
    }
    // Nothing waits for the program; its handles are not needed.
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return 0;
}
}

std::string RunCommandLine(const std::string& sourceDir, const std::string& sourceName)
{
    return sourceDir + "\\" + SourceBaseName(sourceName);
}

std::string DebugCommandLine(const std::string& sourceDir, const std::string& sourceName)
{
    return "debug.exe " + sourceDir + "\\" + SourceBaseName(sourceName) + ".exe";
}

UniqueHandle LaunchProgramAsync(const std::string& commandLine, HWND notifyWnd, UINT failureMessage)
{
    auto request = std::make_unique<LaunchRequest>(LaunchRequest{commandLine, notifyWnd, failureMessage});
    HANDLE thread = ::CreateThread(nullptr, 0, LaunchProgramThread, request.get(), 0, nullptr);
    if (thread)
        request.release();
    return UniqueHandle(thread);
}
