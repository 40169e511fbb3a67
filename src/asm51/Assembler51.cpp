// The two passes, the lines and their statements.
#include "asm51/Assembler51.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace asm51 {

namespace {
constexpr unsigned kMaxIncludeDepth = 8;

bool IsPunct(const std::vector<Token51>& tokens, size_t at, const char* text)
{
    return at < tokens.size() && tokens[at].kind == TokenKind::kPunct && tokens[at].text == text;
}

bool IsName(const std::vector<Token51>& tokens, size_t at)
{
    return at < tokens.size() && tokens[at].kind == TokenKind::kName;
}

std::string HexWord(int32_t value)
{
    const char digits[] = "0123456789ABCDEF";
    std::string text = "0000H";
    for (int i = 0; i < 4; ++i)
        text[static_cast<size_t>(3 - i)] = digits[(value >> (4 * i)) & 0xF];
    return text;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The names that define a symbol after it ("NAME EQU 5"), and the kind each gives.
struct NamedForm {
    const char* directive;
    SymbolKind kind;
    bool redefinable;
};
constexpr NamedForm kNamedForms[] = {
    {"EQU", SymbolKind::kNumber, false}, {"SET", SymbolKind::kNumber, true}, {"BIT", SymbolKind::kBit, false},
    {"DATA", SymbolKind::kData, false},  {"IDATA", SymbolKind::kIdata, false}, {"XDATA", SymbolKind::kXdata, false},
    {"CODE", SymbolKind::kCode, false},
};

constexpr SymbolKind kLabelKinds[] = {SymbolKind::kCode, SymbolKind::kData, SymbolKind::kIdata, SymbolKind::kXdata,
                                      SymbolKind::kBit};

// The relocatable and modular parts of the language, which a single absolute source needs not.
constexpr const char* kUnsupported[] = {"SEGMENT", "RSEG", "EXTRN", "EXTERN", "MACRO", "ENDM", "REPT", "IRP", "IRPC", "LOCAL"};
// The directives that stand first on their line.
constexpr std::string_view kDirectives[] = {"ORG",  "DB",   "DW",   "DS",   "DBIT", "END",  "USING",
                                            "CSEG", "DSEG", "ISEG", "XSEG", "BSEG", "NAME", "PUBLIC"};
// The definition files of the 8051 and 8052 that Intel's and Keil's tools come with.
constexpr std::string_view kChipFiles[] = {"REG51.INC", "REG52.INC", "8051.MCU", "8052.MCU", "REG51.H",
                                           "REG52.H",   "REGX51.H",  "REGX52.H", "AT89X51.H", "AT89X52.H"};
// Directives with nothing to do in a single module.
constexpr const char* kIgnored[] = {"NAME", "PUBLIC"};

// The register names an operand can be.
struct RegisterName {
    const char* name;
    OperandKind kind;
};
constexpr RegisterName kRegisters[] = {{"A", OperandKind::kA}, {"AB", OperandKind::kAB}, {"C", OperandKind::kC},
                                       {"DPTR", OperandKind::kDptr}};

bool RegisterNumber(const std::vector<Token51>& tokens, size_t at, unsigned limit, uint8_t& reg)
{
    if (!IsName(tokens, at))
        return false;
    const std::string& text = tokens[at].text;
    if (text.size() != 2 || text[0] != 'R' || text[1] < '0' || text[1] >= static_cast<char>('0' + limit))
        return false;
    reg = static_cast<uint8_t>(text[1] - '0');
    return true;
}

bool NameIs(const std::vector<Token51>& tokens, size_t at, const char* name)
{
    return IsName(tokens, at) && tokens[at].text == name;
}
}

std::vector<std::pair<size_t, size_t>> SplitAtCommas(const std::vector<Token51>& tokens, size_t begin, size_t end)
{
    std::vector<std::pair<size_t, size_t>> items;
    int depth = 0;
    size_t start = begin;
    for (size_t i = begin; i < end; ++i) {
        if (IsPunct(tokens, i, "("))
            ++depth;
        else if (IsPunct(tokens, i, ")"))
            --depth;
        else if (depth == 0 && IsPunct(tokens, i, ",")) {
            items.emplace_back(start, i);
            start = i + 1;
        }
    }
    if (start < end || !items.empty())
        items.emplace_back(start, end);
    return items;
}

unsigned CAssembler51::ErrorCount() const
{
    return static_cast<unsigned>(std::count_if(m_diagnostics.begin(), m_diagnostics.end(),
                                               [](const Diagnostic51& d) { return !IsWarning(d.message); }));
}

void CAssembler51::Assemble(const std::string& fileName, const std::string& text)
{
    Pass(1, fileName, text);
    Pass(2, fileName, text);
    if (!m_bEnded) {
        m_nListed = kNoLine;
        m_strFile = fileName;
        m_nLine = m_nMainLines;
        Report(Message51::kNoEnd);
    }
}

void CAssembler51::Pass(int pass, const std::string& fileName, const std::string& text)
{
    m_pass = pass;
    m_statement = 0;
    m_locations = {};
    m_segment = Segment51::kCode;
    m_bank = 0;
    m_bEnded = false;
    m_symbols.BeginPass();
    m_image.Clear();
    m_lines.clear();
    m_diagnostics.clear();
    m_nListed = kNoLine;
    File(fileName, text, 0);
}

void CAssembler51::File(const std::string& fileName, const std::string& text, unsigned depth)
{
    const std::string outerFile = m_strFile;
    const unsigned outerLine = m_nLine;
    const unsigned outerDepth = m_nDepth;
    m_strFile = fileName;
    m_nDepth = depth;
    m_nLine = 0;
    // A source saved as UTF-8 may open with its byte order mark.
    size_t at = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (at < text.size() && !m_bEnded) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        ++m_nLine;
        Line(line);
        at = end + 1;
    }
    if (depth == 0)
        m_nMainLines = m_nLine;
    m_strFile = outerFile;
    m_nLine = outerLine;
    m_nDepth = outerDepth;
}

void CAssembler51::Line(const std::string& text)
{
    ++m_statement;
    ListedLine51& listed = m_lines.emplace_back();
    listed.depth = m_nDepth;
    listed.line = m_nLine;
    listed.text = text;
    m_nListed = m_lines.size() - 1;
    const size_t first = text.find_first_not_of(" \t");
    if (first != std::string::npos && text[first] == '$') {
        Control(text.substr(first + 1));
        return;
    }
    // Keil's A51 also takes the C form, #include <FILE> or "FILE".
    if (first != std::string::npos && Upper(text.substr(first, 8)) == "#INCLUDE") {
        const size_t open = text.find_first_of("<\"", first + 8);
        const size_t close = open == std::string::npos ? open : text.find_first_of(">\"", open + 1);
        if (close == std::string::npos)
            Report(Message51::kSyntax, text.substr(first));
        else
            Include(text.substr(open + 1, close - open - 1));
        return;
    }
    const std::vector<Token51> tokens = CLexer51::Split(text);
    for (const Token51& token : tokens) {
        if (token.kind == TokenKind::kOpenString) {
            Report(Message51::kOpenString);
            return;
        }
    }
    if (!tokens.empty())
        Statement(tokens);
}

void CAssembler51::Control(const std::string& text)
{
    // "$INCLUDE(FILE)", "$NOMOD51", and listing controls, which change nothing here.
    const std::vector<Token51> tokens = CLexer51::Split(text);
    if (tokens.empty() || !IsName(tokens, 0))
        return;
    const std::string& control = tokens[0].text;
    if (control == "NOMOD51") {
        m_symbols.UsePredefined(false);
        return;
    }
    if (control != "INCLUDE" && control != "INC")
        return;
    const size_t open = text.find('(');
    const size_t close = text.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open) {
        Report(Message51::kSyntax, text);
        return;
    }
    std::string name = text.substr(open + 1, close - open - 1);
    name.erase(0, name.find_first_not_of(" \t"));
    name.erase(name.find_last_not_of(" \t") + 1);
    Include(name);
}

void CAssembler51::Include(const std::string& name)
{
    if (m_nDepth >= kMaxIncludeDepth) {
        Report(Message51::kIncludeDepth, name);
        return;
    }
    // The chips' own definition files name nothing that is not predefined here; those for C
    // (REG52.H) are not even read, their declarations being C's.
    const std::string base = Upper(name.substr(name.find_last_of("\\/:") + 1));
    const bool chipFile = std::find(std::begin(kChipFiles), std::end(kChipFiles), base) != std::end(kChipFiles);
    std::string text;
    if ((chipFile && base.back() == 'H') || !m_reader || !m_reader(name, text)) {
        if (chipFile) {
            m_symbols.UsePredefined(true);
            return;
        }
        Report(Message51::kCannotInclude, name);
        return;
    }
    const size_t listed = m_nListed;
    File(name, text, m_nDepth + 1);
    m_nListed = listed;
}

void CAssembler51::Statement(const std::vector<Token51>& tokens)
{
    size_t at = 0;
    if (IsName(tokens, 0) && IsPunct(tokens, 1, ":")) {
        DefineLabel(tokens[0].text);
        at = 2;
    }
    if (at >= tokens.size())
        return;
    if (at == 0 && NamedDirective(tokens))
        return;
    std::string name;
    if (IsPunct(tokens, at, ".") && IsName(tokens, at + 1)) {
        name = "." + tokens[at + 1].text;
        at += 2;
    } else if (IsName(tokens, at)) {
        name = tokens[at++].text;
    } else {
        Report(Message51::kSyntax, tokens[at].text);
        return;
    }
    if (CEncoder51::IsMnemonic(name))
        Instruction(name, tokens, at);
    else
        Directive(name, tokens, at);
}

bool CAssembler51::NamedDirective(const std::vector<Token51>& tokens)
{
    // "RSEG CODE" is a directive of its own, not a name RSEG defined as CODE.
    if (!IsName(tokens, 0) || !IsName(tokens, 1) || CEncoder51::IsMnemonic(tokens[0].text) ||
        std::find(std::begin(kDirectives), std::end(kDirectives), tokens[0].text) != std::end(kDirectives) ||
        std::find(std::begin(kUnsupported), std::end(kUnsupported), tokens[0].text) != std::end(kUnsupported))
        return false;
    uint8_t reg = 0;
    if (tokens[1].text == "EQU" && tokens.size() == 3 && RegisterNumber(tokens, 2, 8, reg)) {
        // "COUNT EQU R7": a name for a register.
        m_registerNames[tokens[0].text] = reg;
        return true;
    }
    for (const NamedForm& form : kNamedForms) {
        if (tokens[1].text != form.directive)
            continue;
        int32_t value = 0;
        if (EvaluateNow(tokens, 2, tokens.size(), value))
            Define(tokens[0].text, value, form.kind, form.redefinable);
        return true;
    }
    for (const char* unsupported : kUnsupported) {
        if (tokens[1].text == unsupported) {
            Report(Message51::kUnsupported, unsupported);
            return true;
        }
    }
    return false;
}

void CAssembler51::Directive(const std::string& name, const std::vector<Token51>& tokens, size_t at)
{
    const std::string bare = name[0] == '.' ? name.substr(1) : name;
    int32_t value = 0;
    if (bare == "ORG") {
        if (EvaluateNow(tokens, at, tokens.size(), value)) {
            Location() = value;
            Listed().hasAddress = value >= 0 && value <= 0xFFFF;
            Listed().address = static_cast<uint16_t>(value);
        }
    } else if (bare == "DB" || bare == "BYTE") {
        Data(tokens, at, 1);
    } else if (bare == "DW" || bare == "WORD") {
        Data(tokens, at, 2);
    } else if (bare == "DS" || bare == "SKIP" || bare == "DBIT") {
        Reserve(tokens, at);
    } else if (bare == "END") {
        m_bEnded = true;
    } else if ((bare == "EQU" || bare == "SET" || bare == "FLAG") && name[0] == '.') {
        // as31: ".equ name, value", ".flag name, byte.bit".
        if (!IsName(tokens, at) || !IsPunct(tokens, at + 1, ",")) {
            Report(Message51::kSyntax, name);
            return;
        }
        if (EvaluateNow(tokens, at + 2, tokens.size(), value))
            Define(tokens[at].text, value, bare == "FLAG" ? SymbolKind::kBit : SymbolKind::kNumber, bare == "SET");
    } else if (bare == "USING") {
        if (EvaluateNow(tokens, at, tokens.size(), value)) {
            if (value < 0 || value > 3)
                Report(Message51::kOutOfRange, std::to_string(value));
            m_bank = value & 3;
            m_banksUsed = static_cast<uint8_t>(m_banksUsed | 1 << m_bank);
        }
    } else if (bare == "CSEG" || bare == "DSEG" || bare == "ISEG" || bare == "XSEG" || bare == "BSEG") {
        const Segment51 segments[] = {Segment51::kCode, Segment51::kData, Segment51::kIdata, Segment51::kXdata, Segment51::kBit};
        const std::string names = "CDIXB";
        SelectSegment(segments[names.find(bare[0])], tokens, at);
    } else if (std::find(std::begin(kIgnored), std::end(kIgnored), bare) != std::end(kIgnored)) {
        return;
    } else if (std::find(std::begin(kUnsupported), std::end(kUnsupported), bare) != std::end(kUnsupported)) {
        Report(Message51::kUnsupported, bare);
    } else {
        Report(Message51::kUnknownMnemonic, name);
    }
}

void CAssembler51::SelectSegment(Segment51 segment, const std::vector<Token51>& tokens, size_t at)
{
    m_segment = segment;
    if (at >= tokens.size())
        return;
    int32_t value = 0;
    if (!NameIs(tokens, at, "AT")) {
        Report(Message51::kSyntax, tokens[at].text);
        return;
    }
    if (EvaluateNow(tokens, at + 1, tokens.size(), value))
        Location() = value;
}

void CAssembler51::Data(const std::vector<Token51>& tokens, size_t at, unsigned width)
{
    std::vector<uint8_t> bytes;
    const auto items = SplitAtCommas(tokens, at, tokens.size());
    if (items.empty())
        Report(Message51::kSyntax);
    for (const auto& [begin, end] : items) {
        // A string alone is its characters; within an expression it is a number.
        if (width == 1 && end == begin + 1 && tokens[begin].kind == TokenKind::kString && !tokens[begin].text.empty()) {
            bytes.insert(bytes.end(), tokens[begin].text.begin(), tokens[begin].text.end());
            continue;
        }
        ExprValue value;
        if (!Evaluate(tokens, begin, end, value))
            value.value = 0;
        const int32_t lowest = width == 1 ? -256 : -65536;
        const int32_t highest = width == 1 ? 0xFF : 0xFFFF;
        if (m_pass == 2 && (value.value < lowest || value.value > highest))
            Report(Message51::kOutOfRange, std::to_string(value.value));
        if (width == 2)
            bytes.push_back(static_cast<uint8_t>(value.value >> 8));
        bytes.push_back(static_cast<uint8_t>(value.value));
    }
    Emit(bytes);
}

void CAssembler51::Reserve(const std::vector<Token51>& tokens, size_t at)
{
    int32_t count = 0;
    if (!EvaluateNow(tokens, at, tokens.size(), count))
        return;
    if (count < 0) {
        Report(Message51::kOutOfRange, std::to_string(count));
        return;
    }
    Listed().hasAddress = true;
    Listed().address = static_cast<uint16_t>(Location());
    Advance(count);
}

void CAssembler51::Instruction(const std::string& mnemonic, const std::vector<Token51>& tokens, size_t at)
{
    std::vector<Operand51> operands;
    for (const auto& [begin, end] : SplitAtCommas(tokens, at, tokens.size())) {
        Operand51 operand;
        if (!Operand(tokens, begin, end, operand))
            return;
        operands.push_back(operand);
    }
    Encoded51 encoded;
    const uint16_t address = static_cast<uint16_t>(Location());
    switch (CEncoder51::Encode(mnemonic, operands, address, m_pass == 2, encoded)) {
    case EncodeResult::kUnknownMnemonic:
        Report(Message51::kUnknownMnemonic, mnemonic);
        return;
    case EncodeResult::kBadOperands:
        Report(Message51::kBadOperands, mnemonic);
        return;
    case EncodeResult::kOk:
        break;
    }
    if (encoded.error)
        Report(encoded.error->message, encoded.error->detail);
    Emit(encoded.bytes);
}

bool CAssembler51::Operand(const std::vector<Token51>& tokens, size_t begin, size_t end, Operand51& operand)
{
    if (begin >= end) {
        Report(Message51::kSyntax, ",");
        return false;
    }
    const size_t count = end - begin;
    if (count == 1) {
        for (const RegisterName& reg : kRegisters) {
            if (NameIs(tokens, begin, reg.name)) {
                operand.kind = reg.kind;
                return true;
            }
        }
        const auto named = IsName(tokens, begin) ? m_registerNames.find(tokens[begin].text) : m_registerNames.end();
        if (named != m_registerNames.end()) {
            operand.kind = OperandKind::kRn;
            operand.reg = named->second;
            return true;
        }
        if (RegisterNumber(tokens, begin, 8, operand.reg)) {
            operand.kind = OperandKind::kRn;
            return true;
        }
    }
    if (IsPunct(tokens, begin, "@")) {
        // @Ri, @DPTR, and @A+DPTR or @A+PC in either order.
        if (count == 2 && RegisterNumber(tokens, begin + 1, 2, operand.reg)) {
            operand.kind = OperandKind::kAtRi;
            return true;
        }
        if (count == 2 && NameIs(tokens, begin + 1, "DPTR")) {
            operand.kind = OperandKind::kAtDptr;
            return true;
        }
        if (count == 4 && IsPunct(tokens, begin + 2, "+")) {
            const bool aFirst = NameIs(tokens, begin + 1, "A");
            const size_t other = aFirst ? begin + 3 : begin + 1;
            if (aFirst || NameIs(tokens, begin + 3, "A")) {
                if (NameIs(tokens, other, "DPTR")) {
                    operand.kind = OperandKind::kAtADptr;
                    return true;
                }
                if (NameIs(tokens, other, "PC")) {
                    operand.kind = OperandKind::kAtAPc;
                    return true;
                }
            }
        }
        Report(Message51::kSyntax, "@");
        return false;
    }
    size_t from = begin;
    operand.kind = OperandKind::kExpression;
    if (IsPunct(tokens, begin, "#")) {
        operand.kind = OperandKind::kImmediate;
        ++from;
    } else if (IsPunct(tokens, begin, "/") || IsPunct(tokens, begin, "!")) {
        operand.kind = OperandKind::kNotBit;
        ++from;
    }
    return Evaluate(tokens, from, end, operand.value);
}

bool CAssembler51::Evaluate(const std::vector<Token51>& tokens, size_t begin, size_t end, ExprValue& value)
{
    CExpression51 expression(tokens, begin, end, Location(), [this](const std::string& name) { return Lookup(name); });
    if (expression.Evaluate(value))
        return true;
    Report(expression.Error().message, expression.Error().detail);
    return false;
}

bool CAssembler51::EvaluateNow(const std::vector<Token51>& tokens, size_t begin, size_t end, int32_t& value)
{
    ExprValue result;
    if (!Evaluate(tokens, begin, end, result))
        return false;
    if (result.forward || !result.known) {
        Report(Message51::kForwardReference);
        return false;
    }
    value = result.value;
    return true;
}

std::optional<ExprValue> CAssembler51::Lookup(const std::string& name)
{
    if (const Symbol51* symbol = m_symbols.Find(name))
        return ExprValue{symbol->value, true, !symbol->seen};
    // AR0-AR7: the registers of the bank USING chose, by their data addresses.
    if (name.size() == 3 && name[0] == 'A' && name[1] == 'R' && name[2] >= '0' && name[2] <= '7')
        return ExprValue{m_bank * 8 + (name[2] - '0')};
    if (m_symbols.PredefinedActive()) {
        if (const std::optional<int32_t> value = CSymbols51::Predefined(name))
            return ExprValue{*value};
    }
    if (m_pass == 1)
        return ExprValue{0, false, true};
    return std::nullopt;
}

void CAssembler51::Define(const std::string& name, int32_t value, SymbolKind kind, bool redefinable)
{
    if (!m_symbols.Define(name, value, kind, m_statement, redefinable))
        Report(Message51::kRedefined, name);
}

void CAssembler51::DefineLabel(const std::string& name)
{
    Listed().hasAddress = true;
    Listed().address = static_cast<uint16_t>(Location());
    Define(name, Location(), kLabelKinds[static_cast<size_t>(m_segment)], false);
}

void CAssembler51::Emit(const std::vector<uint8_t>& bytes)
{
    if (bytes.empty())
        return;
    Listed().hasAddress = true;
    Listed().address = static_cast<uint16_t>(Location());
    if (m_segment != Segment51::kCode) {
        Report(Message51::kNoBytesHere);
        Advance(static_cast<int32_t>(bytes.size()));
        return;
    }
    bool overlapped = false;
    for (uint8_t byte : bytes) {
        const int32_t address = Location();
        if (address < 0 || address >= static_cast<int32_t>(CCodeImage51::kSize)) {
            Report(Message51::kBeyondCode);
            return;
        }
        if (!m_image.Put(static_cast<uint32_t>(address), byte) && !overlapped) {
            overlapped = true;
            Report(Message51::kOverlap, HexWord(address));
        }
        Listed().bytes.push_back(byte);
        ++Location();
    }
}

void CAssembler51::Advance(int32_t count)
{
    Location() += count;
}

void CAssembler51::Report(Message51 message, std::string detail)
{
    if (m_pass != 2)
        return;
    m_diagnostics.push_back(Diagnostic51{message, m_strFile, m_nLine, std::move(detail)});
    if (m_nListed != kNoLine)
        m_lines[m_nListed].messages.push_back(m_diagnostics.size() - 1);
}

}  // namespace asm51
