// What the 说明 pane and the status line say.
#include "frame/Explanations.h"

#include "explain/InterruptFinder.h"
#include "explain/InterruptFunction.h"
#include "explain/MessageExplainer.h"
#include "explain/WordDescriber.h"
#include "framework/Unicode.h"
#include "text/TextBuffer.h"

#include <cwctype>
#include <vector>

namespace {

bool IsWordCharacter(wchar_t c)
{
    return std::iswalnum(c) || c == L'_' || c == L'.' || c == L'$' || c == L'@' || c == L'?';
}

// The lines above, nearest last, for the INT finder: as far as a procedure goes at most.
std::vector<std::wstring> LinesBefore(const CTextBuffer& text, size_t line)
{
    constexpr size_t kLookBack = 64;
    std::vector<std::wstring> before;
    for (size_t i = line > kLookBack ? line - kLookBack : 0; i < line; ++i)
        before.push_back(text.LineText(i));
    return before;
}

std::wstring Section(const wchar_t* heading, const std::wstring& body)
{
    return body.empty() ? std::wstring() : std::wstring(heading) + L"\r\n" + body + L"\r\n\r\n";
}

ShownExplanation OfInterrupt(const explain::InterruptFunction& function)
{
    wchar_t name[32];
    swprintf(name, 32, function.ah ? L"INT %02XH AH=%02XH" : L"INT %02XH", function.nNumber, function.ah.value_or(0));
    const std::wstring title = std::wstring(name) + L"：" + function.strName;
    const std::wstring full = title + L"\r\n\r\n" + Section(L"入口参数", function.strInput) +
                              Section(L"返回", function.strOutput) + Section(L"例子", function.strExample);
    return {Narrow(title), full};
}

ShownExplanation OfWord(const explain::Description& word)
{
    const std::wstring firstLine = word.strOperation.substr(0, word.strOperation.find(L'\n'));
    const std::wstring full = word.strWord + L"\r\n\r\n" + Section(L"格式", word.strForms) +
                              Section(L"功能", word.strOperation) + Section(L"影响的标志", word.strFlags) +
                              Section(L"时钟周期", word.strClocks) + Section(L"例子", word.strExample);
    return {Narrow(word.strWord + L"：" + firstLine), full};
}

}  // namespace

std::optional<ShownExplanation> ExplainOutputLine(const std::wstring& line)
{
    const std::optional<explain::Explanation> found = explain::ExplainMessage(line);
    if (!found)
        return std::nullopt;
    return ShownExplanation{Narrow(found->strShort), line + L"\r\n\r\n" + found->strFull};
}

std::optional<ShownExplanation> ExplainWordAt(const CTextBuffer& text, size_t caret, CompilerType toolchain)
{
    const size_t line = text.LineFromPosition(caret);
    const std::wstring lineText = text.LineText(line);
    size_t at = std::min(caret - text.LineStart(line), lineText.size());
    const explain::Machine machine =
        toolchain == CompilerType::Mcs51 ? explain::Machine::Mcs51 : explain::Machine::Pc8086;
    if (machine == explain::Machine::Pc8086) {
        const std::vector<std::wstring> before = LinesBefore(text, line);
        if (const auto call = explain::FindInterruptCall(lineText, before))
            if (const auto function = explain::DescribeInterrupt(call->nNumber, call->ah))
                return OfInterrupt(*function);
    }
    // The word the caret is in or just after.
    if (at > 0 && (at == lineText.size() || !IsWordCharacter(lineText[at])) && IsWordCharacter(lineText[at - 1]))
        --at;
    size_t start = at, end = at;
    while (start > 0 && IsWordCharacter(lineText[start - 1]))
        --start;
    while (end < lineText.size() && IsWordCharacter(lineText[end]))
        ++end;
    if (start == end)
        return std::nullopt;
    if (const auto word = explain::DescribeWord(std::wstring_view(lineText).substr(start, end - start), machine))
        return OfWord(*word);
    return std::nullopt;
}
