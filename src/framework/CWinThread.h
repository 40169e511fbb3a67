// The program's user-interface thread: the message loop with idle work, the main window and the
// services. The windows below the application reach the program through it: a command no window
// handles goes to it last, and the main window asks it before closing with unsaved work, with
// a file dropped on it, and with the shell's requests.
#pragma once

#include "framework/CCmdTarget.h"
#include "framework/Services.h"

#include <windows.h>

#include <string>

class CWnd;

class CWinThread : public CCmdTarget {
public:
    // The one thread object of the program, from its construction to its end.
    CWinThread();
    ~CWinThread() override;
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // The message loop; returns the exit code when WM_QUIT arrives.
    virtual int Run();
    // Idle work after the queue has emptied; returns true while more idle work is wanted.
    virtual bool OnIdle(long count);
    virtual bool PreTranslateMessage(MSG* msg);
    virtual int ExitInstance();
    bool PumpMessage();
    // Messages that do not restart idle processing (repeated mouse moves, paints, caret blinks).
    static bool IsIdleMessage(const MSG& msg);

    CWnd* GetMainWnd() const { return m_pMainWnd; }
    void SetMainWnd(CWnd* wnd);
    // What the program takes from its surroundings; tests change it before they act.
    Services& GetServices() { return m_services; }
    const Services& GetServices() const { return m_services; }

    // Before the main window closes: false keeps it (the user cancelled the save prompt).
    virtual bool SaveAllModified();
    // A file dropped on the main window, opened as File Open opens one; false when it was not.
    virtual bool OpenDroppedFile(const std::string& path);
    // A DDE message of the desktop shell that reached the main window; true when taken.
    virtual bool OnShellRequest(CWnd& mainWnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    int m_nExitCode = 0;

private:
    CWnd* m_pMainWnd = nullptr;
    Services m_services;
    MSG m_msgCur{};
};

// The program's thread object, or nullptr.
CWinThread* AfxGetThread();
CWnd* AfxGetMainWnd();
