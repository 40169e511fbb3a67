// F1's lookup: the description of an instruction (the 8087's with the 8086's) or directive of a
// machine.
#pragma once

#include "explain/Description.h"

#include <optional>
#include <string_view>

namespace explain {

// Letter case does not count; nothing for a word that is neither.
std::optional<Description> DescribeWord(std::wstring_view word, Machine machine);

}  // namespace explain
