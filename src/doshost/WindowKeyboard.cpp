// A window's key messages to BIOS keys.
#include "doshost/WindowKeyboard.h"

#include "doshost/PcKeyboardMap.h"

#include <algorithm>

namespace dos {

namespace {
bool Held(int key)
{
    return (::GetKeyState(key) & 0x8000) != 0;
}
}

bool CWindowKeyboard::Take(UINT message, WPARAM wParam, LPARAM lParam, std::vector<uint16_t>& keys)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        m_nLastKey = static_cast<uint16_t>(wParam);
        if (::MapVirtualKeyW(static_cast<UINT>(wParam), MAPVK_VK_TO_CHAR) == 0 || Held(VK_MENU)) {
            Add(lParam, {}, keys);
            return true;
        }
        // The character follows as WM_CHAR.
        return false;
    case WM_CHAR: {
        char bytes[2] = {};
        const wchar_t character = static_cast<wchar_t>(wParam);
        const int count = ::WideCharToMultiByte(::GetOEMCP(), 0, &character, 1, bytes, 2, nullptr, nullptr);
        Add(lParam, std::vector<uint8_t>(bytes, bytes + std::max(0, count)), keys);
        return true;
    }
    case WM_SYSCHAR: return true;
    default: return false;
    }
}

void CWindowKeyboard::Add(LPARAM lParam, std::vector<uint8_t> character, std::vector<uint16_t>& keys) const
{
    HostKey key;
    key.virtualKey = m_nLastKey;
    key.scanCode = static_cast<uint8_t>((lParam >> 16) & 0xFF);
    key.character = std::move(character);
    key.shift = Held(VK_SHIFT);
    key.control = Held(VK_CONTROL);
    key.alt = Held(VK_MENU);
    key.enhanced = (lParam & (1 << 24)) != 0;
    const std::vector<uint16_t> bios = PcKeyboardMap::BiosKeys(key);
    keys.insert(keys.end(), bios.begin(), bios.end());
}

}  // namespace dos
