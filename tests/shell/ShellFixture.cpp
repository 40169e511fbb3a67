// The shell tests' fixture.
#include "ShellFixture.h"

#include "app/KorvaneApp.h"
#include "doc/KorvaneDoc.h"
#include "doc/KorvaneView.h"
#include "frame/MainFrame.h"
#include "resource.h"

#include <shlobj.h>

#include <cstring>

namespace {
const char kProfileKey[] = "Software\\Local AppWizard-Generated Applications\\Korvane";
}

void ClearProfile()
{
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
}

std::string Quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

HDROP MakeDrop(const std::vector<std::string>& paths)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& path : paths)
        size += path.size() + 1;
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    char* names = reinterpret_cast<char*>(drop + 1);
    for (const std::string& path : paths) {
        std::memcpy(names, path.c_str(), path.size() + 1);
        names += path.size() + 1;
    }
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

void ShellTest::SetUp()
{
    ClearProfile();
}

void ShellTest::TearDown()
{
    if (FrameWnd()) {
        // Whatever the test left, the window goes without questions.
        if (CKorvaneDoc* doc = Doc())
            doc->SetModifiedFlag(false);
        Close();
    }
    if (HWND left = FrameWnd())
        ::DestroyWindow(left);
    PumpMessages();
    ClearProfile();
}

bool ShellTest::Start(const std::string& arguments, int showCommand)
{
    CKorvaneApp& app = TheApp();
    app.m_pszCmdLine = "korvane.exe " + arguments;
    app.m_nCmdShow = showCommand;
    bool started = app.InitInstance();
    if (!started) {
        if (app.m_pMainWnd)
            app.m_pMainWnd->DestroyWindow();
        app.ExitInstance();
    }
    PumpMessages();
    return started;
}

void ShellTest::Close()
{
    HWND frame = FrameWnd();
    if (!frame)
        return;
    ::SendMessageA(frame, WM_CLOSE, 0, 0);
    PumpMessages();
    if (!FrameWnd())
        TheApp().ExitInstance();
}

CMainFrame* ShellTest::Frame() const
{
    return dynamic_cast<CMainFrame*>(TheApp().m_pMainWnd);
}

HWND ShellTest::FrameWnd() const
{
    return TheApp().m_pMainWnd ? TheApp().m_pMainWnd->GetSafeHwnd() : nullptr;
}

CKorvaneDoc* ShellTest::Doc() const
{
    CMainFrame* frame = Frame();
    return frame ? dynamic_cast<CKorvaneDoc*>(frame->GetActiveDocument()) : nullptr;
}

HWND ShellTest::EditWnd() const
{
    HWND frame = FrameWnd();
    return frame ? ::GetDlgItem(frame, AFX_IDW_PANE_FIRST) : nullptr;
}

static std::string WindowText(HWND wnd)
{
    int length = ::GetWindowTextLengthA(wnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = ::GetWindowTextA(wnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

std::string ShellTest::Title() const
{
    return WindowText(FrameWnd());
}

std::string ShellTest::EditorText() const
{
    return WindowText(EditWnd());
}

std::string ShellTest::StatusText() const
{
    return Frame()->m_wndStatusBar.GetPaneText(0);
}

void ShellTest::Command(UINT id)
{
    ::SendMessageA(FrameWnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    PumpMessages();
}

void ShellTest::Type(const std::string& text)
{
    for (char c : text)
        ::SendMessageA(EditWnd(), WM_CHAR, static_cast<BYTE>(c), 1);
    PumpMessages();
}

std::vector<MenuEntry> ShellTest::PopupEntries(int index)
{
    HMENU popup = ::GetSubMenu(::GetMenu(FrameWnd()), index);
    ::SendMessageA(FrameWnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(index, FALSE));
    std::vector<MenuEntry> entries;
    for (int i = 0, n = ::GetMenuItemCount(popup); i < n; ++i) {
        char text[256] = "";
        ::GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        UINT state = ::GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION);
        entries.push_back({::GetMenuItemID(popup, i), text, (state & MF_GRAYED) != 0, (state & MF_CHECKED) != 0});
    }
    return entries;
}
