// The 8051's ports P0-P3 in their pane: for each a row of eight LEDs, bit 7 on the left, lit
// for a 1, with the latch's value beside them. Its WM_GETTEXT answers "P0=FF P1=FF P2=FF P3=FF".
#pragma once

#include "framework/CWnd.h"

#include <array>
#include <cstdint>
#include <string>

class CPortsView : public CWnd {
public:
    bool Create(CWnd& parent, UINT id, HFONT font);
    void Show(const std::array<uint8_t, 4>& ports);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnPaint() override;

private:
    void Paint(HDC dc, const RECT& client) const;

    HFONT m_hFont = nullptr;
    std::array<uint8_t, 4> m_ports{0xFF, 0xFF, 0xFF, 0xFF};
};
