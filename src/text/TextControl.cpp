// Korvane's text control: its window class, its window procedure and what ties its parts.
#include "text/TextControl.h"

#include "framework/CWnd.h"
#include "framework/Handles.h"
#include "framework/TextClipboard.h"

#include <commctrl.h>
#include <imm.h>
#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

namespace {
ATOM g_classAtom = 0;

bool SameScrollInfo(const SCROLLINFO& a, const SCROLLINFO& b)
{
    return a.nMin == b.nMin && a.nMax == b.nMax && a.nPage == b.nPage && a.nPos == b.nPos;
}
}

void CTextControl::RegisterWindowClass()
{
    if (g_classAtom)
        return;
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProcThunk;
    wc.cbWndExtra = sizeof(CTextControl*);
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_IBEAM);
    wc.lpszClassName = kClassName;
    g_classAtom = ::RegisterClassW(&wc);
}

CTextControl* CTextControl::FromHandle(HWND hWnd)
{
    DWORD process = 0;
    if (!hWnd || !g_classAtom || !::GetWindowThreadProcessId(hWnd, &process) || process != ::GetCurrentProcessId() ||
        ::GetClassWord(hWnd, GCW_ATOM) != g_classAtom)
        return nullptr;
    return reinterpret_cast<CTextControl*>(::GetWindowLongPtrW(hWnd, 0));
}

CTextControl::CTextControl(HWND hWnd)
    : m_hWnd(hWnd), m_viewport(m_ownText.Buffer(), m_metrics),
      m_painter(m_ownText.Buffer(), m_viewport, m_metrics, m_gutter, m_marks), m_keyboard(*this), m_mouse(*this),
      m_messages(*this)
{
    m_ownText.AddObserver(*this);
}

CTextControl::~CTextControl()
{
    m_pText->RemoveObserver(*this);
}

void CTextControl::ShowText(CEditableText* text)
{
    CEditableText& shown = text ? *text : m_ownText;
    if (&shown == m_pText)
        return;
    m_pText->RemoveObserver(*this);
    m_pText = &shown;
    shown.AddObserver(*this);
    m_viewport.ShowBuffer(shown.Buffer());
    m_painter.ShowBuffer(shown.Buffer());
    OnTextChanged(TextChange{0, 0, shown.Length(), true, true});
}

LRESULT CALLBACK CTextControl::WindowProcThunk(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        ::SetWindowLongPtrW(hWnd, 0, reinterpret_cast<LONG_PTR>(new CTextControl(hWnd)));
    auto* control = reinterpret_cast<CTextControl*>(::GetWindowLongPtrW(hWnd, 0));
    if (!control)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = control->WindowProc(message, wParam, lParam);
    } catch (const std::exception&) {
        // Out of memory for an edit: the text stays as it was before it.
        ReportUnexpectedFailure();
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hWnd, 0, 0);
        delete control;
    }
    return result;
}

LRESULT CTextControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (const std::optional<LRESULT> answer = m_messages.Handle(message, wParam, lParam))
        return *answer;
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_CREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        m_viewport.SetClientSize(client.right, client.bottom);
        if (cs->lpszName && !IS_INTRESOURCE(cs->lpszName))
            SetText(cs->lpszName);
        Relayout();
        return 0;
    }
    case WM_SIZE:
        m_viewport.SetClientSize(LOWORD(lParam), HIWORD(lParam));
        Relayout();
        return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_NCPAINT:
        // The system draws the scroll bars, as they are set now, with the whole frame.
        if (PaintsWholeFrame(reinterpret_cast<HRGN>(wParam)))
            m_barsToDraw = 0;
        break;
    case WM_PRINTCLIENT: {
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        m_painter.Paint(reinterpret_cast<HDC>(wParam), client, PaintState());
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_SETFONT: SetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(m_metrics.Font());
    case WM_SETFOCUS: OnSetFocus(); return 0;
    case WM_KILLFOCUS: OnKillFocus(); return 0;
    case WM_KEYDOWN:
        if (m_keyboard.OnKeyDown(static_cast<UINT>(wParam)))
            return 0;
        break;
    case WM_CHAR:
    case WM_IME_CHAR: m_keyboard.OnChar(static_cast<wchar_t>(wParam)); return 0;
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_COMPOSITION: PlaceComposition(); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!ClickMark(point))
            m_mouse.OnButtonDown(point, message == WM_LBUTTONDBLCLK);
        return 0;
    case WM_MOUSEMOVE: OnMouseMove(point); return 0;
    case WM_MOUSELEAVE: ShowMarkTip(nullptr, point); return 0;
    case WM_LBUTTONUP: m_mouse.OnButtonUp(); return 0;
    case WM_CANCELMODE: m_mouse.OnButtonUp(); break;
    case WM_CAPTURECHANGED: m_mouse.OnCaptureLost(); return 0;
    case WM_TIMER:
        if (wParam == CTextMouse::kScrollTimer)
            m_mouse.OnTimer();
        if (wParam == kScrollBarTimer) {
            ::KillTimer(m_hWnd, kScrollBarTimer);
            UpdateScrollBars();
        }
        return 0;
    case WM_MOUSEWHEEL: m_mouse.OnWheel(GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            POINT cursor{};
            ::GetCursorPos(&cursor);
            ::ScreenToClient(m_hWnd, &cursor);
            ::SetCursor(m_mouse.CursorAt(cursor));
            return TRUE;
        }
        break;
    case WM_VSCROLL: OnScroll(SB_VERT, LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_HSCROLL: OnScroll(SB_HORZ, LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_GETDLGCODE: return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS;
    case WM_SYSCOLORCHANGE: ::InvalidateRect(m_hWnd, nullptr, FALSE); break;
    case WM_DESTROY:
        if (m_hTooltip)
            ::DestroyWindow(m_hTooltip);
        break;
    }
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

CTextPainter::State CTextControl::PaintState() const
{
    CTextPainter::State state{m_pText->Selection(), std::nullopt, m_lineStyle ? &m_lineStyle : nullptr};
    if (m_bSyntaxColors)
        state.syntax = m_syntaxMode;
    return state;
}

void CTextControl::OnPaint()
{
    PaintClient();
    DrawChangedScrollBars();
}

void CTextControl::PaintClient()
{
    PaintDc dc(m_hWnd);
    const RECT update = dc.paint().rcPaint;
    if (::IsRectEmpty(&update))
        return;
    // Drawn off screen first, so that no line flickers while its parts are drawn.
    MemDc buffer(dc.get(), update.right - update.left, update.bottom - update.top);
    ::SetViewportOrgEx(buffer.get(), -update.left, -update.top, nullptr);
    m_painter.Paint(buffer.get(), update, PaintState());
    ::SetViewportOrgEx(buffer.get(), 0, 0, nullptr);
    ::BitBlt(dc.get(), update.left, update.top, update.right - update.left, update.bottom - update.top, buffer.get(), 0,
             0, SRCCOPY);
}

bool CTextControl::PaintsWholeFrame(HRGN region) const
{
    if (region == reinterpret_cast<HRGN>(1))
        return true;
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    GdiObject<HRGN> rest(::CreateRectRgnIndirect(&window));
    return rest && ::CombineRgn(rest.get(), rest.get(), region, RGN_DIFF) == NULLREGION;
}

void CTextControl::DrawChangedScrollBars()
{
    if (m_barsToDraw & kVerticalBar)
        ::SetScrollInfo(m_hWnd, SB_VERT, &m_vertical, TRUE);
    if (m_barsToDraw & kHorizontalBar)
        ::SetScrollInfo(m_hWnd, SB_HORZ, &m_horizontal, TRUE);
    m_barsToDraw = 0;
}

void CTextControl::Notify(WORD code) const
{
    if (HWND parent = ::GetParent(m_hWnd))
        ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), code), reinterpret_cast<LPARAM>(m_hWnd));
}

void CTextControl::InvalidateLines(size_t first, size_t last)
{
    const int top = std::max(0, m_viewport.LineTop(first));
    const int bottom = last >= Buffer().LineCount() ? m_viewport.ClientHeight()
                                                    : m_viewport.LineTop(last) + m_metrics.LineHeight();
    if (bottom <= 0 || top >= m_viewport.ClientHeight())
        return;
    const RECT band{0, top, m_viewport.ClientWidth(), std::min(bottom, m_viewport.ClientHeight())};
    ::InvalidateRect(m_hWnd, &band, FALSE);
}

void CTextControl::OnTextChanged(const TextChange& change)
{
    const CTextBuffer& text = m_pText->Buffer();
    const size_t first = text.LineFromPosition(change.nPos);
    const size_t last = change.bNewText ? text.LineCount() - 1 : text.LineFromPosition(change.nPos + change.nInserted);
    if (change.bNewText) {
        m_viewport.ScrollTo(0, 0);
        MeasureWidestLines();
        m_marks.Clear();
        m_nOpenLineRoom = 0;
        NoteAppendedWidths(text.LineText(text.LineCount() - 1));
    } else {
        m_marks.OnLinesChanged(first, change.nPos == text.LineStart(first),
                               static_cast<long long>(text.LineCount()) - static_cast<long long>(m_nLineCount));
        if (!m_bAppending) {
            for (size_t line = first; line <= last; ++line)
                m_viewport.NoteLineWidth(m_metrics.Width(text.LineText(line)));
        }
    }
    m_nLineCount = text.LineCount();
    const int gutterWidth = m_viewport.GutterWidth();
    UpdateGutterWidth();
    const size_t firstVisible = m_viewport.FirstLine();
    m_viewport.ScrollTo(firstVisible, m_viewport.XOffset());
    if (gutterWidth != m_viewport.GutterWidth() || firstVisible != m_viewport.FirstLine())
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    else
        InvalidateLines(first, change.bLinesMoved ? text.LineCount() : last);
    ShowSelection();
    if (m_bAppending)
        ScheduleScrollBars();
    else
        UpdateScrollBars();
    UpdateCaret();
    if (!change.bNewText && !m_bAppending) {
        Notify(EN_UPDATE);
        Notify(EN_CHANGE);
    }
}

void CTextControl::NoteAppendedWidths(std::wstring_view text)
{
    auto note = [this](size_t room) { m_viewport.NoteLineWidth(static_cast<int>(room) * m_metrics.AverageWidth()); };
    for (wchar_t c : text) {
        if (c == L'\n') {
            note(m_nOpenLineRoom);
            m_nOpenLineRoom = 0;
        } else {
            m_nOpenLineRoom += c == L'\t' ? 8 : c < 0x80 ? 1 : 2;
        }
    }
    note(m_nOpenLineRoom);
}

void CTextControl::Append(std::wstring_view text)
{
    if (text.empty())
        return;
    const TextSelection selection = m_pText->Selection();
    const bool following = selection.IsEmpty() && selection.nCaret == m_pText->Length() && !m_bScrolledAway;
    NoteAppendedWidths(text);
    m_bAppending = true;
    m_pText->Append(text, following);
    m_bAppending = false;
    if (following && m_viewport.ScrollTo(m_viewport.LastFirstLine(), m_viewport.XOffset())) {
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        ScheduleScrollBars();
        UpdateCaret();
    }
}

// A scroll bar drawn costs milliseconds under Wine, as much as all the rest of an append:
// output arriving in a flood sets them once it pauses, not for every piece.
void CTextControl::ScheduleScrollBars()
{
    ::SetTimer(m_hWnd, kScrollBarTimer, USER_TIMER_MINIMUM, nullptr);
}

void CTextControl::SetLineStyle(std::function<LineStyle(size_t line)> style)
{
    m_lineStyle = std::move(style);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CTextControl::SetMarks(std::vector<LineMark> marks)
{
    // Laying the window out again costs; taking no marks away from none changes nothing.
    if (marks.empty() && m_marks.Marks().empty())
        return;
    m_marks.Set(std::move(marks));
    ShowMarkTip(nullptr, POINT{});
    UpdateGutterWidth();
    Relayout();
}

void CTextControl::MarksChanged()
{
    if (!GutterResized()) {
        const RECT column{0, 0, m_marks.ColumnWidth(m_metrics.LineHeight()), m_viewport.ClientHeight()};
        ::InvalidateRect(m_hWnd, &column, FALSE);
    }
}

bool CTextControl::GutterResized()
{
    const int width = m_viewport.GutterWidth();
    UpdateGutterWidth();
    if (width == m_viewport.GutterWidth())
        return false;
    Relayout();
    return true;
}

void CTextControl::SetBreakpoints(std::vector<size_t> lines)
{
    m_marks.SetBreakpoints(std::move(lines));
    MarksChanged();
}

void CTextControl::SetCurrentLine(std::optional<size_t> line)
{
    const std::optional<size_t> before = m_marks.CurrentLine();
    if (line == before)
        return;
    m_marks.SetCurrentLine(line);
    // The two lines alone, their marks and their look (the owner's line style may follow the
    // current line): a debugger's step repaints no more.
    if (GutterResized())
        return;
    for (const std::optional<size_t>& changed : {before, line})
        if (changed)
            InvalidateLines(*changed, *changed);
}

void CTextControl::ShowMarkColumn(bool always)
{
    m_marks.ShowAlways(always);
    MarksChanged();
}

void CTextControl::RevealLine(size_t line)
{
    const size_t first = m_viewport.FirstLine();
    const size_t page = m_viewport.PageLines();
    if (line >= first && line < first + page)
        return;
    // One line beyond either edge scrolls by a line; farther, the line comes a third down.
    size_t target = line < first ? line : line + 1 - page;
    if (line + 1 < first || line > first + page)
        target = line > page / 3 ? line - page / 3 : 0;
    ScrollTo(target, m_viewport.XOffset());
}

const LineMark* CTextControl::MarkAt(POINT point) const
{
    if (point.x < 0 || point.x >= m_marks.ColumnWidth(m_metrics.LineHeight()) || point.y < 0)
        return nullptr;
    return m_marks.At(m_viewport.LineAtY(point.y));
}

bool CTextControl::ClickMark(POINT point)
{
    if (const LineMark* mark = MarkAt(point)) {
        const size_t id = mark->nId;
        ShowMarkTip(nullptr, point);
        if (m_onMarkClick)
            m_onMarkClick(id);
        return true;
    }
    const bool inColumn = point.x >= 0 && point.x < m_marks.ColumnWidth(m_metrics.LineHeight()) && point.y >= 0;
    if (!inColumn || !m_onGutterClick)
        return false;
    m_onGutterClick(m_viewport.LineAtY(point.y));
    return true;
}

void CTextControl::OnMouseMove(POINT point)
{
    ShowMarkTip(MarkAt(point), point);
    m_mouse.OnMouseMove(point);
}

void CTextControl::ShowMarkTip(const LineMark* mark, POINT point)
{
    const size_t line = mark ? mark->nLine : kNoTip;
    if (line == m_nTipLine)
        return;
    m_nTipLine = line;
    if (!m_hTooltip) {
        if (!mark)
            return;
        m_hTooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX, 0, 0, 0, 0,
                                       m_hWnd, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        TTTOOLINFOW tool{sizeof tool, TTF_TRACK | TTF_ABSOLUTE, m_hWnd, 1, {}, nullptr, const_cast<wchar_t*>(L""), 0,
                         nullptr};
        ::SendMessageW(m_hTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        ::SendMessageW(m_hTooltip, TTM_SETMAXTIPWIDTH, 0, 600);
    }
    TTTOOLINFOW tool{sizeof tool, 0, m_hWnd, 1, {}, nullptr, nullptr, 0, nullptr};
    if (!mark) {
        ::SendMessageW(m_hTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    tool.lpszText = const_cast<wchar_t*>(mark->strTip.c_str());
    ::SendMessageW(m_hTooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    POINT screen{point.x + 16, point.y + 16};
    ::ClientToScreen(m_hWnd, &screen);
    ::SendMessageW(m_hTooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x, screen.y));
    ::SendMessageW(m_hTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    // The tip goes when the mouse leaves the window.
    TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, m_hWnd, 0};
    ::TrackMouseEvent(&leave);
}

// The lines whose look the new selection changes (its own, the one before, the caret's line
// for its highlight) are painted again.
void CTextControl::ShowSelection()
{
    const TextSelection& now = m_pText->Selection();
    if (now == m_shownSelection)
        return;
    const CTextBuffer& text = m_pText->Buffer();
    for (const TextSelection& selection : {m_shownSelection, now}) {
        const size_t first = text.LineFromPosition(std::min(selection.Start(), selection.nCaret));
        const size_t last = text.LineFromPosition(selection.End());
        InvalidateLines(first, std::min(last, text.LineCount() - 1));
    }
    m_shownSelection = now;
}

// Measuring every line would ask GDI for the width of every character of the file; the
// lines that can be the widest are those with the most room by count (a tab up to eight
// columns, a character beyond ASCII two), and only they are measured.
void CTextControl::MeasureWidestLines()
{
    constexpr size_t kMeasured = 16;
    m_viewport.ResetWidth();
    const std::wstring_view all = m_pText->Contiguous();
    const CTextBuffer& text = m_pText->Buffer();
    std::vector<std::pair<size_t, size_t>> roomiest;  // (room, line), the largest first
    for (size_t line = 0; line < text.LineCount(); ++line) {
        size_t room = 0;
        for (wchar_t c : all.substr(text.LineStart(line), text.LineLength(line)))
            room += c == L'\t' ? 8 : c < 0x80 ? 1 : 2;
        if (roomiest.size() == kMeasured && room <= roomiest.back().first)
            continue;
        roomiest.insert(std::upper_bound(roomiest.begin(), roomiest.end(), std::pair{room, line},
                                         [](const auto& a, const auto& b) { return a.first > b.first; }),
                        std::pair{room, line});
        if (roomiest.size() > kMeasured)
            roomiest.pop_back();
    }
    for (const auto& [room, line] : roomiest)
        m_viewport.NoteLineWidth(m_metrics.Width(all.substr(text.LineStart(line), text.LineLength(line))));
}

void CTextControl::UpdateGutterWidth()
{
    const int width = m_marks.ColumnWidth(m_metrics.LineHeight()) + m_gutter.WidthFor(Buffer().LineCount(), m_metrics);
    if (width == m_viewport.GutterWidth())
        return;
    m_viewport.SetGutterWidth(width);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CTextControl::UpdateScrollBars()
{
    ::KillTimer(m_hWnd, kScrollBarTimer);
    const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    if (style & WS_VSCROLL) {
        const SCROLLINFO info{sizeof info, SIF_ALL | SIF_DISABLENOSCROLL, 0, static_cast<int>(Buffer().LineCount() - 1),
                              static_cast<UINT>(m_viewport.PageLines()), static_cast<int>(m_viewport.FirstLine()), 0};
        SetScrollBar(SB_VERT, info);
    }
    if (style & WS_HSCROLL) {
        const RECT area = m_viewport.TextArea();
        const int page = std::max<LONG>(1, area.right - area.left);
        const SCROLLINFO info{sizeof info, SIF_ALL | SIF_DISABLENOSCROLL, 0, m_viewport.LastXOffset() + page - 1,
                              static_cast<UINT>(page), m_viewport.XOffset(), 0};
        SetScrollBar(SB_HORZ, info);
    }
}

// A scroll bar is drawn with the next paint rather than at once: drawing one costs
// milliseconds under Wine, and one command may move the view several times. Only the bar
// that changed is drawn, not the whole frame.
void CTextControl::SetScrollBar(int bar, const SCROLLINFO& info)
{
    SCROLLINFO& shown = bar == SB_VERT ? m_vertical : m_horizontal;
    if (SameScrollInfo(info, shown))
        return;
    shown = info;
    ::SetScrollInfo(m_hWnd, bar, &info, FALSE);
    m_barsToDraw |= bar == SB_VERT ? kVerticalBar : kHorizontalBar;
    // A pixel asked to be painted again brings the paint that draws the bar.
    const RECT corner{0, 0, 1, 1};
    ::InvalidateRect(m_hWnd, &corner, FALSE);
}

void CTextControl::Relayout()
{
    UpdateGutterWidth();
    m_viewport.ScrollTo(m_viewport.FirstLine(), m_viewport.XOffset());
    UpdateScrollBars();
    UpdateCaret();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CTextControl::UpdateCaret()
{
    if (!m_bFocused)
        return;
    const POINT point = m_viewport.PointOf(Caret());
    // Scrolled under the line numbers, the caret is not shown.
    const bool visible = point.x >= m_viewport.GutterWidth() && point.x < m_viewport.ClientWidth() &&
                         point.y + m_metrics.LineHeight() > 0 && point.y < m_viewport.ClientHeight();
    ::SetCaretPos(point.x, point.y);
    if (visible != m_bCaretShown) {
        m_bCaretShown = visible;
        if (visible)
            ::ShowCaret(m_hWnd);
        else
            ::HideCaret(m_hWnd);
    }
}

void CTextControl::CreateCaret()
{
    UINT width = 1;
    ::SystemParametersInfoW(SPI_GETCARETWIDTH, 0, &width, 0);
    const int caretWidth = m_bOverwrite ? m_metrics.AverageWidth() : static_cast<int>(std::max(1u, width));
    ::CreateCaret(m_hWnd, nullptr, caretWidth, m_metrics.LineHeight());
    m_bCaretShown = false;
    UpdateCaret();
}

void CTextControl::OnSetFocus()
{
    m_bFocused = true;
    CreateCaret();
    Notify(EN_SETFOCUS);
}

void CTextControl::OnKillFocus()
{
    m_bFocused = false;
    m_bCaretShown = false;
    ::DestroyCaret();
    Notify(EN_KILLFOCUS);
}

// The input method's window follows the caret, in the text's font.
void CTextControl::PlaceComposition() const
{
    HIMC context = ::ImmGetContext(m_hWnd);
    if (!context)
        return;
    COMPOSITIONFORM form{};
    form.dwStyle = CFS_POINT;
    form.ptCurrentPos = m_viewport.PointOf(Caret());
    ::ImmSetCompositionWindow(context, &form);
    LOGFONTW font{};
    if (::GetObjectW(m_metrics.Font() ? static_cast<HGDIOBJ>(m_metrics.Font()) : ::GetStockObject(SYSTEM_FONT),
                     sizeof font, &font))
        ::ImmSetCompositionFontW(context, &font);
    ::ImmReleaseContext(m_hWnd, context);
}

void CTextControl::OnScroll(int bar, WORD request, WORD thumb)
{
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    ::GetScrollInfo(m_hWnd, bar, &info);
    const bool vertical = bar == SB_VERT;
    const long long line = vertical ? 1 : m_metrics.AverageWidth();
    const long long page = vertical ? static_cast<long long>(m_viewport.PageLines()) : std::max(1, static_cast<int>(info.nPage));
    long long pos = vertical ? static_cast<long long>(m_viewport.FirstLine()) : m_viewport.XOffset();
    switch (request) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        // The message has 16 bits for the place; a longer range is read from the bar.
        pos = info.nMax > 0xFFFF ? info.nTrackPos : thumb;
        break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = info.nMax; break;
    default: return;
    }
    pos = std::max(0LL, pos);
    if (vertical)
        ScrollTo(static_cast<size_t>(pos), m_viewport.XOffset());
    else
        ScrollTo(m_viewport.FirstLine(), static_cast<int>(std::min<long long>(pos, 0x3FFFFFFF)));
}

void CTextControl::ScrollTo(size_t firstLine, int xOffset)
{
    const bool moved = m_viewport.ScrollTo(firstLine, xOffset);
    // Scrolled by the user: the end is left alone while it is out of view.
    m_bScrolledAway = m_viewport.FirstLine() < m_viewport.LastFirstLine();
    if (!moved)
        return;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    UpdateScrollBars();
    UpdateCaret();
}

void CTextControl::RevealCaret()
{
    if (m_viewport.Reveal(Caret())) {
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        UpdateScrollBars();
    }
    UpdateCaret();
}

void CTextControl::Select(size_t anchor, size_t caret)
{
    m_pText->Select(anchor, caret);
    // The caret put at the end takes the view back to following it.
    if (caret >= m_pText->Length())
        m_bScrolledAway = false;
    ShowSelection();
    UpdateCaret();
}

void CTextControl::MoveCaret(size_t pos, bool extend)
{
    Select(extend ? m_pText->Selection().nAnchor : pos, pos);
    RevealCaret();
}

void CTextControl::SelectLines(size_t anchorLine, size_t caretLine)
{
    const CTextBuffer& text = Buffer();
    if (caretLine >= anchorLine)
        Select(text.LineStart(anchorLine), text.NextLineStart(caretLine));
    else
        Select(text.NextLineStart(anchorLine), text.LineStart(caretLine));
    RevealCaret();
}

bool CTextControl::EditByUser(size_t start, size_t end, std::wstring_view text, EditKind kind)
{
    if (IsReadOnly() || !EditAllowed())
        return false;
    bool overLimit = false;
    const bool edited = m_pText->Replace(start, end, text, kind, OverLimit::Refuse, &overLimit);
    if (overLimit)
        Notify(EN_MAXTEXT);
    if (edited)
        RevealCaret();
    return edited;
}

void CTextControl::ReplaceSelection(std::wstring_view text, bool canUndo)
{
    if (!EditAllowed())
        return;
    bool overLimit = false;
    const TextSelection selection = m_pText->Selection();
    m_pText->Replace(selection.Start(), selection.End(), text, EditKind::Other, OverLimit::Cut, &overLimit);
    if (!canUndo)
        m_pText->ClearHistory();
    if (overLimit)
        Notify(EN_MAXTEXT);
    RevealCaret();
}

void CTextControl::SetText(std::wstring_view text)
{
    m_pText->SetText(text);
    UpdateCaret();
}

bool CTextControl::Undo()
{
    if (!m_pText->CanUndo() || !EditAllowed() || !m_pText->Undo())
        return false;
    RevealCaret();
    return true;
}

bool CTextControl::Redo()
{
    if (!m_pText->CanRedo() || !EditAllowed() || !m_pText->Redo())
        return false;
    RevealCaret();
    return true;
}

void CTextControl::Copy()
{
    const TextSelection& selection = m_pText->Selection();
    if (!selection.IsEmpty())
        PutTextOnClipboard(m_hWnd, Buffer().Text(selection.Start(), selection.End()));
}

void CTextControl::Cut()
{
    if (IsReadOnly() || m_pText->Selection().IsEmpty())
        return;
    Copy();
    Clear();
}

void CTextControl::Paste()
{
    if (IsReadOnly())
        return;
    if (const std::optional<std::wstring> text = TextOnClipboard(m_hWnd)) {
        const TextSelection selection = m_pText->Selection();
        EditByUser(selection.Start(), selection.End(), *text, EditKind::Other);
    }
}

void CTextControl::Clear()
{
    const TextSelection selection = m_pText->Selection();
    if (!selection.IsEmpty())
        EditByUser(selection.Start(), selection.End(), L"", EditKind::Other);
}

void CTextControl::SetReadOnly(bool readOnly)
{
    const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, readOnly ? style | ES_READONLY : style & ~static_cast<LONG_PTR>(ES_READONLY));
}

void CTextControl::SetFont(HFONT font, bool redraw)
{
    m_metrics.SetFont(font);
    MeasureWidestLines();
    if (m_bFocused)
        CreateCaret();
    // Painted again in any case; without redraw only later, at the next paint.
    Relayout();
    if (redraw)
        ::UpdateWindow(m_hWnd);
}

void CTextControl::SetSyntaxMode(SyntaxMode mode)
{
    if (mode == m_syntaxMode)
        return;
    m_syntaxMode = mode;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CTextControl::ShowSyntaxColors(bool shown)
{
    if (shown == m_bSyntaxColors)
        return;
    m_bSyntaxColors = shown;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CTextControl::ShowLineNumbers(bool shown)
{
    m_gutter.Show(shown);
    UpdateGutterWidth();
    Relayout();
}

void CTextControl::ToggleOverwrite()
{
    m_bOverwrite = !m_bOverwrite;
    if (m_bFocused)
        CreateCaret();
}
