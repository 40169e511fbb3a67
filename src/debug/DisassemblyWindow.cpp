// Finding the instructions before the current one: every start within reach of `before` of
// the longest instructions whose decoding lands exactly on the current instruction votes for
// the instructions it passes; code decoded from different starts falls into step within a few
// instructions, so the most voted for, nearest first, are the real ones.
#include "debug/DisassemblyWindow.h"

#include <algorithm>
#include <map>

std::vector<uint16_t> CDisassemblyWindow::Starts(uint16_t current, int before, int after, const LengthAt& lengthAt)
{
    // The starts each landing decoding passes, nearest to the current instruction first.
    std::vector<std::vector<uint16_t>> chains;
    const unsigned reach = static_cast<unsigned>(std::max(before, 0)) * kLongestInstruction;
    for (unsigned back = 1; back <= reach; ++back) {
        std::vector<uint16_t> chain;
        auto at = static_cast<uint16_t>(current - back);
        unsigned walked = 0;
        while (walked < back) {
            chain.push_back(at);
            const unsigned length = std::max(lengthAt(at), 1u);
            walked += length;
            at = static_cast<uint16_t>(at + length);
        }
        if (walked == back) {
            std::reverse(chain.begin(), chain.end());
            chains.push_back(std::move(chain));
        }
    }
    std::vector<uint16_t> chosen;
    for (size_t k = 0; static_cast<int>(k) < before; ++k) {
        std::map<uint16_t, int> votes;
        for (const std::vector<uint16_t>& chain : chains)
            if (chain.size() > k && std::equal(chosen.begin(), chosen.end(), chain.begin()))
                ++votes[chain[k]];
        if (votes.empty())
            break;
        chosen.push_back(std::max_element(votes.begin(), votes.end(), [](const auto& a, const auto& b) {
                             return a.second < b.second;
                         })->first);
    }
    std::vector<uint16_t> starts(chosen.rbegin(), chosen.rend());
    auto at = current;
    for (int i = 0; i <= after; ++i) {
        starts.push_back(at);
        at = static_cast<uint16_t>(at + std::max(lengthAt(at), 1u));
    }
    return starts;
}
