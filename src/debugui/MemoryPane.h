// The memory pane: an address box (a segment:offset or register expression for DOS; for the
// 8051 an address in the space chosen beside it, or an expression such as @R0), and below it
// the bytes in DEBUG's d layout with those a step wrote in colour. A byte is changed by a
// double-click on it. Its WM_GETTEXT answers with the bytes' text.
#pragma once

#include "debugui/EnterEdit.h"
#include "debugui/PaneView.h"
#include "framework/CWnd.h"

#include <functional>
#include <string>

class CMemoryPane : public CWnd {
public:
    bool Create(CWnd& parent, UINT id, HFONT font, const std::string& addressLabel);
    // The machine's memory spaces, if it has several (their names and the letter each one's
    // addresses are typed with; a space box shows then), and the address shown first.
    void Configure(const std::vector<std::string>& spaceNames, const std::string& letters, const std::string& firstAddress);
    // What the address box asks for: the expression as typed, with the chosen space's letter
    // before a plain address ("I:30").
    std::string Expression() const;
    // A new address or space was chosen: the owner shows the memory there again.
    void SetChangeHandler(std::function<void()> handler) { m_onChange = std::move(handler); }
    CPaneView& View() { return m_view; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnSize(UINT type, int cx, int cy) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    void Layout();

    CWnd m_label;
    CEnterEdit m_address;
    CWnd m_spaces;
    CPaneView m_view;
    std::string m_strLetters;
    std::function<void()> m_onChange;
};
