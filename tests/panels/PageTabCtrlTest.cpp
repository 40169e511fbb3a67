// The page tab control inside a plain window: layout, pixels painted through WM_PRINTCLIENT,
// hit testing and the active page.
#include "support/TestSupport.h"

#include "panels/PageTabCtrl.h"
#include "frame/ToolDia.h"
#include "framework/Unicode.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

// The face the program hands its tab control.
std::string FontFace()
{
    return "宋体";
}

COLORREF Face()
{
    return ::GetSysColor(COLOR_BTNFACE);
}

COLORREF Shadow()
{
    return ::GetSysColor(COLOR_BTNSHADOW);
}

struct PageSpec {
    std::string title;
    UINT icon;
};

class PageTabTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_host.CreateEx(0, CWnd::RegisterWndClass(0), "", WS_POPUP, RECT{0, 0, 600, 400}, nullptr, 0));
        // Hidden windows collect no update region.
        m_host.ShowWindow(SW_SHOWNOACTIVATE);
    }

    void CreateTabs(int w, int h)
    {
        ASSERT_TRUE(m_tabs.Create(WS_CHILD | WS_VISIBLE | PTCS_BOTTOM, RECT{0, 0, w, h}, &m_host, IDW_TAB_CTRL, FontFace()));
    }

    CWnd* AddPageWindow()
    {
        auto page = std::make_unique<CWnd>();
        page->Create(CWnd::RegisterWndClass(0), "", 0, RECT{0, 0, 10, 10}, &m_tabs, 1);
        m_tabs.AddPage(page.get(), "", 0);
        m_pages.push_back(std::move(page));
        return m_pages.back().get();
    }

    void AddPages(const std::vector<PageSpec>& pages)
    {
        for (const auto& page : pages)
            m_tabs.AddPage(nullptr, page.title, page.icon);
    }

    RECT TabRect(int index) const { return m_tabs.GetPageItem(index)->m_rect; }

    RECT PlacedRect(CWnd* page) const
    {
        RECT rc = page->GetWindowRect();
        m_tabs.ScreenToClient(&rc);
        return rc;
    }

    void Print(DibSurface& surface) const
    {
        m_tabs.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()), PRF_CLIENT | PRF_ERASEBKGND);
    }

    void Click(int x, int y) const
    {
        m_tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        m_tabs.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }

    bool HasUpdateRegion() const { return ::GetUpdateRect(m_tabs.GetSafeHwnd(), nullptr, FALSE) != FALSE; }

    static bool IsShown(CWnd* page) { return (page->GetStyle() & WS_VISIBLE) != 0; }

    CWnd m_host;
    CPageTabCtrl m_tabs;
    std::vector<std::unique_ptr<CWnd>> m_pages;
};

void ExpectRect(const RECT& rc, int left, int top, int right, int bottom)
{
    EXPECT_EQ(rc.left, left);
    EXPECT_EQ(rc.top, top);
    EXPECT_EQ(rc.right, right);
    EXPECT_EQ(rc.bottom, bottom);
}

// Whether the 16 x 16 block at (x, y) shows the icon exactly as drawn over button face.
bool ShowsIcon(const DibSurface& surface, int x, int y, UINT iconId)
{
    DibSurface reference(16, 16, Face());
    HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId));
    ::DrawIconEx(reference.dc(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
    for (int dy = 0; dy < 16; ++dy)
        for (int dx = 0; dx < 16; ++dx)
            if (surface.Pixel(x + dx, y + dy) != reference.Pixel(dx, dy))
                return false;
    return true;
}

bool HasInk(const DibSurface& surface, const RECT& rc)
{
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            if (surface.Pixel(x, y) != Face())
                return true;
    return false;
}
}

TEST_F(PageTabTest, PageWindowFollowsTheControlSize)
{
    CreateTabs(200, 120);
    CWnd* page = AddPageWindow();
    ExpectRect(PlacedRect(page), 2, 2, 198, 97);
    m_tabs.Refresh();
    for (SIZE size : {SIZE{200, 120}, SIZE{150, 300}, SIZE{321, 77}}) {
        m_tabs.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        RECT rc = PlacedRect(page);
        EXPECT_EQ(rc.left, 4);
        EXPECT_EQ(rc.top, 4);
        EXPECT_EQ(rc.right - rc.left, size.cx - 8);
        EXPECT_EQ(rc.bottom - rc.top, size.cy - 29);
        ExpectRect(TabRect(0), 6, size.cy - 23, TabRect(0).right, size.cy - 1);
    }
}

TEST_F(PageTabTest, WithoutPagesOnlyBackgroundAndFrameArePainted)
{
    const int w = 120, h = 90;
    CreateTabs(w, h);
    m_tabs.Refresh();
    EXPECT_EQ(m_tabs.GetActivePage(), -1);

    DibSurface surface(w, h);
    Print(surface);
    for (int x = 2; x <= w - 4; ++x)
        EXPECT_EQ(surface.Pixel(x, 2), kWhite) << x;
    for (int y = 2; y <= h - 25; ++y)
        EXPECT_EQ(surface.Pixel(2, y), kWhite) << y;
    for (int y = 2; y < h - 23; ++y)
        EXPECT_EQ(surface.Pixel(w - 3, y), kBlack) << y;
    for (int x = 2; x < w - 2; ++x)
        EXPECT_EQ(surface.Pixel(x, h - 24), kBlack) << x;
    for (POINT pt : {POINT{0, 0}, POINT{1, 1}, POINT{w - 2, 2}, POINT{3, 3}, POINT{w / 2, h / 2}, POINT{w - 1, h - 1},
                     POINT{2, h - 23}, POINT{w / 2, h - 12}, POINT{w / 2, h - 1}})
        EXPECT_EQ(surface.Pixel(pt.x, pt.y), Face()) << pt.x << "," << pt.y;
}

TEST_F(PageTabTest, NaturalWidthsAreTitleWidthPlusNineAndEighteenForAnIcon)
{
    CreateTabs(300, 100);
    // Icon 999 does not exist: a tab without icon.
    AddPages({{"", 0}, {"", IDI_UTILITY_PAGE}, {"", 999}, {std::string("汇编实用工具"), 0}});
    m_tabs.Refresh();
    ExpectRect(TabRect(0), 6, 77, 14, 99);
    ExpectRect(TabRect(1), 15, 77, 41, 99);
    ExpectRect(TabRect(2), 42, 77, 50, 99);
    // Measured in the tab font: six characters of 12 pixels.
    EXPECT_EQ(TabRect(3).right - TabRect(3).left + 1, 6 * 12 + 9);
}

TEST_F(PageTabTest, ActiveTabOpensIntoThePageAndInactiveTabsSitLower)
{
    const int w = 160, h = 100;
    CreateTabs(w, h);
    AddPages({{"", 0}, {"", 0}});
    m_tabs.Refresh();
    DibSurface surface(w, h);
    Print(surface);

    const RECT a = TabRect(0), b = TabRect(1);
    // Active tab: its fill covers the frame row, its outline reaches the bottom row.
    EXPECT_EQ(surface.Pixel(a.left, h - 24), kWhite);
    EXPECT_EQ(surface.Pixel(a.left + 3, h - 24), Face());
    EXPECT_EQ(surface.Pixel(a.left + 3, h - 2), Shadow());
    EXPECT_EQ(surface.Pixel(a.left + 3, h - 1), kBlack);
    EXPECT_EQ(surface.Pixel(a.right - 1, h - 10), Shadow());
    EXPECT_EQ(surface.Pixel(a.right, h - 24), kBlack);
    EXPECT_EQ(surface.Pixel(a.right, h - 10), kBlack);
    // Inactive tab: the frame stays above it, everything one pixel shorter.
    EXPECT_EQ(surface.Pixel(b.left + 3, h - 24), kBlack);
    EXPECT_EQ(surface.Pixel(b.left, h - 23), kWhite);
    EXPECT_EQ(surface.Pixel(b.left, h - 3), Face());
    EXPECT_EQ(surface.Pixel(b.left + 3, h - 3), Shadow());
    EXPECT_EQ(surface.Pixel(b.left + 3, h - 2), kBlack);
    EXPECT_EQ(surface.Pixel(b.left + 3, h - 1), Face());
    EXPECT_EQ(surface.Pixel(b.right, h - 10), kBlack);
    // Beside the tabs the strip shows the erased background.
    EXPECT_EQ(surface.Pixel(b.right + 5, h - 10), Face());
}

// Four icon tabs squeezed into strips of 4 x 23 and 4 x 24 pixels.
TEST_F(PageTabTest, IconNeedsMoreThanTwentyThreePixels)
{
    for (int share : {23, 24}) {
        const int w = 4 * share + 12, h = 60;
        CPageTabCtrl tabs;
        ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE | PTCS_BOTTOM, RECT{0, 0, w, h}, &m_host, 1, FontFace()));
        for (int i = 0; i < 4; ++i)
            tabs.AddPage(nullptr, "", IDI_UTILITY_PAGE);
        tabs.Refresh();
        const RECT active = tabs.GetPageItem(0)->m_rect, inactive = tabs.GetPageItem(2)->m_rect;
        ASSERT_EQ(inactive.right - inactive.left, share);
        DibSurface surface(w, h);
        tabs.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()), PRF_CLIENT | PRF_ERASEBKGND);
        // The active tab's content starts one pixel higher.
        EXPECT_EQ(ShowsIcon(surface, active.left + 5, active.top + 1, IDI_UTILITY_PAGE), share > 23) << share;
        EXPECT_EQ(ShowsIcon(surface, inactive.left + 5, inactive.top + 2, IDI_UTILITY_PAGE), share > 23) << share;
        if (share == 23) {
            EXPECT_EQ(surface.Pixel(inactive.left + 8, inactive.top + 8), Face());
        }
    }
}

// Natural widths 9 + 3 x 27 = 90: a strip of 90 holds them, one of 80 gives each at most 20,
// the cut tabs one pixel apart.
TEST_F(PageTabTest, OverflowCutsOnlyTheWideTabs)
{
    const struct {
        int strip;
        std::vector<std::pair<int, int>> spans;
    } cases[] = {
        {90, {{6, 14}, {15, 41}, {42, 68}, {69, 95}}},
        {80, {{6, 15}, {16, 36}, {37, 57}, {58, 78}}},
    };
    for (const auto& c : cases) {
        CPageTabCtrl tabs;
        ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE | PTCS_BOTTOM, RECT{0, 0, c.strip + 12, 60}, &m_host, 1, FontFace()));
        for (UINT icon : {0, IDI_UTILITY_PAGE, IDI_UTILITY_PAGE, IDI_UTILITY_PAGE})
            tabs.AddPage(nullptr, "", icon);
        tabs.Refresh();
        for (int i = 0; i < 4; ++i)
            ExpectRect(tabs.GetPageItem(i)->m_rect, c.spans[i].first, 37, c.spans[i].second, 59);
    }
}

TEST_F(PageTabTest, TitlesAreDrawnOnlyWhenPresent)
{
    const int w = 300, h = 80;
    CreateTabs(w, h);
    AddPages({{"", 0}, {std::string("汇编实用工具"), 0}});
    m_tabs.Refresh();
    DibSurface surface(w, h);
    Print(surface);
    auto content = [&](int i) {
        RECT rc = TabRect(i);
        return RECT{rc.left + 1, rc.top, rc.right - 2, rc.bottom - 3};
    };
    EXPECT_FALSE(HasInk(surface, content(0)));
    EXPECT_TRUE(HasInk(surface, content(1)));
}

TEST(TabTitle, IsCutTwoGbkBytesAtATimeThenEllipsized)
{
    DibSurface surface(10, 10);
    HDC dc = surface.dc();
    auto width = [dc](const std::string& text) {
        std::wstring wide = Widen(text);
        SIZE size{};
        ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
        return static_cast<int>(size.cx);
    };
    const std::string two = std::string("汇编");
    const std::string mixed = std::string("中a中");
    struct Case {
        std::string title;
        int width;
        std::string shown;
    } cases[] = {
        {"abcdefgh", width("abcdefgh"), "abcdefgh"},
        {"abcdefgh", width("abcdef"), "abcd..."},
        {"abcdefgh", width("abcdefg"), "abcd..."},
        {two, width(std::string("汇")), "..."},
        {two + two, width(two + std::string("汇")), two + "..."},
        // Ten cuts at most, then two more bytes go.
        {"abcdefghijklmnopqrstuvwxyz0123", 0, "abcdefgh..."},
        {"", 0, ""},
        // A cut never leaves half a double-byte character behind.
        {mixed, width(std::string("中a")), "..."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Narrow(CTabEntry::FitTitle(dc, Widen(c.title), c.width)), c.shown) << c.title << " in " << c.width;
}

TEST_F(PageTabTest, ClickingATabShowsItsPage)
{
    CreateTabs(200, 100);
    CWnd* first = AddPageWindow();
    CWnd* second = AddPageWindow();
    m_tabs.Refresh();
    EXPECT_EQ(m_tabs.GetActivePage(), 0);
    EXPECT_TRUE(IsShown(first));
    EXPECT_FALSE(IsShown(second));

    Click(TabRect(1).left + 2, 90);
    EXPECT_EQ(m_tabs.GetActivePage(), 1);
    EXPECT_FALSE(IsShown(first));
    EXPECT_TRUE(IsShown(second));

    // The right edge column of a tab belongs to no tab.
    Click(TabRect(0).right, 90);
    EXPECT_EQ(m_tabs.GetActivePage(), 1);
    Click(TabRect(0).right - 1, 90);
    EXPECT_EQ(m_tabs.GetActivePage(), 0);
    EXPECT_TRUE(IsShown(first));
    EXPECT_FALSE(IsShown(second));
}

TEST_F(PageTabTest, ClickingOutsideTheTabsChangesNothing)
{
    CreateTabs(200, 100);
    CWnd* first = AddPageWindow();
    AddPageWindow();
    m_tabs.Refresh();
    ::ValidateRect(m_tabs.GetSafeHwnd(), nullptr);
    for (POINT pt : {POINT{190, 90}, POINT{3, 90}, POINT{8, 76}, POINT{100, 40}})
        Click(pt.x, pt.y);
    EXPECT_EQ(m_tabs.GetActivePage(), 0);
    EXPECT_TRUE(IsShown(first));
    EXPECT_FALSE(HasUpdateRegion());

    Click(TabRect(0).left + 1, 90);
    EXPECT_EQ(m_tabs.GetActivePage(), 0);
    EXPECT_TRUE(HasUpdateRegion());
}

TEST_F(PageTabTest, AnIndexWithoutTabKeepsTheActivePageShown)
{
    CreateTabs(200, 100);
    CWnd* first = AddPageWindow();
    m_tabs.Refresh();
    m_tabs.SetActivePage(5);
    m_tabs.SetActivePage(-1);
    EXPECT_EQ(m_tabs.GetActivePage(), 0);
    EXPECT_TRUE(IsShown(first));
}

TEST_F(PageTabTest, HoldsTheUtilityPanel)
{
    CreateTabs(220, 360);
    CToolDia dialog;
    ASSERT_TRUE(dialog.Create(&m_tabs));
    dialog.ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    EXPECT_FALSE(dialog.IsWindowVisible());
    m_tabs.AddPage(&dialog, std::string("汇编实用工具"), IDI_UTILITY_PAGE);
    m_tabs.Refresh();
    EXPECT_TRUE(dialog.GetStyle() & WS_VISIBLE);
    ExpectRect(PlacedRect(&dialog), 4, 4, 216, 335);
}
