// The recognisers of tool messages.
#include "build/ToolMessage.h"

#include <regex>
#include <vector>

namespace {
struct MessageForm {
    // Matched from the line's start, ignoring case; "{file}" and "{line}" stand for the
    // patterns below.
    const wchar_t* pattern;
    // The groups that hold the severity word, the file and the line; 0 for none.
    int severityGroup;
    int fileGroup;
    int lineGroup;
};

// Tried in order. The forms that name no line come last, so that they never take a line one
// of the others places.
const MessageForm kForms[] = {
    // MASM 5.x "HELLO.ASM(12): error A2009: ...", MASM 6.x "hello.asm(12) : error A2006: ..."
    {LR"(\s*{file}\({line}\)\s*:\s*(fatal error|error|warning)\b)", 3, 1, 2},
    // TASM "**Error** HELLO.ASM(12) ...", "*Warning* HELLO.ASM(7) ...", "**Fatal** ..."
    {LR"(\s*\*{1,2}(error|warning|fatal)\*{1,2}\s+{file}\({line}\))", 1, 2, 3},
    // Keil A51 "*** ERROR #A45 IN 12 (HELLO.A51, LINE 12): ..."
    {LR"(\s*\*{3}\s*(error|warning)\s+#?[a-z]*[0-9]+\s+in\s+[0-9]+\s+\({file},\s*line\s+{line}\))", 1, 2, 3},
    // GNU style "hello.asm:12: error: ..." and "hello.asm:12:5: ..."
    {LR"(\s*{file}:{line}:(?:[0-9]+:)?\s*(fatal error|error|warning)?)", 3, 1, 2},
    // as31 "Warning, line 5, syntax error near ...", about the file it was given
    {LR"(\s*(error|warning),\s*line\s+{line},)", 1, 0, 2},
    // A tool about itself: "LINK : error L2029: ...", "ML : fatal error A1000: ..."
    {LR"(\s*[a-z][a-z0-9_]*\s*:\s*(fatal error|error|warning)\s+[a-z]+[0-9]+\s*:)", 1, 0, 0},
    // JWasm and its kin about no line: "Error A2106: Cannot open file: ..."
    {LR"(\s*(fatal error|error|warning)\s+[a-z]+[0-9]+\s*:)", 1, 0, 0},
    // TLINK "Error: Undefined symbol FOO in module HELLO.ASM", "Warning: ...", "Fatal: ..."
    {LR"(\s*(error|warning|fatal):\s)", 1, 0, 0},
    // TASM about no line of a file: "**Fatal** Command line: Can't locate file: X.ASM"
    {LR"(\s*\*{1,2}(error|warning|fatal)\*{1,2}\s+(?![^\s(]*\())", 1, 0, 0},
};

// A file name as the tools print it: no blanks, brackets, quotes or colons (but for a drive),
// and an extension, which keeps times and counts ("12:30:") from passing for names.
const wchar_t kFilePattern[] = LR"(((?:[a-z]:)?[^\s"'()<>|*?:,]*\.[a-z0-9_]+))";
// A line number; 0 and leading zeros are no line.
const wchar_t kLinePattern[] = LR"(([1-9][0-9]{0,8}))";

std::wstring Expand(std::wstring pattern, std::wstring_view placeholder, std::wstring_view value)
{
    for (size_t at = pattern.find(placeholder); at != std::wstring::npos; at = pattern.find(placeholder, at))
        pattern.replace(at, placeholder.size(), value);
    return pattern;
}

// Everything a message form looks at lies within a line's first characters; the rest is the
// message's own text, which the patterns never scan (long lines would cost, and the
// library's matcher recurses per character).
constexpr size_t kHeadLength = 400;

const std::vector<std::wregex>& CompiledForms()
{
    static const std::vector<std::wregex> compiled = [] {
        std::vector<std::wregex> forms;
        for (const MessageForm& form : kForms)
            forms.emplace_back(Expand(Expand(form.pattern, L"{file}", kFilePattern), L"{line}", kLinePattern),
                               std::regex::ECMAScript | std::regex::icase | std::regex::optimize);
        return forms;
    }();
    return compiled;
}

ToolMessage::Severity SeverityOf(std::wstring word)
{
    for (wchar_t& c : word)
        c = c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    if (word.find(L"error") != std::wstring::npos || word == L"fatal")
        return ToolMessage::Severity::Error;
    if (word == L"warning")
        return ToolMessage::Severity::Warning;
    return ToolMessage::Severity::Other;
}

template <typename Match> std::wstring Group(const Match& match, int group)
{
    return group > 0 ? match[static_cast<size_t>(group)].str() : std::wstring();
}
}

namespace {
// Every form holds a severity word or, for the GNU form without one, a colon before a line
// number: a line with neither is none, found without a pattern (tools print thousands).
bool MayBeMessage(std::wstring_view head)
{
    for (size_t i = 0; i < head.size(); ++i) {
        const wchar_t c = head[i] | 0x20;
        if (head[i] == L':' && i + 1 < head.size() && head[i + 1] >= L'1' && head[i + 1] <= L'9')
            return true;
        for (std::wstring_view word : {L"error", L"warning", L"fatal"}) {
            if (c != word[0] || head.size() - i < word.size())
                continue;
            size_t k = 1;
            while (k < word.size() && (head[i + k] | 0x20) == word[k])
                ++k;
            if (k == word.size())
                return true;
        }
    }
    return false;
}
}

std::optional<ToolMessage> RecogniseToolMessage(std::wstring_view line)
{
    if (!MayBeMessage(line.substr(0, kHeadLength)))
        return std::nullopt;
    const std::wstring head(line.substr(0, kHeadLength));
    const std::vector<std::wregex>& compiled = CompiledForms();
    for (size_t i = 0; i < compiled.size(); ++i) {
        std::wsmatch match;
        if (!std::regex_search(head, match, compiled[i], std::regex_constants::match_continuous))
            continue;
        const MessageForm& form = kForms[i];
        ToolMessage message;
        message.severity = SeverityOf(Group(match, form.severityGroup));
        message.strFile = Group(match, form.fileGroup);
        const std::wstring number = Group(match, form.lineGroup);
        message.nLine = number.empty() ? 0 : std::stoi(number);
        return message;
    }
    return std::nullopt;
}
