// A stand-in compiler whose progress the test controls, for the tests of running and
// stopping build steps. Writes straight to its standard output, each line ending in "\r\n":
//   gate EVENT [CODE]   "gated_tool first line", then waits until the named event EVENT is set
//                       (a minute at most), then "gated_tool second line"; ends with CODE (0)
//   spawn               starts a copy of itself in mode "hang" that shares its output, writes
//                       "gated_tool pids SELF PARENT CHILD" (its own process id, its parent's,
//                       the copy's), then hangs itself
//   hang                hangs (two minutes at most, so that a failed test leaves nothing for long)
#include <windows.h>

#include <tlhelp32.h>

#include <cstdlib>
#include <string>

namespace {

void Out(const std::string& line)
{
    const std::string bytes = line + "\r\n";
    DWORD n = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
}

DWORD ParentProcessId()
{
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    DWORD parent = 0;
    for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry)) {
        if (entry.th32ProcessID == ::GetCurrentProcessId())
            parent = entry.th32ParentProcessID;
    }
    ::CloseHandle(snapshot);
    return parent;
}

int Gate(const char* eventName, int code)
{
    Out("gated_tool first line");
    HANDLE event = ::OpenEventA(SYNCHRONIZE, FALSE, eventName);
    if (!event || ::WaitForSingleObject(event, 60000) != WAIT_OBJECT_0)
        return 2;
    ::CloseHandle(event);
    Out("gated_tool second line");
    return code;
}

int Spawn()
{
    char self[MAX_PATH * 4] = "";
    ::GetModuleFileNameA(nullptr, self, sizeof self);
    std::string commandLine = std::string("\"") + self + "\" hang";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child))
        return 2;
    Out("gated_tool pids " + std::to_string(::GetCurrentProcessId()) + " " + std::to_string(ParentProcessId()) + " " +
        std::to_string(child.dwProcessId));
    ::Sleep(120000);
    return 0;
}

}

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "gate" && argc > 2)
        return Gate(argv[2], argc > 3 ? std::atoi(argv[3]) : 0);
    if (mode == "spawn")
        return Spawn();
    if (mode == "hang") {
        ::Sleep(120000);
        return 0;
    }
    Out("gated_tool: unknown mode " + mode);
    return 2;
}
