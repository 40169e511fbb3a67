// The utility panel driven by typing into its real edit boxes: both converters, the
// validation messages of the code box, focus and the keys that must do nothing.
#include "support/TestSupport.h"

#include "frame/ToolDia.h"
#include "framework/Unicode.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
class ToolDiaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_host.CreateEx(0, CWnd::RegisterWndClass(0), "", WS_OVERLAPPEDWINDOW, RECT{0, 0, 300, 400},
                                    nullptr, 0));
        ASSERT_TRUE(m_dialog.Create(&m_host));
        m_dialog.ShowWindow(SW_SHOW);
        m_host.ShowWindow(SW_SHOW);
        ::SetFocus(Box(IDC_DEC));
    }

    HWND Box(UINT id) const { return m_dialog.GetDlgItem(id); }

    std::string Text(UINT id) const { return WindowTextOf(Box(id)); }

    // Types characters as the keyboard (and an input method) delivers them.
    void Type(UINT id, const std::string& text) const { TypeText(Box(id), text); }

    void Retype(UINT id, const std::string& text) const
    {
        ::SendMessageW(Box(id), EM_SETSEL, 0, -1);
        Type(id, text);
    }

    void Clear(UINT id) const { Retype(id, "\b"); }

    // Inserts text at the caret in one change, as a paste does.
    void Insert(UINT id, const std::string& text) const
    {
        ::SendMessageW(Box(id), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Widen(text).c_str()));
    }

    void Paste(UINT id, const std::string& utf8) const
    {
        std::wstring text = Widen(utf8);
        ASSERT_TRUE(::OpenClipboard(m_host.GetSafeHwnd()));
        ::EmptyClipboard();
        HGLOBAL data = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        std::copy(text.c_str(), text.c_str() + text.size() + 1, static_cast<wchar_t*>(::GlobalLock(data)));
        ::GlobalUnlock(data);
        ::SetClipboardData(CF_UNICODETEXT, data);
        ::CloseClipboard();
        ::SendMessageW(Box(id), WM_PASTE, 0, 0);
    }

    // A key through the dialog's own keyboard handling, as the message loop passes it.
    void PressKey(UINT vk)
    {
        MSG msg{Box(IDC_DEC), WM_KEYDOWN, vk, 1, 0, {}};
        if (!m_dialog.PreTranslateMessage(&msg))
            ::SendMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    }

    MessageBoxRecorder m_boxes;
    CWnd m_host;
    CToolDia m_dialog;
};
}

TEST_F(ToolDiaTest, TypingACharacterShowsItsCode)
{
    EXPECT_EQ(Text(IDC_ASCII), "0");
    Type(IDC_DEC, "255");
    Type(IDC_CHAR, "A");
    EXPECT_EQ(Text(IDC_ASCII), "65");
    EXPECT_EQ(Text(IDC_DEC), "255");
    EXPECT_EQ(Text(IDC_HEX), "ff");

    Clear(IDC_CHAR);
    EXPECT_EQ(Text(IDC_CHAR), "");
    EXPECT_EQ(Text(IDC_ASCII), "65");
    EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(ToolDiaTest, TypingACodeShowsItsCharacter)
{
    Type(IDC_DEC, "12");
    Retype(IDC_ASCII, "9");
    EXPECT_EQ(Text(IDC_CHAR), "\t");
    Type(IDC_ASCII, "7");
    EXPECT_EQ(Text(IDC_CHAR), "a");
    EXPECT_EQ(Text(IDC_HEX), "c");

    Retype(IDC_ASCII, "0");
    EXPECT_EQ(Text(IDC_CHAR), "");
    EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(ToolDiaTest, ClearingTheCodeComplainsAndBringsItBack)
{
    Type(IDC_CHAR, "A");
    Clear(IDC_ASCII);
    ASSERT_EQ(m_boxes.Texts(), std::vector<std::string>{"请键入一个整数。"});
    EXPECT_EQ(m_boxes.Boxes()[0].caption, "Korvane");
    EXPECT_EQ(m_boxes.Boxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(Text(IDC_ASCII), "65");
    EXPECT_EQ(Text(IDC_CHAR), "A");
    EXPECT_EQ(::GetFocus(), Box(IDC_ASCII));
}

TEST_F(ToolDiaTest, CodeOutsideTheRangeComplainsAndIsStillShown)
{
    Retype(IDC_ASCII, "128");
    ASSERT_EQ(m_boxes.Texts(), std::vector<std::string>{std::string("“请填入一个在0和127之间的整数。”")});
    // Byte 128 is the euro sign in GBK.
    EXPECT_EQ(Text(IDC_CHAR), "€");
    EXPECT_EQ(Text(IDC_ASCII), "128");
    EXPECT_EQ(::GetFocus(), Box(IDC_ASCII));
}

TEST_F(ToolDiaTest, HighByteGivesANegativeCodeThatFailsTheNextRead)
{
    Type(IDC_CHAR, "€");
    EXPECT_EQ(Text(IDC_ASCII), "-128");
    EXPECT_TRUE(m_boxes.Texts().empty());

    Retype(IDC_CHAR, "B");
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{std::string("“请填入一个在0和127之间的整数。”")});
    EXPECT_EQ(Text(IDC_ASCII), "66");
}

TEST_F(ToolDiaTest, OnlyTheFirst31CharactersOfTheCodeAreRead)
{
    ::SendMessageW(Box(IDC_ASCII), EM_SETSEL, 0, -1);
    Insert(IDC_ASCII, std::string(30, '0') + "65");
    EXPECT_EQ(Text(IDC_CHAR), "\x06");
    EXPECT_EQ(Text(IDC_ASCII), "6");
    EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(ToolDiaTest, FocusSelectsTheCharacterSoTypingReplacesIt)
{
    Type(IDC_CHAR, "A");
    ::SetFocus(Box(IDC_ASCII));
    ::SetFocus(Box(IDC_CHAR));
    DWORD start = 0, end = 0;
    ::SendMessageW(Box(IDC_CHAR), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 1u);
    Type(IDC_CHAR, "B");
    EXPECT_EQ(Text(IDC_CHAR), "B");
    EXPECT_EQ(Text(IDC_ASCII), "66");
}

// Limits count bytes: a GBK character takes two, whether typed, inserted or pasted.
TEST_F(ToolDiaTest, BoxesTakeNoMoreBytesThanTheirLimits)
{
    Type(IDC_CHAR, "AB");
    EXPECT_EQ(Text(IDC_CHAR), "A");
    Clear(IDC_CHAR);
    Type(IDC_CHAR, "中");
    Insert(IDC_CHAR, "中");
    Paste(IDC_CHAR, "中");
    EXPECT_EQ(Text(IDC_CHAR), "");
    EXPECT_EQ(Text(IDC_ASCII), "65");

    Type(IDC_HEX, "一二三四五");
    EXPECT_EQ(Text(IDC_HEX), "一二三四");
    Clear(IDC_HEX);
    Type(IDC_HEX, "123");
    Insert(IDC_HEX, "一二三");
    EXPECT_EQ(Text(IDC_HEX), "123一二");
    Retype(IDC_HEX, "1234567");
    Paste(IDC_HEX, "一");
    EXPECT_EQ(Text(IDC_HEX), "1234567");
    Paste(IDC_HEX, "8\r\n9");
    EXPECT_EQ(Text(IDC_HEX), "12345678");
    EXPECT_EQ(Text(IDC_DEC), "305419896");
    EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(ToolDiaTest, DecimalShowsAsHexadecimal)
{
    const struct {
        const char* dec;
        const char* hex;
    } cases[] = {
        {"255", "ff"},           {"0", "0"},        {"2147483648", "80000000"}, {"4294967295", "ffffffff"},
        {"4294967296", "0"},     {"4294967297", "1"}, {"00000000000000000016", "10"},
    };
    for (const auto& c : cases) {
        Retype(IDC_DEC, c.dec);
        EXPECT_EQ(Text(IDC_HEX), c.hex) << c.dec;
    }
    Clear(IDC_DEC);
    EXPECT_EQ(Text(IDC_HEX), "0");
    EXPECT_EQ(Text(IDC_CHAR), "");
    EXPECT_EQ(Text(IDC_ASCII), "0");
    EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(ToolDiaTest, HexadecimalShowsAsSignedDecimal)
{
    const std::string bad = "错误的十六进制数";
    const struct {
        const char* typed;
        const char* shown;
        std::string dec;
    } cases[] = {
        {"ff", "FF", "255"},
        {"7FFFFFFF", "7FFFFFFF", "2147483647"},
        {"80000000", "80000000", "-2147483648"},
        {"FFFFFFFF", "FFFFFFFF", "-1"},
        {"00Ab", "00AB", "171"},
        {"1G", "1G", bad},
        {"1g", "1G", bad},
        {"123456789", "12345678", "305419896"},
    };
    for (const auto& c : cases) {
        Retype(IDC_HEX, c.typed);
        EXPECT_EQ(Text(IDC_HEX), c.shown) << c.typed;
        EXPECT_EQ(Text(IDC_DEC), c.dec) << c.typed;
    }
    Clear(IDC_HEX);
    EXPECT_EQ(Text(IDC_DEC), "0");
    EXPECT_EQ(Text(IDC_ASCII), "0");
    EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(ToolDiaTest, TheHexadecimalBoxKeepsTheCaretWhereTheUserTypes)
{
    ::SetFocus(Box(IDC_HEX));
    Type(IDC_HEX, "7fffffff");
    EXPECT_EQ(Text(IDC_HEX), "7FFFFFFF");
    EXPECT_EQ(Text(IDC_DEC), "2147483647");

    // A selection survives the rewrite too: typing over "ab" in the middle replaces just it.
    Retype(IDC_HEX, "12ab34");
    ::SendMessageW(Box(IDC_HEX), EM_SETSEL, 2, 4);
    Type(IDC_HEX, "c");
    EXPECT_EQ(Text(IDC_HEX), "12C34");
    DWORD start = 0, end = 0;
    ::SendMessageW(Box(IDC_HEX), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 3u);
    EXPECT_EQ(end, 3u);
}

TEST_F(ToolDiaTest, BadHexMessageInTheDecimalBoxReadsAsZero)
{
    Retype(IDC_HEX, "1G");
    const std::string bad = Text(IDC_DEC);
    const size_t end = Widen(bad).size();
    ::SendMessageW(Box(IDC_DEC), EM_SETSEL, end, static_cast<LPARAM>(end));
    Type(IDC_DEC, "5");
    EXPECT_EQ(Text(IDC_DEC), bad + "5");
    EXPECT_EQ(Text(IDC_HEX), "0");
}

TEST_F(ToolDiaTest, OnlyTheHexadecimalBoxTakesLetters)
{
    Type(IDC_ASCII, "x");
    Type(IDC_DEC, "x");
    Type(IDC_HEX, "x");
    EXPECT_EQ(Text(IDC_ASCII), "0");
    EXPECT_EQ(Text(IDC_DEC), "错误的十六进制数");
    EXPECT_EQ(Text(IDC_HEX), "X");
}

TEST_F(ToolDiaTest, EnterAndEscapeChangeNothing)
{
    // A code the range check refuses: a panel that validated on Enter would complain.
    Type(IDC_CHAR, "€");
    Type(IDC_DEC, "10");
    m_boxes.Clear();
    for (UINT vk : {VK_RETURN, VK_ESCAPE})
        PressKey(vk);
    PumpMessages();
    ASSERT_TRUE(::IsWindow(m_dialog.GetSafeHwnd()));
    EXPECT_TRUE(m_dialog.IsWindowVisible());
    EXPECT_EQ(Text(IDC_CHAR), "€");
    EXPECT_EQ(Text(IDC_ASCII), "-128");
    EXPECT_EQ(Text(IDC_DEC), "10");
    EXPECT_EQ(Text(IDC_HEX), "a");
    EXPECT_TRUE(m_boxes.Texts().empty());
}
