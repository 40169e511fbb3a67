// Writing the listing.
#include "asm51/ListingWriter51.h"

#include <cstdio>

namespace asm51 {

namespace {
constexpr size_t kBytesPerLine = 4;
constexpr size_t kObjectWidth = 14;
// A symbol's name padded with dots to this column, so that no name reads as a line.
constexpr size_t kNameColumn = 26;

std::string Hex(unsigned value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

std::string ObjectBytes(const std::vector<uint8_t>& bytes, size_t from)
{
    std::string text;
    for (size_t i = from; i < bytes.size() && i < from + kBytesPerLine; ++i)
        text += Hex(bytes[i], 2);
    return text;
}

std::string Padded(std::string text, size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

const char* KindText(SymbolKind kind)
{
    switch (kind) {
    case SymbolKind::kNumber: return "NUMB";
    case SymbolKind::kCode: return "C ADDR";
    case SymbolKind::kData: return "D ADDR";
    case SymbolKind::kIdata: return "I ADDR";
    case SymbolKind::kXdata: return "X ADDR";
    case SymbolKind::kBit: return "B ADDR";
    }
    return "";
}
}

std::string CListingWriter51::SourceLine(const ListedLine51& line)
{
    const std::string location = line.hasAddress ? Hex(line.address, 4) : "    ";
    std::string head = location + " ";
    char number[16];
    std::snprintf(number, sizeof number, "%5u", line.line);
    if (line.depth == 0)
        head += Padded(ObjectBytes(line.bytes, 0), kObjectWidth);
    else
        head += Padded(ObjectBytes(line.bytes, 0), kObjectWidth - 2) + "=" + std::to_string(line.depth % 10);
    std::string text = head + number + "     " + line.text + "\r\n";
    for (size_t from = kBytesPerLine; from < line.bytes.size(); from += kBytesPerLine)
        text += Hex(static_cast<uint16_t>(line.address + from), 4) + " " + ObjectBytes(line.bytes, from) + "\r\n";
    return text;
}

std::string CListingWriter51::SymbolTable(const CAssembler51& assembler)
{
    std::string text = "\r\nSYMBOL TABLE LISTING\r\n------ ----- -------\r\n\r\n";
    text += Padded("N A M E", kNameColumn) + "T Y P E   V A L U E\r\n\r\n";
    for (const auto& [name, symbol] : assembler.Symbols().Defined()) {
        std::string row = name + " ";
        while (row.size() < kNameColumn - 1)
            row += row.size() % 2 ? ". " : " ";
        row = Padded(row, kNameColumn);
        text += row + Padded(KindText(symbol.kind), 10) + Hex(static_cast<unsigned>(symbol.value) & 0xFFFF, 4) + "H\r\n";
    }
    text += "\r\nREGISTER BANK(S) USED:";
    const uint8_t banks = assembler.BanksUsed() ? assembler.BanksUsed() : 1;
    for (int bank = 0; bank < 4; ++bank) {
        if (banks & 1 << bank)
            text += " " + std::to_string(bank);
    }
    return text + "\r\n";
}

std::string CListingWriter51::Write(const CAssembler51& assembler, const std::string& title, const MessageText& messageText)
{
    std::string text = "KORVANE 8051 ASSEMBLER    " + title + "\r\n\r\nLOC  OBJ            LINE     SOURCE\r\n\r\n";
    const std::vector<Diagnostic51>& diagnostics = assembler.Diagnostics();
    std::vector<bool> shown(diagnostics.size(), false);
    for (const ListedLine51& line : assembler.Lines()) {
        text += SourceLine(line);
        for (size_t index : line.messages) {
            text += "*** " + messageText(diagnostics[index]) + "\r\n";
            shown[index] = true;
        }
    }
    for (size_t i = 0; i < diagnostics.size(); ++i) {
        if (!shown[i])
            text += "*** " + messageText(diagnostics[i]) + "\r\n";
    }
    text += SymbolTable(assembler);
    const unsigned errors = assembler.ErrorCount();
    const size_t warnings = diagnostics.size() - errors;
    return text + "\r\nASSEMBLY COMPLETE, " + std::to_string(warnings) + " WARNING(S), " + std::to_string(errors) + " ERROR(S)\r\n";
}

}  // namespace asm51
