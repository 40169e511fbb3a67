// One of a machine's panes in the window: its docked bar with its title, and the view its kind
// needs (lines of text, memory with its address box, the program's screen, a command line, a
// device's picture), shown from the pane's content. Made the first time a session offers a pane
// with its id, and kept for the next session, which may give it another machine's pane of the
// same kind.
#pragma once

#include "debug/DebugPane.h"
#include "debugui/CommandPane.h"
#include "debugui/DeviceView.h"
#include "debugui/MemoryPane.h"
#include "debugui/PaneView.h"
#include "debugui/ScreenView.h"
#include "panels/CaptionBar.h"

#include <memory>
#include <optional>
#include <string>

class CFrameWnd;

class CPaneHost {
public:
    struct Look {
        HFONT font;
        std::wstring screenFace;
    };

    CPaneHost(CFrameWnd& frame, const PaneInfo& info, const Look& look);
    CPaneHost(const CPaneHost&) = delete;
    CPaneHost& operator=(const CPaneHost&) = delete;

    const PaneInfo& Info() const { return m_info; }
    // Takes another machine's pane of the same id and kind: its title, marks and spaces.
    void Configure(const PaneInfo& info);
    CCaptionBar& Bar() { return m_bar; }
    const CCaptionBar& Bar() const { return m_bar; }

    // What to ask the pane for: the lines that fit, the memory's address.
    PaneQuery Query() const;
    // Shows the content; false when a memory pane's address could not be read.
    bool Show(const PaneContent& content);

    // The view of the pane's kind; the others are nullptr.
    CPaneView* Text() const { return m_text.get(); }
    CMemoryPane* Memory() const { return m_memory.get(); }
    CScreenView* Screen() const { return m_screen.get(); }
    CCommandPane* Command() const { return m_command.get(); }
    CDeviceView* Device() const { return m_device.get(); }
    // The view that shows lines of text: the pane itself, or the memory pane's bytes.
    CPaneView* Lines() const;
    HWND ViewWindow() const;

    // The machine whose pane it is (its name's text id): each machine has panes of its own.
    UINT m_nMachine = 0;
    bool m_bDocked = false;
    // Whether the user wants it shown (as the last session on its machine left it).
    bool m_bWanted = true;

private:
    void CreateView(const Look& look);

    PaneInfo m_info;
    CCaptionBar m_bar;
    std::unique_ptr<CPaneView> m_text;
    std::unique_ptr<CMemoryPane> m_memory;
    std::unique_ptr<CScreenView> m_screen;
    std::unique_ptr<CCommandPane> m_command;
    std::unique_ptr<CDeviceView> m_device;
    // The text a log showed last, so that a running program's unchanged log costs nothing.
    std::optional<std::string> m_shownLog;
};
