// Keys from the console for the machine: raw console input (Ctrl+C arrives as a key, as DOS
// wants it), each key press turned into the BIOS's codes, the shift state kept up to date;
// Ctrl+Break, which the console still signals, reaches the program as Ctrl+C too.
#pragma once

#include "dos/DosMachine.h"

#include <windows.h>

namespace dos {

class CConsoleKeyboard {
public:
    explicit CConsoleKeyboard(HANDLE input);
    ~CConsoleKeyboard();
    CConsoleKeyboard(const CConsoleKeyboard&) = delete;
    CConsoleKeyboard& operator=(const CConsoleKeyboard&) = delete;

    // Hands every waiting key press to the machine.
    void Pump(CDosMachine& machine);
    // Waits up to `milliseconds` for console input.
    void Wait(DWORD milliseconds);
    // Drops what was typed, then waits for a key to be pressed.
    void WaitForKeyPress();

private:
    static BOOL WINAPI OnControl(DWORD event);

    HANDLE m_hInput;
    DWORD m_nOldMode = 0;
    bool m_bModeSet = false;
};

}  // namespace dos
