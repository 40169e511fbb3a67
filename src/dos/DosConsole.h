// DOS's console device: character input from the keyboard (with line editing and Ctrl+C) or
// from redirected standard input (Ctrl+Z at its end), and output to the text screen (tabs
// expanded, as CON does) or to the front end's standard output and error as bytes.
#pragma once

#include "dos/DosHost.h"
#include "dos/Keyboard.h"
#include "dos/TextVideo.h"

#include <cstdint>
#include <functional>
#include <string>

namespace dos {

enum class ConsoleInput : uint8_t { Keyboard, Stream };
enum class ConsoleOutput : uint8_t { Screen, Stream };

class CDosConsole {
public:
    static constexpr uint8_t kCtrlC = 0x03;
    static constexpr uint8_t kCtrlZ = 0x1A;

    enum class Read : uint8_t {
        Done,
        // Nothing to read yet: the service blocks.
        Wait,
        // Ctrl+C was read where DOS checks for it.
        Break,
    };

    CDosConsole(IDosHost& host, CKeyboard& keyboard, CTextVideo& video);

    void Configure(ConsoleInput input, ConsoleOutput output, ConsoleOutput error);
    // What a BEL written to the console does, wherever the output goes (the stream stands for
    // the console the person watches).
    void SetBell(std::function<void()> bell) { m_bell = std::move(bell); }
    ConsoleInput Input() const { return m_input; }
    ConsoleOutput Output(DosStream stream) const { return stream == DosStream::Output ? m_output : m_error; }
    void Reset();

    // One character (INT 21h 01h, 06h, 07h, 08h); an extended key comes as 0, then its scan code.
    Read ReadCharacter(uint8_t& character, bool checkBreak, bool echo);
    // Whether a character can be read now without waiting (INT 21h 06h, 0Bh, 44h 06h).
    bool CharacterReady();
    // INT 21h 0Ah: a line edited into the caller's buffer (capacity, count, text, CR).
    Read ReadLine(CMemory& memory, uint16_t segment, uint16_t offset);
    // INT 21h 3Fh on standard input: a whole line from the keyboard, echoed, ending CR LF, then
    // served in pieces; redirected input as it comes.
    Read ReadHandle(uint8_t* bytes, uint16_t count, uint16_t& got);
    void Write(DosStream stream, const uint8_t* bytes, size_t count);
    void WriteCharacter(uint8_t character) { Write(DosStream::Output, &character, 1); }
    void FlushInput();
    // A Ctrl+C at the head of the keyboard buffer, taken (DOS looks while it prints).
    bool TakeBreak();

private:
    Read NextByte(uint8_t& byte);
    // Line editing: keys into m_line until CR; `capacity` counts the characters before it.
    Read EditLine(size_t capacity);
    void Echo(const char* text) { Write(DosStream::Output, reinterpret_cast<const uint8_t*>(text), std::char_traits<char>::length(text)); }

    IDosHost& m_host;
    CKeyboard& m_keyboard;
    CTextVideo& m_video;
    ConsoleInput m_input = ConsoleInput::Stream;
    ConsoleOutput m_output = ConsoleOutput::Stream;
    ConsoleOutput m_error = ConsoleOutput::Stream;
    uint8_t m_nPendingScan = 0;
    std::string m_line;
    bool m_bEditing = false;
    // What INT 21h 3Fh has read but not yet handed out.
    std::string m_pending;
    std::function<void()> m_bell;
};

}  // namespace dos
