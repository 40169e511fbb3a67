// The analyzer's record: edges and overflows kept in order, measured from their end.
#include "mcs51/LogicRecord51.h"

#include <algorithm>

namespace mcs51 {

void CLogicRecord51::Start(const std::array<uint8_t, 4>& pins, uint64_t cycle)
{
    for (auto& channel : m_channels)
        channel.clear();
    m_levels = pins;
    for (unsigned channel = 0; channel < kPinChannels51; ++channel)
        m_channels[channel].push_back({cycle, static_cast<bool>((pins[channel / 8] >> (channel % 8)) & 1)});
}

void CLogicRecord51::Pins(unsigned port, uint8_t pins, uint64_t cycle)
{
    const uint8_t moved = pins ^ m_levels[port];
    if (!moved)
        return;
    m_levels[port] = pins;
    for (unsigned bit = 0; bit < 8; ++bit)
        if ((moved >> bit) & 1)
            Add(port * 8 + bit, cycle, (pins >> bit) & 1);
}

void CLogicRecord51::Overflow(TimerCounter51 counter, uint64_t cycle)
{
    Add(kPinChannels51 + counter, cycle, true);
}

void CLogicRecord51::Add(unsigned channel, uint64_t cycle, bool high)
{
    std::deque<Entry51>& entries = m_channels[channel];
    // An edge in the same cycle as the last one undoes it (a pulse no instruction could see).
    if (channel < kPinChannels51 && entries.size() > 1 && entries.back().cycle == cycle) {
        entries.pop_back();
        return;
    }
    entries.push_back({cycle, high});
    if (entries.size() > kEntriesKept)
        entries.pop_front();
}

void CLogicRecord51::Truncate(uint64_t cycle)
{
    for (unsigned channel = 0; channel < kChannels51; ++channel) {
        std::deque<Entry51>& entries = m_channels[channel];
        // A pin keeps its first entry: the level it had since the record began.
        while (entries.size() > FirstEdge(channel) && entries.back().cycle > cycle)
            entries.pop_back();
    }
    for (unsigned port = 0; port < 4; ++port) {
        uint8_t level = 0;
        for (unsigned bit = 0; bit < 8; ++bit)
            if (!m_channels[port * 8 + bit].empty() && m_channels[port * 8 + bit].back().high)
                level = static_cast<uint8_t>(level | (1u << bit));
        m_levels[port] = level;
    }
}

bool CLogicRecord51::Moved(unsigned channel) const
{
    return m_channels[channel].size() > FirstEdge(channel);
}

size_t CLogicRecord51::FirstAfter(unsigned channel, uint64_t cycle) const
{
    const std::deque<Entry51>& entries = m_channels[channel];
    return static_cast<size_t>(std::upper_bound(entries.begin(), entries.end(), cycle,
                                                [](uint64_t c, const Entry51& e) { return c < e.cycle; }) -
                               entries.begin());
}

std::optional<bool> CLogicRecord51::LevelAt(unsigned channel, uint64_t cycle) const
{
    const size_t after = FirstAfter(channel, cycle);
    if (after == 0)
        return std::nullopt;
    return m_channels[channel][after - 1].high;
}

std::optional<Period51> CLogicRecord51::LastPeriod(unsigned channel) const
{
    const std::deque<Entry51>& entries = m_channels[channel];
    // Levels alternate after the first entry: the last rising edge, the falling one and the
    // rising one before it.
    for (size_t i = entries.size(); i-- > FirstEdge(channel) + 2;) {
        if (entries[i].high)
            return Period51{entries[i - 1].cycle - entries[i - 2].cycle, entries[i].cycle - entries[i - 1].cycle};
    }
    return std::nullopt;
}

std::optional<uint64_t> CLogicRecord51::LastInterval(unsigned channel) const
{
    const std::deque<Entry51>& entries = m_channels[channel];
    if (entries.size() < 2)
        return std::nullopt;
    return entries.back().cycle - entries[entries.size() - 2].cycle;
}

std::optional<uint64_t> CLogicRecord51::NearestEdge(unsigned channel, uint64_t cycle) const
{
    const std::deque<Entry51>& entries = m_channels[channel];
    const size_t after = FirstAfter(channel, cycle);
    std::optional<uint64_t> nearest;
    auto consider = [&](size_t i) {
        if (i < FirstEdge(channel) || i >= entries.size())
            return;
        const uint64_t at = entries[i].cycle;
        const uint64_t distance = at > cycle ? at - cycle : cycle - at;
        if (!nearest || distance < (*nearest > cycle ? *nearest - cycle : cycle - *nearest))
            nearest = at;
    };
    consider(after);
    if (after > 0)
        consider(after - 1);
    return nearest;
}

}  // namespace mcs51
