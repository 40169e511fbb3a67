// A device's view in its pane: its picture (the ports' LEDs, a board's digits) above its text
// or beside it, whichever shows the picture larger, at a whole-number scale where the pane has
// room for the picture's own size. Its WM_GETTEXT answers with the text, its last line end
// cut. A click on the picture (held with the left button, toggled with the right) and a key
// typed while it has the focus go to the device as its input.
#pragma once

#include "debug/DebugPane.h"
#include "debugui/BufferedView.h"
#include "machine/ScreenImage.h"

#include <functional>
#include <string>

class CDeviceView : public CBufferedView {
public:
    struct Layout {
        RECT picture;
        RECT text;
    };
    // Where a picture of this size and a text of this extent go in a client area.
    static Layout Arrange(SIZE client, SIZE picture, SIZE text);

    bool Create(CWnd& parent, UINT id, HFONT font);
    void Show(const PaneContent& content);
    void SetInputHandler(std::function<void(const machine::DeviceInput&)> handler) { m_onInput = std::move(handler); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void Paint(HDC dc, const RECT& client) const override;
    const std::wstring* ShownText() const override { return &m_strText; }
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnLButtonUp(UINT flags, POINT point) override;
    void OnRButtonDown(UINT flags, POINT point) override;
    void OnCaptureChanged(HWND newCapture) override;

private:
    // The extent of the text's lines in the DC's font.
    SIZE TextExtent(HDC dc) const;
    // The input at a point of the window, in the picture's pixels.
    void Point(machine::DeviceInput::Action action, POINT point);
    void Key(machine::DeviceInput::Action action, WPARAM virtualKey);

    HFONT m_hFont = nullptr;
    std::string m_strBytes;
    std::wstring m_strText;
    machine::ScreenImage m_picture;
    // Where the last paint put the picture.
    mutable RECT m_rcPicture{};
    std::function<void(const machine::DeviceInput&)> m_onInput;
    bool m_bHeld = false;
};
