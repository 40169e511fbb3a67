// The command pane of the debugger: DEBUG's commands typed on one line (window 206) after the
// prompt DEBUG would show, run with Enter, and what they printed gathered above it (window 207).
#pragma once

#include "debugui/EnterEdit.h"
#include "debugui/PaneView.h"
#include "framework/CWnd.h"

#include <functional>
#include <string>

class CCommandPane : public CWnd {
public:
    bool Create(CWnd& parent, UINT id, UINT inputId, UINT outputId, HFONT font);
    void SetPrompt(const std::string& prompt);
    void SetCommandHandler(std::function<void(const std::string& line)> handler);
    // The input takes no line while a command runs.
    void EnableInput(bool enabled);
    CPaneView& Output() { return m_output; }
    CEnterEdit& Input() { return m_input; }

protected:
    void OnSize(UINT type, int cx, int cy) override;

private:
    void Layout();

    CPaneView m_output;
    CWnd m_prompt;
    CEnterEdit m_input;
};
