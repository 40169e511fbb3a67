// The editor view.
#include "doc/KorvaneView.h"

#include "doc/GotoLineDlg.h"
#include "debug/ListingText.h"
#include "doc/KorvaneDoc.h"
#include "framework/CCmdUI.h"
#include "framework/Handles.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "framework/docking/CFrameWnd.h"
#include "resource.h"

#include <algorithm>

void CKorvaneView::OnInitialUpdate()
{
    if (auto* document = dynamic_cast<CKorvaneDoc*>(GetDocument()))
        ShowText(&document->Text());
}

std::string CKorvaneView::SourcePath() const
{
    const auto* document = dynamic_cast<const CKorvaneDoc*>(GetDocument());
    return document ? document->GetSourcePath() : std::string();
}

void CKorvaneView::ShowStatus(const std::string& text) const
{
    if (CFrameWnd* frame = ParentFrameOf(*this))
        frame->SetMessageText(text);
}

void CKorvaneView::SetToolchain(CompilerType type)
{
    Control().SetSyntaxMode(type == CompilerType::Mcs51 ? SyntaxMode::Mcs51 : SyntaxMode::Masm);
}

size_t CKorvaneView::ClampedLine(int line) const
{
    const size_t count = Control().Buffer().LineCount();
    return static_cast<size_t>(std::clamp<long long>(line, 0, static_cast<long long>(count) - 1));
}

void CKorvaneView::Scroll(size_t caret, size_t anchor)
{
    // The caret goes where the selection's given end is, and the view follows it there.
    SendMessage(EM_SETSEL, anchor, static_cast<LPARAM>(caret));
    SendMessage(EM_SCROLLCARET);
}

void CKorvaneView::SelectSourceLine(int line)
{
    const CTextBuffer& text = Control().Buffer();
    const size_t index = ClampedLine(line);
    Scroll(text.LineStart(index), text.LineEnd(index));
}

void CKorvaneView::GoToLine(int line)
{
    const size_t start = Control().Buffer().LineStart(ClampedLine(line));
    Scroll(start, start);
}

std::pair<int, int> CKorvaneView::CaretLineColumn() const
{
    const CTextBuffer& text = Control().Buffer();
    const size_t caret = Control().Caret();
    const size_t line = text.LineFromPosition(caret);
    return {static_cast<int>(line) + 1, static_cast<int>(caret - text.LineStart(line)) + 1};
}

void CKorvaneView::OnGoToLine()
{
    CGotoLineDlg dialog(CaretLineColumn().first, static_cast<int>(Control().Buffer().LineCount()));
    if (dialog.DoModal() == IDOK)
        GoToLine(dialog.GetLine() - 1);
}

void CKorvaneView::OnContextMenu(HWND, POINT point)
{
    if (point.x == -1 && point.y == -1) {
        const POINT caret = Control().Viewport().PointOf(Control().Caret());
        point = POINT{caret.x, caret.y + Control().Metrics().LineHeight()};
        ClientToScreen(&point);
    }
    UniqueMenu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_EDITOR_MENU)));
    HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
    CFrameWnd* frame = ParentFrameOf(*this);
    if (!popup || !frame)
        return;
    // The entries are enabled as the Edit menu's are, by the commands' own rules.
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    const UINT command = static_cast<UINT>(
        ::TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, point.x, point.y, 0, m_hWnd, nullptr));
    if (command)
        frame->SendMessage(WM_COMMAND, command);
}

LRESULT CKorvaneView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == CFindReplaceDialog::GetFindReplaceMsg()) {
        m_search.OnDialogNotify(lParam);
        return 0;
    }
    const LRESULT result = CEditView::WindowProc(message, wParam, lParam);
    // Ctrl+click on an INCLUDE line opens the included file, once the click put the caret there.
    if (message == WM_LBUTTONUP && (wParam & MK_CONTROL) && CaretLineInclude())
        if (CFrameWnd* frame = ParentFrameOf(*this))
            frame->PostMessage(WM_COMMAND, ID_OPEN_INCLUDE);
    return result;
}

std::optional<std::string> CKorvaneView::CaretLineInclude() const
{
    const CTextBuffer& text = Control().Buffer();
    return IncludedFile(Narrow(text.LineText(text.LineFromPosition(Control().Caret()))));
}

bool CKorvaneView::OnCmdMsg(UINT nID, CCmdUI* pCmdUI)
{
    static const CommandEntry<CKorvaneView> kCommands[] = {
        {ID_EDIT_FIND, [](CKorvaneView& view, UINT) { view.m_search.OpenFind(); }},
        {ID_EDIT_REPLACE, [](CKorvaneView& view, UINT) { view.m_search.OpenReplace(); }},
        {ID_EDIT_REPEAT, [](CKorvaneView& view, UINT) { view.m_search.Repeat(true); }},
        {ID_EDIT_FIND_PREVIOUS, [](CKorvaneView& view, UINT) { view.m_search.Repeat(false); }},
        {ID_GOTO_LINE, [](CKorvaneView& view, UINT) { view.OnGoToLine(); }},
        {.id = ID_VIEW_LINE_NUMBERS,
         .run = [](CKorvaneView& view, UINT) { view.Control().ShowLineNumbers(!view.Control().LineNumbersShown()); },
         .checked = [](const CKorvaneView& view, UINT) { return view.Control().LineNumbersShown(); }},
        {.id = ID_VIEW_SYNTAX_COLORS,
         .run = [](CKorvaneView& view, UINT) { view.Control().ShowSyntaxColors(!view.Control().SyntaxColorsShown()); },
         .checked = [](const CKorvaneView& view, UINT) { return view.Control().SyntaxColorsShown(); }},
        {.id = ID_INDICATOR_LINE_COLUMN,
         .update =
             [](CKorvaneView& view, UINT, CCmdUI& ui) {
                 const auto [line, column] = view.CaretLineColumn();
                 ui.SetText(FormatResString(IDS_LINE_COLUMN, {std::to_string(line), std::to_string(column)}));
             }},
    };
    return RouteCommand(*this, kCommands, nID, pCmdUI) || CEditView::OnCmdMsg(nID, pCmdUI);
}
