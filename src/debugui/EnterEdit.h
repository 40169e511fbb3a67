// A one-line edit box that hands its text over when Enter is pressed in it: the command line
// of the debugger's command pane, the address of the memory pane.
#pragma once

#include "framework/CWnd.h"

#include <functional>
#include <string>

class CEnterEdit : public CWnd {
public:
    bool Create(CWnd& parent, UINT id, HFONT font);
    void SetEnterHandler(std::function<void(const std::string& text)> handler) { m_onEnter = std::move(handler); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::function<void(const std::string&)> m_onEnter;
};
