// A device's view in its pane: its picture (the ports' LEDs, a board's digits) scaled to the
// pane's width above, its text below. Its WM_GETTEXT answers with the text, its last line end
// cut.
#pragma once

#include "debug/DebugPane.h"
#include "debugui/BufferedView.h"
#include "machine/ScreenImage.h"

#include <string>

class CDeviceView : public CBufferedView {
public:
    bool Create(CWnd& parent, UINT id, HFONT font);
    void Show(const PaneContent& content);

protected:
    void Paint(HDC dc, const RECT& client) const override;
    const std::wstring* ShownText() const override { return &m_strText; }

private:
    // The picture's rectangle: as wide as the pane or as tall as the room above the text
    // allows, its proportions kept.
    RECT PictureRect(const RECT& client, int textHeight) const;

    HFONT m_hFont = nullptr;
    std::string m_strBytes;
    std::wstring m_strText;
    machine::ScreenImage m_picture;
};
