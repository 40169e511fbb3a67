// What every bench program needs: a clock, medians, waiting with a deadline, and a program
// it starts, finds the windows of and ends again.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

// How long any one wait of a bench may take before it counts as failed.
inline constexpr DWORD kBenchDeadline = 120000;

// Milliseconds on the performance counter.
double Now();

template <typename T> T Median(std::vector<T> values)
{
    if (values.empty())
        return T{};
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The folder of the running bench program, where korvane.exe and the test helpers are.
std::string ProgramDir();

// Polls the condition until it holds (true) or the deadline passes (false).
bool WaitFor(const std::function<bool()>& condition, DWORD pollMs = 1);

// A program started with a command line (UTF-8), ended when the object goes.
class Process {
public:
    explicit Process(const std::string& commandLine);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return m_bStarted; }
    bool WaitIdle() const { return ::WaitForInputIdle(m_info.hProcess, kBenchDeadline) == 0; }
    bool WaitExit() const { return ::WaitForSingleObject(m_info.hProcess, kBenchDeadline) == WAIT_OBJECT_0; }
    bool Running() const { return ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT; }
    size_t PeakMemory() const;
    // The first non-null answer of probe for the process's top-level windows.
    HWND FindTopLevel(const std::function<HWND(HWND)>& probe) const;
    // The first child of one of the process's top-level windows with this class.
    HWND FindChild(const char* className) const;

private:
    bool m_bStarted = false;
    PROCESS_INFORMATION m_info{};
};

// The first window below parent, at any depth, with this control id.
HWND FindDescendantById(HWND parent, UINT id);
