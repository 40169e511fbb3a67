// The window procedure's typed handlers: what each is handed from a real message, signed
// where coordinates and sizes can be negative, and what falls through to the default.
#include "framework/CWnd.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {
// What one handler was called with; the meaning of a, b and c is the handler's.
struct Call {
    std::string handler;
    long long a = 0, b = 0, c = 0;
    bool operator==(const Call&) const = default;
};

void PrintTo(const Call& call, std::ostream* out)
{
    *out << call.handler << "(" << call.a << ", " << call.b << ", " << call.c << ")";
}

class RecordingWnd : public CWnd {
public:
    Call m_last;

protected:
    void OnSize(UINT type, int cx, int cy) override { Record("OnSize", type, cx, cy); }
    void OnMove(int x, int y) override { Record("OnMove", x, y); }
    LRESULT OnNcHitTest(POINT pt) override
    {
        Record("OnNcHitTest", pt.x, pt.y);
        return HTCAPTION;
    }
    void OnMouseMove(UINT flags, POINT pt) override { Record("OnMouseMove", flags, pt.x, pt.y); }
    void OnLButtonDown(UINT flags, POINT pt) override { Record("OnLButtonDown", flags, pt.x, pt.y); }
    void OnLButtonDblClk(UINT flags, POINT pt) override { Record("OnLButtonDblClk", flags, pt.x, pt.y); }
    void OnNcLButtonDown(UINT hit, POINT pt) override { Record("OnNcLButtonDown", hit, pt.x, pt.y); }
    void OnNcLButtonUp(UINT hit, POINT pt) override { Record("OnNcLButtonUp", hit, pt.x, pt.y); }
    bool OnSetCursor(HWND, UINT hit, UINT mouseMessage) override
    {
        Record("OnSetCursor", hit, mouseMessage);
        return true;
    }
    void OnChar(UINT ch, UINT repeat, UINT flags) override { Record("OnChar", ch, repeat, flags); }
    bool OnCommand(UINT id, UINT code, HWND control) override
    {
        Record("OnCommand", id, code, control != nullptr);
        return true;
    }
    // Sends itself another message before handing its own on: the default must still get
    // the text, not the other message.
    void OnSetText(const wchar_t* text) override
    {
        SendMessage(WM_MOVE, 0, MAKELPARAM(1, 2));
        CWnd::OnSetText(text);
        Record("OnSetText", static_cast<long long>(std::wstring(text).size()));
    }

private:
    void Record(const char* handler, long long a = 0, long long b = 0, long long c = 0) { m_last = {handler, a, b, c}; }
};

struct Crack {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    Call expected;
    LRESULT result;
};

void PrintTo(const Crack& c, std::ostream* out)
{
    *out << c.name;
}

LPARAM Pair(int low, int high)
{
    return MAKELPARAM(static_cast<WORD>(low), static_cast<WORD>(high));
}

const Crack kCracks[] = {
    {"SizeBelowZero", WM_SIZE, SIZE_RESTORED, Pair(-6, -2), {"OnSize", SIZE_RESTORED, -6, -2}, 0},
    {"MoveOffScreen", WM_MOVE, 0, Pair(-1200, -30), {"OnMove", -1200, -30}, 0},
    {"HitTestLeftOfScreen", WM_NCHITTEST, 0, Pair(-5, -32768), {"OnNcHitTest", -5, -32768}, HTCAPTION},
    {"MouseMoveUnderCapture", WM_MOUSEMOVE, MK_LBUTTON, Pair(-40, 32767), {"OnMouseMove", MK_LBUTTON, -40, 32767}, 0},
    {"ButtonDown", WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, Pair(-4, 5), {"OnLButtonDown", MK_LBUTTON | MK_SHIFT, -4, 5}, 0},
    {"DoubleClick", WM_LBUTTONDBLCLK, MK_LBUTTON, Pair(3, -9), {"OnLButtonDblClk", MK_LBUTTON, 3, -9}, 0},
    {"NonClientDown", WM_NCLBUTTONDOWN, HTTOPLEFT, Pair(-300, -1), {"OnNcLButtonDown", HTTOPLEFT, -300, -1}, 0},
    {"NonClientUp", WM_NCLBUTTONUP, HTCLOSE, Pair(65535, 1), {"OnNcLButtonUp", HTCLOSE, -1, 1}, 0},
    {"SetCursor", WM_SETCURSOR, 0, MAKELPARAM(HTLEFT, WM_MOUSEMOVE), {"OnSetCursor", HTLEFT, WM_MOUSEMOVE}, TRUE},
    {"Char", WM_CHAR, 0x6C49, MAKELPARAM(3, 0xC01E), {"OnChar", 0x6C49, 3, 0xC01E}, 0},
    {"MenuCommand", WM_COMMAND, MAKEWPARAM(0xE123, 0), 0, {"OnCommand", 0xE123, 0, 0}, 0},
    {"SetTextNested", WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abc"), {"OnSetText", 3}, TRUE},
};

class MessageCrackers : public ::testing::TestWithParam<Crack> {
protected:
    void SetUp() override
    {
        const char* cls = CWnd::RegisterWndClass(0);
        ASSERT_TRUE(m_wnd.CreateEx(0, cls, "", WS_POPUP, RECT{0, 0, 50, 50}, nullptr, 0));
    }

    RecordingWnd m_wnd;
};
}

TEST_P(MessageCrackers, HandTheirHandlerSignedValues)
{
    const Crack& c = GetParam();
    EXPECT_EQ(m_wnd.SendMessage(c.message, c.wParam, c.lParam), c.result);
    EXPECT_EQ(m_wnd.m_last, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, MessageCrackers, ::testing::ValuesIn(kCracks),
                         [](const ::testing::TestParamInfo<Crack>& info) { return std::string(info.param.name); });

TEST(MessageCrackers, AHandlerThatSendsItselfAMessageStillHandsItsOwnOn)
{
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, CWnd::RegisterWndClass(0), "", WS_POPUP, RECT{0, 0, 50, 50}, nullptr, 0));
    wnd.SetWindowText("nested");
    EXPECT_EQ(wnd.GetWindowText(), "nested");
    // Handlers left to the default give the system's answers.
    CWnd plain;
    ASSERT_TRUE(plain.CreateEx(0, CWnd::RegisterWndClass(0), "", WS_POPUP, RECT{0, 0, 50, 50}, nullptr, 0));
    EXPECT_EQ(plain.SendMessage(WM_NCHITTEST, 0, Pair(-20000, -20000)), HTNOWHERE);
    plain.SetWindowText("plain");
    EXPECT_EQ(plain.GetWindowText(), "plain");
}
