// Which instructions a disassembly pane shows around the current one. Code has no marks where
// instructions begin, so the ones before it are those that decodings from earlier starts,
// arriving exactly at the current one, agree on.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

class CDisassemblyWindow {
public:
    // The length of the instruction at a 16-bit address (at least 1).
    using LengthAt = std::function<unsigned(uint16_t)>;
    static constexpr unsigned kLongestInstruction = 6;

    // The starts of up to `before` instructions before `current`, `current` itself and `after`
    // instructions after it, in order: `current` is the one `after` + 1 from the end.
    static std::vector<uint16_t> Starts(uint16_t current, int before, int after, const LengthAt& lengthAt);
};
