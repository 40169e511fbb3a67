// A sentence the user reads, as a machine's part of the debugger says it: a text of the string
// table and the inserts for its %1, %2 (UTF-8, as every text inside the program).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Sentence {
    uint32_t textId = 0;
    std::vector<std::string> inserts{};
};
