// DEBUG's commands for the command pane, answering as MS-DOS DEBUG does: r (with a register
// and its two-step prompt, r f for the flags), d, e (with a list, or byte by byte), u, t, p and
// g (with =address, a count, breakpoints), h and q, and DEBUG's "^ Error" under the column it
// could not read. One input line in, the text DEBUG would have printed out.
//
// Threads: t, p and g run the program through the session, so Execute is one of the session's
// long calls (the window side runs it on its worker); Prompt and Quit are read between calls.
// Each program loaded has its own pane, whose defaults start there: d at DS:0100, u at CS:IP.
#pragma once

#include "debug/DebugPane.h"
#include "debug/DebugSession.h"

#include <cstdint>
#include <string>

namespace dos {

class CCommandLine;
class CDosTarget;
struct TypedAddress;

class CDebugCommands final : public CDebugPane {
public:
    CDebugCommands(CDebugSession& session, CDosTarget& target);

    PaneContent Content(const PaneQuery&) const override { return {}; }
    // Runs one line typed after Prompt(); returns the prompt and the line as the console showed
    // them, then what the command printed, each line ended by CR LF.
    std::string Execute(const std::string& line) override;
    // What waits for the next line: "-" for a command, ":" for r's new value, the flags and
    // " -" for r f, "SSSS:OOOO  XX." for e's next byte.
    std::string Prompt() const override;
    // q was typed: the window side ends the session.
    bool Quit() const override { return m_bQuit; }

private:
    enum class Pending : uint8_t { None, RegisterValue, Flags, Entry };
    struct Place {
        uint16_t segment = 0;
        uint16_t offset = 0;
    };

    std::string Command(const std::string& line);
    std::string Registers(CCommandLine& line);
    std::string Dump(CCommandLine& line);
    std::string Enter(CCommandLine& line);
    std::string Unassemble(CCommandLine& line);
    std::string Trace(CCommandLine& line, bool proceed);
    std::string Go(CCommandLine& line);
    std::string Hex(CCommandLine& line);
    std::string RegisterValue(const std::string& line);
    std::string FlagsValue(const std::string& line);
    std::string EntryKeys(const std::string& line);

    // The register block of r, t, p and g: two lines of registers and the next instruction.
    std::string RegisterBlock() const;
    std::string Stopped(const StopInfo& stop);
    Place Resolve(const TypedAddress& typed, uint8_t defaultSegment) const;
    // The start of d or u and, through count (its default on the way in), how many bytes.
    Place Extent(CCommandLine& line, Place next, uint8_t defaultSegment, uint32_t& count) const;
    // Sets CS:IP from t's, p's or g's "=address".
    void StartAt(CCommandLine& line);
    std::string EntryPrompt() const;
    CDosTarget* Target() const { return &m_target; }

    CDebugSession& m_session;
    CDosTarget& m_target;
    Pending m_pending = Pending::None;
    std::string m_strRegister;
    Place m_dump;
    Place m_unassemble;
    Place m_entry;
    bool m_bQuit = false;
};

}  // namespace dos
