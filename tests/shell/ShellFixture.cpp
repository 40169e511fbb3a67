// The shell tests' fixture.
#include "ShellFixture.h"

#include "app/KorvaneApp.h"
#include "doc/KorvaneDoc.h"
#include "doc/KorvaneView.h"
#include "frame/MainFrame.h"
#include "framework/Unicode.h"
#include "resource.h"

#include <shlobj.h>

#include <cstring>

HDROP MakeDrop(const std::vector<std::string>& paths)
{
    std::wstring names;
    for (const std::string& path : paths)
        names += Widen(path) + L'\0';
    names += L'\0';
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, names.data(), names.size() * sizeof(wchar_t));
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
    return frame ? dynamic_cast<CKorvaneDoc*>(TheApp().GetDocTemplate()->GetDocument()) : nullptr;
}

HWND ShellTest::EditWnd() const
{
    HWND frame = FrameWnd();
    return frame ? ::GetDlgItem(frame, AFX_IDW_PANE_FIRST) : nullptr;
}

std::string ShellTest::Title() const
{
    return WindowTextOf(FrameWnd());
}

CKorvaneView& ShellTest::View() const
{
    return *dynamic_cast<CKorvaneView*>(Frame()->GetActiveView());
}

void ShellTest::SetText(const std::wstring& text)
{
    ::SetWindowTextW(EditWnd(), text.c_str());
    PumpMessages();
}

std::pair<DWORD, DWORD> ShellTest::Selection() const
{
    return EditSelectionOf(EditWnd());
}

void ShellTest::Select(size_t start, size_t end)
{
    ::SendMessageW(EditWnd(), EM_SETSEL, start, static_cast<LPARAM>(end));
}

std::string ShellTest::EditorText() const
{
    return WindowTextOf(EditWnd());
}

std::string ShellTest::StatusText() const
{
    return StatusBar(*Frame()).GetPaneText(0);
}

void ShellTest::Command(UINT id)
{
    ::SendMessageW(FrameWnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    PumpMessages();
}

void ShellTest::Type(const std::string& text)
{
    TypeText(EditWnd(), text);
    PumpMessages();
}

std::vector<MenuEntry> ShellTest::PopupEntries(int index)
{
    HMENU popup = ::GetSubMenu(::GetMenu(FrameWnd()), index);
    ::SendMessageW(FrameWnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(index, FALSE));
    std::vector<MenuEntry> entries;
    for (int i = 0, n = ::GetMenuItemCount(popup); i < n; ++i) {
        wchar_t text[256] = L"";
        ::GetMenuStringW(popup, static_cast<UINT>(i), text, static_cast<int>(std::size(text)), MF_BYPOSITION);
        UINT state = ::GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION);
        entries.push_back(
            {::GetMenuItemID(popup, i), Narrow(text), (state & MF_GRAYED) != 0, (state & MF_CHECKED) != 0});

    }
    return entries;
}
