// The small edit box a debugger pane puts over a value to change it in place: Enter hands the
// typed text to the pane, Escape or a click elsewhere leaves the value as it was.
#pragma once

#include "framework/CWnd.h"

#include <functional>
#include <string>

class CInlineEdit : public CWnd {
public:
    // Shows the box over place (the parent's client coordinates) holding text, all of it
    // selected; commit gets what is typed when Enter ends the edit.
    void Begin(CWnd& parent, const RECT& place, HFONT font, const std::string& text,
               std::function<void(const std::string&)> commit);
    bool IsEditing() const { return m_hWnd && IsWindowVisible(); }
    // Leaves the edit without a change.
    void Cancel();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::function<void(const std::string&)> m_commit;
};
