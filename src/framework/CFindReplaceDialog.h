// The system's modeless Find and Replace dialogs. The owner window receives
// GetFindReplaceMsg() for every button the user presses, with the dialog's FINDREPLACEW as
// lParam; FromNotification gives back the dialog object, whose accessors tell what was
// asked. The object outlives its window: the window goes when the user closes it.
#pragma once

#include "framework/CWnd.h"

#include <commdlg.h>
#include <dlgs.h>

#include <array>
#include <string>

class CFindReplaceDialog : public CWnd {
public:
    // Shows the Find dialog (findOnly) or the Replace dialog, owned by owner, with these
    // texts and FR_DOWN, FR_MATCHCASE and FR_WHOLEWORD as flags.
    bool Create(bool findOnly, const std::wstring& findWhat, const std::wstring& replaceWith, DWORD flags, HWND owner);

    static UINT GetFindReplaceMsg();
    // The dialog a notification is about.
    static CFindReplaceDialog* FromNotification(LPARAM lParam);

    bool IsFindOnly() const { return m_bFindOnly; }
    bool IsTerminating() const { return (m_fr.Flags & FR_DIALOGTERM) != 0; }
    bool FindNext() const { return (m_fr.Flags & FR_FINDNEXT) != 0; }
    bool ReplaceCurrent() const { return (m_fr.Flags & FR_REPLACE) != 0; }
    bool ReplaceAll() const { return (m_fr.Flags & FR_REPLACEALL) != 0; }
    bool MatchCase() const { return (m_fr.Flags & FR_MATCHCASE) != 0; }
    bool MatchWholeWord() const { return (m_fr.Flags & FR_WHOLEWORD) != 0; }
    bool SearchDown() const { return (m_fr.Flags & FR_DOWN) != 0; }
    // The texts in the dialog's boxes.
    std::wstring GetFindString() const { return BoxText(edt1, m_findWhat); }
    std::wstring GetReplaceString() const { return BoxText(edt2, m_replaceWith); }
    // Puts a new search text into the open dialog's box.
    void SetFindString(const std::wstring& text);

    // The dialog's keys are its own, not the frame's accelerators.
    bool PreTranslateMessage(MSG* msg) override;

private:
    static void CopyText(const std::wstring& text, std::array<wchar_t, 1024>& buffer);
    std::wstring BoxText(int id, const std::array<wchar_t, 1024>& buffer) const;

    FINDREPLACEW m_fr{};
    std::array<wchar_t, 1024> m_findWhat{};
    std::array<wchar_t, 1024> m_replaceWith{};
    bool m_bFindOnly = true;
};
