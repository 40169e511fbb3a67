// What every bench program needs.
#include "support/BenchProcess.h"

#include "framework/Unicode.h"

#include <psapi.h>

double Now()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string ProgramDir()
{
    wchar_t path[MAX_PATH * 4];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    const std::string program = Narrow(std::wstring(path, length));
    return program.substr(0, program.rfind('\\'));
}

bool WaitFor(const std::function<bool()>& condition, DWORD pollMs)
{
    const double start = Now();
    while (!condition()) {
        if (Now() - start > kBenchDeadline)
            return false;
        ::Sleep(pollMs);
    }
    return true;
}

Process::Process(const std::string& commandLine)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring line = Widen(commandLine);
    m_bStarted = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                  &m_info) != FALSE;
}

Process::~Process()
{
    if (!m_bStarted)
        return;
    ::TerminateProcess(m_info.hProcess, 0);
    ::WaitForSingleObject(m_info.hProcess, kBenchDeadline);
    ::CloseHandle(m_info.hThread);
    ::CloseHandle(m_info.hProcess);
}

size_t Process::PeakMemory() const
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(m_info.hProcess, &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}

HWND Process::FindTopLevel(const std::function<HWND(HWND)>& probe) const
{
    struct Search {
        DWORD pid;
        const std::function<HWND(HWND)>* probe;
        HWND found;
    } search{m_info.dwProcessId, &probe, nullptr};
    ::EnumWindows(
        [](HWND wnd, LPARAM param) {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(wnd, &pid);
            if (pid != s->pid)
                return TRUE;
            s->found = (*s->probe)(wnd);
            return s->found ? FALSE : TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {
HWND FindDescendant(HWND parent, const std::function<bool(HWND)>& wanted)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (wanted(child))
            return child;
        if (HWND deeper = FindDescendant(child, wanted))
            return deeper;
    }
    return nullptr;
}
}

HWND Process::FindChild(const char* className) const
{
    const std::wstring wanted = Widen(className);
    return FindTopLevel([&](HWND top) {
        return FindDescendant(top, [&](HWND wnd) {
            wchar_t name[64] = L"";
            ::GetClassNameW(wnd, name, 64);
            return lstrcmpiW(name, wanted.c_str()) == 0;
        });
    });
}

HWND FindDescendantById(HWND parent, UINT id)
{
    return FindDescendant(parent, [id](HWND wnd) { return static_cast<UINT>(::GetDlgCtrlID(wnd)) == id; });
}
