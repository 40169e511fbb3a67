// The real application started in the test process: the application object's start-up
// with a command line, its main frame, document and editor with the frame's parts found by
// their window ids, and an orderly close.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class CCaptionBar;
class CKorvaneDoc;
class CKorvaneView;
class CMainFrame;
class CPageTabCtrl;
class CStatusBar;
class CToolBar;
class CToolDia;
class CWnd;

class KorvaneSession {
public:
    // Runs the application's start-up with this command line (after the program name). A
    // start that fails leaves nothing behind, as the entry point sees to.
    explicit KorvaneSession(const std::string& arguments = "", int showCommand = SW_SHOWNORMAL);
    // Drops whatever is modified, closes the window and ends the application's run.
    ~KorvaneSession();
    KorvaneSession(const KorvaneSession&) = delete;
    KorvaneSession& operator=(const KorvaneSession&) = delete;

    bool Started() const { return m_bStarted; }
    // Closes the main window as its close box does (a modified document is asked about);
    // once the window is gone, the application's run ends.
    void Close();

    CMainFrame& Frame() const;
    CKorvaneDoc& Document() const;
    CKorvaneView& Editor() const;
    void Command(UINT id) const;
    // Types text into the editor as keystrokes would.
    void Type(const std::string& text) const;

private:
    bool m_bStarted = false;
};

// The main frame, or nullptr when there is none.
CMainFrame* MainFrame();

// Parts of the main frame, found by their window ids as the framework finds them.
CCaptionBar& OutputBar(const CMainFrame& frame);
CWnd& OutputWindow(const CMainFrame& frame);
CCaptionBar& UtilityBar(const CMainFrame& frame);
CPageTabCtrl& TabCtrl(const CMainFrame& frame);
CToolDia& ToolDia(const CMainFrame& frame);
CStatusBar& StatusBar(const CMainFrame& frame);
CToolBar& ToolBar(const CMainFrame& frame);

// Runs script on the first window of the class ("#32770" a dialog box, "#32768" a popup
// menu) that the thread shows from now on (a modal loop dispatches the timer that finds it);
// the script must end the dialog or the menu.
void WhenWindowShows(const char* className, std::function<void(HWND window)> script);
void WhenDialogShows(std::function<void(HWND dialog)> script);
// The same for the dialog that holds the control (one opened from a dialog the script works on).
void WhenDialogWithShows(UINT control, std::function<void(HWND dialog)> script);
