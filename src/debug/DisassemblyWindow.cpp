// Finding the instructions before the current one: the earliest start (within reach of
// `before` of the longest instructions) whose decoding lands on the current instruction gives
// the most context; its last `before` instructions are shown.
#include "debug/DisassemblyWindow.h"

#include <algorithm>

std::vector<uint16_t> CDisassemblyWindow::Starts(uint16_t current, int before, int after, const LengthAt& lengthAt)
{
    std::vector<uint16_t> earlier;
    const unsigned reach = static_cast<unsigned>(std::max(before, 0)) * kLongestInstruction;
    for (unsigned back = reach; back > 0 && earlier.empty(); --back) {
        std::vector<uint16_t> chain;
        auto at = static_cast<uint16_t>(current - back);
        unsigned walked = 0;
        while (walked < back) {
            chain.push_back(at);
            const unsigned length = std::max(lengthAt(at), 1u);
            walked += length;
            at = static_cast<uint16_t>(at + length);
        }
        if (walked == back)
            earlier = std::move(chain);
    }
    if (static_cast<int>(earlier.size()) > before)
        earlier.erase(earlier.begin(), earlier.end() - before);
    std::vector<uint16_t> starts = std::move(earlier);
    auto at = current;
    for (int i = 0; i <= after; ++i) {
        starts.push_back(at);
        at = static_cast<uint16_t>(at + std::max(lengthAt(at), 1u));
    }
    return starts;
}
