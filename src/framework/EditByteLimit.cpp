// Byte limits for edit controls. An edit control that stores UTF-16 (Wine's does) counts
// EM_LIMITTEXT in characters, so one double-byte character would pass a one-byte limit; such
// controls get a subclass that measures what would be inserted in bytes.
#include "framework/EditByteLimit.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <string>

namespace {
const char kByteLimitProperty[] = "Korvane.ByteLimit";

// Whether the system's edit control already counts its limit in bytes of the code page.
bool NativeLimitCountsBytes()
{
    static const bool countsBytes = [] {
        // Scrolling, so that the width of the probe refuses nothing.
        HWND probe = ::CreateWindowExA(0, "EDIT", "", WS_POPUP | ES_AUTOHSCROLL, 0, 0, 100, 20, nullptr, nullptr,
                                       ::GetModuleHandleA(nullptr), nullptr);
        if (!probe)
            return true;
        ::SendMessageA(probe, EM_LIMITTEXT, 1, 0);
        // Two bytes: one character in a double-byte code page, two in any other.
        ::SendMessageA(probe, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("\xD6\xD0"));
        bool result = ::GetWindowTextLengthA(probe) == 0;
        ::DestroyWindow(probe);
        return result;
    }();
    return countsBytes;
}

size_t AnsiBytes(const wchar_t* text, size_t length)
{
    if (length == 0)
        return 0;
    return static_cast<size_t>(
        ::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr));
}

// The bytes left in the control once its selection is removed.
size_t BytesBesideSelection(HWND edit)
{
    int length = ::GetWindowTextLengthW(edit);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(0, ::GetWindowTextW(edit, text.data(), length + 1))));
    DWORD start = 0, end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    size_t first = std::min<size_t>(start, text.size());
    size_t last = std::clamp<size_t>(end, first, text.size());
    return AnsiBytes(text.data(), first) + AnsiBytes(text.data() + last, text.size() - last);
}

// The clipboard text a paste would insert: a single-line control takes the first line.
std::wstring ClipboardText(HWND edit)
{
    std::wstring text;
    if (!::OpenClipboard(edit))
        return text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text = chars;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    if (!(::GetWindowLongPtrW(edit, GWL_STYLE) & ES_MULTILINE))
        text = text.substr(0, text.find_first_of(L"\r\n"));
    return text;
}

bool IsTypedText(WPARAM ch)
{
    return ch >= L' ' && ch != 0x7F;
}

struct ByteLimit {
    WNDPROC pfnOriginal;
    size_t nLimit;
};

ByteLimit* FindByteLimit(HWND edit)
{
    return static_cast<ByteLimit*>(::GetPropA(edit, kByteLimitProperty));
}

// Whether the change would leave more than limit bytes in the control.
bool Refuses(HWND edit, UINT message, WPARAM wParam, size_t limit)
{
    switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR: {
        auto ch = static_cast<wchar_t>(wParam);
        return IsTypedText(wParam) && BytesBesideSelection(edit) + AnsiBytes(&ch, 1) > limit;
    }
    case WM_PASTE: {
        std::wstring text = ClipboardText(edit);
        return BytesBesideSelection(edit) + AnsiBytes(text.data(), text.size()) > limit;
    }
    }
    return false;
}

// What EM_REPLACESEL inserts: like the native limit, what does not fit is cut off, whole
// characters at a time.
std::wstring FittingText(HWND edit, LPARAM lParam, size_t limit)
{
    std::wstring text = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
    size_t room = limit - std::min(limit, BytesBesideSelection(edit));
    while (!text.empty() && AnsiBytes(text.data(), text.size()) > room)
        text.pop_back();
    return text;
}

// A Unicode window procedure, so that typed double-byte characters arrive whole: an ANSI
// procedure would receive them split into two bytes.
LRESULT CALLBACK ByteLimitProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    ByteLimit* state = FindByteLimit(edit);
    if (!state)
        return ::DefWindowProcW(edit, message, wParam, lParam);
    WNDPROC original = state->pfnOriginal;
    if (message == WM_NCDESTROY) {
        if (::GetWindowLongPtrW(edit, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(ByteLimitProc))
            ::SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        std::unique_ptr<ByteLimit> owned(static_cast<ByteLimit*>(::RemovePropA(edit, kByteLimitProperty)));
        return ::CallWindowProcW(original, edit, message, wParam, lParam);
    }
    try {
        if (Refuses(edit, message, wParam, state->nLimit))
            return 0;
        if (message == EM_REPLACESEL) {
            std::wstring text = FittingText(edit, lParam, state->nLimit);
            return ::CallWindowProcW(original, edit, message, wParam, reinterpret_cast<LPARAM>(text.c_str()));
        }
    } catch (const std::exception&) {
        // Out of memory while measuring: let the control's own limit decide.
    }
    return ::CallWindowProcW(original, edit, message, wParam, lParam);
}
}

void LimitEditBytes(HWND edit, int maxBytes)
{
    if (!edit)
        return;
    ::SendMessageA(edit, EM_LIMITTEXT, static_cast<WPARAM>(maxBytes), 0);
    if (maxBytes <= 0 || NativeLimitCountsBytes())
        return;
    if (ByteLimit* state = FindByteLimit(edit)) {
        state->nLimit = static_cast<size_t>(maxBytes);
        return;
    }
    // The window owns its state from here on; ByteLimitProc frees it at WM_NCDESTROY.
    auto state = std::make_unique<ByteLimit>(ByteLimit{nullptr, static_cast<size_t>(maxBytes)});
    state->pfnOriginal = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(edit, GWLP_WNDPROC));
    ::SetPropA(edit, kByteLimitProperty, state.release());
    ::SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ByteLimitProc));
}
