// The real application in the test process.
#include "support/KorvaneSession.h"

#include "app/KorvaneApp.h"
#include "doc/KorvaneDoc.h"
#include "doc/KorvaneView.h"
#include "frame/MainFrame.h"
#include "framework/docview/CSingleDocTemplate.h"
#include "resource.h"
#include "support/TestSupport.h"

#include <utility>

KorvaneSession::KorvaneSession(const std::string& arguments, int showCommand)
{
    CKorvaneApp& app = TheApp();
    app.SetCommandLine("korvane.exe " + arguments);
    app.SetCmdShow(showCommand);
    m_bStarted = app.InitInstance();
    if (!m_bStarted) {
        if (CWnd* frame = app.GetMainWnd())
            frame->DestroyWindow();
        app.ExitInstance();
    }
    PumpMessages();
}

KorvaneSession::~KorvaneSession()
{
    if (MainFrame()) {
        for (CDocument* tab : TheApp().GetDocTemplate()->Documents()) {
            if (auto* document = dynamic_cast<CKorvaneDoc*>(tab))
                document->SetModifiedFlag(false);
        }
        Close();
    }
    if (CMainFrame* left = MainFrame())
        left->DestroyWindow();
    PumpMessages();
}

void KorvaneSession::Close()
{
    CMainFrame* frame = MainFrame();
    if (!frame)
        return;
    frame->SendMessage(WM_CLOSE);
    PumpMessages();
    if (!MainFrame())
        TheApp().ExitInstance();
}

CMainFrame* MainFrame()
{
    return dynamic_cast<CMainFrame*>(TheApp().GetMainWnd());
}

CMainFrame& KorvaneSession::Frame() const
{
    return *MainFrame();
}

CKorvaneDoc& KorvaneSession::Document() const
{
    return *dynamic_cast<CKorvaneDoc*>(TheApp().GetDocTemplate()->GetDocument());
}

CKorvaneView& KorvaneSession::Editor() const
{
    return *dynamic_cast<CKorvaneView*>(Frame().GetActiveView());
}

void KorvaneSession::Command(UINT id) const
{
    Frame().SendMessage(WM_COMMAND, id, 0);
    PumpMessages();
}

void KorvaneSession::Type(const std::string& text) const
{
    TypeText(Editor().GetSafeHwnd(), text);
    PumpMessages();
}

namespace {
template <typename Bar> Bar& FrameBar(const CMainFrame& frame, UINT id)
{
    return *dynamic_cast<Bar*>(frame.GetControlBar(id));
}

template <typename Wnd> Wnd& ChildOf(const CWnd& parent, UINT id)
{
    return *dynamic_cast<Wnd*>(CWnd::FromHandle(parent.GetDlgItem(id)));
}
}

CCaptionBar& OutputBar(const CMainFrame& frame)
{
    return FrameBar<CCaptionBar>(frame, IDW_OUTPUT_BAR);
}

CWnd& OutputWindow(const CMainFrame& frame)
{
    return ChildOf<CWnd>(OutputBar(frame), IDC_OUTPUT);
}

CCaptionBar& UtilityBar(const CMainFrame& frame)
{
    return FrameBar<CCaptionBar>(frame, IDW_UTILITY_BAR);
}

CPageTabCtrl& TabCtrl(const CMainFrame& frame)
{
    return ChildOf<CPageTabCtrl>(UtilityBar(frame), IDW_TAB_CTRL);
}

CToolDia& ToolDia(const CMainFrame& frame)
{
    return *dynamic_cast<CToolDia*>(TabCtrl(frame).GetPageItem(0)->m_pWnd);
}

CStatusBar& StatusBar(const CMainFrame& frame)
{
    return FrameBar<CStatusBar>(frame, AFX_IDW_STATUS_BAR);
}

CToolBar& ToolBar(const CMainFrame& frame)
{
    return FrameBar<CToolBar>(frame, AFX_IDW_TOOLBAR);
}

namespace {
struct PendingWindow {
    std::string className;
    std::function<void(HWND)> script;
    // A dialog that must hold this control (0: any), so that one opened from another is told apart.
    UINT control = 0;
};

PendingWindow& Pending()
{
    static PendingWindow pending;
    return pending;
}

BOOL CALLBACK FindPendingWindow(HWND wnd, LPARAM result)
{
    char cls[16] = "";
    ::GetClassNameA(wnd, cls, sizeof cls);
    if (Pending().className == cls && ::IsWindowVisible(wnd) && (!Pending().control || ::GetDlgItem(wnd, Pending().control))) {
        *reinterpret_cast<HWND*>(result) = wnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK PendingWindowTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindPendingWindow, reinterpret_cast<LPARAM>(&found));
    if (!found)
        return;
    ::KillTimer(nullptr, id);
    auto script = std::exchange(Pending().script, nullptr);
    if (script)
        script(found);
}
}

void WhenWindowShows(const char* className, std::function<void(HWND window)> script)
{
    Pending() = PendingWindow{className, std::move(script)};
    ::SetTimer(nullptr, 0, 10, PendingWindowTimer);
}

void WhenDialogShows(std::function<void(HWND dialog)> script)
{
    WhenWindowShows("#32770", std::move(script));
}

void WhenDialogWithShows(UINT control, std::function<void(HWND dialog)> script)
{
    Pending() = PendingWindow{"#32770", std::move(script), control};
    ::SetTimer(nullptr, 0, 10, PendingWindowTimer);
}
