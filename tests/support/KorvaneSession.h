// The real application started in the test process: the application object's start-up
// with a command line, its main frame, document and editor, and an orderly close.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class CMainFrame;
class CKorvaneDoc;
class CKorvaneView;

class KorvaneSession {
public:
    // Runs the application's start-up with this command line (after the program name).
    explicit KorvaneSession(const std::string& arguments = "");
    ~KorvaneSession();
    KorvaneSession(const KorvaneSession&) = delete;
    KorvaneSession& operator=(const KorvaneSession&) = delete;

    bool Started() const { return m_bStarted; }
    CMainFrame& Frame() const;
    CKorvaneDoc& Document() const;
    CKorvaneView& Editor() const;
    void Command(UINT id) const;
    // Types text into the editor as keystrokes would.
    void Type(const std::string& text) const;

private:
    bool m_bStarted = false;
};

// Runs script on the first dialog box that the thread shows from now on (a modal loop
// dispatches the timer that finds it); the script must end the dialog.
void WhenDialogShows(std::function<void(HWND dialog)> script);
