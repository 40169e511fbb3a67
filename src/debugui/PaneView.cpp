// A debugger pane's text.
#include "debugui/PaneView.h"

#include "framework/Handles.h"
#include "text/SyntaxColors.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

namespace {
const COLORREF kChangedColor = RGB(215, 0, 0);
const COLORREF kReturnColor = RGB(0, 70, 200);
const COLORREF kCurrentGround = RGB(255, 236, 120);
const COLORREF kDotColor = RGB(190, 20, 30);
// How much of the highlight colour tints the chosen line, out of 256.
constexpr int kChosenTint = 60;
}

std::wstring CPaneView::Decode(std::string_view bytes, UINT codePage)
{
    std::string clean;
    clean.reserve(bytes.size() + bytes.size() / 32);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            clean += "\r\n";
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            clean += static_cast<unsigned char>(c) < 0x20 ? '.' : c;
        }
    }
    if (clean.empty())
        return {};
    const int length = ::MultiByteToWideChar(codePage, 0, clean.data(), static_cast<int>(clean.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, clean.data(), static_cast<int>(clean.size()), wide.data(), length);
    return wide;
}

bool CPaneView::Create(CWnd& parent, UINT id, HFONT font, bool scrolls)
{
    m_hFont = font;
    m_bScrolls = scrolls;
    const char* className =
        RegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | (scrolls ? WS_VSCROLL : 0);
    if (!CreateEx(WS_EX_CLIENTEDGE, className, "", style, RECT{0, 0, 100, 100}, parent.GetSafeHwnd(), id))
        return false;
    WindowDc dc = WindowDc::Client(m_hWnd);
    SelectGuard select(dc.get(), font);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.get(), &metrics);
    m_nLineHeight = std::max<LONG>(1, metrics.tmHeight);
    m_nCharWidth = std::max<LONG>(1, metrics.tmAveCharWidth);
    UpdateScrollBar();
    return true;
}

std::wstring_view CPaneView::Line(size_t line) const
{
    if (line >= m_lineStarts.size())
        return {};
    const size_t start = m_lineStarts[line];
    size_t end = line + 1 < m_lineStarts.size() ? m_lineStarts[line + 1] : m_strText.size();
    while (end > start && (m_strText[end - 1] == L'\n' || m_strText[end - 1] == L'\r'))
        --end;
    return std::wstring_view(m_strText).substr(start, end - start);
}

std::optional<uint32_t> CPaneView::AddressOf(size_t line) const
{
    if (line >= m_addresses.size())
        return std::nullopt;
    return m_addresses[line];
}

int CPaneView::VisibleRows() const
{
    const RECT client = GetClientRect();
    return std::max(1, static_cast<int>(client.bottom / m_nLineHeight));
}

void CPaneView::Show(const PaneText& pane, UINT codePage)
{
    m_marks = pane.marks;
    m_addresses = pane.lineAddresses;
    std::wstring text = Decode(pane.text, codePage);
    // A text that ends its last line shows no empty line after it.
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, L"\r\n") == 0)
        text.resize(text.size() - 2);
    SetText(std::move(text));
    if (m_chosen && *m_chosen >= LineCount())
        m_chosen.reset();
    m_edit.Cancel();
    UpdateScrollBar();
    Invalidate(false);
}

void CPaneView::SetText(std::wstring text)
{
    m_strText = std::move(text);
    IndexLines(0);
}

void CPaneView::IndexLines(size_t from)
{
    const size_t line = std::min(from, m_lineStarts.size() - 1);
    m_lineStarts.resize(line + 1);
    for (size_t i = m_lineStarts[line]; i < m_strText.size(); ++i)
        if (m_strText[i] == L'\n')
            m_lineStarts.push_back(i + 1);
}

void CPaneView::Append(std::wstring_view text)
{
    if (text.empty())
        return;
    const size_t lastLine = m_lineStarts.size() - 1;
    m_strText += text;
    IndexLines(lastLine);
    // A log follows its end.
    const size_t rows = static_cast<size_t>(VisibleRows());
    m_nFirstLine = LineCount() > rows ? LineCount() - rows : 0;
    UpdateScrollBar();
    Invalidate(false);
}

void CPaneView::Clear()
{
    m_marks.clear();
    m_addresses.clear();
    m_chosen.reset();
    m_nFirstLine = 0;
    SetText({});
    UpdateScrollBar();
    Invalidate(false);
}

void CPaneView::SetMargin(std::function<bool(size_t)> hasDot, std::function<void(size_t)> onClick)
{
    m_hasDot = std::move(hasDot);
    m_onMarginClick = std::move(onClick);
}

void CPaneView::BeginEdit(size_t line, int column, int length, const std::string& text,
                          std::function<void(const std::string&)> commit)
{
    if (line < m_nFirstLine)
        return;
    const int top = static_cast<int>(line - m_nFirstLine) * m_nLineHeight;
    const int left = TextLeft() + column * m_nCharWidth;
    // Room for one more character than the value has, and the box's border around it.
    const RECT place{left - 2, top - 2, left + (length + 1) * m_nCharWidth + 4, top + m_nLineHeight + 2};
    m_edit.Begin(*this, place, m_hFont, text, std::move(commit));
}

void CPaneView::OnPaint()
{
    PaintDc dc(m_hWnd);
    const RECT client = GetClientRect();
    if (client.right <= 0 || client.bottom <= 0)
        return;
    MemDc buffer(dc.get(), client.right, client.bottom);
    Paint(buffer.get(), client);
    ::BitBlt(dc.get(), 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
}

void CPaneView::Paint(HDC dc, const RECT& client) const
{
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
    if (const int margin = MarginWidth()) {
        const RECT strip{0, 0, margin, client.bottom};
        ::FillRect(dc, &strip, ::GetSysColorBrush(COLOR_BTNFACE));
    }
    SelectGuard font(dc, m_hFont);
    BkModeGuard mode(dc, TRANSPARENT);
    for (size_t line = m_nFirstLine; line < LineCount(); ++line) {
        const int top = static_cast<int>(line - m_nFirstLine) * m_nLineHeight;
        if (top >= client.bottom)
            break;
        PaintLine(dc, line, top, client.right);
    }
}

void CPaneView::PaintLine(HDC dc, size_t line, int top, int right) const
{
    const std::wstring_view text = Line(line);
    const bool current = m_look == MarkLook::Current &&
                         std::any_of(m_marks.begin(), m_marks.end(), [&](const TextMark& m) { return m.line == static_cast<int>(line); });
    const int left = MarginWidth();
    const RECT band{left, top, right, top + m_nLineHeight};
    if (current) {
        BkColorGuard ground(dc, kCurrentGround);
        ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &band, nullptr, 0, nullptr);
    } else if (m_chosen == line) {
        BkColorGuard ground(dc, MixColors(::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_HIGHLIGHT), kChosenTint));
        ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &band, nullptr, 0, nullptr);
    }
    if (m_hasDot && m_hasDot(line)) {
        const int inset = std::max(2, m_nLineHeight / 6);
        GdiObject<HBRUSH> brush(::CreateSolidBrush(kDotColor));
        GdiObject<HPEN> pen(::CreatePen(PS_SOLID, 1, kDotColor));
        SelectGuard brushGuard(dc, brush.get());
        SelectGuard penGuard(dc, pen.get());
        ::Ellipse(dc, inset, top + inset, m_nLineHeight - inset, top + m_nLineHeight - inset);
    }
    // Every character in a cell of its own, whatever the font's own widths.
    std::vector<COLORREF> colors(text.size(), ::GetSysColor(COLOR_WINDOWTEXT));
    if (m_look != MarkLook::Current) {
        const COLORREF marked = m_look == MarkLook::Changed ? kChangedColor : kReturnColor;
        for (const TextMark& mark : m_marks) {
            if (mark.line != static_cast<int>(line))
                continue;
            const size_t end = std::min(text.size(), static_cast<size_t>(mark.column + mark.length));
            for (size_t i = static_cast<size_t>(std::max(0, mark.column)); i < end; ++i)
                colors[i] = marked;
        }
    }
    const std::vector<int> advances(text.size(), m_nCharWidth);
    for (size_t start = 0; start < text.size();) {
        size_t end = start + 1;
        while (end < text.size() && colors[end] == colors[start])
            ++end;
        TextColorGuard color(dc, colors[start]);
        ::ExtTextOutW(dc, TextLeft() + static_cast<int>(start) * m_nCharWidth, top, 0, nullptr, text.data() + start,
                      static_cast<UINT>(end - start), advances.data() + start);
        start = end;
    }
}

void CPaneView::OnSize(UINT, int, int)
{
    UpdateScrollBar();
}

void CPaneView::UpdateScrollBar()
{
    if (!m_bScrolls || !m_hWnd)
        return;
    const auto rows = static_cast<size_t>(VisibleRows());
    m_nFirstLine = std::min(m_nFirstLine, LineCount() > rows ? LineCount() - rows : 0);
    SCROLLINFO info{sizeof info, SIF_ALL, 0, static_cast<int>(LineCount()) - 1, static_cast<UINT>(rows),
                    static_cast<int>(m_nFirstLine), 0};
    ::SetScrollInfo(m_hWnd, SB_VERT, &info, TRUE);
}

void CPaneView::ScrollTo(long long firstLine)
{
    const auto rows = static_cast<long long>(VisibleRows());
    const long long last = std::max(0LL, static_cast<long long>(LineCount()) - rows);
    const auto first = static_cast<size_t>(std::clamp(firstLine, 0LL, last));
    if (first == m_nFirstLine)
        return;
    m_nFirstLine = first;
    m_edit.Cancel();
    UpdateScrollBar();
    Invalidate(false);
}

void CPaneView::Choose(size_t line)
{
    if (!m_bChoosing || line >= LineCount())
        return;
    m_chosen = line;
    const auto rows = static_cast<size_t>(VisibleRows());
    if (line < m_nFirstLine)
        ScrollTo(static_cast<long long>(line));
    else if (line >= m_nFirstLine + rows)
        ScrollTo(static_cast<long long>(line + 1 - rows));
    Invalidate(false);
}

void CPaneView::OnLButtonDown(UINT, POINT point)
{
    ::SetFocus(m_hWnd);
    const size_t line = LineAtY(point.y);
    if (point.x < MarginWidth()) {
        if (m_onMarginClick && line < LineCount())
            m_onMarginClick(line);
        return;
    }
    Choose(line);
}

void CPaneView::OnLButtonDblClk(UINT, POINT point)
{
    const size_t line = LineAtY(point.y);
    if (point.x < MarginWidth() || line >= LineCount() || !m_onDoubleClick)
        return;
    m_onDoubleClick(line, (point.x - TextLeft()) / m_nCharWidth);
}

void CPaneView::OnChar(UINT ch, UINT, UINT)
{
    if (m_onChar)
        m_onChar(static_cast<wchar_t>(ch));
}

LRESULT CPaneView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(m_strText.size());
    case WM_GETTEXT: {
        if (wParam == 0)
            return 0;
        const size_t count = std::min(m_strText.size(), static_cast<size_t>(wParam) - 1);
        auto* buffer = reinterpret_cast<wchar_t*>(lParam);
        std::memcpy(buffer, m_strText.data(), count * sizeof(wchar_t));
        buffer[count] = L'\0';
        return static_cast<LRESULT>(count);
    }
    case WM_ERASEBKGND: return 1;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_VSCROLL: {
        SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
        ::GetScrollInfo(m_hWnd, SB_VERT, &info);
        const auto first = static_cast<long long>(m_nFirstLine);
        const auto page = static_cast<long long>(VisibleRows());
        switch (LOWORD(wParam)) {
        case SB_LINEUP: ScrollTo(first - 1); break;
        case SB_LINEDOWN: ScrollTo(first + 1); break;
        case SB_PAGEUP: ScrollTo(first - page); break;
        case SB_PAGEDOWN: ScrollTo(first + page); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: ScrollTo(info.nTrackPos); break;
        case SB_TOP: ScrollTo(0); break;
        case SB_BOTTOM: ScrollTo(info.nMax); break;
        }
        return 0;
    }
    case WM_MOUSEWHEEL:
        ScrollTo(static_cast<long long>(m_nFirstLine) - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3);
        return 0;
    case WM_KEYDOWN:
        if (m_bChoosing && (wParam == VK_UP || wParam == VK_DOWN)) {
            const size_t line = m_chosen.value_or(m_nFirstLine);
            Choose(wParam == VK_UP ? (line ? line - 1 : 0) : line + 1);
            return 0;
        }
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
