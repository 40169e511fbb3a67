// The 8051 program's panes, with what the last step changed marked.
#include "debug/Panes51.h"

#include "debug/DebugResources.h"
#include "debug/DisassemblyWindow.h"
#include "debug/FieldLine.h"
#include "debug/HexDump.h"
#include "debug/ListingText.h"
#include "debug/Target51.h"
#include "debug/TimerPane51.h"

#include "mcs51/Disassembler51.h"

#include <cctype>
#include <optional>

namespace mcs51 {

namespace {

constexpr uint8_t kLcall = 0x12;
constexpr uint8_t kAcallMask = 0x1F;
constexpr uint8_t kAcall = 0x11;
// The stack starts above register bank 0 after a reset.
constexpr uint8_t kStackBottom = 0x08;

const char kSpaceLetters[] = "ISXC";

struct SpaceAddress {
    Mcs51Space space = Mcs51Space::kIram;
    uint16_t address = 0;
};

std::string AddressText(Mcs51Space space, uint16_t address)
{
    return std::string(1, kSpaceLetters[static_cast<int>(space)]) + ':' + CHexDump::Hex4(address);
}

std::optional<SpaceAddress> ParseSpaceAddress(std::string_view text, const Registers51& registers, uint8_t r0, uint8_t r1)
{
    text = Trim(text);
    if (text.empty())
        return SpaceAddress{};
    if (EqualsNoCase(text, "@R0") || EqualsNoCase(text, "@R1"))
        return SpaceAddress{Mcs51Space::kIram, EqualsNoCase(text, "@R0") ? r0 : r1};
    if (EqualsNoCase(text, "DPTR") || EqualsNoCase(text, "@DPTR"))
        return SpaceAddress{Mcs51Space::kXram, registers.dptr};
    if (EqualsNoCase(text, "SP"))
        return SpaceAddress{Mcs51Space::kIram, registers.sp};
    SpaceAddress address;
    if (text.size() > 2 && text[1] == ':') {
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
        switch (letter) {
        case 'I': address.space = Mcs51Space::kIram; break;
        case 'S': address.space = Mcs51Space::kSfr; break;
        case 'X': address.space = Mcs51Space::kXram; break;
        case 'C': address.space = Mcs51Space::kCode; break;
        default: return std::nullopt;
        }
        text = text.substr(2);
    }
    const std::optional<uint32_t> number = ParseHex(Trim(text), 4);
    if (!number)
        return std::nullopt;
    address.address = static_cast<uint16_t>(*number);
    return address;
}

// PSW's bits as the registers pane names them.
const std::pair<const char*, uint8_t> kPswBits[] = {{"CY", kPswCY},   {"AC", kPswAC}, {"F0", kPswF0}, {"RS1", kPswRS1},
                                                    {"RS0", kPswRS0}, {"OV", kPswOV}, {"P", kPswP}};

}

std::vector<std::unique_ptr<CDebugPane>> CPanes51::Make(CTarget51& target)
{
    const auto panes = std::make_shared<const CPanes51>(target);
    std::vector<std::unique_ptr<CDebugPane>> made;
    auto add = [&](const PaneInfo& info, CCallbackPane::Callbacks callbacks) {
        made.push_back(std::make_unique<CCallbackPane>(info, std::move(callbacks)));
    };
    add({.id = IDC_DEBUG_REGISTERS, .barId = IDW_REGISTERS_BAR, .titleId = IDS_PANE_REGISTERS, .editsValues = true},
        {.content = [panes](const PaneQuery&) { return TextContent(panes->Registers()); },
         .editValue = [panes](const std::string& name, uint16_t value) { return panes->EditRegister(name, value); },
         .toggleFlag = [panes](const std::string& name) { return panes->ToggleFlag(name); }});
    add({.id = IDC_DEBUG_SERIAL, .barId = IDW_SERIAL_BAR, .titleId = IDS_PANE_SERIAL, .live = true, .log = true, .shownInRun = true},
        {.content = [panes](const PaneQuery&) { return TextContent(panes->Serial()); }});
    add({.id = IDC_DEBUG_MEMORY, .barId = IDW_MEMORY_BAR, .titleId = IDS_PANE_MEMORY, .kind = PaneKind::Memory,
         .row = PaneRow::BottomSecond, .share = 0.6, .spacesId = IDS_MEMORY_SPACES, .spaceLetters = kSpaceLetters,
         .firstAddress = "00"},
        {.content = [panes](const PaneQuery& query) { return TextContent(panes->Memory(query.expression, query.rows)); },
         .editByte = [panes](uint32_t address, uint8_t value) { return panes->EditMemory(address, value); }});
    add({.id = IDC_DEBUG_PORTS, .barId = IDW_PORTS_BAR, .titleId = IDS_PANE_PORTS, .kind = PaneKind::Device,
         .row = PaneRow::BottomSecond, .share = 0.4, .live = true, .shownInRun = true},
        {.content = [panes](const PaneQuery&) { return panes->Ports(); }});
    if (target.Board())
        add({.id = IDC_DEBUG_DEVICES, .barId = IDW_DEVICES_BAR, .titleId = IDS_PANE_BOARD, .kind = PaneKind::Device,
             .row = PaneRow::Right, .share = 0.5, .live = true, .shownInRun = true},
            {.content = [panes](const PaneQuery&) { return panes->Board(); },
             .input = [board = target.Board()](const machine::DeviceInput& input) { return board->Input(input); }});
    CLogicAnalyzer51& analyzer = target.Analyzer();
    add({.id = IDC_DEBUG_ANALYZER, .barId = IDW_ANALYZER_BAR, .titleId = IDS_PANE_ANALYZER, .kind = PaneKind::Device,
         .row = PaneRow::BottomSecond, .share = 0.5, .live = true, .shownFirst = false},
        {.content = [&analyzer](const PaneQuery&) { return DeviceContent(analyzer); },
         .input = [&analyzer](const machine::DeviceInput& input) { return analyzer.Input(input); }});
    const auto timers = std::make_shared<const CTimerPane51>(target);
    add({.id = IDC_DEBUG_TIMERS, .barId = IDW_TIMERS_BAR, .titleId = IDS_PANE_TIMERS, .row = PaneRow::Right, .share = 0.4,
         .editsValues = true, .live = true, .shownFirst = false},
        {.content = [timers](const PaneQuery&) { return TextContent(timers->Text()); },
         .editValue = [timers](const std::string& name, uint16_t value) { return timers->EditRegister(name, value); },
         .toggleFlag = [timers](const std::string& name) { return timers->ToggleBit(name); }});
    add({.id = IDC_DEBUG_DISASSEMBLY, .barId = IDW_DISASSEMBLY_BAR, .titleId = IDS_PANE_DISASSEMBLY, .row = PaneRow::Right,
         .share = 0.6, .look = MarkLook::Current, .breakpoints = true},
        {.content = [panes](const PaneQuery& query) {
             return TextContent(panes->Disassembly(query.rows / 3, query.rows - query.rows / 3 - 1));
         }});
    add({.id = IDC_DEBUG_STACK, .barId = IDW_STACK_BAR, .titleId = IDS_PANE_STACK, .row = PaneRow::Right, .share = 0.4,
         .look = MarkLook::Return},
        {.content = [panes](const PaneQuery& query) { return TextContent(panes->Stack(query.rows)); }});
    return made;
}

PaneText CPanes51::Registers() const
{
    PaneText pane;
    const Registers51 now = m_target.Registers();
    const Registers51& before = m_target.RegistersBefore();
    {
        CFieldLine line(pane, 0);
        line.Add("PC", CHexDump::Hex4(now.pc), now.pc != before.pc);
        line.Add("A", CHexDump::Hex2(now.a), now.a != before.a);
        line.Add("B", CHexDump::Hex2(now.b), now.b != before.b);
        line.Add("PSW", CHexDump::Hex2(now.psw), now.psw != before.psw);
        line.Add("SP", CHexDump::Hex2(now.sp), now.sp != before.sp);
        line.Add("DPTR", CHexDump::Hex4(now.dptr), now.dptr != before.dptr);
    }
    {
        CFieldLine line(pane, 1);
        for (unsigned n = 0; n < 8; ++n)
            line.Add("R" + std::to_string(n), CHexDump::Hex2(now.r[n]), now.r[n] != before.r[n]);
    }
    {
        CFieldLine line(pane, 2);
        line.Add("cycles", std::to_string(now.cycles), false);
    }
    {
        CFieldLine line(pane, 3);
        for (const auto& [name, bit] : kPswBits)
            line.Add(name, (now.psw & bit) ? "1" : "0", ((now.psw ^ before.psw) & bit) != 0);
    }
    return pane;
}

PaneText CPanes51::Memory(const std::string& expression, int rows) const
{
    PaneText pane;
    const Registers51 registers = m_target.Registers();
    const std::optional<SpaceAddress> start = ParseSpaceAddress(expression, registers, registers.r[0], registers.r[1]);
    if (!start) {
        pane.valid = false;
        return pane;
    }
    const Mcs51Space space = start->space;
    const uint32_t first = space == Mcs51Space::kSfr ? 0x80 : 0;
    const uint32_t end = first + static_cast<uint32_t>(m_target.SpaceSize(space));
    uint32_t lineStart = std::max<uint32_t>(start->address & 0xFFF0, first);
    for (int row = 0; row < rows && lineStart < end; ++row, lineStart += 16) {
        uint8_t bytes[16];
        for (unsigned i = 0; i < 16; ++i) {
            const auto address = static_cast<uint16_t>(lineStart + i);
            bytes[i] = m_target.Read(space, address);
            if (!m_target.ByteChanged(space, address))
                continue;
            pane.marks.push_back({row, CHexDump::HexColumn(6, i), 2});
            pane.marks.push_back({row, CHexDump::CharColumn(6, i), 1});
        }
        pane.text += CHexDump::Line(AddressText(space, static_cast<uint16_t>(lineStart)), bytes, 0, 15);
        pane.lineAddresses.push_back(static_cast<uint32_t>(space) << 16 | lineStart);
    }
    return pane;
}

// SP points at the last byte pushed; a call pushed the return address low byte first.
PaneText CPanes51::Stack(int rows) const
{
    PaneText pane;
    const uint8_t sp = m_target.Registers().sp;
    const uint8_t* code = m_target.Code();
    int row = 0;
    for (int at = sp; at >= kStackBottom && row < rows; --at, ++row) {
        const auto address = static_cast<uint8_t>(at);
        std::string line = AddressText(Mcs51Space::kIram, address) + "  " +
                           CHexDump::Hex2(m_target.Read(Mcs51Space::kIram, address));
        if (at > kStackBottom) {
            const auto target = static_cast<uint16_t>(m_target.Read(Mcs51Space::kIram, address) << 8 |
                                                      m_target.Read(Mcs51Space::kIram, static_cast<uint16_t>(at - 1)));
            const bool afterCall = code[static_cast<uint16_t>(target - 3)] == kLcall ||
                                   (code[static_cast<uint16_t>(target - 2)] & kAcallMask) == kAcall;
            if (afterCall) {
                line += "  -> " + CHexDump::Hex4(target);
                pane.marks.push_back({row, 8, 2});
                pane.marks.push_back({row + 1, 8, 2});
            }
        }
        pane.text += line + "\r\n";
        pane.lineAddresses.push_back(address);
    }
    return pane;
}

PaneText CPanes51::Disassembly(int before, int after) const
{
    PaneText pane;
    const uint8_t* code = m_target.Code();
    const auto pc = static_cast<uint16_t>(m_target.Pc());
    const std::vector<uint16_t> starts = CDisassemblyWindow::Starts(
        pc, before, after, [code](uint16_t address) { return CDisassembler51::At(code, address).length; });
    for (size_t i = 0; i < starts.size(); ++i) {
        const Instruction51 instruction = CDisassembler51::At(code, starts[i]);
        std::string bytes;
        for (unsigned b = 0; b < instruction.length; ++b)
            bytes += CHexDump::Hex2(code[static_cast<uint16_t>(starts[i] + b)]);
        std::string line = CHexDump::Hex4(starts[i]) + ' ' + bytes;
        line.resize(19, ' ');
        line += instruction.text;
        if (starts[i] == pc && i + after + 1 == starts.size())
            pane.marks.push_back({static_cast<int>(i), 0, static_cast<int>(line.size())});
        pane.text += line + "\r\n";
        pane.lineAddresses.push_back(starts[i]);
    }
    return pane;
}

PaneText CPanes51::Serial() const
{
    PaneText pane;
    pane.text = m_target.SerialText();
    return pane;
}

PaneContent CPanes51::Ports() const
{
    return DeviceContent(m_target.Ports());
}

PaneContent CPanes51::Board() const
{
    return DeviceContent(*m_target.Board());
}

PaneContent CPanes51::DeviceContent(const machine::IDevice& device)
{
    const machine::DeviceView view = device.View();
    return PaneContent{PaneText{view.text, {}, {}, true}, view.picture};
}

bool CPanes51::ToggleFlag(const std::string& name) const
{
    for (const auto& [bitName, bit] : kPswBits)
        if (bit != kPswP && EqualsNoCase(name, bitName))
            return EditRegister("PSW", static_cast<uint16_t>(m_target.Registers().psw ^ bit));
    return false;
}

bool CPanes51::EditRegister(const std::string& name, uint16_t value) const
{
    static const std::pair<const char*, uint8_t> kSfrs[] = {{"A", kACC}, {"ACC", kACC}, {"B", kB},     {"PSW", kPSW},
                                                            {"SP", kSP}, {"DPL", kDPL}, {"DPH", kDPH}};
    const auto byte = static_cast<uint8_t>(value);
    for (const auto& [sfrName, address] : kSfrs) {
        if (EqualsNoCase(name, sfrName)) {
            m_target.Write(Mcs51Space::kSfr, address, byte);
            return true;
        }
    }
    if (EqualsNoCase(name, "DPTR")) {
        m_target.Write(Mcs51Space::kSfr, kDPL, byte);
        m_target.Write(Mcs51Space::kSfr, kDPH, static_cast<uint8_t>(value >> 8));
        return true;
    }
    if (EqualsNoCase(name, "PC")) {
        m_target.Machine().SetPc(value);
        return true;
    }
    if (name.size() == 2 && std::toupper(static_cast<unsigned char>(name[0])) == 'R' && name[1] >= '0' && name[1] <= '7') {
        const uint8_t bank = m_target.Registers().psw & (kPswRS0 | kPswRS1);
        m_target.Write(Mcs51Space::kIram, static_cast<uint16_t>(bank + (name[1] - '0')), byte);
        return true;
    }
    return false;
}

bool CPanes51::EditMemory(uint32_t address, uint8_t value) const
{
    m_target.Write(static_cast<Mcs51Space>(address >> 16 & 3), static_cast<uint16_t>(address), value);
    return true;
}

}  // namespace mcs51
