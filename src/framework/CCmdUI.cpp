// Command user-interface updating.
#include "framework/CCmdUI.h"

#include "framework/CCmdTarget.h"

void CCmdUI::Enable(bool)
{
    m_bEnableChanged = true;
}

void CCmdUI::SetCheck(int) {}

void CCmdUI::SetText(const std::string&) {}

void CCmdUI::DoUpdate(CCmdTarget* pTarget, bool bDisableIfNoHandler)
{
    m_bEnableChanged = false;
    bool handled = pTarget->OnCmdMsg(m_nID, this);
    if (!handled && bDisableIfNoHandler && !m_bEnableChanged)
        Enable(false);
    else if (handled && !m_bEnableChanged)
        Enable(true);
}

void CMenuCmdUI::Enable(bool bOn)
{
    ::EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : MF_GRAYED));
    m_bEnableChanged = true;
}

void CMenuCmdUI::SetCheck(int nCheck)
{
    ::CheckMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
}

void CMenuCmdUI::SetText(const std::string& text)
{
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>(text.c_str());
    ::SetMenuItemInfoA(m_hMenu, m_nIndex, TRUE, &info);
}
