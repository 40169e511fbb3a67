// The memory operand read back from the operand text DEBUG's syntax gives ("BYTE PTR [BP-02]"),
// and the kinds of instruction by their mnemonics.
#include "debug/DosInstructions.h"

#include "debug/HexDump.h"
#include "debug/ListingText.h"

#include "dos/Disassembler8086.h"

#include <algorithm>
#include <optional>

namespace dos {

namespace {

// r's note of the memory operand ends at this column.
constexpr size_t kNoteEnd = 77;
// More prefixes than this before an instruction are shown as they come, one line each.
constexpr int kMostPrefixes = 4;

const char* const kSegmentNames[] = {"ES", "CS", "SS", "DS"};
const char* const kByteRegisters[] = {"AL", "CL", "DL", "BL", "AH", "CH", "DH", "BH"};

struct MemoryOperand {
    uint16_t offset = 0;
    SegReg segment = kDS;
    bool word = true;
};

bool IsPrefix(const DisassembledInstruction& line)
{
    return line.mnemonic.ends_with(":") || line.mnemonic == "LOCK" || line.mnemonic.starts_with("REP");
}

// The offset "[BX+SI+04]" names with the registers as they are, and whether it takes SS.
uint16_t Offset(std::string_view inside, const CpuState& state, bool& stackBased)
{
    uint16_t total = 0;
    bool negative = false;
    size_t start = 0;
    for (size_t i = 0; i <= inside.size(); ++i) {
        if (i < inside.size() && inside[i] != '+' && inside[i] != '-')
            continue;
        const std::string_view term = inside.substr(start, i - start);
        static const std::pair<const char*, Reg16> kBases[] = {{"BX", kBX}, {"BP", kBP}, {"SI", kSI}, {"DI", kDI}};
        uint16_t value = static_cast<uint16_t>(ParseHex(term, 4).value_or(0));
        for (const auto& [name, reg] : kBases) {
            if (term == name) {
                value = state.reg[reg];
                stackBased = stackBased || reg == kBP;
            }
        }
        total = static_cast<uint16_t>(negative ? total - value : total + value);
        if (i < inside.size())
            negative = inside[i] == '-';
        start = i + 1;
    }
    return total;
}

std::optional<MemoryOperand> MemoryOf(const DisassembledInstruction& line, const CpuState& state)
{
    const std::string& operands = line.operands;
    const size_t open = operands.find('[');
    const size_t close = operands.find(']', open);
    if (open == std::string::npos || close == std::string::npos)
        return std::nullopt;
    MemoryOperand memory;
    bool stackBased = false;
    memory.offset = Offset(std::string_view(operands).substr(open + 1, close - open - 1), state, stackBased);
    memory.segment = stackBased ? kSS : kDS;
    // The size DEBUG wrote before the operand, else the register beside it's.
    if (operands.find("BYTE PTR") != std::string::npos)
        memory.word = false;
    else if (operands.find(" PTR") == std::string::npos)
        for (const char* name : kByteRegisters)
            if (operands.starts_with(std::string(name) + ",") || operands.ends_with(std::string(",") + name))
                memory.word = false;
    return memory;
}

InstructionKind KindOf(const std::string& mnemonic)
{
    if (mnemonic == "CALL")
        return InstructionKind::Call;
    if (mnemonic == "INT" || mnemonic == "INTO")
        return InstructionKind::Interrupt;
    if (mnemonic.starts_with("LOOP"))
        return InstructionKind::Loop;
    if (mnemonic == "RET" || mnemonic == "RETF" || mnemonic == "IRET")
        return InstructionKind::Return;
    return InstructionKind::Plain;
}

bool IsString(const std::string& mnemonic)
{
    static const char* const kStrings[] = {"MOVS", "CMPS", "STOS", "LODS", "SCAS", "INS", "OUTS"};
    return mnemonic.size() >= 4 && (mnemonic.back() == 'B' || mnemonic.back() == 'W') &&
           std::any_of(std::begin(kStrings), std::end(kStrings),
                       [&](const char* name) { return mnemonic.substr(0, mnemonic.size() - 1) == name; });
}

}

std::string CDosInstructions::Line(const CMemory& memory, uint16_t segment, uint16_t offset, uint16_t& length)
{
    const DisassembledInstruction line = CDisassembler8086(memory).Decode(segment, offset);
    length = line.length;
    return line.Text();
}

uint16_t CDosInstructions::Length(const CMemory& memory, uint16_t segment, uint16_t offset)
{
    return CDisassembler8086(memory).Decode(segment, offset).length;
}

std::string CDosInstructions::Current(const CMemory& memory, const CpuState& state)
{
    const CDisassembler8086 disassembler(memory);
    std::string text;
    uint16_t ip = state.ip;
    int segment = -1;
    for (int prefixes = 0;; ++prefixes) {
        const DisassembledInstruction line = disassembler.Decode(state.seg[kCS], ip);
        if (IsPrefix(line) && prefixes < kMostPrefixes) {
            for (int s = 0; s < 4; ++s)
                if (line.mnemonic == std::string(kSegmentNames[s]) + ":")
                    segment = s;
            text += line.Text() + "\r\n";
            ip = static_cast<uint16_t>(ip + line.length);
            continue;
        }
        std::string shown = line.Text();
        if (const std::optional<MemoryOperand> operand = MemoryOf(line, state)) {
            const SegReg reg = segment >= 0 ? static_cast<SegReg>(segment) : operand->segment;
            const std::string value = operand->word ? CHexDump::Hex4(memory.Peek16(state.seg[reg], operand->offset))
                                                    : CHexDump::Hex2(memory.Peek8(state.seg[reg], operand->offset));
            const std::string note = std::string(kSegmentNames[reg]) + ":" + CHexDump::Hex4(operand->offset) + "=" + value;
            shown.resize(std::max(shown.size() + 1, kNoteEnd - note.size()), ' ');
            shown += note;
        }
        return text + shown + "\r\n";
    }
}

NextInstruction CDosInstructions::Next(const CMemory& memory, uint16_t segment, uint16_t offset)
{
    const CDisassembler8086 disassembler(memory);
    NextInstruction next{CMemory::Linear(segment, offset), 0, InstructionKind::Plain};
    bool repeated = false;
    uint16_t at = offset;
    for (int prefixes = 0; prefixes < 14; ++prefixes) {
        const DisassembledInstruction line = disassembler.Decode(segment, at);
        at = static_cast<uint16_t>(at + line.length);
        if (IsPrefix(line)) {
            repeated = repeated || line.mnemonic.starts_with("REP");
            continue;
        }
        next.kind = repeated && IsString(line.mnemonic) ? InstructionKind::RepString : KindOf(line.mnemonic);
        break;
    }
    next.length = static_cast<uint8_t>(at - offset);
    return next;
}

}  // namespace dos
