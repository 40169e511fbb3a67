// The machine's text screen in the console. The bytes are written as they are, so the
// console's code page shows them (a GBK string in a Chinese console).
#include "dosrun/ConsoleScreen.h"

#include <algorithm>

namespace dos {

void CConsoleScreen::Attach(CDosMachine& machine)
{
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(m_hOutput, &info))
        return;
    if (info.dwSize.X < kColumns || info.dwSize.Y < kRows) {
        COORD size{std::max<SHORT>(info.dwSize.X, kColumns), std::max<SHORT>(info.dwSize.Y, kRows)};
        SetConsoleScreenBufferSize(m_hOutput, size);
    }
    SHORT cursorRow = info.dwCursorPosition.Y;
    m_nTop = static_cast<SHORT>(cursorRow - std::min<SHORT>(cursorRow, kRows - 1));
    for (int row = 0; row < kRows; ++row) {
        char characters[kColumns];
        WORD attributes[kColumns];
        DWORD read = 0;
        COORD at{0, static_cast<SHORT>(m_nTop + row)};
        if (!ReadConsoleOutputCharacterA(m_hOutput, characters, kColumns, at, &read))
            std::fill_n(characters, kColumns, ' ');
        if (!ReadConsoleOutputAttribute(m_hOutput, attributes, kColumns, at, &read))
            std::fill_n(attributes, kColumns, WORD{0x07});
        for (int column = 0; column < kColumns; ++column)
            m_shown[row * kColumns + column] =
                static_cast<uint16_t>(static_cast<uint8_t>(characters[column]) | ((attributes[column] & 0xFF) << 8));
    }
    m_nRow = static_cast<uint8_t>(cursorRow - m_nTop);
    m_nColumn = static_cast<uint8_t>(std::min<SHORT>(info.dwCursorPosition.X, kColumns - 1));
    machine.PresetScreen(m_shown, m_nRow, m_nColumn);
}

void CConsoleScreen::Present(const machine::ScreenImage& screen)
{
    if (screen.kind != machine::ScreenImage::Kind::Cells || screen.rows < kRows || screen.columns < kColumns)
        return;
    for (int row = 0; row < kRows; ++row) {
        uint16_t* shown = m_shown + row * kColumns;
        bool changed = false;
        char characters[kColumns];
        WORD attributes[kColumns];
        for (int column = 0; column < kColumns; ++column) {
            uint16_t cell = screen.Cell(row, column);
            changed |= cell != shown[column];
            shown[column] = cell;
            characters[column] = static_cast<char>(cell & 0xFF ? cell & 0xFF : ' ');
            attributes[column] = static_cast<WORD>(cell >> 8);
        }
        if (!changed)
            continue;
        DWORD written = 0;
        COORD at{0, static_cast<SHORT>(m_nTop + row)};
        WriteConsoleOutputCharacterA(m_hOutput, characters, kColumns, at, &written);
        WriteConsoleOutputAttribute(m_hOutput, attributes, kColumns, at, &written);
    }
    // A hidden cursor keeps the place the last shown one had, where the console's goes on after.
    if (screen.cursorShown) {
        m_nRow = static_cast<uint8_t>(screen.cursorRow);
        m_nColumn = static_cast<uint8_t>(screen.cursorColumn);
        SetConsoleCursorPosition(m_hOutput, COORD{static_cast<SHORT>(m_nColumn), static_cast<SHORT>(m_nTop + m_nRow)});
    }
    CONSOLE_CURSOR_INFO cursor{25, screen.cursorShown};
    SetConsoleCursorInfo(m_hOutput, &cursor);
}

void CConsoleScreen::Detach()
{
    SHORT row = static_cast<SHORT>(m_nTop + m_nRow + (m_nColumn ? 1 : 0));
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (GetConsoleScreenBufferInfo(m_hOutput, &info) && row >= info.dwSize.Y) {
        DWORD written = 0;
        SetConsoleCursorPosition(m_hOutput, COORD{0, static_cast<SHORT>(info.dwSize.Y - 1)});
        WriteConsoleW(m_hOutput, L"\n", 1, &written, nullptr);
        return;
    }
    SetConsoleCursorPosition(m_hOutput, COORD{0, row});
    CONSOLE_CURSOR_INFO cursor{25, TRUE};
    SetConsoleCursorInfo(m_hOutput, &cursor);
}

}  // namespace dos
