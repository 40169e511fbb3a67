// Starts a windowed program as the desktop would, waits for its main window, prints that
// window's title (UTF-8) and closes it, for tests that drive an installed program from a script:
//   start_and_close <program> [arguments...]
// Ends with the program's exit code, or 2 when it did not start, 3 when no main window came
// within a minute, 4 when a message box came instead (its text is printed) and 5 when the
// program did not end after its window was closed.
#include <windows.h>

#include <string>

namespace {
const DWORD kDeadlineMs = 60000;

// Everything after this program's own name on the command line.
std::wstring ProgramCommandLine()
{
    const wchar_t* rest = ::GetCommandLineW();
    bool quoted = false;
    for (; *rest && (quoted || (*rest != L' ' && *rest != L'\t')); ++rest) {
        if (*rest == L'"')
            quoted = !quoted;
    }
    while (*rest == L' ' || *rest == L'\t')
        ++rest;
    return rest;
}

void PrintLine(const std::wstring& text)
{
    std::wstring line = text + L"\n";
    int length = static_cast<int>(line.size());
    int size = ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), length, bytes.data(), size, nullptr, nullptr);
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::wstring TextOf(HWND wnd)
{
    wchar_t text[1024] = L"";
    ::GetWindowTextW(wnd, text, ARRAYSIZE(text));
    return text;
}

bool IsMessageBox(HWND wnd)
{
    wchar_t name[16] = L"";
    ::GetClassNameW(wnd, name, ARRAYSIZE(name));
    return std::wstring(name) == L"#32770";
}

// The first visible top-level window of the process.
HWND VisibleWindowOf(DWORD processId)
{
    struct Search {
        DWORD processId;
        HWND found;
    } search{processId, nullptr};
    ::EnumWindows(
        [](HWND wnd, LPARAM param) {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(wnd, &owner);
            if (owner != s->processId || !::IsWindowVisible(wnd))
                return TRUE;
            s->found = wnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(const PROCESS_INFORMATION& process)
{
    ::WaitForInputIdle(process.hProcess, kDeadlineMs);
    for (DWORD waited = 0; waited < kDeadlineMs; waited += 100) {
        if (HWND wnd = VisibleWindowOf(process.dwProcessId))
            return wnd;
        if (::WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0)
            return nullptr;
    }
    return nullptr;
}
}

int main()
{
    std::wstring commandLine = ProgramCommandLine();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (commandLine.empty() || !::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                                 nullptr, &startup, &process))
        return 2;
    ::CloseHandle(process.hThread);

    int result = 0;
    HWND wnd = WaitForWindow(process);
    if (!wnd) {
        result = 3;
    } else if (IsMessageBox(wnd)) {
        // The text of a message box is its static control's.
        PrintLine(L"message box: " + TextOf(::GetDlgItem(wnd, 0xFFFF)));
        result = 4;
    } else {
        PrintLine(TextOf(wnd));
        ::PostMessageW(wnd, WM_CLOSE, 0, 0);
        DWORD exitCode = 0;
        if (::WaitForSingleObject(process.hProcess, kDeadlineMs) == WAIT_OBJECT_0 &&
            ::GetExitCodeProcess(process.hProcess, &exitCode))
            result = static_cast<int>(exitCode);
        else
            result = 5;
    }
    if (::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
        ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hProcess);
    return result;
}
