// A pane's window painted off screen.
#include "debugui/BufferedView.h"

#include "framework/Handles.h"

#include <algorithm>
#include <cstring>

void CBufferedView::OnPaint()
{
    PaintDc dc(m_hWnd);
    const RECT client = GetClientRect();
    if (client.right <= 0 || client.bottom <= 0)
        return;
    MemDc buffer(dc.get(), client.right, client.bottom);
    Paint(buffer.get(), client);
    ::BitBlt(dc.get(), 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
}

void CBufferedView::OnPrintClient(HDC dc, UINT)
{
    const RECT client = GetClientRect();
    if (client.right > 0 && client.bottom > 0)
        Paint(dc, client);
}

LRESULT CBufferedView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND)
        return 1;
    const std::wstring* text = ShownText();
    if (text && message == WM_GETTEXTLENGTH)
        return static_cast<LRESULT>(text->size());
    if (text && message == WM_GETTEXT) {
        if (wParam == 0)
            return 0;
        const size_t count = std::min(text->size(), static_cast<size_t>(wParam) - 1);
        auto* buffer = reinterpret_cast<wchar_t*>(lParam);
        std::memcpy(buffer, text->data(), count * sizeof(wchar_t));
        buffer[count] = L'\0';
        return static_cast<LRESULT>(count);
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
