// Keys typed into a window, as the PC's BIOS reports them: a key with a character waits for its
// WM_CHAR (in the system's OEM code page), the others (function keys, the cursor block, Alt with
// a letter) go at their WM_KEYDOWN. Both the debugger's screen pane and the program's own
// window take their keys through it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace dos {

class CWindowKeyboard {
public:
    // The BIOS keys (scan code high, character low) a window message gives; whether the
    // message was one of the keyboard's, which the window then does not pass on.
    bool Take(UINT message, WPARAM wParam, LPARAM lParam, std::vector<uint16_t>& keys);

private:
    void Add(LPARAM lParam, std::vector<uint8_t> character, std::vector<uint16_t>& keys) const;

    uint16_t m_nLastKey = 0;
};

}  // namespace dos
