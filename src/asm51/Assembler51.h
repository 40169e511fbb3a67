// Korvane's 8051 assembler: two passes over a source in Intel's ASM51 syntax (which also takes
// as31's dot directives), giving the code image, every line as the listing shows it, the
// symbols and the messages. Files come through a reader, so that the library needs no system.
#pragma once

#include "asm51/CodeImage51.h"
#include "asm51/Diagnostic51.h"
#include "asm51/Encoder51.h"
#include "asm51/Symbols51.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace asm51 {

// A source line as the listing shows it.
struct ListedLine51 {
    // 0 for the main file, the include depth for an included file's line.
    unsigned depth = 0;
    unsigned line = 0;
    std::string text;
    bool hasAddress = false;
    uint16_t address = 0;
    std::vector<uint8_t> bytes;
    // The messages about the line (indexes into Diagnostics()).
    std::vector<size_t> messages;
};

enum class Segment51 : uint8_t { kCode, kData, kIdata, kXdata, kBit };

class CAssembler51 {
public:
    // The text of a file an $INCLUDE names; false when it cannot be read.
    using FileReader = std::function<bool(const std::string& name, std::string& text)>;

    explicit CAssembler51(FileReader reader) : m_reader(std::move(reader)) {}

    void Assemble(const std::string& fileName, const std::string& text);

    const CCodeImage51& Image() const { return m_image; }
    const std::vector<ListedLine51>& Lines() const { return m_lines; }
    const std::vector<Diagnostic51>& Diagnostics() const { return m_diagnostics; }
    const CSymbols51& Symbols() const { return m_symbols; }
    unsigned ErrorCount() const;
    // The register banks USING named, one bit each.
    uint8_t BanksUsed() const { return m_banksUsed; }

private:
    void Pass(int pass, const std::string& fileName, const std::string& text);
    void File(const std::string& fileName, const std::string& text, unsigned depth);
    void Line(const std::string& text);
    void Control(const std::string& text);
    void Include(const std::string& name);
    void Statement(const std::vector<Token51>& tokens);
    // A directive of the form "name EQU value"; false when the line is none.
    bool NamedDirective(const std::vector<Token51>& tokens);
    void Directive(const std::string& name, const std::vector<Token51>& tokens, size_t at);
    void Instruction(const std::string& mnemonic, const std::vector<Token51>& tokens, size_t at);
    void Data(const std::vector<Token51>& tokens, size_t at, unsigned width);
    void Reserve(const std::vector<Token51>& tokens, size_t at);
    void SelectSegment(Segment51 segment, const std::vector<Token51>& tokens, size_t at);
    void Define(const std::string& name, int32_t value, SymbolKind kind, bool redefinable);
    void DefineLabel(const std::string& name);
    bool Operand(const std::vector<Token51>& tokens, size_t begin, size_t end, Operand51& operand);
    // The value of tokens [begin, end); false (reported) when they are none.
    bool Evaluate(const std::vector<Token51>& tokens, size_t begin, size_t end, ExprValue& value);
    // A value that must be known where it stands (ORG, DS, EQU...): no forward reference.
    bool EvaluateNow(const std::vector<Token51>& tokens, size_t begin, size_t end, int32_t& value);
    std::optional<ExprValue> Lookup(const std::string& name);
    void Emit(const std::vector<uint8_t>& bytes);
    void Advance(int32_t count);
    int32_t& Location() { return m_locations[static_cast<size_t>(m_segment)]; }
    void Report(Message51 message, std::string detail = {});
    ListedLine51& Listed() { return m_lines[m_nListed]; }

    FileReader m_reader;
    CCodeImage51 m_image;
    CSymbols51 m_symbols;
    // Names given to registers ("COUNT EQU R7") and their numbers.
    std::map<std::string, uint8_t> m_registerNames;
    std::vector<ListedLine51> m_lines;
    std::vector<Diagnostic51> m_diagnostics;
    int m_pass = 1;
    unsigned m_statement = 0;
    std::array<int32_t, 5> m_locations{};
    Segment51 m_segment = Segment51::kCode;
    int32_t m_bank = 0;
    uint8_t m_banksUsed = 0;
    bool m_bEnded = false;
    // Where the current line is.
    std::string m_strFile;
    unsigned m_nLine = 0;
    unsigned m_nDepth = 0;
    // The main file's lines, where a missing END is reported.
    unsigned m_nMainLines = 0;
    // The listed line of the current line (an include does not move it), or none.
    static constexpr size_t kNoLine = static_cast<size_t>(-1);
    size_t m_nListed = kNoLine;
};

// Splits tokens [begin, end) at the commas outside brackets: the ranges of the items.
std::vector<std::pair<size_t, size_t>> SplitAtCommas(const std::vector<Token51>& tokens, size_t begin, size_t end);

}  // namespace asm51
