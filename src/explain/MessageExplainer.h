// The explanation of a line of tool output: found by its tool and number (or text) in the
// tables, or a text that says the tool's number is not among those Korvane knows.
#pragma once

#include "explain/Explanation.h"
#include "explain/MessageTable.h"

#include <optional>
#include <string_view>

namespace explain {

// The entry a key stands for, or nothing.
const MessageEntry* FindMessage(const MessageKey& key);

// Nothing for a line that is no message of the supported tools.
std::optional<Explanation> ExplainMessage(std::wstring_view line);

}  // namespace explain
