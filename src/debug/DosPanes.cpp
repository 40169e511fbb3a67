// The DOS program's panes: DEBUG's layouts with what the last step changed marked.
#include "debug/DosPanes.h"

#include "debug/DebugCommands.h"
#include "debug/DebugResources.h"
#include "debug/DosInstructions.h"
#include "debug/DisassemblyWindow.h"
#include "debug/DosAddress.h"
#include "debug/DosDisplay.h"
#include "debug/DosTarget.h"
#include "debug/HexDump.h"
#include "debug/ListingText.h"
#include "labbox/LabBoxPicture.h"

#include <algorithm>

namespace dos {

namespace {

// Variables show at most this many elements, strings this many characters.
constexpr size_t kShownElements = 16;
constexpr size_t kShownCharacters = 48;
// The lab box's picture whole beside its lines, with the view's edges.
constexpr int kPictureMargin = 8;

void AddLine(PaneText& pane, const std::string& line, uint32_t address)
{
    pane.text += line;
    pane.lineAddresses.push_back(address);
}

int LineCount(const PaneText& pane)
{
    return static_cast<int>(std::count(pane.text.begin(), pane.text.end(), '\n'));
}

// Whether the bytes before `offset` in `segment` end with a call whose return address it is:
// CALL rel16 (E8), CALL r/m16 (FF /2) or, for a far one, CALL ptr16:16 (9A) or FF /3.
bool AfterCall(const CMemory& memory, uint16_t segment, uint16_t offset, bool farCall)
{
    auto at = [&](int back) { return memory.Peek8(segment, static_cast<uint16_t>(offset - back)); };
    if (!farCall && at(3) == 0xE8)
        return true;
    if (farCall && at(5) == 0x9A)
        return true;
    const unsigned kind = farCall ? 3 : 2;
    for (int length = 2; length <= 4; ++length) {
        if (at(length) != 0xFF)
            continue;
        const uint8_t modrm = at(length - 1);
        const unsigned mod = modrm >> 6;
        const int displacement = mod == 1 ? 1 : mod == 2 ? 2 : (mod == 0 && (modrm & 7) == 6) ? 2 : 0;
        if (((modrm >> 3) & 7) == kind && 2 + displacement == length && !(farCall && mod == 3))
            return true;
    }
    return false;
}

bool Printable(uint8_t byte)
{
    return byte >= 0x20 && byte < 0x7F;
}

// A run of bytes as MASM would write it: 'text',0D,0A,'$'.
std::string QuotedBytes(const std::vector<uint8_t>& bytes)
{
    std::string text;
    bool quoted = false;
    for (const uint8_t byte : bytes) {
        if (Printable(byte) && byte != '\'') {
            if (!quoted)
                text += text.empty() ? "'" : ",'";
            quoted = true;
            text += static_cast<char>(byte);
            continue;
        }
        if (quoted)
            text += '\'';
        quoted = false;
        if (!text.empty())
            text += ',';
        text += CHexDump::Hex2(byte);
    }
    return quoted ? text + '\'' : text;
}

// Whether bytes read best as text: mostly printable, the rest line ends, tabs and zeros.
bool LooksLikeText(const std::vector<uint8_t>& bytes)
{
    size_t printable = 0;
    for (const uint8_t byte : bytes) {
        if (Printable(byte))
            ++printable;
        else if (byte != 0x0D && byte != 0x0A && byte != 0x09 && byte != 0)
            return false;
    }
    return printable * 2 >= bytes.size() && printable > 1;
}

std::string ValueText(const std::string& type, const std::vector<uint8_t>& bytes, bool more)
{
    std::string text;
    const size_t width = type == "WORD" ? 2 : type == "DWORD" ? 4 : 1;
    if (width == 1 && bytes.size() > 1 && LooksLikeText(bytes))
        return QuotedBytes(bytes) + (more ? " ..." : "");
    for (size_t i = 0; i + width <= bytes.size(); i += width) {
        if (!text.empty())
            text += ' ';
        for (size_t b = width; b-- > 0;)
            text += CHexDump::Hex2(bytes[i + b]);
    }
    return text + (more ? " ..." : "");
}

}

std::vector<std::unique_ptr<CDebugPane>> CDosPanes::Make(CDebugSession& session, CDosTarget& target)
{
    const auto panes = std::make_shared<const CDosPanes>(session, target);
    std::vector<std::unique_ptr<CDebugPane>> made;
    auto add = [&](const PaneInfo& info, CCallbackPane::Callbacks callbacks) {
        made.push_back(std::make_unique<CCallbackPane>(info, std::move(callbacks)));
    };
    add({.id = IDC_DEBUG_REGISTERS, .barId = IDW_REGISTERS_BAR, .titleId = IDS_PANE_REGISTERS, .share = 0.5, .editsValues = true},
        {.content = [panes](const PaneQuery&) { return TextContent(panes->Registers()); },
         .editValue = [panes](const std::string& name, uint16_t value) { return panes->EditRegister(name, value); },
         .toggleFlag = [panes](const std::string& name) { return panes->ToggleFlag(name); }});
    made.push_back(std::make_unique<CDebugCommands>(session, target));
    add({.id = IDC_DEBUG_MEMORY, .barId = IDW_MEMORY_BAR, .titleId = IDS_PANE_MEMORY, .kind = PaneKind::Memory,
         .row = PaneRow::BottomSecond, .share = 0.58, .firstAddress = "DS:0000"},
        {.content = [panes](const PaneQuery& query) { return TextContent(panes->Memory(query.expression, query.rows)); },
         .editByte = [panes](uint32_t address, uint8_t value) { return panes->EditMemory(address, value); }});
    add({.id = IDC_DEBUG_SCREEN, .barId = IDW_SCREEN_BAR, .titleId = IDS_PANE_SCREEN, .kind = PaneKind::Screen,
         .row = PaneRow::BottomSecond, .share = 0.42, .live = true},
        {.content = [panes](const PaneQuery&) { return panes->Screen(); }});
    add({.id = IDC_DEBUG_DISASSEMBLY, .barId = IDW_DISASSEMBLY_BAR, .titleId = IDS_PANE_DISASSEMBLY, .row = PaneRow::Right,
         .share = 0.45, .look = MarkLook::Current, .breakpoints = true},
        {.content = [panes](const PaneQuery& query) {
             return TextContent(panes->Disassembly(query.rows / 3, query.rows - query.rows / 3 - 1));
         }});
    add({.id = IDC_DEBUG_STACK, .barId = IDW_STACK_BAR, .titleId = IDS_PANE_STACK, .row = PaneRow::Right, .share = 0.25,
         .look = MarkLook::Return},
        {.content = [panes](const PaneQuery& query) { return TextContent(panes->Stack(query.rows)); }});
    add({.id = IDC_DEBUG_VARIABLES, .barId = IDW_VARIABLES_BAR, .titleId = IDS_PANE_VARIABLES, .row = PaneRow::Right,
         .share = 0.3, .scrolls = true},
        {.content = [panes](const PaneQuery&) { return TextContent(panes->Variables()); }});
    add({.id = IDC_DEBUG_DEVICES, .barId = IDW_DEVICES_BAR, .titleId = IDS_PANE_DEVICES, .row = PaneRow::BottomSecond,
         .share = 0.3, .scrolls = true, .live = true, .shownFirst = false},
        {.content = [panes](const PaneQuery&) { return TextContent(panes->Devices()); }});
    if (labbox::CLabBox* box = target.LabBox())
        add({.id = IDC_DEBUG_LAB_BOX, .barId = IDW_LAB_BOX_BAR, .titleId = IDS_PANE_LAB_BOX, .kind = PaneKind::Device,
             .row = PaneRow::BottomSecond, .share = 0.7, .depth = labbox::CLabBoxPicture::kHeight + kPictureMargin, .live = true},
            {.content = [box](const PaneQuery&) {
                 machine::DeviceView view = box->View();
                 return PaneContent{{std::move(view.text)}, std::move(view.picture)};
             },
             .input = [box](const machine::DeviceInput& input) { return box->Input(input); }});
    return made;
}

PaneText CDosPanes::Registers() const
{
    PaneText pane;
    const CpuState& now = m_target.Registers();
    const CpuState& before = m_target.RegistersBefore();
    pane.text = CDosDisplay::RegisterLines(now) + CDosInstructions::Current(m_target.Memory(), now);
    auto mark = [&](int line, int index, bool changed) {
        if (changed)
            pane.marks.push_back({line, CDosDisplay::kRegisterColumn + CDosDisplay::kRegisterPitch * index, 4});
    };
    for (int i = 0; i < 8; ++i) {
        const Reg16 reg = CDosDisplay::kGeneralOrder[i];
        mark(0, i, now.reg[reg] != before.reg[reg]);
    }
    for (int i = 0; i < 4; ++i) {
        const SegReg segment = CDosDisplay::kSegmentOrder[i];
        mark(1, i, now.seg[segment] != before.seg[segment]);
    }
    mark(1, 4, now.ip != before.ip);
    for (int i = 0; i < 8; ++i) {
        const CpuFlag flag = CDosDisplay::kFlagOrder[i];
        if ((now.flags & flag) != (before.flags & flag))
            pane.marks.push_back({1, CDosDisplay::kFlagsColumn + 3 * i, 2});
    }
    return pane;
}

PaneText CDosPanes::Memory(const std::string& expression, int rows) const
{
    PaneText pane;
    const CpuState& state = m_target.Registers();
    const std::optional<SegmentedAddress> address =
        Trim(expression).empty() ? SegmentedAddress{state.seg[kDS], 0} : CDosAddress::Parse(expression, state, kDS);
    if (!address) {
        pane.valid = false;
        return pane;
    }
    const CMemory& memory = m_target.Memory();
    auto lineStart = static_cast<uint16_t>(address->offset & 0xFFF0);
    constexpr size_t kAddressWidth = 9;
    for (int row = 0; row < rows; ++row, lineStart = static_cast<uint16_t>(lineStart + 16)) {
        AddLine(pane, CDosDisplay::DumpLine(memory, address->segment, lineStart, 0, 15),
                CMemory::Linear(address->segment, lineStart));
        for (unsigned i = 0; i < 16; ++i) {
            if (!m_target.ByteChanged(CMemory::Linear(address->segment, static_cast<uint16_t>(lineStart + i))))
                continue;
            pane.marks.push_back({row, CHexDump::HexColumn(kAddressWidth, i), 2});
            pane.marks.push_back({row, CHexDump::CharColumn(kAddressWidth, i), 1});
        }
    }
    return pane;
}

// Each word from SS:SP up; a word after which the code (near, in CS) or a word pair (far:
// offset, segment) that follows a call is marked as the return address it is.
PaneText CDosPanes::Stack(int rows) const
{
    PaneText pane;
    const CpuState& state = m_target.Registers();
    const CMemory& memory = m_target.Memory();
    const uint16_t ss = state.seg[kSS];
    for (int row = 0; row < rows; ++row) {
        const auto offset = static_cast<uint16_t>(state.reg[kSP] + 2 * row);
        const uint16_t word = memory.Peek16(ss, offset);
        const uint16_t next = memory.Peek16(ss, static_cast<uint16_t>(offset + 2));
        std::string line = CDosDisplay::Address(ss, offset) + "  " + CHexDump::Hex4(word);
        std::string target;
        if (AfterCall(memory, next, word, true))
            target = CDosDisplay::Address(next, word);
        else if (AfterCall(memory, state.seg[kCS], word, false))
            target = CDosDisplay::Address(state.seg[kCS], word);
        if (!target.empty()) {
            line += "  -> " + target;
            pane.marks.push_back({row, 11, 4});
        }
        AddLine(pane, line + "\r\n", CMemory::Linear(ss, offset));
    }
    return pane;
}

PaneContent CDosPanes::Screen() const
{
    PaneContent pane;
    pane.image = m_target.Machine().Screen();
    const std::string text = pane.image.Text();
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find("\r\n", start);
        std::string line = text.substr(start, end - start);
        line.erase(line.find_last_not_of(' ') + 1);
        pane.text.text += line + "\r\n";
        start = end + 2;
    }
    return pane;
}

PaneText CDosPanes::Devices() const
{
    PaneText pane;
    for (const CBusDevice* device : m_target.Machine().Devices()) {
        const std::string name(device->Name());
        std::string view = device->View().text;
        for (size_t at = 0; (at = view.find("\r\n", at)) != std::string::npos && at + 2 < view.size(); at += 2)
            view.insert(at + 2, name.size() + 2, ' ');
        pane.text += name + ": " + view;
    }
    return pane;
}

// NAME  TYPE  SSSS:OOOO  value, the address in DS where DS reaches it.
PaneText CDosPanes::Variables() const
{
    PaneText pane;
    const std::vector<DataSymbol>& symbols = m_session.SourceMap().Symbols();
    size_t nameWidth = 8;
    for (const DataSymbol& symbol : symbols)
        nameWidth = std::max(nameWidth, symbol.name.size());
    const CpuState& state = m_target.Registers();
    const uint32_t ds = CMemory::Linear(state.seg[kDS], 0);
    for (const DataSymbol& symbol : symbols) {
        const uint32_t linear = m_target.ImageBase() + symbol.imageOffset;
        const bool inDs = linear >= ds && linear - ds <= 0xFFFF;
        uint16_t segment = static_cast<uint16_t>(inDs ? state.seg[kDS] : linear >> 4);
        if (symbol.segmentStart)
            segment = static_cast<uint16_t>((m_target.ImageBase() + *symbol.segmentStart) >> 4);
        const auto offset = static_cast<uint16_t>(linear - CMemory::Linear(segment, 0));
        const size_t limit = symbol.type == "BYTE" ? kShownCharacters : kShownElements * 4;
        const size_t count = std::min<size_t>(std::max<uint32_t>(symbol.length, 1), limit);
        std::vector<uint8_t> bytes(count);
        bool changed = false;
        for (size_t i = 0; i < count; ++i) {
            bytes[i] = m_target.ReadByte(linear + static_cast<uint32_t>(i));
            changed = changed || m_target.ByteChanged(linear + static_cast<uint32_t>(i));
        }
        std::string line = symbol.name + std::string(nameWidth + 2 - symbol.name.size(), ' ');
        line += symbol.type + std::string(symbol.type.size() < 7 ? 7 - symbol.type.size() : 1, ' ');
        line += CDosDisplay::Address(segment, offset) + "  ";
        if (changed)
            pane.marks.push_back({LineCount(pane), static_cast<int>(line.size()), 0});
        const std::string value = ValueText(symbol.type, bytes, count < symbol.length);
        if (changed)
            pane.marks.back().length = static_cast<int>(value.size());
        AddLine(pane, line + value + "\r\n", linear);
    }
    return pane;
}

bool CDosPanes::EditRegister(const std::string& name, uint16_t value) const
{
    CpuState& state = m_target.Registers();
    if (EqualsNoCase(name, "F") || EqualsNoCase(name, "FL") || EqualsNoCase(name, "FLAGS")) {
        state.flags = NormalFlags(value);
        return true;
    }
    if (EqualsNoCase(name, "IP") || EqualsNoCase(name, "PC")) {
        state.ip = value;
        m_target.Machine().Cpu().ClearHalt();
        return true;
    }
    if (const std::optional<SegReg> segment = CDosAddress::SegmentNamed(name)) {
        state.seg[*segment] = value;
        return true;
    }
    if (const std::optional<Reg16> reg = CDosAddress::RegisterNamed(name)) {
        state.reg[*reg] = value;
        return true;
    }
    return false;
}

bool CDosPanes::ToggleFlag(const std::string& name) const
{
    const std::optional<CpuFlag> flag = CDosDisplay::FlagNamed(name);
    const CDosTarget& target = m_target;
    return flag && EditRegister("F", static_cast<uint16_t>(target.Registers().flags ^ *flag));
}

bool CDosPanes::EditMemory(uint32_t linear, uint8_t value) const
{
    m_target.WriteByte(linear, value);
    m_session.Edited();
    return true;
}

PaneText CDosPanes::Disassembly(int before, int after) const
{
    PaneText pane;
    const CpuState& state = m_target.Registers();
    const uint16_t cs = state.seg[kCS];
    const CMemory& memory = m_target.Memory();
    // An ended program stands after the INT that ended it: that INT is its last line, not
    // the bytes that follow it.
    uint16_t shown = state.ip;
    const auto previous = static_cast<uint16_t>(shown - 2);
    if (m_target.Ended() && memory.Peek8(cs, previous) == 0xCD &&
        (memory.Peek8(cs, static_cast<uint16_t>(shown - 1)) == 0x21 || memory.Peek8(cs, static_cast<uint16_t>(shown - 1)) == 0x20))
        shown = previous;
    const std::vector<uint16_t> starts = CDisassemblyWindow::Starts(
        shown, before, after, [&](uint16_t offset) { return CDosInstructions::Length(memory, cs, offset); });
    for (size_t i = 0; i < starts.size(); ++i) {
        uint16_t length = 0;
        const std::string line = CDosInstructions::Line(memory, cs, starts[i], length);
        if (i + after + 1 == starts.size())
            pane.marks.push_back({static_cast<int>(i), 0, static_cast<int>(line.size())});
        AddLine(pane, line + "\r\n", CMemory::Linear(cs, starts[i]));
    }
    return pane;
}

}  // namespace dos
