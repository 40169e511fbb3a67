// Find and Replace in the editor.
#include "doc/FindReplace.h"

#include "doc/KorvaneView.h"
#include "framework/MessageBox.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "resource.h"

namespace {
// The text with range replaced by with.
std::wstring Spliced(std::wstring_view text, TextRange range, std::wstring_view with)
{
    std::wstring spliced;
    spliced.reserve(text.size() - (range.nEnd - range.nStart) + with.size());
    spliced.append(text.substr(0, range.nStart)).append(with).append(text.substr(range.nEnd));
    return spliced;
}
}

void CFindReplace::Open(bool findOnly)
{
    const TextRange selection = Selection();
    const std::wstring_view text = m_view.Control().Text();
    const std::wstring_view selected = text.substr(selection.nStart, selection.nEnd - selection.nStart);
    const bool oneLine = !selected.empty() && selected.find_first_of(L"\r\n") == std::wstring_view::npos;
    if (oneLine)
        m_strFind = selected;

    if (m_pDialog && m_pDialog->GetSafeHwnd()) {
        if (m_pDialog->IsFindOnly() == findOnly) {
            if (oneLine)
                m_pDialog->SetFindString(m_strFind);
            ::SetActiveWindow(m_pDialog->GetSafeHwnd());
            return;
        }
        // The other dialog takes its place.
        m_pDialog->DestroyWindow();
    }
    const DWORD flags = (m_bDown ? FR_DOWN : 0) | (m_options.bMatchCase ? FR_MATCHCASE : 0) |
                        (m_options.bWholeWord ? FR_WHOLEWORD : 0);
    m_pDialog = std::make_unique<CFindReplaceDialog>();
    if (!m_pDialog->Create(findOnly, m_strFind, m_strReplace, flags, m_view.GetSafeHwnd()))
        m_pDialog.reset();
}

void CFindReplace::Repeat(bool down)
{
    if (m_strFind.empty())
        OpenFind();
    else
        FindNext(down);
}

void CFindReplace::OnDialogNotify(LPARAM lParam)
{
    // The dialog object stays until the next one opens: its window is still on its way out.
    const CFindReplaceDialog* dialog = CFindReplaceDialog::FromNotification(lParam);
    if (!dialog || dialog != m_pDialog.get() || dialog->IsTerminating())
        return;
    TakeDialogChoices(*dialog);
    if (dialog->FindNext())
        FindNext(m_bDown);
    else if (dialog->ReplaceCurrent())
        ReplaceCurrent();
    else if (dialog->ReplaceAll())
        ReplaceAll();
}

void CFindReplace::TakeDialogChoices(const CFindReplaceDialog& dialog)
{
    m_strFind = dialog.GetFindString();
    m_strReplace = dialog.GetReplaceString();
    m_options = SearchOptions{dialog.MatchCase(), dialog.MatchWholeWord()};
    // The Replace dialog always searches down.
    m_bDown = !dialog.IsFindOnly() || dialog.SearchDown();
}

TextRange CFindReplace::Selection() const
{
    const TextSelection& selection = m_view.Control().Selection();
    return TextRange{selection.Start(), selection.End()};
}

void CFindReplace::Select(TextRange range)
{
    m_view.Scroll(range.nEnd, range.nStart);
}

void CFindReplace::ReportNotFound()
{
    m_view.ShowStatus(FormatResString(IDS_NOT_FOUND, {Narrow(m_strFind)}));
    ::MessageBeep(MB_OK);
}

bool CFindReplace::FindNext(bool down)
{
    const std::wstring_view text = m_view.Control().Text();
    const TextRange selection = Selection();
    std::optional<TextRange> found =
        FindInText(text, m_strFind, m_options, down ? selection.nEnd : selection.nStart, down);
    const bool wrapped = !found;
    if (wrapped)
        found = FindInText(text, m_strFind, m_options, down ? 0 : text.size(), down);
    if (!found) {
        ReportNotFound();
        return false;
    }
    Select(*found);
    m_view.ShowStatus(wrapped ? LoadResString(down ? IDS_SEARCH_WRAPPED_DOWN : IDS_SEARCH_WRAPPED_UP)
                              : LoadResString(AFX_IDS_IDLEMESSAGE));
    return true;
}

bool CFindReplace::ReplaceSelection(const std::wstring& text, const std::wstring& wholeTextAfter)
{
    if (!m_view.Control().Editable().FitsByteLimit(wholeTextAfter)) {
        AfxMessageBox(IDS_REPLACE_TOO_LARGE, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    m_view.SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    return true;
}

void CFindReplace::ReplaceCurrent()
{
    const std::wstring_view text = m_view.Control().Text();
    const TextRange selection = Selection();
    if (IsMatchAt(text, selection, m_strFind, m_options)) {
        const std::wstring after = Spliced(text, selection, m_strReplace);
        if (!ReplaceSelection(m_strReplace, after))
            return;
    }
    FindNext(true);
}

void CFindReplace::ReplaceAll()
{
    const std::wstring_view text = m_view.Control().Text();
    const ReplacedText replaced = ReplaceEveryMatch(text, m_strFind, m_strReplace, m_options);
    if (replaced.nCount == 0) {
        ReportNotFound();
        return;
    }
    const TextRange selection = Selection();
    const std::wstring after = Spliced(text, replaced.span, replaced.strReplacement);
    // From the first match to the last in one replacement: one step that a single Undo takes
    // back, and the control lays out again only the lines in between.
    m_view.SendMessage(EM_SETSEL, replaced.span.nStart, static_cast<LPARAM>(replaced.span.nEnd));
    if (!ReplaceSelection(replaced.strReplacement, after)) {
        Select(selection);
        return;
    }
    const size_t caret = std::min(selection.nStart, after.size());
    Select(TextRange{caret, caret});
    m_view.ShowStatus(FormatResString(IDS_REPLACED, {std::to_string(replaced.nCount)}));
}
