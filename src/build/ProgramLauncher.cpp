// Starting built programs and the debugger.
#include "build/ProgramLauncher.h"

#include "build/BuildAction.h"
#include "framework/MessageBox.h"
#include "framework/Strings.h"

#include <memory>
#include <vector>

std::string RunCommandLine(const std::string& sourceDir, const std::string& sourceName)
{
    return sourceDir + "\\" + SourceBaseName(sourceName);
}

std::string DebugCommandLine(const std::string& sourceDir, const std::string& sourceName)
{
    return "debug.exe " + sourceDir + "\\" + SourceBaseName(sourceName) + ".exe";
}

DWORD WINAPI LaunchProgramThread(LPVOID parameter)
{
    std::unique_ptr<std::string> command(static_cast<std::string*>(parameter));
    // Process creation may write into its command line.
    std::vector<char> buffer(command->begin(), command->end());
    buffer.push_back('\0');

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, TRUE, CREATE_SEPARATE_WOW_VDM, nullptr, nullptr,
                          &startup, &process)) {
        AfxMessageBox(SystemErrorText(::GetLastError()), MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    // Nothing waits for the program; its handles are not needed.
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return 0;
}

UniqueHandle LaunchProgramAsync(const std::string& commandLine)
{
    auto* copy = new std::string(commandLine);
    HANDLE thread = ::CreateThread(nullptr, 0, LaunchProgramThread, copy, 0, nullptr);
    if (!thread)
        delete copy;
    return UniqueHandle(thread);
}
