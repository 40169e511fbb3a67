// The real application in the test process.
#include "support/KorvaneSession.h"

#include "app/KorvaneApp.h"
#include "doc/KorvaneDoc.h"
#include "doc/KorvaneView.h"
#include "frame/MainFrame.h"
#include "support/TestSupport.h"

#include <utility>

KorvaneSession::KorvaneSession(const std::string& arguments)
{
    CKorvaneApp& app = TheApp();
    app.m_pszCmdLine = "korvane.exe " + arguments;
    app.m_nCmdShow = SW_SHOW;
    m_bStarted = app.InitInstance();
    PumpMessages();
}

KorvaneSession::~KorvaneSession()
{
    CWnd* frame = TheApp().m_pMainWnd;
    if (frame) {
        // Whatever the test left modified is dropped, not saved.
        if (auto* document = dynamic_cast<CKorvaneDoc*>(dynamic_cast<CMainFrame*>(frame)->GetActiveDocument()))
            document->SetModifiedFlag(false);
        frame->SendMessage(WM_CLOSE);
    }
    PumpMessages();
    TheApp().ExitInstance();
}

CMainFrame& KorvaneSession::Frame() const
{
    return *dynamic_cast<CMainFrame*>(TheApp().m_pMainWnd);
}

CKorvaneDoc& KorvaneSession::Document() const
{
    return *dynamic_cast<CKorvaneDoc*>(Frame().GetActiveDocument());
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
    for (char c : text)
        Editor().SendMessage(WM_CHAR, static_cast<BYTE>(c), 1);
    PumpMessages();
}

namespace {
std::function<void(HWND)>& PendingScript()
{
    static std::function<void(HWND)> script;
    return script;
}

BOOL CALLBACK FindDialog(HWND wnd, LPARAM result)
{
    char cls[16] = "";
    ::GetClassNameA(wnd, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") == 0 && ::IsWindowVisible(wnd)) {
        *reinterpret_cast<HWND*>(result) = wnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK DialogTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog)
        return;
    ::KillTimer(nullptr, id);
    auto script = std::exchange(PendingScript(), nullptr);
    if (script)
        script(dialog);
}
}

void WhenDialogShows(std::function<void(HWND dialog)> script)
{
    PendingScript() = std::move(script);
    ::SetTimer(nullptr, 0, 10, DialogTimer);
}
