// The system's Find and Replace dialogs.
#include "framework/CFindReplaceDialog.h"

#include "framework/CDialog.h"

#include <algorithm>

bool CFindReplaceDialog::Create(bool findOnly, const std::wstring& findWhat, const std::wstring& replaceWith,
                                DWORD flags, HWND owner)
{
    m_bFindOnly = findOnly;
    CopyText(findWhat, m_findWhat);
    CopyText(replaceWith, m_replaceWith);
    m_fr = FINDREPLACEW{};
    m_fr.lStructSize = sizeof m_fr;
    m_fr.hwndOwner = owner;
    m_fr.Flags = flags & (FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD);
    m_fr.lpstrFindWhat = m_findWhat.data();
    m_fr.wFindWhatLen = static_cast<WORD>(m_findWhat.size());
    m_fr.lpstrReplaceWith = m_replaceWith.data();
    m_fr.wReplaceWithLen = static_cast<WORD>(m_replaceWith.size());
    m_fr.lCustData = reinterpret_cast<LPARAM>(this);
    HWND dialog = findOnly ? ::FindTextW(&m_fr) : ::ReplaceTextW(&m_fr);
    if (!dialog || !SubclassWindow(dialog))
        return false;
    // The texts go into the boxes and come out of them directly: a dialog that passes them
    // through the system's code page would lose the characters that code page lacks.
    ::SetDlgItemTextW(dialog, edt1, m_findWhat.data());
    if (!findOnly)
        ::SetDlgItemTextW(dialog, edt2, m_replaceWith.data());
    return true;
}

std::wstring CFindReplaceDialog::BoxText(int id, const std::array<wchar_t, 1024>& buffer) const
{
    HWND box = m_hWnd ? ::GetDlgItem(m_hWnd, id) : nullptr;
    if (!box)
        return buffer.data();
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(0, ::GetWindowTextW(box, text.data(), static_cast<int>(text.size())))));
    return text;
}

UINT CFindReplaceDialog::GetFindReplaceMsg()
{
    static const UINT message = ::RegisterWindowMessageW(FINDMSGSTRINGW);
    return message;
}

CFindReplaceDialog* CFindReplaceDialog::FromNotification(LPARAM lParam)
{
    auto* fr = reinterpret_cast<FINDREPLACEW*>(lParam);
    return fr ? reinterpret_cast<CFindReplaceDialog*>(fr->lCustData) : nullptr;
}

void CFindReplaceDialog::CopyText(const std::wstring& text, std::array<wchar_t, 1024>& buffer)
{
    const size_t n = std::min(text.size(), buffer.size() - 1);
    std::copy_n(text.begin(), n, buffer.begin());
    buffer[n] = L'\0';
}

void CFindReplaceDialog::SetFindString(const std::wstring& text)
{
    CopyText(text, m_findWhat);
    ::SetDlgItemTextW(m_hWnd, edt1, m_findWhat.data());
}

bool CFindReplaceDialog::PreTranslateMessage(MSG* msg)
{
    return PreTranslateDialogMessage(m_hWnd, msg);
}
