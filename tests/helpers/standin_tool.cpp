// A stand-in for a compiler, linker, built program or debugger in the build and launcher
// tests. It writes, each line ending in "\r\n", straight to its standard handles:
//   stdout: "standin_tool command line: " and its whole command line (GetCommandLineA)
//   stdout: "standin_tool directory: " and its current directory
//   stdout: "standin_tool stdout line"
//   stderr: "standin_tool stderr line"
// and ends with exit code 0. When the environment variable KORVANE_STANDIN_LOG names a file,
// it also appends the first two lines to that file, so a test can tell that it ran and how
// even when nothing of its output is captured (the run and debug commands).
#include <windows.h>

#include <string>

namespace {

void Write(HANDLE handle, const std::string& bytes)
{
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return;
    DWORD n = 0;
    ::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
}

}

int main()
{
    char directory[MAX_PATH * 4] = "";
    ::GetCurrentDirectoryA(sizeof directory, directory);
    std::string report = std::string("standin_tool command line: ") + ::GetCommandLineA() + "\r\n" +
                         "standin_tool directory: " + directory + "\r\n";

    char logPath[MAX_PATH * 4] = "";
    DWORD logLength = ::GetEnvironmentVariableA("KORVANE_STANDIN_LOG", logPath, sizeof logPath);
    if (logLength > 0 && logLength < sizeof logPath) {
        HANDLE log = ::CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (log != INVALID_HANDLE_VALUE) {
            Write(log, report);
            ::CloseHandle(log);
        }
    }

    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    Write(out, report);
    Write(out, "standin_tool stdout line\r\n");
    Write(::GetStdHandle(STD_ERROR_HANDLE), "standin_tool stderr line\r\n");
    return 0;
}
