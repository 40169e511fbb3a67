// DEBUG's commands over the session's DOS program.
#include "debug/DebugCommands.h"

#include "debug/CommandLine.h"
#include "debug/DebugResources.h"
#include "debug/DosDisplay.h"
#include "debug/DosInstructions.h"
#include "debug/DosTarget.h"
#include "debug/HexDump.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace dos {

namespace {

constexpr uint32_t kDumpBytes = 0x80;
constexpr uint32_t kUnassembleBytes = 0x20;
constexpr size_t kMostBreakpoints = 10;
// e shows each byte in a field this wide, eight to a line.
constexpr size_t kEntryField = 8;
constexpr uint16_t kEntryBytesPerLine = 8;

struct FlagCode {
    const char* name;
    CpuFlag flag;
    bool set;
};

const FlagCode kFlagCodes[] = {
    {"OV", kFlagOverflow, true},   {"NV", kFlagOverflow, false}, {"DN", kFlagDirection, true},
    {"UP", kFlagDirection, false}, {"EI", kFlagInterrupt, true}, {"DI", kFlagInterrupt, false},
    {"NG", kFlagSign, true},       {"PL", kFlagSign, false},     {"ZR", kFlagZero, true},
    {"NZ", kFlagZero, false},      {"AC", kFlagAuxCarry, true},  {"NA", kFlagAuxCarry, false},
    {"PE", kFlagParity, true},     {"PO", kFlagParity, false},   {"CY", kFlagCarry, true},
    {"NC", kFlagCarry, false},
};

const char* const kRegisterNames[] = {"AX", "BX", "CX", "DX", "SP", "BP", "SI", "DI",
                                      "DS", "ES", "SS", "CS", "IP", "PC"};

uint16_t* RegisterNamed(CpuState& state, const std::string& name)
{
    static const Reg16 kGeneral[] = {kAX, kBX, kCX, kDX, kSP, kBP, kSI, kDI};
    static const SegReg kSegments[] = {kDS, kES, kSS, kCS};
    for (size_t i = 0; i < std::size(kRegisterNames); ++i) {
        if (name != kRegisterNames[i])
            continue;
        if (i < 8)
            return &state.reg[kGeneral[i]];
        if (i < 12)
            return &state.seg[kSegments[i - 8]];
        return &state.ip;
    }
    return nullptr;
}

std::string ErrorAt(size_t position)
{
    // The prompt takes the first column.
    return std::string(position + 1, ' ') + "^ Error\r\n";
}

bool IsHexDigit(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

}

CDebugCommands::CDebugCommands(CDebugSession& session, CDosTarget& target)
    : CDebugPane({.id = IDC_DEBUG_COMMAND_PANE, .barId = IDW_COMMAND_BAR, .titleId = IDS_PANE_COMMAND, .kind = PaneKind::Command,
                  .share = 0.5}),
      m_session(session),
      m_target(target)
{
    const CpuState& state = target.Registers();
    m_dump = {state.seg[kDS], 0x100};
    m_unassemble = {state.seg[kCS], state.ip};
}

std::string CDebugCommands::Prompt() const
{
    switch (m_pending) {
    case Pending::RegisterValue: return ":";
    case Pending::Flags: return Target() ? CDosDisplay::Flags(Target()->Registers().flags) + "  -" : "-";
    case Pending::Entry: return EntryPrompt();
    case Pending::None: break;
    }
    return "-";
}

std::string CDebugCommands::Execute(const std::string& line)
{
    const std::string echo = Prompt() + line + "\r\n";
    const Pending pending = m_pending;
    m_pending = Pending::None;
    try {
        switch (pending) {
        case Pending::RegisterValue: return echo + RegisterValue(line);
        case Pending::Flags: return echo + FlagsValue(line);
        case Pending::Entry: return EntryKeys(line);
        case Pending::None: break;
        }
        return echo + Command(line);
    } catch (const CommandError& error) {
        return echo + ErrorAt(error.position);
    }
}

std::string CDebugCommands::Command(const std::string& text)
{
    CCommandLine line(text);
    if (line.AtEnd())
        return {};
    const char command = static_cast<char>(std::toupper(static_cast<unsigned char>(line.Peek())));
    const size_t at = line.Position();
    line.Advance();
    switch (command) {
    case 'R': return Registers(line);
    case 'D': return Dump(line);
    case 'E': return Enter(line);
    case 'U': return Unassemble(line);
    case 'T': return Trace(line, false);
    case 'P': return Trace(line, true);
    case 'G': return Go(line);
    case 'H': return Hex(line);
    case 'Q':
        line.End();
        m_bQuit = true;
        return {};
    default:
        throw CommandError{at};
    }
}

std::string CDebugCommands::RegisterBlock() const
{
    const CDosTarget& target = *Target();
    return CDosDisplay::RegisterLines(target.Registers()) + CDosInstructions::Current(target.Memory(), target.Registers());
}

std::string CDebugCommands::Registers(CCommandLine& line)
{
    if (line.AtEnd())
        return RegisterBlock();
    const std::string name = line.Word();
    line.End();
    if (name == "F") {
        m_pending = Pending::Flags;
        return {};
    }
    const uint16_t* reg = RegisterNamed(Target()->Registers(), name);
    if (!reg)
        return "br Error\r\n";
    m_pending = Pending::RegisterValue;
    m_strRegister = name;
    return name + ' ' + CHexDump::Hex4(*reg) + "\r\n";
}

std::string CDebugCommands::RegisterValue(const std::string& text)
{
    CCommandLine line(text);
    if (line.AtEnd())
        return {};
    const auto value = static_cast<uint16_t>(line.Number());
    line.End();
    *RegisterNamed(Target()->Registers(), m_strRegister) = value;
    if (m_strRegister == "IP" || m_strRegister == "PC" || m_strRegister == "CS")
        Target()->Machine().Cpu().ClearHalt();
    return {};
}

// Two-letter codes in any order, blanks between them or not; the codes before a bad or
// repeated one take effect.
std::string CDebugCommands::FlagsValue(const std::string& text)
{
    CpuState& state = Target()->Registers();
    uint16_t seen = 0;
    for (size_t at = 0; at < text.size();) {
        if (text[at] == ' ' || text[at] == '\t' || text[at] == ',') {
            ++at;
            continue;
        }
        std::string code = text.substr(at, 2);
        std::transform(code.begin(), code.end(), code.begin(), [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
        at += 2;
        const auto found = std::find_if(std::begin(kFlagCodes), std::end(kFlagCodes),
                                        [&](const FlagCode& flag) { return code == flag.name; });
        if (found == std::end(kFlagCodes))
            return "bf Error\r\n";
        if (seen & found->flag)
            return "df Error\r\n";
        seen |= found->flag;
        state.SetFlag(found->flag, found->set);
    }
    return {};
}

CDebugCommands::Place CDebugCommands::Resolve(const TypedAddress& typed, uint8_t defaultSegment) const
{
    const CpuState& state = Target()->Registers();
    Place place{state.seg[defaultSegment], typed.offset};
    if (typed.segmentRegister)
        place.segment = state.seg[*typed.segmentRegister];
    else if (typed.segment)
        place.segment = *typed.segment;
    return place;
}

// d's and u's "[address [range]]": where they go on from without one, and the count they take
// without a range.
CDebugCommands::Place CDebugCommands::Extent(CCommandLine& line, Place next, uint8_t defaultSegment, uint32_t& count) const
{
    if (line.AtEnd())
        return next;
    const Place start = Resolve(line.Address(), defaultSegment);
    count = line.Range(start.offset).value_or(count);
    line.End();
    return start;
}

std::string CDebugCommands::Dump(CCommandLine& line)
{
    uint32_t count = kDumpBytes;
    const Place start = Extent(line, m_dump, kDS, count);
    count = std::min<uint32_t>(count, 0x10000u - start.offset);
    const uint32_t last = start.offset + count - 1;
    const CMemory& memory = Target()->Memory();
    std::string text;
    for (uint32_t lineStart = start.offset & ~0xFu; lineStart <= last; lineStart += 16) {
        const unsigned first = start.offset > lineStart ? start.offset - lineStart : 0;
        const unsigned end = std::min<uint32_t>(last - lineStart, 15);
        text += CDosDisplay::DumpLine(memory, start.segment, static_cast<uint16_t>(lineStart), first, end);
    }
    m_dump = {start.segment, static_cast<uint16_t>(last + 1)};
    return text;
}

std::string CDebugCommands::Enter(CCommandLine& line)
{
    const Place place = Resolve(line.Address(), kDS);
    if (line.AtEnd()) {
        m_entry = place;
        m_pending = Pending::Entry;
        return {};
    }
    std::vector<uint8_t> bytes;
    while (!line.AtEnd()) {
        const char quote = line.Peek();
        if (quote != '\'' && quote != '"') {
            bytes.push_back(static_cast<uint8_t>(line.Number(2)));
            continue;
        }
        line.Advance();
        for (;;) {
            if (line.Peek() == '\0')
                line.Fail();
            const char c = line.Peek();
            line.Advance();
            // A doubled quote stands for the quote itself.
            if (c == quote && !line.Take(quote))
                break;
            bytes.push_back(static_cast<uint8_t>(c));
        }
    }
    for (size_t i = 0; i < bytes.size(); ++i)
        Target()->WriteByte(CMemory::Linear(place.segment, static_cast<uint16_t>(place.offset + i)), bytes[i]);
    m_session.Edited();
    return {};
}

std::string CDebugCommands::EntryPrompt() const
{
    const uint8_t byte = Target()->ReadByte(CMemory::Linear(m_entry.segment, m_entry.offset));
    return CDosDisplay::Address(m_entry.segment, m_entry.offset) + "  " + CHexDump::Hex2(byte) + ".";
}

// The line is what was typed at e's prompt, key by key: hexadecimal digits replace the byte
// (two at most, more are not echoed), a blank goes on to the next byte, a hyphen back to the
// one before, the line's end ends e.
std::string CDebugCommands::EntryKeys(const std::string& keys)
{
    std::string text = EntryPrompt();
    std::string typed;
    auto commit = [&] {
        if (!typed.empty())
            Target()->WriteByte(CMemory::Linear(m_entry.segment, m_entry.offset),
                                static_cast<uint8_t>(std::stoul(typed, nullptr, 16)));
        typed.clear();
    };
    for (const char key : keys) {
        if (IsHexDigit(key)) {
            if (typed.size() < 2) {
                typed += static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
                text += typed.back();
            }
        } else if (key == ' ') {
            const size_t used = 3 + typed.size();
            commit();
            ++m_entry.offset;
            if (m_entry.offset % kEntryBytesPerLine == 0)
                text += "\r\n" + EntryPrompt();
            else
                text += std::string(kEntryField - used, ' ') + EntryPrompt().substr(11);
        } else if (key == '-') {
            commit();
            --m_entry.offset;
            text += "-\r\n" + EntryPrompt();
        }
    }
    commit();
    m_session.Edited();
    return text + "\r\n";
}

std::string CDebugCommands::Unassemble(CCommandLine& line)
{
    uint32_t count = kUnassembleBytes;
    const Place start = Extent(line, m_unassemble, kCS, count);
    const CMemory& memory = Target()->Memory();
    std::string text;
    uint16_t offset = start.offset;
    for (uint32_t done = 0; done < count;) {
        uint16_t length = 1;
        text += CDosInstructions::Line(memory, start.segment, offset, length) + "\r\n";
        offset = static_cast<uint16_t>(offset + length);
        done += length;
    }
    m_unassemble = {start.segment, offset};
    return text;
}

void CDebugCommands::StartAt(CCommandLine& line)
{
    line.Skip();
    if (!line.Take('='))
        return;
    const Place place = Resolve(line.Address(), kCS);
    CpuState& state = Target()->Registers();
    state.seg[kCS] = place.segment;
    state.ip = place.offset;
    Target()->Machine().Cpu().ClearHalt();
}

std::string CDebugCommands::Trace(CCommandLine& line, bool proceed)
{
    StartAt(line);
    uint32_t count = 1;
    if (!line.AtEnd()) {
        const size_t at = line.Position();
        count = line.Number();
        if (count == 0)
            throw CommandError{at};
    }
    line.End();
    std::string text;
    for (uint32_t i = 0; i < count; ++i) {
        const StopInfo stop = proceed ? m_session.StepOver(true) : m_session.StepInto();
        text += Stopped(stop);
        if (stop.result != SessionResult::Ran || stop.reason != StopReason::Limit)
            break;
    }
    return text;
}

std::string CDebugCommands::Go(CCommandLine& line)
{
    StartAt(line);
    std::vector<uint32_t> breakpoints;
    while (!line.AtEnd()) {
        const Place place = Resolve(line.Address(), kCS);
        if (breakpoints.size() == kMostBreakpoints)
            return "bp Error\r\n";
        breakpoints.push_back(CMemory::Linear(place.segment, place.offset));
    }
    return Stopped(m_session.Continue(breakpoints));
}

std::string CDebugCommands::Stopped(const StopInfo& stop)
{
    const CpuState& state = Target()->Registers();
    m_unassemble = {state.seg[kCS], state.ip};
    if (stop.result == SessionResult::Ran && stop.reason == StopReason::Ended)
        return "\r\nProgram terminated normally\r\n";
    return "\r\n" + RegisterBlock();
}

std::string CDebugCommands::Hex(CCommandLine& line)
{
    const auto a = static_cast<uint16_t>(line.Number());
    const auto b = static_cast<uint16_t>(line.Number());
    line.End();
    return CHexDump::Hex4(static_cast<uint16_t>(a + b)) + "  " + CHexDump::Hex4(static_cast<uint16_t>(a - b)) + "\r\n";
}

}  // namespace dos
