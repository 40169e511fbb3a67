// The machine's text screen shown in the console it runs in: 25 rows of the console, from
// the ones the machine starts with (the console's text above its cursor) to the cells, colours
// and cursor the program leaves, written back row by row as they change.
#pragma once

#include "dos/DosMachine.h"
#include "machine/ScreenImage.h"

#include <windows.h>

#include <cstdint>

namespace dos {

class CConsoleScreen {
public:
    explicit CConsoleScreen(HANDLE output) : m_hOutput(output) {}

    static constexpr int kRows = 25;
    static constexpr int kColumns = 80;

    // Takes the 80x25 console cells that end at the cursor's row into the machine's screen.
    void Attach(CDosMachine& machine);
    void Present(const machine::ScreenImage& screen);
    // Leaves the console's cursor at the start of the line after the program's.
    void Detach();

private:
    HANDLE m_hOutput;
    SHORT m_nTop = 0;
    uint16_t m_shown[kRows * kColumns] = {};
    uint8_t m_nRow = 0;
    uint8_t m_nColumn = 0;
};

}  // namespace dos
