// The close button of a panel's caption strip: 13 x 13 pixels, drawn flat, raised or sunken.
#pragma once

#include <windows.h>

class CCaptionButton {
public:
    static constexpr int kSize = 13;

    void Move(POINT origin) { m_ptOrigin = origin; }
    POINT GetOrigin() const { return m_ptOrigin; }
    RECT GetRect() const { return RECT{m_ptOrigin.x, m_ptOrigin.y, m_ptOrigin.x + kSize, m_ptOrigin.y + kSize}; }
    void Paint(HDC dc) const;

    // Pushed while pressed with the pointer over it, raised while the pointer is over it
    // alone, flat otherwise. Returns whether that changed what it shows.
    bool SetState(bool pushed, bool raised);
    bool IsPushed() const { return m_bPushed; }
    bool IsRaised() const { return m_bRaised; }

private:
    void PaintCross(HDC dc) const;

    bool m_bPushed = false;
    bool m_bRaised = false;
    POINT m_ptOrigin{};
};
