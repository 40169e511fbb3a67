// The PC keyboard's codes for keys without a character (function keys, the cursor block) with
// their Shift, Ctrl and Alt forms, and for keys whose character the BIOS changes (Alt+letter,
// Shift+Tab).
#include "doshost/PcKeyboardMap.h"

#include <windows.h>

namespace dos {

namespace PcKeyboardMap {

namespace {

// Scan codes: plain, with Shift, with Ctrl, with Alt.
struct ExtendedKey {
    uint16_t virtualKey;
    uint8_t plain, shift, control, alt;
};

constexpr ExtendedKey kExtended[] = {
    {VK_F1, 0x3B, 0x54, 0x5E, 0x68},     {VK_F2, 0x3C, 0x55, 0x5F, 0x69},     {VK_F3, 0x3D, 0x56, 0x60, 0x6A},
    {VK_F4, 0x3E, 0x57, 0x61, 0x6B},     {VK_F5, 0x3F, 0x58, 0x62, 0x6C},     {VK_F6, 0x40, 0x59, 0x63, 0x6D},
    {VK_F7, 0x41, 0x5A, 0x64, 0x6E},     {VK_F8, 0x42, 0x5B, 0x65, 0x6F},     {VK_F9, 0x43, 0x5C, 0x66, 0x70},
    {VK_F10, 0x44, 0x5D, 0x67, 0x71},    {VK_F11, 0x85, 0x87, 0x89, 0x8B},    {VK_F12, 0x86, 0x88, 0x8A, 0x8C},
    {VK_HOME, 0x47, 0x47, 0x77, 0x97},   {VK_UP, 0x48, 0x48, 0x8D, 0x98},     {VK_PRIOR, 0x49, 0x49, 0x84, 0x99},
    {VK_LEFT, 0x4B, 0x4B, 0x73, 0x9B},   {VK_RIGHT, 0x4D, 0x4D, 0x74, 0x9D},  {VK_END, 0x4F, 0x4F, 0x75, 0x9F},
    {VK_DOWN, 0x50, 0x50, 0x91, 0xA0},   {VK_NEXT, 0x51, 0x51, 0x76, 0xA1},   {VK_INSERT, 0x52, 0x52, 0x92, 0xA2},
    {VK_DELETE, 0x53, 0x53, 0x93, 0xA3}, {VK_CLEAR, 0x4C, 0x4C, 0x8F, 0x00},
};

bool IsModifier(uint16_t virtualKey)
{
    switch (virtualKey) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_CAPITAL:
    case VK_NUMLOCK:
    case VK_SCROLL:
    case VK_LWIN:
    case VK_RWIN:
        return true;
    default:
        return false;
    }
}

uint16_t Key(uint8_t scan, uint8_t character) { return static_cast<uint16_t>((scan << 8) | character); }

}

std::vector<uint16_t> BiosKeys(const HostKey& key)
{
    if (IsModifier(key.virtualKey))
        return {};
    for (const ExtendedKey& extended : kExtended) {
        if (extended.virtualKey != key.virtualKey)
            continue;
        uint8_t scan = key.alt ? extended.alt : key.control ? extended.control : key.shift ? extended.shift : extended.plain;
        bool grey = key.enhanced && !key.alt && extended.plain >= 0x47 && extended.plain <= 0x53;
        return {Key(scan, grey ? 0xE0 : 0x00)};
    }
    if (key.alt) {
        // Alt with a digit row key has codes of its own; with a letter the letter's scan code.
        if (key.virtualKey >= '1' && key.virtualKey <= '9')
            return {Key(static_cast<uint8_t>(0x78 + key.virtualKey - '1'), 0)};
        if (key.virtualKey == '0')
            return {Key(0x81, 0)};
        return key.scanCode ? std::vector<uint16_t>{Key(key.scanCode, 0)} : std::vector<uint16_t>{};
    }
    if (key.virtualKey == VK_TAB && key.shift)
        return {Key(0x0F, 0)};
    if (key.virtualKey == VK_RETURN && key.control)
        return {Key(0x1C, 0x0A)};
    if (key.character.size() == 1)
        return {Key(key.scanCode, key.character[0])};
    if (key.character.size() == 2)
        return {Key(0, key.character[0]), Key(0, key.character[1])};
    return {};
}

uint8_t ShiftFlags(bool rightShift, bool leftShift, bool control, bool alt, bool scrollLock, bool numLock, bool capsLock)
{
    return static_cast<uint8_t>((rightShift ? 0x01 : 0) | (leftShift ? 0x02 : 0) | (control ? 0x04 : 0) | (alt ? 0x08 : 0) |
                                (scrollLock ? 0x10 : 0) | (numLock ? 0x20 : 0) | (capsLock ? 0x40 : 0));
}

}

}  // namespace dos
