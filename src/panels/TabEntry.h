// One page of the page tab control: its window, title, icon and tab rectangle, and the
// drawing of its tab.
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CTabEntry {
public:
    // The natural width: title width in the font selected into dc, plus room for frame and icon.
    int GetWidth(HDC dc) const;
    // Draws the tab shape, icon and title into m_rect; the caller selects the font.
    void Draw(HDC dc, UINT style, bool active) const;

    // Makes the pens that follow a system colour again (the tab control calls it on
    // WM_SYSCOLORCHANGE).
    static void OnSysColorChange();

    // The title as it is drawn into width pixels: cut two bytes at a time, then "..." appended.
    static std::wstring FitTitle(HDC dc, const std::wstring& title, int width);

    CWnd* m_pWnd = nullptr;  // not owned
    std::string m_strTitle;
    HICON m_hIcon = nullptr;  // a shared resource icon, never destroyed
    RECT m_rect{};

private:
    void DrawShape(HDC dc, RECT& work, bool active) const;
    void DrawContent(HDC dc, const RECT& work) const;
};
