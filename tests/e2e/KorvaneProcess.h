// korvane.exe started as a process of its own for the end-to-end tests, with its windows found
// and its message boxes answered as a user would.
#pragma once

#include "support/TestSupport.h"

#include <windows.h>

#include <psapi.h>

#include <functional>
#include <string>

inline const DWORD kDeadlineMs = 60000;

inline std::string WindowText(HWND wnd)
{
    char text[4096] = "";
    ::SendMessageTimeoutA(wnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                          nullptr);
    return text;
}

inline std::string ClassName(HWND wnd)
{
    char name[64] = "";
    ::GetClassNameA(wnd, name, sizeof name);
    return name;
}

// One run of korvane.exe, ended (if it still runs) when the object goes.
class KorvaneProcess {
public:
    explicit KorvaneProcess(const std::string& arguments)
    {
        std::string exe = HelperPath("korvane.exe");
        std::string commandLine = "\"" + exe + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        m_bStarted = ::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                      &startup, &m_info) != FALSE;
        if (m_bStarted)
            ::CloseHandle(m_info.hThread);
    }
    ~KorvaneProcess()
    {
        if (!m_bStarted)
            return;
        if (::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(m_info.hProcess, 1);
            ::WaitForSingleObject(m_info.hProcess, kDeadlineMs);
        }
        ::CloseHandle(m_info.hProcess);
    }

    bool Started() const { return m_bStarted; }

    // The first visible top-level window of the process that the filter accepts.
    HWND FindWindowOf(const std::function<bool(HWND)>& filter) const
    {
        struct Search {
            DWORD pid;
            const std::function<bool(HWND)>* filter;
            HWND found;
        } search{m_info.dwProcessId, &filter, nullptr};
        ::EnumWindows(
            [](HWND wnd, LPARAM param) {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD pid = 0;
                ::GetWindowThreadProcessId(wnd, &pid);
                if (pid == s->pid && ::IsWindowVisible(wnd) && (*s->filter)(wnd)) {
                    s->found = wnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    HWND WaitForMainWindow(const std::string& title) const
    {
        HWND found = nullptr;
        WaitFor([&] {
            found = FindWindowOf([&](HWND wnd) { return ClassName(wnd) != "#32770" && WindowText(wnd) == title; });
            return found != nullptr;
        });
        return found;
    }

    // A message box of the process, and the text it shows.
    HWND WaitForMessageBox(std::string* text) const
    {
        HWND found = nullptr;
        WaitFor([&] {
            found = FindWindowOf([](HWND wnd) { return ClassName(wnd) == "#32770"; });
            return found != nullptr;
        });
        if (found && text)
            *text = WindowText(::GetDlgItem(found, 0xFFFF));
        return found;
    }

    // Whether the process has this library loaded now.
    bool HasLoaded(const char* dll) const
    {
        HMODULE modules[512];
        DWORD bytes = 0;
        if (!::EnumProcessModules(m_info.hProcess, modules, sizeof modules, &bytes))
            return false;
        for (DWORD i = 0; i < bytes / sizeof(HMODULE); ++i) {
            char name[MAX_PATH] = "";
            ::GetModuleBaseNameA(m_info.hProcess, modules[i], name, sizeof name);
            if (lstrcmpiA(name, dll) == 0)
                return true;
        }
        return false;
    }
    bool WaitForIdle() const { return ::WaitForInputIdle(m_info.hProcess, kDeadlineMs) == 0; }

    // Ends the process at once, as the task manager or a crash would.
    void Terminate() const
    {
        ::TerminateProcess(m_info.hProcess, 1);
        ::WaitForSingleObject(m_info.hProcess, kDeadlineMs);
    }

    bool WaitForExit(DWORD* exitCode) const
    {
        if (::WaitForSingleObject(m_info.hProcess, kDeadlineMs) != WAIT_OBJECT_0)
            return false;
        ::GetExitCodeProcess(m_info.hProcess, exitCode);
        return true;
    }

private:
    bool m_bStarted = false;
    PROCESS_INFORMATION m_info{};
};

inline void PressButton(HWND box, int id)
{
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box, id)));
}
