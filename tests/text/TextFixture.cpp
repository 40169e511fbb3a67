// The text tests' windows.
#include "TextFixture.h"

#include "support/TestSupport.h"

#include <utility>

namespace {
constexpr DWORD kEditStyle =
    WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_HSCROLL | WS_VSCROLL | ES_NOHIDESEL;
constexpr int kWidth = 300, kHeight = 200;

std::vector<std::pair<HWND, WORD>> g_notifications;
}

LRESULT CALLBACK TextTest::ParentProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && lParam)
        g_notifications.emplace_back(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
    return ::DefWindowProcW(wnd, message, wParam, lParam);
}

void TextTest::SetUp()
{
    CTextControl::RegisterWindowClass();
    WNDCLASSW wc{};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KorvaneTextTestParent";
    ::RegisterClassW(&wc);
    m_hParent = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 400, 600, nullptr, nullptr, wc.hInstance, nullptr);
    m_hOurs = ::CreateWindowExW(WS_EX_CLIENTEDGE, CTextControl::kClassName, L"", kEditStyle, 0, 0, kWidth, kHeight,
                                m_hParent, reinterpret_cast<HMENU>(1), wc.hInstance, nullptr);
    m_hTheirs = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", kEditStyle, 0, kHeight, kWidth, kHeight, m_hParent,
                                  reinterpret_cast<HMENU>(2), wc.hInstance, nullptr);
    ASSERT_NE(m_hOurs, nullptr);
    ASSERT_NE(m_hTheirs, nullptr);
    // Without the line numbers the text stands where the system control puts it.
    Control().ShowLineNumbers(false);
    g_notifications.clear();
}

void TextTest::TearDown()
{
    ::DestroyWindow(m_hParent);
    PumpMessages();
}

std::vector<WORD> TextTest::TakeNotifications(HWND from)
{
    std::vector<WORD> codes;
    for (const auto& [wnd, code] : g_notifications) {
        if (wnd == from)
            codes.push_back(code);
    }
    std::erase_if(g_notifications, [from](const auto& note) { return note.first == from; });
    return codes;
}

void TextTest::SetBoth(const std::wstring& text) const
{
    for (HWND wnd : {m_hOurs, m_hTheirs})
        ::SendMessageW(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

LRESULT Send(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(wnd, message, wParam, lParam);
}

std::wstring TextOf(HWND wnd)
{
    std::wstring text(static_cast<size_t>(Send(wnd, WM_GETTEXTLENGTH)) + 1, L'\0');
    text.resize(static_cast<size_t>(Send(wnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

std::pair<DWORD, DWORD> SelectionOf(HWND wnd)
{
    DWORD start = 0, end = 0;
    Send(wnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

void Press(HWND wnd, UINT key, BYTE modifiers)
{
    HeldModifiers held(modifiers);
    Send(wnd, WM_KEYDOWN, key, 1);
    const wchar_t typed = key == VK_BACK ? ((modifiers & kCtrl) ? 0x7F : L'\b') : key == VK_TAB ? L'\t'
                          : key == VK_RETURN ? L'\r' : 0;
    if (typed)
        Send(wnd, WM_CHAR, typed, 1);
}
