// What a debugger pane shows: its text, the parts of it shown in colour (a register or byte
// a step changed, the current instruction, a return address), and the address of each line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// How a pane's marked parts look: red text (what a step changed), the line on a yellow ground
// (the current instruction), or blue text (a return address).
enum class MarkLook : uint8_t { Changed, Current, Return };

struct TextMark {
    int line = 0;
    int column = 0;
    int length = 0;

    friend bool operator==(const TextMark&, const TextMark&) = default;
};

struct PaneText {
    // Lines ended by CR LF; bytes in the machine's code page (the screen's) or ASCII.
    std::string text{};
    std::vector<TextMark> marks{};
    // Per line where the pane has addresses (memory, stack, disassembly, variables): the
    // address of its first byte, as breakpoints and edits take it.
    std::vector<uint32_t> lineAddresses{};
    // False when the pane's address expression could not be read (the text is then empty).
    bool valid = true;
};
