// The program's screen in its pane, as its machine shows it: cells of any number with their
// colours in the screen's sixteen, the characters in the system's OEM code page (a double-byte
// pair across its two cells) and the cursor, the font sized so that the whole screen fills the
// pane; or pixels, scaled to the pane. While it has the focus, the keys typed go to the program
// as the PC's BIOS reports them, and the mouse over it goes to the program's mouse. Its
// WM_GETTEXT answers with the lines of cells.
#pragma once

#include "machine/ScreenImage.h"
#include "debugui/BufferedView.h"
#include "doshost/WindowKeyboard.h"
#include "framework/Handles.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CScreenView : public CBufferedView {
public:
    bool Create(CWnd& parent, UINT id, const std::wstring& fontFace);
    void Show(const machine::ScreenImage& screen);
    std::wstring_view Text() const { return m_strText; }
    // Takes each BIOS key (scan code high, character low) the user types in the pane.
    void SetKeyHandler(std::function<void(uint16_t key)> handler) { m_onKey = std::move(handler); }
    // Takes the mouse over the pane: the point in the picture's pixels (in a text screen a cell
    // counts 8 by 8), kept inside it, and the buttons held (bit 0 left, 1 right, 2 middle).
    void SetPointerHandler(std::function<void(int x, int y, unsigned buttons)> handler) { m_onPointer = std::move(handler); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void Paint(HDC dc, const RECT& client) const override;
    const std::wstring* ShownText() const override { return &m_strText; }
    void OnSize(UINT type, int cx, int cy) override;
    void OnLButtonDown(UINT flags, POINT point) override;

private:
    // What a cell shows: a character, the right half of a double-byte one (nothing), its colours.
    struct Glyph {
        wchar_t character = L' ';
        uint8_t cells = 1;
        uint8_t attribute = 7;
    };
    void Decode();
    // The cells' size for the pane's client area and the screen's columns and rows.
    void FitCells(int cx, int cy);
    void PaintCells(HDC dc) const;
    void PaintPixels(HDC dc, const RECT& client) const;
    // Where the picture of pixels is drawn in the client area: as large as it allows, in its middle.
    RECT PictureRect(const RECT& client) const;
    // The mouse at a client point with the buttons of a mouse message's wParam.
    void Track(LPARAM point, WPARAM keys);

    std::wstring m_strFace;
    GdiObject<HFONT> m_font;
    int m_nCellWidth = 8;
    int m_nCellHeight = 16;
    // Where the first cell is drawn: the screen stands in the pane's middle.
    POINT m_origin{0, 0};
    machine::ScreenImage m_screen;
    std::vector<Glyph> m_glyphs;
    std::wstring m_strText;
    std::function<void(uint16_t)> m_onKey;
    std::function<void(int, int, unsigned)> m_onPointer;
    dos::CWindowKeyboard m_keyboard;
};
