// A debugger pane's own window: painted whole off screen first, so that nothing flickers as a
// step changes it, with no background erased before; where it keeps its text itself, that text
// is what WM_GETTEXT answers, and WM_PRINTCLIENT paints the same into the DC it brings (tools and
// tests read and print the panes so).
#pragma once

#include "framework/CWnd.h"

#include <string>

class CBufferedView : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnPaint() override;
    void OnPrintClient(HDC dc, UINT flags) override;
    virtual void Paint(HDC dc, const RECT& client) const = 0;
    // The text WM_GETTEXT answers; nullptr: the window's own text.
    virtual const std::wstring* ShownText() const { return nullptr; }
};
