// The text tests' windows: Korvane's text control and a system edit control of the same
// style and size in one hidden parent, which records the notifications both send, and keys
// pressed as the keyboard gives them.
#pragma once

#include "text/TextControl.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

class TextTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND Ours() const { return m_hOurs; }
    HWND Theirs() const { return m_hTheirs; }
    CTextControl& Control() const { return *CTextControl::FromHandle(m_hOurs); }

    // The notification codes a control sent its parent since the last call.
    std::vector<WORD> TakeNotifications(HWND from);
    // The same text in both controls, as WM_SETTEXT gives it.
    void SetBoth(const std::wstring& text) const;

private:
    static LRESULT CALLBACK ParentProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hParent = nullptr;
    HWND m_hOurs = nullptr;
    HWND m_hTheirs = nullptr;
};

LRESULT Send(HWND wnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
std::wstring TextOf(HWND wnd);
std::pair<DWORD, DWORD> SelectionOf(HWND wnd);

// A key held with modifiers (kShift, kCtrl from TestSupport.h) as WM_KEYDOWN, and the
// character it types (Backspace, Tab, Enter) as WM_CHAR.
void Press(HWND wnd, UINT key, BYTE modifiers = 0);
