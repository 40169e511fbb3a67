// The editor view.
#include "doc/KorvaneView.h"

#include "doc/GotoLineDlg.h"
#include "framework/CCmdUI.h"
#include "framework/CFrameWnd.h"
#include "framework/Handles.h"
#include "framework/Strings.h"
#include "resource.h"

#include <windowsx.h>

#include <algorithm>

bool CKorvaneView::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!CEditView::PreCreateWindow(cs))
        return false;
    cs.style &= ~static_cast<LONG>(WS_HSCROLL | ES_AUTOHSCROLL);
    return true;
}

bool CKorvaneView::Create(CWnd* parent, UINT id, CCreateContext* context)
{
    if (!CEditView::Create(parent, id, context))
        return false;
    m_lines.Attach(m_hWnd);
    m_gutter.Attach(m_hWnd);
    return true;
}

void CKorvaneView::OnDraw(HDC) {}

void CKorvaneView::ShowStatus(const std::string& text) const
{
    if (CFrameWnd* frame = GetParentFrame())
        frame->SetMessageText(text);
}

void CKorvaneView::OnTextChanged()
{
    m_lines.Invalidate();
    m_gutter.UpdateWidth();
    m_gutter.Invalidate();
}

bool CKorvaneView::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE)
        OnTextChanged();
    return CEditView::OnChildNotify(message, wParam, lParam, result);
}

void CKorvaneView::Scroll(size_t caret, size_t anchor)
{
    // The caret goes where the selection's given end is, and the view follows it there.
    SendMessage(EM_SETSEL, anchor, static_cast<LPARAM>(caret));
    SendMessage(EM_SCROLLCARET);
}

void CKorvaneView::SelectSourceLine(int line)
{
    Scroll(m_lines.StartOf(line), m_lines.EndOf(line));
}

void CKorvaneView::GoToLine(int line)
{
    Scroll(m_lines.StartOf(line), m_lines.StartOf(line));
}

std::pair<int, int> CKorvaneView::CaretLineColumn()
{
    const auto [start, end] = EditSelectionOf(m_hWnd);
    if (end != m_nLastSelEnd || start == end)
        m_nCaret = end;
    else if (start != m_nLastSelStart)
        m_nCaret = start;
    m_nLastSelStart = start;
    m_nLastSelEnd = end;
    const size_t caret = std::min(m_nCaret, m_lines.Text().size());
    const int line = m_lines.LineOf(caret);
    return {line + 1, static_cast<int>(caret - m_lines.StartOf(line)) + 1};
}

void CKorvaneView::OnGoToLine()
{
    CGotoLineDlg dialog(CaretLineColumn().first, m_lines.Count());
    if (dialog.DoModal() == IDOK)
        GoToLine(dialog.GetLine() - 1);
}

void CKorvaneView::InsertIndentedLineBreak()
{
    const DWORD start = EditSelectionOf(m_hWnd).first;
    const std::wstring& text = m_lines.Text();
    const size_t lineStart = m_lines.StartOf(m_lines.LineOf(start));
    // The indentation before the caret only: Enter inside it does not double it.
    size_t indentEnd = lineStart;
    while (indentEnd < start && (text[indentEnd] == L' ' || text[indentEnd] == L'\t'))
        ++indentEnd;
    const std::wstring lineBreak = L"\r\n" + text.substr(lineStart, indentEnd - lineStart);
    SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(lineBreak.c_str()));
}

bool CKorvaneView::IsOverGutter() const
{
    POINT point{};
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    return point.x >= 0 && point.x < m_gutter.Width();
}

void CKorvaneView::OnGutterClick(int y)
{
    ::SetFocus(m_hWnd);
    const int line = m_gutter.LineAt(y);
    SendMessage(EM_SETSEL, m_lines.StartOf(line), static_cast<LPARAM>(m_lines.NextStartOf(line)));
}

LRESULT CKorvaneView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == CFindReplaceDialog::GetFindReplaceMsg()) {
        m_search.OnDialogNotify(lParam);
        return 0;
    }
    switch (message) {
    case WM_CHAR:
        if (wParam == L'\r' && !(GetStyle() & ES_READONLY)) {
            InsertIndentedLineBreak();
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (GET_X_LPARAM(lParam) < m_gutter.Width()) {
            OnGutterClick(GET_Y_LPARAM(lParam));
            return 0;
        }
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && IsOverGutter()) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
            return TRUE;
        }
        break;
    case WM_SETTEXT:
        if (lParam)
            m_gutter.UpdateWidthFor(CSourceLines::CountIn(reinterpret_cast<const wchar_t*>(lParam)));
        break;
    }
    // The control may leave its own clipping in a DC it is handed.
    const int savedDc = message == WM_PRINTCLIENT ? ::SaveDC(reinterpret_cast<HDC>(wParam)) : 0;
    const LRESULT result = CEditView::WindowProc(message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        if (m_hWnd) {
            WindowDc dc = WindowDc::Client(m_hWnd);
            m_gutter.Paint(dc.get());
        }
        break;
    case WM_PRINTCLIENT:
        ::RestoreDC(reinterpret_cast<HDC>(wParam), savedDc);
        m_gutter.Paint(reinterpret_cast<HDC>(wParam));
        break;
    case WM_SETTEXT:
        OnTextChanged();
        break;
    }
    // Whatever scrolled the text (bar, wheel, keys, a dragged selection), the numbers follow;
    // the questions the gutter asks come back through here and must not ask again.
    if (m_hWnd && !m_bFollowingScroll) {
        m_bFollowingScroll = true;
        m_gutter.FollowScrolling();
        m_bFollowingScroll = false;
    }
    return result;
}

bool CKorvaneView::OnCmdMsg(UINT nID, CCmdUI* pCmdUI)
{
    switch (nID) {
    case ID_EDIT_FIND:
    case ID_EDIT_REPLACE:
    case ID_EDIT_REPEAT:
    case ID_EDIT_FIND_PREVIOUS:
        if (pCmdUI)
            return true;
        if (nID == ID_EDIT_FIND)
            m_search.OpenFind();
        else if (nID == ID_EDIT_REPLACE)
            m_search.OpenReplace();
        else
            m_search.Repeat(nID == ID_EDIT_REPEAT);
        return true;
    case ID_GOTO_LINE:
        if (!pCmdUI)
            OnGoToLine();
        return true;
    case ID_VIEW_LINE_NUMBERS:
        if (pCmdUI)
            pCmdUI->SetCheck(m_gutter.IsShown() ? 1 : 0);
        else
            m_gutter.Show(!m_gutter.IsShown());
        return true;
    case ID_INDICATOR_LINE_COLUMN:
        if (pCmdUI) {
            const auto [line, column] = CaretLineColumn();
            pCmdUI->SetText(FormatResString(IDS_LINE_COLUMN, {std::to_string(line), std::to_string(column)}));
        }
        return true;
    }
    return CEditView::OnCmdMsg(nID, pCmdUI);
}
