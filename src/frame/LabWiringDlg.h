// The lab box's wiring table for a preset, edited as text (one cable a line, "led0-7 = pa0-7"):
// it opens with the table the settings keep, or the preset's own; 恢复默认 puts the preset's own
// back; OK takes a table only when every line is a cable, and names the first line that is not.
#pragma once

#include "framework/CDialog.h"

#include <string>

class CLabWiringDlg : public CDialog {
public:
    // text: the table kept for the preset, empty for its own.
    CLabWiringDlg(const std::string& preset, const std::string& text);

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

    // The table the dialog ended with; empty where it is the preset's own.
    std::string GetText() const;

private:
    std::string PresetWiring() const;

    std::string m_strPreset;
    std::string m_strText;
};
