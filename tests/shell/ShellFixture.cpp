// The shell tests' fixture.
#include "ShellFixture.h"

#include "app/KorvaneApp.h"
#include "doc/KorvaneDoc.h"
#include "doc/KorvaneView.h"
#include "frame/MainFrame.h"
#include "resource.h"

#include <shlobj.h>

#include <cstring>

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
    // Whatever the test left, the window goes without questions.
    m_session.reset();
    ClearProfile();
}

bool ShellTest::Start(const std::string& arguments, int showCommand)
{
    // An earlier session goes first: both would act on the one application object.
    m_session.reset();
    m_session = std::make_unique<KorvaneSession>(arguments, showCommand);
    return m_session->Started();
}

void ShellTest::Close()
{
    if (m_session)
        m_session->Close();
}

CMainFrame* ShellTest::Frame() const
{
    return MainFrame();
}

HWND ShellTest::FrameWnd() const
{
    CMainFrame* frame = MainFrame();
    return frame ? frame->GetSafeHwnd() : nullptr;
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
    return StatusBar(*Frame()).GetPaneText(0);
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
