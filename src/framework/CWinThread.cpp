// The user-interface thread.
#include "framework/CWinThread.h"

#include "framework/AppContext.h"
#include "framework/CWnd.h"
#include "framework/StartupTrace.h"

namespace {
CWinThread* g_pThread = nullptr;
// The system's own timer message (WM_SYSTIMER), which blinks the caret.
constexpr UINT kCaretBlinkTimer = 0x0118;
}

CWinThread* AfxGetThread()
{
    return g_pThread;
}

CWnd* AfxGetMainWnd()
{
    return g_pThread ? g_pThread->GetMainWnd() : nullptr;
}

CWinThread::CWinThread()
{
    g_pThread = this;
    AfxSetServices(&m_services);
}

CWinThread::~CWinThread()
{
    if (g_pThread != this)
        return;
    g_pThread = nullptr;
    AfxSetServices(nullptr);
    AfxSetOwnerWindow(nullptr);
}

void CWinThread::SetMainWnd(CWnd* wnd)
{
    m_pMainWnd = wnd;
    AfxSetOwnerWindow(wnd ? wnd->GetSafeHwnd() : nullptr);
}

int CWinThread::ExitInstance()
{
    return m_nExitCode;
}

bool CWinThread::IsIdleMessage(const MSG& msg)
{
    static POINT lastPoint{-1, -1};
    static UINT lastMessage = 0;
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        bool same = msg.message == lastMessage && msg.pt.x == lastPoint.x && msg.pt.y == lastPoint.y;
        lastPoint = msg.pt;
        lastMessage = msg.message;
        return !same;
    }
    // Paints and the caret's blink timer do not change anything the idle work looks at.
    return msg.message != WM_PAINT && msg.message != kCaretBlinkTimer;
}

bool CWinThread::PreTranslateMessage(MSG* msg)
{
    HWND mainWnd = m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr;
    for (HWND wnd = msg->hwnd; wnd; wnd = ::GetParent(wnd)) {
        CWnd* target = CWnd::FromHandle(wnd);
        if (target && target->PreTranslateMessage(msg))
            return true;
        if (wnd == mainWnd)
            return false;
    }
    // Windows outside the main frame (a floating panel) still get its accelerators.
    return m_pMainWnd && m_pMainWnd->PreTranslateMessage(msg);
}

bool CWinThread::PumpMessage()
{
    // Unicode retrieval keeps a typed double-byte character in one message; each window
    // still gets it in its own form.
    if (::GetMessageW(&m_msgCur, nullptr, 0, 0) <= 0) {
        m_nExitCode = static_cast<int>(m_msgCur.wParam);
        return false;
    }
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageW(&m_msgCur);
    }
    return true;
}

bool CWinThread::OnIdle(long)
{
    return false;
}

int CWinThread::Run()
{
    bool idle = true;
    long idleCount = 0;
    for (;;) {
        MSG msg;
        while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (idleCount == 0) {
                StartupTrace::Mark("idle");
                StartupTrace::Finish();
            }
            if (!OnIdle(idleCount++))
                idle = false;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(m_msgCur)) {
                idle = true;
                idleCount = 0;
            }
        } while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

bool CWinThread::SaveAllModified()
{
    return true;
}

bool CWinThread::OpenDroppedFile(const std::string&)
{
    return false;
}

bool CWinThread::OnShellRequest(CWnd&, UINT, WPARAM, LPARAM)
{
    return false;
}
