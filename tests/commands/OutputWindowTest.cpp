// The output panel's text window in the real frame: appending at the end, following the end
// only while the user has neither put the caret elsewhere nor scrolled away.
#include "frame/MainFrame.h"
#include "frame/OutputWindow.h"
#include "support/KorvaneSession.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {
std::wstring Lines(int first, int count)
{
    std::wstring text;
    for (int i = first; i < first + count; ++i)
        text += L"line " + std::to_wstring(i) + L"\r\n";
    return text;
}

LRESULT Send(HWND wnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return ::SendMessageW(wnd, message, wParam, lParam);
}
}

class OutputWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_session.Started()); }
    COutputWindow& Output() const { return dynamic_cast<COutputWindow&>(OutputWindow(m_session.Frame())); }

    KorvaneSession m_session;
};

TEST_F(OutputWindowTest, FollowsTheEndUntilTheUserPutsTheCaretElsewhere)
{
    HWND wnd = Output().GetSafeHwnd();
    Output().Append(Lines(0, 200));
    PumpMessages();
    EXPECT_GT(Send(wnd, EM_GETFIRSTVISIBLELINE), 150);

    // The user goes back to read line 10 with a word of it selected.
    const LRESULT line10 = Send(wnd, EM_LINEINDEX, 10);
    Send(wnd, EM_SETSEL, line10, line10 + 4);
    Send(wnd, EM_LINESCROLL, 0, 5 - Send(wnd, EM_GETFIRSTVISIBLELINE));
    Output().Append(Lines(200, 100));
    PumpMessages();
    DWORD start = 0, end = 0;
    Send(wnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, static_cast<DWORD>(line10));
    EXPECT_EQ(end, static_cast<DWORD>(line10 + 4));
    EXPECT_EQ(Send(wnd, EM_GETFIRSTVISIBLELINE), 5);
    EXPECT_EQ(Send(wnd, EM_GETLINECOUNT), 301);

    // Back at the end, it follows again.
    const LRESULT length = Send(wnd, WM_GETTEXTLENGTH);
    Send(wnd, EM_SETSEL, length, length);
    Output().Append(Lines(300, 100));
    PumpMessages();
    EXPECT_GT(Send(wnd, EM_GETFIRSTVISIBLELINE), 350);

    // Scrolled up with the caret still at the end, the view stays where the user scrolled.
    Send(wnd, WM_VSCROLL, SB_PAGEUP, 0);
    const LRESULT scrolled = Send(wnd, EM_GETFIRSTVISIBLELINE);
    Output().Append(Lines(400, 100));
    PumpMessages();
    EXPECT_EQ(Send(wnd, EM_GETFIRSTVISIBLELINE), scrolled);
    EXPECT_EQ(Send(wnd, EM_GETLINECOUNT), 501);
}
