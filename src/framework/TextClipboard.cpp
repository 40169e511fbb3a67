// The clipboard's text.
#include "framework/TextClipboard.h"

#include <cstring>

bool PutTextOnClipboard(HWND owner, std::wstring_view text)
{
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (!memory)
        return false;
    auto* chars = static_cast<wchar_t*>(::GlobalLock(memory));
    std::memcpy(chars, text.data(), text.size() * sizeof(wchar_t));
    chars[text.size()] = L'\0';
    ::GlobalUnlock(memory);
    if (!::OpenClipboard(owner)) {
        ::GlobalFree(memory);
        return false;
    }
    ::EmptyClipboard();
    // The clipboard owns the memory once it has taken it.
    const bool taken = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    ::CloseClipboard();
    if (!taken)
        ::GlobalFree(memory);
    return taken;
}

std::optional<std::wstring> TextOnClipboard(HWND owner)
{
    if (!::IsClipboardFormatAvailable(CF_UNICODETEXT) || !::OpenClipboard(owner))
        return std::nullopt;
    std::optional<std::wstring> text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
            // The data may not end in a zero within its block; it is read no further.
            const size_t most = ::GlobalSize(data) / sizeof(wchar_t);
            text = std::wstring(chars, wcsnlen(chars, most));
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}
