// Timings of the start-up steps, for the bench.
#include "framework/StartupTrace.h"

#include "framework/Handles.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
struct Note {
    const char* step;
    LONGLONG counter;
};

struct Trace {
    bool on = false;
    std::wstring path;
    std::vector<Note> notes;
};

// Read once, before the first step; the file is only written at the end, so writing costs
// no step anything.
Trace& TheTrace()
{
    static Trace trace = [] {
        Trace made;
        wchar_t path[MAX_PATH] = L"";
        DWORD length = ::GetEnvironmentVariableW(L"KORVANE_STARTUP_TRACE", path, MAX_PATH);
        made.on = length > 0 && length < MAX_PATH;
        if (made.on) {
            made.path = path;
            made.notes.reserve(64);
        }
        return made;
    }();
    return trace;
}

// Milliseconds on the system-wide performance counter, which the bench reads too.
double Milliseconds(LONGLONG counter)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter) / static_cast<double>(frequency.QuadPart);
}
}

void StartupTrace::Mark(const char* step)
{
    Trace& trace = TheTrace();
    if (!trace.on)
        return;
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    trace.notes.push_back({step, now.QuadPart});
}

void StartupTrace::Finish()
{
    Trace& trace = TheTrace();
    if (!trace.on)
        return;
    trace.on = false;
    // One line a step: its name and the counter's time when it ended, in milliseconds.
    std::string text;
    for (const Note& note : trace.notes) {
        char line[160];
        std::snprintf(line, sizeof line, "%s\t%.3f\n", note.step, Milliseconds(note.counter));
        text += line;
    }
    UniqueHandle file = FileHandle(::CreateFileW(trace.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file)
        return;
    DWORD written = 0;
    ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}
