// Command user-interface updating: the object a handler enables, checks or relabels.
#pragma once

#include <windows.h>

#include <string>

class CCmdTarget;

class CCmdUI {
public:
    explicit CCmdUI(UINT nID) : m_nID(nID) {}
    virtual ~CCmdUI() = default;

    virtual void Enable(bool bOn = true);
    virtual void SetCheck(int nCheck = 1);
    // A check shown as a dot: one of a group of choices.
    virtual void SetRadio(bool on = true);
    virtual void SetText(const std::string& text);

    // Routes the update through target; an unhandled command is disabled when asked to.
    void DoUpdate(CCmdTarget* pTarget, bool bDisableIfNoHandler);

    UINT m_nID;
    bool m_bEnableChanged = false;
};

// Updates one entry of a popup menu.
class CMenuCmdUI : public CCmdUI {
public:
    CMenuCmdUI(HMENU menu, UINT index, UINT nID) : CCmdUI(nID), m_hMenu(menu), m_nIndex(index) {}
    void Enable(bool bOn = true) override;
    void SetCheck(int nCheck = 1) override;
    void SetRadio(bool on = true) override;
    void SetText(const std::string& text) override;

    HMENU m_hMenu;
    UINT m_nIndex;
};
