// Reads the statements above an INT backwards until one sets AH, or until the procedure, the
// segment or another INT (which may change AH) starts there.
#include "explain/InterruptFinder.h"

#include <cwctype>
#include <vector>

namespace explain {

namespace {

struct Statement {
    std::wstring strMnemonic;
    std::vector<std::wstring> operands;
    // The word after the first one, for "name PROC" and "name ENDP".
    std::wstring strSecond;
};

std::wstring Trimmed(std::wstring_view text)
{
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos)
        return {};
    const size_t last = text.find_last_not_of(L" \t\r");
    std::wstring upper(text.substr(first, last - first + 1));
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(std::towupper(c));
    return upper;
}

// The line without its comment (a ';' outside quotes).
std::wstring_view Code(std::wstring_view line)
{
    wchar_t quote = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        if (quote != 0) {
            quote = line[i] == quote ? 0 : quote;
        } else if (line[i] == L'\'' || line[i] == L'"') {
            quote = line[i];
        } else if (line[i] == L';') {
            return line.substr(0, i);
        }
    }
    return line;
}

std::vector<std::wstring> Operands(std::wstring_view rest)
{
    std::vector<std::wstring> operands;
    while (!rest.empty()) {
        const size_t comma = rest.find(L',');
        operands.push_back(Trimmed(rest.substr(0, comma)));
        rest = comma == std::wstring_view::npos ? std::wstring_view() : rest.substr(comma + 1);
    }
    return operands;
}

Statement Parse(std::wstring_view line)
{
    std::wstring code = Trimmed(Code(line));
    // A label before the instruction: "AGAIN: MOV AH, 1".
    const size_t colon = code.find(L':');
    if (colon != std::wstring::npos && code.find_first_of(L" \t,") > colon)
        code = Trimmed(code.substr(colon + 1));
    Statement statement;
    const size_t space = code.find_first_of(L" \t");
    statement.strMnemonic = code.substr(0, space);
    const std::wstring rest = space == std::wstring::npos ? std::wstring() : Trimmed(code.substr(space));
    statement.strSecond = rest.substr(0, rest.find_first_of(L" \t"));
    statement.operands = Operands(rest);
    return statement;
}

// A number as MASM reads one: decimal, or with an H, B, O, Q or D suffix.
std::optional<int> Number(const std::wstring& text)
{
    if (text.empty() || !std::iswdigit(text[0]))
        return std::nullopt;
    int base = 10;
    std::wstring digits = text;
    switch (digits.back()) {
    case L'H': base = 16; digits.pop_back(); break;
    case L'B': base = 2; digits.pop_back(); break;
    case L'O': case L'Q': base = 8; digits.pop_back(); break;
    case L'D': digits.pop_back(); break;
    default: break;
    }
    long value = 0;
    for (wchar_t c : digits) {
        const int digit = std::iswdigit(c) ? c - L'0' : (c >= L'A' && c <= L'F' ? c - L'A' + 10 : 99);
        if (digit >= base || value > 0xFFFFF)
            return std::nullopt;
        value = value * base + digit;
    }
    return static_cast<int>(value);
}

bool EndsSearch(const Statement& s)
{
    for (const wchar_t* word : {L"PROC", L"ENDP", L"SEGMENT", L"ENDS"})
        if (s.strMnemonic == word || s.strSecond == word)
            return true;
    return s.strMnemonic == L"INT" || s.strMnemonic == L"END" || s.strMnemonic.starts_with(L".CODE");
}

bool NamesAh(const std::wstring& operand) { return operand == L"AH" || operand == L"AX"; }

// Instructions that change AH without naming it.
bool ChangesAhUnnamed(const std::wstring& mnemonic)
{
    for (const wchar_t* word : {L"LAHF", L"CBW", L"MUL", L"IMUL", L"DIV", L"IDIV", L"AAM", L"AAD", L"AAA", L"AAS", L"LODSW", L"POPA"})
        if (mnemonic == word)
            return true;
    return false;
}

// What a statement does to AH: leaves it alone, or sets it to a number or to what cannot be
// known here.
struct AhEffect {
    bool bChanges = false;
    std::optional<int> value;
};

AhEffect AhAfter(const Statement& s)
{
    const bool writesFirst = !s.operands.empty() && NamesAh(s.operands[0]) && s.strMnemonic != L"CMP" && s.strMnemonic != L"TEST" &&
                             s.strMnemonic != L"PUSH" && s.strMnemonic != L"OUT";
    const bool exchanges = s.strMnemonic == L"XCHG" && s.operands.size() == 2 && NamesAh(s.operands[1]);
    if (!writesFirst && !exchanges)
        return {ChangesAhUnnamed(s.strMnemonic), std::nullopt};
    const bool wide = s.operands[0] == L"AX";
    if (s.strMnemonic == L"MOV" && s.operands.size() == 2)
        if (const std::optional<int> value = Number(s.operands[1]))
            return {true, wide ? (*value >> 8) & 0xFF : *value & 0xFF};
    const bool clears = (s.strMnemonic == L"XOR" || s.strMnemonic == L"SUB") && s.operands.size() == 2 && s.operands[1] == s.operands[0];
    return {true, clears ? std::optional<int>(0) : std::nullopt};
}

}  // namespace

std::optional<InterruptCall> FindInterruptCall(std::wstring_view line, std::span<const std::wstring> before)
{
    const Statement call = Parse(line);
    if (call.strMnemonic != L"INT" || call.operands.size() != 1)
        return std::nullopt;
    const std::optional<int> number = Number(call.operands[0]);
    if (!number || *number > 0xFF)
        return std::nullopt;
    InterruptCall result{*number, std::nullopt};
    for (auto it = before.rbegin(); it != before.rend(); ++it) {
        const Statement statement = Parse(*it);
        if (EndsSearch(statement))
            break;
        if (const AhEffect effect = AhAfter(statement); effect.bChanges) {
            result.ah = effect.value;
            break;
        }
    }
    return result;
}

}  // namespace explain
