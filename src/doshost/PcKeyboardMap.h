// Keys as the PC's BIOS reports them (scan code and character) for keys as Windows reports
// them (virtual key, scan code, character, modifiers): what a console or a window hands the
// machine when the user types.
#pragma once

#include <cstdint>
#include <vector>

namespace dos {

struct HostKey {
    uint16_t virtualKey = 0;
    uint8_t scanCode = 0;
    // The character in the machine's code page: none, one byte, or a double-byte pair.
    std::vector<uint8_t> character;
    bool shift = false;
    bool control = false;
    bool alt = false;
    // A grey key of the enhanced keyboard (arrows, Home, Insert... beside the keypad).
    bool enhanced = false;
};

namespace PcKeyboardMap {

// The BIOS keys (scan code high, character low) one key press gives: none for a modifier,
// two for a double-byte character.
std::vector<uint16_t> BiosKeys(const HostKey& key);
// The BIOS shift-state byte (40h:17h) for the modifiers and the lock keys.
uint8_t ShiftFlags(bool rightShift, bool leftShift, bool control, bool alt, bool scrollLock, bool numLock, bool capsLock);

}

}  // namespace dos
