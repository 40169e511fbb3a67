// Looks a message up in its tool's table.
#include "explain/MessageExplainer.h"

#include <cwctype>

namespace explain {

std::span<const MessageEntry> MessagesOf(MessageTool tool)
{
    switch (tool) {
    case MessageTool::Masm: return MasmMessages();
    case MessageTool::Link: return LinkMessages();
    case MessageTool::Tasm: return TasmMessages();
    case MessageTool::As31: return As31Messages();
    case MessageTool::Asm51: return Asm51Messages();
    }
    return {};
}

namespace {

bool SameLetter(wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); }

// Whether the text begins with the pattern, '*' matching any run (the shortest that works).
bool MatchesFrom(std::wstring_view pattern, std::wstring_view text)
{
    if (pattern.empty())
        return true;
    if (pattern.front() == L'*') {
        for (size_t skip = 0; skip <= text.size(); ++skip)
            if (MatchesFrom(pattern.substr(1), text.substr(skip)))
                return true;
        return false;
    }
    return !text.empty() && SameLetter(pattern.front(), text.front()) && MatchesFrom(pattern.substr(1), text.substr(1));
}

const wchar_t* ToolName(MessageTool tool)
{
    switch (tool) {
    case MessageTool::Masm: return L"MASM";
    case MessageTool::Link: return L"LINK";
    case MessageTool::Tasm: return L"TASM";
    case MessageTool::As31: return L"as31";
    case MessageTool::Asm51: return L"Korvane 的 8051 汇编器";
    }
    return L"";
}

Explanation Unknown(const MessageKey& key)
{
    const std::wstring tool = ToolName(key.tool);
    const std::wstring what = key.nNumber != 0 ? L"编号 " + std::to_wstring(key.nNumber) : L"“" + key.strText + L"”";
    return {tool + L" 的这条消息（" + what + L"）没有说明",
            tool + L" 的这条消息（" + what + L"）不在 Korvane 已知的消息表中，没有说明。请按消息原文检查所指的行，"
                   L"或查阅该工具的手册。"};
}

// MASM's A4nnn and A5nnn are its message nnn as a warning, listed as A2nnn.
int ListedNumber(const MessageKey& key)
{
    const bool masmWarning = key.tool == MessageTool::Masm && (key.nNumber / 1000 == 4 || key.nNumber / 1000 == 5);
    return masmWarning ? 2000 + key.nNumber % 1000 : key.nNumber;
}

}  // namespace

const MessageEntry* FindMessage(const MessageKey& key)
{
    const int number = ListedNumber(key);
    for (const MessageEntry& entry : MessagesOf(key.tool)) {
        const bool found = number != 0 ? entry.nNumber == number
                                            : entry.pszPattern != nullptr && MatchesFrom(entry.pszPattern, key.strText);
        if (found)
            return &entry;
    }
    return nullptr;
}

std::optional<Explanation> ExplainMessage(std::wstring_view line)
{
    const std::optional<MessageKey> key = MessageKeyOf(line);
    if (!key)
        return std::nullopt;
    const MessageEntry* entry = FindMessage(*key);
    if (entry == nullptr)
        return Unknown(*key);
    return Explanation{entry->pszShort, entry->pszFull};
}

}  // namespace explain
