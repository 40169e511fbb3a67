// The row of tabs above the editor, one for each open file: a tab control laid out as a bar
// of the frame, under the toolbar. A click on a tab chooses its file; a right click asks for
// the tab's menu.
#pragma once

#include "framework/docking/CControlBar.h"

#include <functional>
#include <string>
#include <vector>

class CFileTabBar : public CControlBar {
public:
    bool Create(CWnd* parent, UINT id);

    // The tabs' titles, the current one chosen; unchanged tabs are not drawn again.
    void SetTabs(const std::vector<std::string>& titles, size_t current);
    size_t TabCount() const { return m_titles.size(); }
    // The user chose a tab.
    void SetChoiceHandler(std::function<void(size_t tab)> handler) { m_onChoice = std::move(handler); }
    // The user asked for a tab's menu at a point of the screen.
    void SetMenuHandler(std::function<void(size_t tab, POINT screen)> handler) { m_onMenu = std::move(handler); }

    SIZE CalcFixedLayout(bool stretch, bool horz) override;

protected:
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    // The tab under a point of the screen, or the current one.
    size_t TabAt(POINT screen) const;

    std::vector<std::string> m_titles;
    std::function<void(size_t)> m_onChoice;
    std::function<void(size_t, POINT)> m_onMenu;
    int m_nHeight = 0;
};
