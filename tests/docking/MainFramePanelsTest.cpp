// The real main frame: default layout of toolbar, status bar and both panels, the panel
// toggles and close buttons, the read-only output window, and the toolbar's docking.
#include "frame/MainFrame.h"
#include "framework/docking/CMiniDockFrameWnd.h"
#include "framework/docview/CView.h"
#include "resource.h"
#include "support/KorvaneSession.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {
RECT InFrame(const CWnd& frame, const CWnd& wnd)
{
    RECT rc = wnd.GetWindowRect();
    ::MapWindowPoints(nullptr, frame.GetSafeHwnd(), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

UINT MenuState(CMainFrame& frame, int popup, UINT id)
{
    HMENU menu = ::GetSubMenu(::GetMenu(frame.GetSafeHwnd()), popup);
    frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(popup, FALSE));
    return ::GetMenuState(menu, id, MF_BYCOMMAND);
}
}

class MainFramePanels : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_session = std::make_unique<KorvaneSession>();
        ASSERT_TRUE(m_session->Started());
        m_pFrame = &m_session->Frame();
        m_pFrame->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
        PumpMessages();
    }
    void TearDown() override { m_session.reset(); }
    void Command(UINT id) { m_pFrame->SendMessage(WM_COMMAND, id, 0); }
    RECT Place(const CWnd& wnd) const { return InFrame(*m_pFrame, wnd); }

    MessageBoxRecorder m_boxes;
    std::unique_ptr<KorvaneSession> m_session;
    CMainFrame* m_pFrame = nullptr;
};

TEST_F(MainFramePanels, DefaultLayoutPlacesBarsAndPanelsAroundTheEditor)
{
    RECT client = m_pFrame->GetClientRect();
    RECT toolbar = Place(ToolBar(*m_pFrame));
    RECT status = Place(StatusBar(*m_pFrame));
    RECT output = Place(OutputBar(*m_pFrame));
    RECT utility = Place(UtilityBar(*m_pFrame));
    RECT view = Place(*m_pFrame->GetActiveView());

    EXPECT_EQ(toolbar.top, 0);
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(status.left, 0);
    EXPECT_EQ(status.right, client.right);
    // The output panel lies right above the status bar over the whole width.
    EXPECT_EQ(output.bottom, status.top);
    EXPECT_LE(output.left, 0);
    EXPECT_GE(output.right, client.right);
    EXPECT_EQ(output.bottom - output.top, 100);
    // The utility panel runs down the left between toolbar and output panel.
    EXPECT_EQ(utility.left, 0);
    EXPECT_EQ(utility.right, 200);
    EXPECT_GE(utility.top, toolbar.bottom - 2);
    EXPECT_EQ(utility.bottom, output.top);
    EXPECT_EQ(view.left, utility.right);
    EXPECT_EQ(view.bottom, output.top);
    EXPECT_GE(view.top, toolbar.bottom);
    EXPECT_EQ(OutputBar(*m_pFrame).GetWindowText(), std::string("底部输出栏"));
    EXPECT_EQ(UtilityBar(*m_pFrame).GetWindowText(), std::string("左部工具栏"));
}

TEST_F(MainFramePanels, OutputWindowFillsItsPanelAndRefusesTyping)
{
    CWnd& output = OutputWindow(*m_pFrame);
    ASSERT_TRUE(::IsWindow(output.GetSafeHwnd()));
    EXPECT_EQ(output.GetDlgCtrlID(), static_cast<UINT>(IDC_OUTPUT));
    EXPECT_TRUE(output.GetExStyle() & WS_EX_CLIENTEDGE);
    RECT panelClient = OutputBar(*m_pFrame).GetClientRect();
    RECT outputWindow = output.GetWindowRect();
    EXPECT_EQ(outputWindow.right - outputWindow.left, panelClient.right);
    EXPECT_EQ(outputWindow.bottom - outputWindow.top, panelClient.bottom);

    output.SetWindowText("masm output");
    output.SendMessage(WM_CHAR, 'x', 0);
    output.SendMessage(WM_KEYDOWN, VK_BACK, 0);
    output.SendMessage(WM_CHAR, VK_BACK, 0);
    EXPECT_EQ(output.GetWindowText(), "masm output");
    output.SendMessage(EM_SETSEL, 0, 4);
    DWORD start = 0, end = 0;
    output.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 4u);

    // Lines as the tools print them, none wrapped, with scroll bars for what does not fit.
    std::string lines(400, 'x');
    for (int i = 0; i < 60; ++i)
        lines += "\r\nline";
    output.SetWindowText(lines);
    EXPECT_EQ(output.SendMessage(EM_GETLINECOUNT), 61);
    for (int bar : {SB_HORZ, SB_VERT}) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE;
        ASSERT_TRUE(::GetScrollInfo(output.GetSafeHwnd(), bar, &info)) << bar;
        EXPECT_GT(info.nMax, static_cast<int>(info.nPage)) << bar;
    }
}

TEST_F(MainFramePanels, ToggleHidesAndShowsTheOutputPanelAndItsEntryIsCheckedWhileItShows)
{
    CCaptionBar& panel = OutputBar(*m_pFrame);
    OutputWindow(*m_pFrame).SetWindowText("kept");
    RECT before = Place(panel);
    Command(ID_VIEW_OUTPUT);
    EXPECT_FALSE(panel.IsVisible());
    EXPECT_FALSE(MenuState(*m_pFrame, 2, ID_VIEW_OUTPUT) & MF_CHECKED);
    Command(ID_VIEW_OUTPUT);
    EXPECT_TRUE(panel.IsVisible());
    EXPECT_TRUE(MenuState(*m_pFrame, 2, ID_VIEW_OUTPUT) & MF_CHECKED);
    EXPECT_FALSE(MenuState(*m_pFrame, 2, ID_VIEW_OUTPUT) & MF_GRAYED);
    PumpMessages();
    RECT after = Place(panel);
    EXPECT_TRUE(::EqualRect(&before, &after) != FALSE);
    EXPECT_EQ(OutputWindow(*m_pFrame).GetWindowText(), "kept");
}

TEST_F(MainFramePanels, CloseButtonHidesAPanelAndTheToggleBringsItBackAtItsSize)
{
    CCaptionBar& panel = OutputBar(*m_pFrame);
    panel.SetHorzSize(SIZE{panel.GetHorzSize().cx, 140});
    m_pFrame->RecalcLayout();
    PumpMessages();
    RECT w = panel.GetWindowRect();
    RECT button = panel.GetCloseButton().GetRect();
    POINT over{w.left + (button.left + button.right) / 2, w.top + (button.top + button.bottom) / 2};
    ASSERT_EQ(panel.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(over.x, over.y)), HTCLOSE);
    panel.SendMessage(WM_NCLBUTTONUP, HTCLOSE, MAKELPARAM(over.x, over.y));
    EXPECT_FALSE(panel.IsVisible());
    RECT view = Place(*m_pFrame->GetActiveView());
    EXPECT_EQ(view.bottom, Place(StatusBar(*m_pFrame)).top);

    Command(ID_VIEW_OUTPUT);
    PumpMessages();
    EXPECT_TRUE(panel.IsVisible());
    RECT shown = Place(panel);
    EXPECT_EQ(shown.bottom - shown.top, 140);
}

TEST_F(MainFramePanels, UtilityToggleHidesAndShowsTheLeftPanel)
{
    CCaptionBar& panel = UtilityBar(*m_pFrame);
    Command(ID_VIEW_UTILITY);
    EXPECT_FALSE(panel.IsVisible());
    EXPECT_EQ(Place(*m_pFrame->GetActiveView()).left, 0);
    EXPECT_FALSE(MenuState(*m_pFrame, 2, ID_VIEW_UTILITY) & MF_CHECKED);
    Command(ID_VIEW_UTILITY);
    EXPECT_TRUE(panel.IsVisible());
    EXPECT_EQ(Place(*m_pFrame->GetActiveView()).left, 200);
}

TEST_F(MainFramePanels, ToolbarFloatsAndDocksAgainOnADoubleClick)
{
    CToolBar& toolbar = ToolBar(*m_pFrame);
    RECT viewBefore = Place(*m_pFrame->GetActiveView());
    // A double click on the gripper, left of the first button.
    toolbar.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-4), 5));
    PumpMessages();
    ASSERT_TRUE(toolbar.IsFloating());
    auto* floating = dynamic_cast<CMiniDockFrameWnd*>(ParentFrameOf(toolbar));
    ASSERT_NE(floating, nullptr);
    EXPECT_TRUE(floating->IsWindowVisible());
    EXPECT_LT(Place(*m_pFrame->GetActiveView()).top, viewBefore.top);

    floating->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    PumpMessages();
    EXPECT_FALSE(toolbar.IsFloating());
    EXPECT_EQ(::GetDlgCtrlID(::GetParent(toolbar.GetSafeHwnd())), AFX_IDW_DOCKBAR_TOP);
    EXPECT_EQ(Place(*m_pFrame->GetActiveView()).top, viewBefore.top);
}

TEST_F(MainFramePanels, ToolbarAndStatusBarTogglesCarryCheckMarks)
{
    EXPECT_TRUE(MenuState(*m_pFrame, 2, ID_VIEW_TOOLBAR) & MF_CHECKED);
    Command(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(ToolBar(*m_pFrame).IsVisible());
    EXPECT_FALSE(MenuState(*m_pFrame, 2, ID_VIEW_TOOLBAR) & MF_CHECKED);
    Command(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(ToolBar(*m_pFrame).IsVisible());
    Command(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(MenuState(*m_pFrame, 2, ID_VIEW_STATUS_BAR) & MF_CHECKED);
    EXPECT_EQ(Place(OutputBar(*m_pFrame)).bottom, m_pFrame->GetClientRect().bottom);
    Command(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(MenuState(*m_pFrame, 2, ID_VIEW_STATUS_BAR) & MF_CHECKED);
}

TEST_F(MainFramePanels, UtilityPanelShowsItsOnePageWithTheTabAtTheBottom)
{
    CPageTabCtrl& tabs = TabCtrl(*m_pFrame);
    ASSERT_EQ(tabs.GetPageCount(), 1);
    EXPECT_EQ(tabs.GetActivePage(), 0);
    EXPECT_EQ(tabs.GetPageItem(0)->m_strTitle, std::string("汇编实用工具"));
    EXPECT_NE(tabs.GetPageItem(0)->m_hIcon, nullptr);
    EXPECT_EQ(::GetParent(tabs.GetSafeHwnd()), UtilityBar(*m_pFrame).GetSafeHwnd());
    EXPECT_EQ(tabs.GetDlgCtrlID(), static_cast<UINT>(IDW_TAB_CTRL));
    // The tab control fills the panel and its page sits above the tab strip.
    RECT panel = UtilityBar(*m_pFrame).GetClientRect();
    RECT tabWindow = tabs.GetWindowRect();
    EXPECT_EQ(tabWindow.right - tabWindow.left, panel.right);
    EXPECT_EQ(tabWindow.bottom - tabWindow.top, panel.bottom);
    CToolDia& page = ToolDia(*m_pFrame);
    EXPECT_TRUE(page.IsWindowVisible());
    EXPECT_TRUE(page.GetExStyle() & WS_EX_CLIENTEDGE);
    RECT pageRect = page.GetWindowRect();
    EXPECT_EQ(pageRect.top - tabWindow.top, 4);
    EXPECT_EQ(tabWindow.bottom - pageRect.bottom, 25);
    char ascii[16] = "";
    ::GetDlgItemTextA(page.GetSafeHwnd(), IDC_ASCII, ascii, sizeof ascii);
    EXPECT_STREQ(ascii, "0");
}

TEST_F(MainFramePanels, ClosedUtilityPanelComesBackWithItsContents)
{
    CCaptionBar& panel = UtilityBar(*m_pFrame);
    HWND hex = ::GetDlgItem(ToolDia(*m_pFrame).GetSafeHwnd(), IDC_HEX);
    ::SendMessageA(hex, WM_CHAR, 'f', 0);
    PumpMessages();
    RECT w = panel.GetWindowRect();
    RECT button = panel.GetCloseButton().GetRect();
    POINT over{w.left + button.left + 6, w.top + button.top + 6};
    panel.SendMessage(WM_NCLBUTTONUP, HTCLOSE, MAKELPARAM(over.x, over.y));
    EXPECT_FALSE(panel.IsVisible());
    Command(ID_VIEW_UTILITY);
    EXPECT_TRUE(panel.IsVisible());
    char dec[32] = "";
    ::GetDlgItemTextA(ToolDia(*m_pFrame).GetSafeHwnd(), IDC_DEC, dec, sizeof dec);
    EXPECT_STREQ(dec, "15");
}

TEST_F(MainFramePanels, TabsDrawInTheSystemColoursOfTheMoment)
{
    CPageTabCtrl& tabs = TabCtrl(*m_pFrame);
    RECT tab = tabs.GetPageItem(0)->m_rect;
    RECT client = tabs.GetClientRect();
    const INT element = COLOR_BTNSHADOW;
    const COLORREF original = ::GetSysColor(element);
    const COLORREF changed = RGB(200, 10, 30);
    ASSERT_TRUE(::SetSysColors(1, &element, &changed));
    // The system tells the top-level windows; the frame passes it on to its children.
    m_pFrame->SendMessage(WM_SYSCOLORCHANGE);
    DibSurface surface(client.right, client.bottom);
    tabs.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()), PRF_CLIENT | PRF_ERASEBKGND);
    // The active tab's shadow row, one pixel above its bottom line.
    COLORREF drawn = surface.Pixel(tab.left + 3, client.bottom - 2);
    ::SetSysColors(1, &element, &original);
    m_pFrame->SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(drawn, changed);
}
