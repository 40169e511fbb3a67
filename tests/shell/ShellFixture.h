// The fixture of the shell tests: starts the real application object with a command line,
// drives its frame with sent messages and closes it again, so every test starts afresh.
#pragma once

#include "support/KorvaneSession.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

class CKorvaneDoc;
class CKorvaneView;
class CMainFrame;

// One entry of a popup menu as the user would see it.
struct MenuEntry {
    UINT id;
    std::string text;
    bool grayed;
    bool checked;
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the application with these arguments after the program name; the result of
    // InitInstance. A failed start destroys what was created, as the entry point does.
    bool Start(const std::string& arguments = "", int showCommand = SW_SHOWNORMAL);
    // Closes the main window as the close box does and ends the application's run.
    void Close();

    CMainFrame* Frame() const;
    HWND FrameWnd() const;
    CKorvaneDoc* Doc() const;
    HWND EditWnd() const;
    std::string Title() const;
    std::string EditorText() const;
    std::string StatusText() const;
    CKorvaneView& View() const;
    // The editor's whole text replaced, as the document's loading does, and the queue emptied.
    void SetText(const std::wstring& text);
    // The editor's selection in characters.
    std::pair<DWORD, DWORD> Selection() const;
    void Select(size_t start, size_t end);

    // A menu or toolbar command, as WM_COMMAND to the frame; then the queue is emptied.
    void Command(UINT id);
    // Types characters into the editor as keyboard input does (WM_CHAR to the edit control).
    void Type(const std::string& text);
    // The entries of top-level popup `index` after the frame has prepared it for showing.
    std::vector<MenuEntry> PopupEntries(int index);

    MessageBoxRecorder m_boxes;
    FileDialogAnswerer m_dialogs;

private:
    std::unique_ptr<KorvaneSession> m_session;
};

// A drop of these files as the shell hands it to a window: a real HDROP in global memory,
// which the receiver frees.
HDROP MakeDrop(const std::vector<std::string>& paths);
