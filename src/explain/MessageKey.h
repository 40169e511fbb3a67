// Which tool printed a message line and which of its messages it is: the number, or for the
// tools that print no numbers (TASM, as31) the message's own text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace explain {

enum class MessageTool { Masm, Tasm, Link, As31, Asm51 };

struct MessageKey {
    MessageTool tool = MessageTool::Masm;
    // MASM's 2009 of "A2009", LINK's 2029 of "L2029", Korvane's assembler's n of "A51-n";
    // 0 for TASM and as31.
    int nNumber = 0;
    // The message's text after its number or its position: "Symbol not defined: FOO".
    std::wstring strText;
};

// The key of a line of tool output (without its line break), or nothing for a line that is
// no message of these tools.
std::optional<MessageKey> MessageKeyOf(std::wstring_view line);

}  // namespace explain
