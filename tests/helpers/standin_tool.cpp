// A stand-in for a compiler, linker, built program or debugger in the build and launcher
// tests. It writes, each line ending in "\r\n", straight to its standard handles:
//   stdout: "standin_tool command line: " and its whole command line
//   stdout: "standin_tool directory: " and its current directory
//   stdout: "standin_tool stdout line"
//   stderr: "standin_tool stderr line"
// and ends with the exit code in KORVANE_STANDIN_EXIT_CODE, or 0. Like the tools it stands
// for, it prints in GBK. When the
// environment variable KORVANE_STANDIN_LOG names a file, it also appends the first two lines
// to that file in UTF-8, so a test can tell that it ran and how, whatever the system's code
// page, even when nothing of its output is captured (the run and debug commands).
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

std::string Encode(const std::wstring& text, UINT codePage)
{
    int n = ::WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
    return bytes;
}

}

int main()
{
    wchar_t directory[MAX_PATH * 4] = L"";
    ::GetCurrentDirectoryW(MAX_PATH * 4, directory);
    std::wstring report = std::wstring(L"standin_tool command line: ") + ::GetCommandLineW() + L"\r\n" +
                          L"standin_tool directory: " + directory + L"\r\n";

    wchar_t logPath[MAX_PATH * 4] = L"";
    DWORD logLength = ::GetEnvironmentVariableW(L"KORVANE_STANDIN_LOG", logPath, MAX_PATH * 4);
    if (logLength > 0 && logLength < MAX_PATH * 4) {
        // One writer at a time: two stand-ins started together (two runs) would otherwise both
        // write at the same end of the file under Wine, one report over the other.
        HANDLE log = INVALID_HANDLE_VALUE;
        for (int attempt = 0; attempt < 500; ++attempt) {
            log = ::CreateFileW(logPath, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
            if (log != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_SHARING_VIOLATION)
                break;
            ::Sleep(10);
        }
        if (log != INVALID_HANDLE_VALUE) {
            Write(log, Encode(report, CP_UTF8));
            ::CloseHandle(log);
        }
    }

    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    Write(out, Encode(report, 936));
    Write(out, "standin_tool stdout line\r\n");
    Write(::GetStdHandle(STD_ERROR_HANDLE), "standin_tool stderr line\r\n");
    wchar_t code[16] = L"";
    return ::GetEnvironmentVariableW(L"KORVANE_STANDIN_EXIT_CODE", code, 16) > 0 ? _wtoi(code) : 0;
}
