// The docking test frame and its mouse helpers.
#include "docking/DockingFixture.h"

#include "app/KorvaneApp.h"
#include "support/TestSupport.h"

namespace {
constexpr UINT WM_TEST_SETCURSOR = WM_APP + 77;

// Carries out posted cursor moves inside a modal mouse loop.
LRESULT CALLBACK CursorWndProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TEST_SETCURSOR) {
        ::SetCursorPos(static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    }
    return ::DefWindowProcA(wnd, message, wParam, lParam);
}

HWND CursorWindow()
{
    static HWND wnd = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = CursorWndProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "KorvaneTestCursor";
        ::RegisterClassA(&wc);
        return ::CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    }();
    return wnd;
}

LPARAM ClientPointParam(HWND wnd, POINT screenPoint)
{
    ::ScreenToClient(wnd, &screenPoint);
    return MAKELPARAM(static_cast<WORD>(screenPoint.x), static_cast<WORD>(screenPoint.y));
}
}

void DockingTest::SetUp()
{
    // Idle work needs the application object.
    TheApp();
    ::SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, FALSE, nullptr, 0);
    m_pFrame = new CFrameWnd;
    const char* cls = CWnd::RegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_WINDOW));
    // A popup frame has no minimum size, so narrow rows can be tried.
    ASSERT_TRUE(m_pFrame->CreateEx(0, cls, "dock test", WS_POPUP | WS_CAPTION | WS_VISIBLE, RECT{40, 40, 640, 540},
                                   nullptr, 0));
    ASSERT_TRUE(m_view.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, RECT{}, m_pFrame->GetSafeHwnd(),
                                AFX_IDW_PANE_FIRST));
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY, CMiniDockFrameWnd::FloatBar);
}

void DockingTest::TearDown()
{
    if (::GetCapture())
        ::ReleaseCapture();
    m_pFrame->DestroyWindow();
    PumpMessages();
}

void DockingTest::CreateBar(CResizableBar& bar, SIZE size)
{
    UINT id = m_nNextId++;
    ASSERT_TRUE(bar.Create("bar", m_pFrame, size, true, id, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM));
    bar.SetBarStyle(bar.GetBarStyle() | CBRS_SIZE_DYNAMIC);
    auto child = std::make_unique<CWnd>();
    ASSERT_TRUE(child->CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, RECT{}, bar.GetSafeHwnd(), 1));
    m_children.push_back(std::move(child));
    bar.EnableDocking(CBRS_ALIGN_ANY);
}

void DockingTest::Dock(CResizableBar& bar, UINT side, CResizableBar* neighbour)
{
    if (!neighbour) {
        m_pFrame->DockControlBar(&bar, side);
        return;
    }
    // Dropped just right of (or below) the neighbour: the same row, after it.
    RECT rc = neighbour->GetWindowRect();
    bool horz = side == AFX_IDW_DOCKBAR_TOP || side == AFX_IDW_DOCKBAR_BOTTOM;
    RECT drop = horz ? RECT{rc.right - 1, rc.top + 1, rc.right + 10, rc.top + 10}
                     : RECT{rc.left + 1, rc.bottom - 1, rc.left + 10, rc.bottom + 10};
    m_pFrame->DockControlBar(&bar, side, &drop);
}

void DockingTest::SetClientSize(int cx, int cy)
{
    RECT rc{0, 0, cx, cy};
    ::AdjustWindowRectEx(&rc, m_pFrame->GetStyle(), FALSE, m_pFrame->GetExStyle());
    m_pFrame->SetWindowPos(nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER);
    Settle();
}

void DockingTest::Settle()
{
    for (int i = 0; i < 4; ++i) {
        m_pFrame->RecalcLayout();
        PumpMessages();
    }
}

RECT DockingTest::ViewRect() const
{
    RECT rc = m_view.GetWindowRect();
    ::MapWindowPoints(nullptr, m_pFrame->GetSafeHwnd(), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

RECT DockingTest::RectInDockBar(const CControlBar& bar) const
{
    RECT rc = bar.GetWindowRect();
    ::MapWindowPoints(nullptr, bar.GetDockBar()->GetSafeHwnd(), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

POINT DockingTest::EdgeCentre(CResizableBar& bar, int hitCode) const
{
    RECT zone{};
    bar.GetEdgeZone(bar.GetWindowRect(), hitCode, zone);
    return POINT{(zone.left + zone.right) / 2, (zone.top + zone.bottom) / 2};
}

LRESULT DockingTest::HitTest(CWnd& wnd, POINT screenPoint)
{
    return wnd.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(screenPoint.x), static_cast<WORD>(screenPoint.y)));
}

void DockingTest::PressEdge(CResizableBar& bar, int hitCode, POINT screenPoint)
{
    bar.SendMessage(WM_NCLBUTTONDOWN, static_cast<WPARAM>(hitCode),
                    MAKELPARAM(static_cast<WORD>(screenPoint.x), static_cast<WORD>(screenPoint.y)));
}

void DockingTest::MoveMouse(CWnd& wnd, POINT screenPoint)
{
    wnd.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, ClientPointParam(wnd.GetSafeHwnd(), screenPoint));
}

void DockingTest::ReleaseMouse(CWnd& wnd, POINT screenPoint)
{
    wnd.SendMessage(WM_LBUTTONUP, 0, ClientPointParam(wnd.GetSafeHwnd(), screenPoint));
}

void DockingTest::DragEdge(CResizableBar& bar, int hitCode, int dx, int dy)
{
    POINT start = EdgeCentre(bar, hitCode);
    POINT end{start.x + dx, start.y + dy};
    PressEdge(bar, hitCode, start);
    MoveMouse(bar, end);
    ReleaseMouse(bar, end);
}

void PostCursorAndMove(HWND target, POINT screenPoint)
{
    ::PostMessageA(CursorWindow(), WM_TEST_SETCURSOR, static_cast<WPARAM>(screenPoint.x), screenPoint.y);
    ::PostMessageA(target, WM_MOUSEMOVE, MK_LBUTTON, ClientPointParam(target, screenPoint));
}

void PostRelease(HWND target, POINT screenPoint)
{
    ::PostMessageA(target, WM_LBUTTONUP, 0, ClientPointParam(target, screenPoint));
}
