// Command user-interface updating.
#include "framework/CCmdUI.h"

#include "framework/CCmdTarget.h"
#include "framework/Unicode.h"

void CCmdUI::Enable(bool)
{
    m_bEnableChanged = true;
}

void CCmdUI::SetCheck(int) {}

void CCmdUI::SetText(const std::string&) {}

void CCmdUI::SetRadio(bool on)
{
    SetCheck(on ? 1 : 0);
}

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
    std::wstring wide = Widen(text);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = wide.data();
    ::SetMenuItemInfoW(m_hMenu, m_nIndex, TRUE, &info);
}

void CMenuCmdUI::SetRadio(bool on)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    ::GetMenuItemInfoW(m_hMenu, m_nIndex, TRUE, &info);
    info.fType |= MFT_RADIOCHECK;
    info.fState = on ? (info.fState | MFS_CHECKED) : (info.fState & ~static_cast<UINT>(MFS_CHECKED));
    ::SetMenuItemInfoW(m_hMenu, m_nIndex, TRUE, &info);
}
