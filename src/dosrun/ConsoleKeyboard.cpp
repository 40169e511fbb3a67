// Keys from the console for the machine.
#include "dosrun/ConsoleKeyboard.h"

#include "doshost/PcKeyboardMap.h"
#include "dosrun/RunnerText.h"

#include <atomic>

namespace dos {

namespace {

// Set on the console's own thread by Ctrl+Break, taken by Pump.
std::atomic<bool> g_bBreak{false};

HostKey FromRecord(const KEY_EVENT_RECORD& record)
{
    HostKey key;
    DWORD state = record.dwControlKeyState;
    key.virtualKey = record.wVirtualKeyCode;
    key.scanCode = static_cast<uint8_t>(record.wVirtualScanCode);
    key.shift = (state & SHIFT_PRESSED) != 0;
    key.control = (state & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED)) != 0;
    key.alt = (state & (LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED)) != 0;
    key.enhanced = (state & ENHANCED_KEY) != 0;
    wchar_t character = record.uChar.UnicodeChar;
    // AltGr types characters: Ctrl and Alt together with a character are neither.
    if (character && key.control && key.alt)
        key.control = key.alt = false;
    if (character) {
        std::string bytes = RunnerText::Encode(std::wstring(1, character), GetConsoleCP() ? GetConsoleCP() : CP_OEMCP);
        key.character.assign(bytes.begin(), bytes.end());
    }
    return key;
}

uint8_t ShiftState(DWORD state)
{
    return PcKeyboardMap::ShiftFlags(false, (state & SHIFT_PRESSED) != 0, (state & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED)) != 0,
                                     (state & (LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED)) != 0, (state & SCROLLLOCK_ON) != 0,
                                     (state & NUMLOCK_ON) != 0, (state & CAPSLOCK_ON) != 0);
}

}

CConsoleKeyboard::CConsoleKeyboard(HANDLE input) : m_hInput(input)
{
    if (GetConsoleMode(m_hInput, &m_nOldMode))
        m_bModeSet = SetConsoleMode(m_hInput, ENABLE_EXTENDED_FLAGS | (m_nOldMode & ENABLE_QUICK_EDIT_MODE)) != 0;
    SetConsoleCtrlHandler(OnControl, TRUE);
}

CConsoleKeyboard::~CConsoleKeyboard()
{
    SetConsoleCtrlHandler(OnControl, FALSE);
    if (m_bModeSet)
        SetConsoleMode(m_hInput, m_nOldMode);
}

BOOL WINAPI CConsoleKeyboard::OnControl(DWORD event)
{
    if (event != CTRL_BREAK_EVENT && event != CTRL_C_EVENT)
        return FALSE;
    g_bBreak.store(true);
    return TRUE;
}

void CConsoleKeyboard::Pump(CDosMachine& machine)
{
    if (g_bBreak.exchange(false))
        machine.PressKey(0x2E03);
    DWORD waiting = 0;
    while (GetNumberOfConsoleInputEvents(m_hInput, &waiting) && waiting > 0) {
        INPUT_RECORD records[32];
        DWORD read = 0;
        if (!ReadConsoleInputW(m_hInput, records, 32, &read) || read == 0)
            return;
        for (DWORD i = 0; i < read; ++i) {
            if (records[i].EventType != KEY_EVENT)
                continue;
            const KEY_EVENT_RECORD& record = records[i].Event.KeyEvent;
            machine.SetShiftFlags(ShiftState(record.dwControlKeyState));
            if (!record.bKeyDown)
                continue;
            for (WORD repeat = 0; repeat < std::max<WORD>(record.wRepeatCount, 1); ++repeat)
                for (uint16_t code : PcKeyboardMap::BiosKeys(FromRecord(record)))
                    machine.PressKey(code);
        }
    }
}

void CConsoleKeyboard::Wait(DWORD milliseconds) { WaitForSingleObject(m_hInput, milliseconds); }

void CConsoleKeyboard::WaitForKeyPress()
{
    FlushConsoleInputBuffer(m_hInput);
    for (;;) {
        INPUT_RECORD record;
        DWORD read = 0;
        if (!ReadConsoleInputW(m_hInput, &record, 1, &read) || read == 0)
            return;
        bool modifier = record.EventType == KEY_EVENT &&
                        PcKeyboardMap::BiosKeys(FromRecord(record.Event.KeyEvent)).empty();
        if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown && !modifier)
            return;
    }
}

}  // namespace dos
