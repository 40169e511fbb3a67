// Byte limits for edit controls. The control counts EM_LIMITTEXT in UTF-16 units, so one
// Chinese character would pass a one-byte limit; the limited control gets a subclass that
// measures what would be inserted in bytes of the limit's code page.
#include "framework/EditByteLimit.h"

#include "framework/CWnd.h"
#include "framework/TextClipboard.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <string>

namespace {
const wchar_t kByteLimitProperty[] = L"Korvane.ByteLimit";
// No code page of ours takes more than three bytes for one UTF-16 unit.
constexpr size_t kMostBytesPerUnit = 3;

struct ByteLimit {
    WNDPROC pfnOriginal;
    size_t nLimit;
    unsigned nCodePage;
};

size_t BytesOf(const ByteLimit& state, std::wstring_view text)
{
    return EncodeCodePage(text, state.nCodePage).size();
}

std::wstring TextOf(HWND edit)
{
    int length = ::GetWindowTextLengthW(edit);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(0, ::GetWindowTextW(edit, text.data(), length + 1))));
    return text;
}

// The bytes left in the control once its selection is removed.
size_t BytesBesideSelection(HWND edit, const ByteLimit& state)
{
    std::wstring text = TextOf(edit);
    const auto [start, end] = EditSelectionOf(edit);
    size_t first = std::min<size_t>(start, text.size());
    size_t last = std::clamp<size_t>(end, first, text.size());
    return BytesOf(state, std::wstring_view(text).substr(0, first)) + BytesOf(state, std::wstring_view(text).substr(last));
}

// Whether inserting text can pass the limit at all; most edits are far from it, and then the
// control's whole text need not be measured.
bool MayPassLimit(HWND edit, const ByteLimit& state, size_t insertedUnits)
{
    return (static_cast<size_t>(::GetWindowTextLengthW(edit)) + insertedUnits) * kMostBytesPerUnit > state.nLimit;
}

// The clipboard text a paste would insert: a single-line control takes the first line.
std::wstring ClipboardText(HWND edit)
{
    std::wstring text = TextOnClipboard(edit).value_or(std::wstring());
    if (!(::GetWindowLongPtrW(edit, GWL_STYLE) & ES_MULTILINE))
        text = text.substr(0, text.find_first_of(L"\r\n"));
    return text;
}

bool IsTypedText(WPARAM ch)
{
    return ch >= L' ' && ch != 0x7F;
}

ByteLimit* FindByteLimit(HWND edit)
{
    return static_cast<ByteLimit*>(::GetPropW(edit, kByteLimitProperty));
}

// Whether inserting text in place of the selection would leave more than the limit.
bool WouldPassLimit(HWND edit, const ByteLimit& state, std::wstring_view text)
{
    return MayPassLimit(edit, state, text.size()) && BytesBesideSelection(edit, state) + BytesOf(state, text) > state.nLimit;
}

bool Refuses(HWND edit, UINT message, WPARAM wParam, const ByteLimit& state)
{
    switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR: {
        auto ch = static_cast<wchar_t>(wParam);
        return IsTypedText(wParam) && WouldPassLimit(edit, state, std::wstring_view(&ch, 1));
    }
    case WM_PASTE:
        return WouldPassLimit(edit, state, ClipboardText(edit));
    }
    return false;
}

// What EM_REPLACESEL inserts: like the native limit, what does not fit is cut off, whole
// characters at a time.
std::wstring FittingText(HWND edit, LPARAM lParam, const ByteLimit& state)
{
    std::wstring text = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
    if (!MayPassLimit(edit, state, text.size()))
        return text;
    size_t room = state.nLimit - std::min(state.nLimit, BytesBesideSelection(edit, state));
    while (!text.empty() && BytesOf(state, text) > room)
        text.pop_back();
    return text;
}

LRESULT CALLBACK ByteLimitProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    ByteLimit* state = FindByteLimit(edit);
    if (!state)
        return ::DefWindowProcW(edit, message, wParam, lParam);
    WNDPROC original = state->pfnOriginal;
    if (message == WM_NCDESTROY) {
        if (::GetWindowLongPtrW(edit, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(ByteLimitProc))
            ::SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        std::unique_ptr<ByteLimit> owned(static_cast<ByteLimit*>(::RemovePropW(edit, kByteLimitProperty)));
        return ::CallWindowProcW(original, edit, message, wParam, lParam);
    }
    try {
        if (Refuses(edit, message, wParam, *state))
            return 0;
        if (message == EM_REPLACESEL) {
            std::wstring text = FittingText(edit, lParam, *state);
            return ::CallWindowProcW(original, edit, message, wParam, reinterpret_cast<LPARAM>(text.c_str()));
        }
    } catch (const std::exception&) {
        // Out of memory while measuring: let the control's own limit decide.
    }
    return ::CallWindowProcW(original, edit, message, wParam, lParam);
}
}

void LimitEditBytes(HWND edit, int maxBytes, unsigned codePage)
{
    if (!edit)
        return;
    // Every character takes at least one byte, so the control's own limit never refuses what fits.
    ::SendMessageW(edit, EM_LIMITTEXT, static_cast<WPARAM>(maxBytes), 0);
    if (maxBytes <= 0)
        return;
    if (ByteLimit* state = FindByteLimit(edit)) {
        state->nLimit = static_cast<size_t>(maxBytes);
        state->nCodePage = codePage;
        return;
    }
    // The window owns its state from here on; ByteLimitProc frees it at WM_NCDESTROY.
    auto state = std::make_unique<ByteLimit>(ByteLimit{nullptr, static_cast<size_t>(maxBytes), codePage});
    state->pfnOriginal = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(edit, GWLP_WNDPROC));
    ::SetPropW(edit, kByteLimitProperty, state.release());
    ::SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ByteLimitProc));
}
