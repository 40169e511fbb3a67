// The status bar: a native status control as a control bar; the first pane shows prompts
// and the idle text (the bar's window text goes there), the others show indicators (key
// states) updated at idle time.
#pragma once

#include "framework/docking/CControlBar.h"

#include <string>
#include <vector>

class CStatusBar : public CControlBar {
public:
    bool Create(CWnd* parent, DWORD style, UINT id);
    // Pane 0 should be ID_SEPARATOR (the stretching message pane); the others are string ids.
    bool SetIndicators(const UINT* ids, int count);
    void SetPaneText(int index, const std::string& text);
    std::string GetPaneText(int index) const;
    int GetPaneCount() const { return static_cast<int>(m_ids.size()); }
    UINT GetItemID(int index) const { return m_ids[static_cast<size_t>(index)]; }

    SIZE CalcFixedLayout(bool stretch, bool horz) override;
    void OnUpdateCmdUI(CCmdTarget* target, bool disableIfNoHandler) override;

protected:
    void OnSetText(const wchar_t* text) override;
    // The panes are laid out again for the new width.
    void OnSize(UINT type, int cx, int cy) override;

private:
    void UpdateParts();
    // The bar's height and the widths of the indicators' texts in the bar's font, measured
    // once: a device context to measure with costs a round trip to Wine's server.
    void Measure();

    std::vector<UINT> m_ids;
    std::vector<std::string> m_indicatorTexts;
    std::vector<int> m_indicatorWidths;
    int m_nHeight = 0;
};
