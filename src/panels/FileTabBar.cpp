// The file tabs.
#include "panels/FileTabBar.h"

#include "framework/Unicode.h"

#include <commctrl.h>

bool CFileTabBar::Create(CWnd* parent, UINT id)
{
    SetBarStyle(CBRS_TOP);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_FOCUSNEVER | TCS_SINGLELINE | TCS_TABS;
    if (!CreateEx(0, WC_TABCONTROLA, "", style, RECT{}, parent->GetSafeHwnd(), id))
        return false;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    // The font lives as long as the program: the bar is made once.
    static HFONT font = ::CreateFontIndirectW(&metrics.lfMessageFont);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return AttachToFrame(parent);
}

SIZE CFileTabBar::CalcFixedLayout(bool stretch, bool)
{
    if (!m_nHeight) {
        // The tabs' own height, asked of the control with one tab in it.
        const bool empty = TabCtrl_GetItemCount(m_hWnd) == 0;
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(L"X");
        if (empty)
            ::SendMessageW(m_hWnd, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        RECT tab{};
        TabCtrl_GetItemRect(m_hWnd, 0, &tab);
        if (empty)
            TabCtrl_DeleteItem(m_hWnd, 0);
        m_nHeight = tab.bottom - tab.top + 4;
    }
    return SIZE{stretch ? 32767 : 0, m_nHeight};
}

void CFileTabBar::SetTabs(const std::vector<std::string>& titles, size_t current)
{
    if (titles != m_titles) {
        for (size_t i = 0; i < titles.size(); ++i) {
            std::wstring text = Widen(titles[i]);
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text.data();
            if (i >= m_titles.size())
                ::SendMessageW(m_hWnd, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
            else if (titles[i] != m_titles[i])
                ::SendMessageW(m_hWnd, TCM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
        for (size_t i = m_titles.size(); i > titles.size(); --i)
            TabCtrl_DeleteItem(m_hWnd, static_cast<int>(i - 1));
        m_titles = titles;
    }
    if (TabCtrl_GetCurSel(m_hWnd) != static_cast<int>(current))
        TabCtrl_SetCurSel(m_hWnd, static_cast<int>(current));
}

size_t CFileTabBar::TabAt(POINT screen) const
{
    TCHITTESTINFO hit{screen, 0};
    ::ScreenToClient(m_hWnd, &hit.pt);
    const int tab = TabCtrl_HitTest(m_hWnd, &hit);
    return static_cast<size_t>(tab >= 0 ? tab : TabCtrl_GetCurSel(m_hWnd));
}

bool CFileTabBar::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result)
{
    if (message != WM_NOTIFY)
        return false;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom != m_hWnd)
        return false;
    if (header->code == TCN_SELCHANGE && m_onChoice) {
        m_onChoice(static_cast<size_t>(TabCtrl_GetCurSel(m_hWnd)));
        *result = 0;
        return true;
    }
    if (header->code == NM_RCLICK && m_onMenu) {
        POINT screen{};
        ::GetCursorPos(&screen);
        m_onMenu(TabAt(screen), screen);
        *result = TRUE;
        return true;
    }
    return false;
}
