// A device's view in its pane: its picture (the ports' LEDs, a board's digits) scaled to the
// pane's width above, its text below. Its WM_GETTEXT answers with the text, its last line end
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
    // The picture's rectangle: as wide as the pane or as tall as the room above the text
    // allows, its proportions kept.
    RECT PictureRect(const RECT& client, int textHeight) const;
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
