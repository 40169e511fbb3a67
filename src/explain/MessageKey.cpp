// The forms the tools print their messages in, each with where its number or text is.
#include "explain/MessageKey.h"

#include <regex>

namespace explain {

namespace {

struct KeyForm {
    MessageTool tool;
    // Searched anywhere in the line, ignoring case; group 1 the number (or none), the last
    // group the text.
    const wchar_t* pattern;
    bool numbered;
};

// Korvane's assembler before MASM: "A51-4" would otherwise read as MASM's A51.
const KeyForm kKeyForms[] = {
    // "BLINK.A51(7): error A51-4: 不认识的指令或伪指令 MOVX"
    {MessageTool::Asm51, LR"(\b(?:error|warning)\s+A51-([0-9]+)\s*:\s*(.*))", true},
    // "HELLO.ASM(4): error A2009: Symbol not defined: FOO", "warning A4016: ..."
    {MessageTool::Masm, LR"(\b(?:fatal error|error|warning)\s+A([0-9]{4})\s*:\s*(.*))", true},
    // "LINK : error L2029: Unresolved externals:", "LINK : fatal error L1093: ..."
    {MessageTool::Link, LR"(\b(?:fatal error|error|warning)\s+L([0-9]{4})\s*:\s*(.*))", true},
    // "**Error** HELLO.ASM(12) Undefined symbol: FOO", "**Fatal** Command line: ..."
    {MessageTool::Tasm, LR"(^\s*\*{1,2}(?:error|warning|fatal)\*{1,2}\s+(?:[^\s(]+\([0-9]+\)\s*)?(.*))", false},
    // TLINK: "Error: Undefined symbol FOO in module HELLO.ASM", "Warning: No stack"
    {MessageTool::Tasm, LR"(^\s*(?:error|warning|fatal):\s*(.*))", false},
    // MASM 5.10's fatal messages and its end-of-file report carry no number.
    {MessageTool::Masm,
     LR"(^\s*(?:\S+\([0-9]+\):\s*)?((?:unable to (?:open|access)|write error on|out of memory|end of file encountered on input file|open (?:segments|procedures)|unknown (?:case )?option|extra file name ignored).*))",
     false},
    // as31: "Warning, line 2, Undefined symbol foo."
    {MessageTool::As31, LR"(^\s*(?:error|warning),\s*line\s+[0-9]+,\s*(.*))", false},
    // as31 about its files: "Cannot open include file: X.INC"
    {MessageTool::As31, LR"(^\s*(cannot open (?:input |include )?file.*|cannot create temp file.*))", false},
};

const std::wregex& Compiled(size_t index)
{
    static const std::vector<std::wregex> compiled = [] {
        std::vector<std::wregex> forms;
        for (const KeyForm& form : kKeyForms)
            forms.emplace_back(form.pattern, std::regex::ECMAScript | std::regex::icase);
        return forms;
    }();
    return compiled[index];
}

}  // namespace

std::optional<MessageKey> MessageKeyOf(std::wstring_view line)
{
    const std::wstring text(line);
    for (size_t i = 0; i < std::size(kKeyForms); ++i) {
        std::wsmatch match;
        if (!std::regex_search(text, match, Compiled(i)))
            continue;
        const KeyForm& form = kKeyForms[i];
        MessageKey key;
        key.tool = form.tool;
        key.nNumber = form.numbered ? std::stoi(match[1].str()) : 0;
        key.strText = match[match.size() - 1].str();
        return key;
    }
    return std::nullopt;
}

}  // namespace explain
