// DOS's console device. A line being edited survives a blocked call: the next call with the
// same request goes on where the last one stopped.
#include "dos/DosConsole.h"

#include <algorithm>
#include <cstring>

namespace dos {

CDosConsole::CDosConsole(IDosHost& host, CKeyboard& keyboard, CTextVideo& video)
    : m_host(host), m_keyboard(keyboard), m_video(video)
{
}

void CDosConsole::Configure(ConsoleInput input, ConsoleOutput output, ConsoleOutput error)
{
    m_input = input;
    m_output = output;
    m_error = error;
}

void CDosConsole::Reset()
{
    m_nPendingScan = 0;
    m_line.clear();
    m_bEditing = false;
    m_pending.clear();
}

CDosConsole::Read CDosConsole::NextByte(uint8_t& byte)
{
    if (m_nPendingScan) {
        byte = m_nPendingScan;
        m_nPendingScan = 0;
        return Read::Done;
    }
    if (m_input == ConsoleInput::Stream) {
        size_t count = 0;
        InputState state = m_host.ReadInput(&byte, 1, count);
        if (state == InputState::Pending)
            return Read::Wait;
        if (state == InputState::End || count == 0)
            byte = kCtrlZ;
        m_host.OnExternalEvent(ExternalEvent::InputRead);
        return Read::Done;
    }
    uint16_t key;
    if (!m_keyboard.Pop(key)) {
        m_host.OnKeyWanted();
        return Read::Wait;
    }
    m_host.OnExternalEvent(ExternalEvent::KeyRead);
    byte = static_cast<uint8_t>(key);
    if ((byte == 0 || byte == 0xE0) && (key >> 8) != 0) {
        byte = 0;
        m_nPendingScan = static_cast<uint8_t>(key >> 8);
    }
    return Read::Done;
}

CDosConsole::Read CDosConsole::ReadCharacter(uint8_t& character, bool checkBreak, bool echo)
{
    Read read = NextByte(character);
    if (read != Read::Done)
        return read;
    if (checkBreak && character == kCtrlC)
        return Read::Break;
    // A character read from redirected input is not echoed (a line is), as DOSBox does it.
    if (echo && m_input == ConsoleInput::Keyboard)
        WriteCharacter(character);
    return Read::Done;
}

bool CDosConsole::CharacterReady()
{
    if (m_nPendingScan || !m_pending.empty())
        return true;
    if (m_input == ConsoleInput::Stream)
        return m_host.PeekInput() != InputState::Pending;
    uint16_t key;
    return m_keyboard.Peek(key);
}

CDosConsole::Read CDosConsole::EditLine(size_t capacity)
{
    if (!m_bEditing) {
        m_line.clear();
        m_bEditing = true;
    }
    for (;;) {
        uint8_t byte;
        Read read = NextByte(byte);
        if (read != Read::Done)
            return read;
        bool endOfInput = m_input == ConsoleInput::Stream && byte == kCtrlZ && m_host.PeekInput() == InputState::End;
        if (byte == kCtrlC) {
            m_bEditing = false;
            return Read::Break;
        }
        if (byte == '\r' || endOfInput) {
            m_bEditing = false;
            Echo("\r");
            return Read::Done;
        }
        if (m_nPendingScan) {
            m_nPendingScan = 0;
        } else if (byte == '\b' && m_input == ConsoleInput::Keyboard) {
            if (!m_line.empty()) {
                m_line.pop_back();
                Echo("\b \b");
            }
        } else if (byte == 0x1B && m_input == ConsoleInput::Keyboard) {
            m_line.clear();
            Echo("\\\r\n");
        } else if (byte == '\n') {
            // A redirected line's LF after its CR, or Ctrl+Enter: not part of the line.
        } else if (m_line.size() < capacity) {
            m_line.push_back(static_cast<char>(byte));
            WriteCharacter(byte);
        }
    }
}

CDosConsole::Read CDosConsole::ReadLine(CMemory& memory, uint16_t segment, uint16_t offset)
{
    uint8_t capacity = memory.Read8(segment, offset);
    if (capacity == 0)
        return Read::Done;
    Read read = EditLine(capacity - 1u);
    if (read != Read::Done)
        return read;
    memory.Write8(segment, static_cast<uint16_t>(offset + 1), static_cast<uint8_t>(m_line.size()));
    for (size_t i = 0; i < m_line.size(); ++i)
        memory.Write8(segment, static_cast<uint16_t>(offset + 2 + i), static_cast<uint8_t>(m_line[i]));
    memory.Write8(segment, static_cast<uint16_t>(offset + 2 + m_line.size()), '\r');
    return Read::Done;
}

CDosConsole::Read CDosConsole::ReadHandle(uint8_t* bytes, uint16_t count, uint16_t& got)
{
    got = 0;
    if (m_input == ConsoleInput::Stream && m_pending.empty()) {
        size_t read = 0;
        InputState state = m_host.ReadInput(bytes, count, read);
        if (state == InputState::Pending)
            return Read::Wait;
        m_host.OnExternalEvent(ExternalEvent::InputRead);
        got = static_cast<uint16_t>(read);
        return Read::Done;
    }
    if (m_pending.empty()) {
        Read read = EditLine(126);
        if (read != Read::Done)
            return read;
        Echo("\n");
        m_pending = m_line + "\r\n";
    }
    got = static_cast<uint16_t>(std::min<size_t>(count, m_pending.size()));
    std::memcpy(bytes, m_pending.data(), got);
    m_pending.erase(0, got);
    return Read::Done;
}

void CDosConsole::Write(DosStream stream, const uint8_t* bytes, size_t count)
{
    for (size_t i = 0; m_bell && i < count; ++i)
        if (bytes[i] == 0x07)
            m_bell();
    if (Output(stream) == ConsoleOutput::Stream) {
        m_host.Write(stream, bytes, count);
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        if (bytes[i] != '\t') {
            m_video.Teletype(bytes[i]);
            continue;
        }
        uint8_t row, column;
        do {
            m_video.Teletype(' ');
            m_video.CursorPosition(row, column);
        } while (column % 8 != 0);
    }
}

void CDosConsole::FlushInput()
{
    m_nPendingScan = 0;
    m_pending.clear();
    if (m_input == ConsoleInput::Keyboard)
        m_keyboard.Flush();
}

bool CDosConsole::TakeBreak()
{
    uint16_t key;
    if (m_input != ConsoleInput::Keyboard || !m_keyboard.Peek(key) || (key & 0xFF) != kCtrlC)
        return false;
    m_keyboard.Pop(key);
    return true;
}

}  // namespace dos
