// A command's user interface that records what an update asked it to show.
#pragma once

#include "framework/CCmdUI.h"

#include <string>

class ProbeCmdUI : public CCmdUI {
public:
    explicit ProbeCmdUI(UINT id) : CCmdUI(id) {}
    void Enable(bool on) override
    {
        CCmdUI::Enable(on);
        m_nEnabled = on ? 1 : 0;
    }
    void SetCheck(int check) override { m_nCheck = check; }
    void SetText(const std::string& text) override { m_strText = text; }

    // -1 until the update enables, checks or labels the command.
    int m_nEnabled = -1;
    int m_nCheck = -1;
    std::string m_strText;
};
