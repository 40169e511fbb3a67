// The explanations of the tools' messages, a table a tool, each in a source file of its own.
#pragma once

#include "explain/MessageKey.h"

#include <span>

namespace explain {

struct MessageEntry {
    // The message's number; 0 in the tables of the tools that print none.
    int nNumber;
    // For those tools, the message's text: '*' stands for any run of characters (a name, a
    // number), letter case does not count, and whatever follows the pattern is left over.
    const wchar_t* pszPattern;
    const wchar_t* pszShort;
    // What it means, then "常见原因：" and "处理：".
    const wchar_t* pszFull;
};

std::span<const MessageEntry> MasmMessages();
std::span<const MessageEntry> LinkMessages();
std::span<const MessageEntry> TasmMessages();
std::span<const MessageEntry> As31Messages();
std::span<const MessageEntry> Asm51Messages();

std::span<const MessageEntry> MessagesOf(MessageTool tool);

}  // namespace explain
