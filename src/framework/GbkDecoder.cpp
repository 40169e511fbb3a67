// Decoding GBK with the system's table.
#include "framework/GbkDecoder.h"

#include "framework/Unicode.h"

#include <windows.h>

size_t CGbkDecoder::PairIndex(unsigned char lead, unsigned char trail)
{
    if (lead < kFirstLead || lead > kLastLead || trail < kFirstTrail || trail > kLastTrail || trail == kNoTrail)
        return kNoPair;
    const size_t column = trail < kNoTrail ? trail - kFirstTrail : trail - kFirstTrail - 1;
    return (lead - kFirstLead) * kTrails + column;
}

bool CGbkDecoder::FillTable()
{
    std::string pairs;
    pairs.reserve((kLastLead - kFirstLead + 1) * kTrails * 2);
    for (unsigned lead = kFirstLead; lead <= kLastLead; ++lead) {
        for (unsigned trail = kFirstTrail; trail <= kLastTrail; ++trail) {
            if (trail != kNoTrail) {
                pairs += static_cast<char>(lead);
                pairs += static_cast<char>(trail);
            }
        }
    }
    m_chars = DecodeCodePage(pairs, kGbkCodePage);
    m_trips.assign(m_chars.size(), Trip::Unknown);
    return m_chars.size() * 2 == pairs.size();
}

bool CGbkDecoder::RoundTrips(size_t pair)
{
    if (m_trips[pair] == Trip::Unknown) {
        const size_t lead = kFirstLead + pair / kTrails;
        size_t trail = kFirstTrail + pair % kTrails;
        if (trail >= kNoTrail)
            ++trail;
        const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
        bool lossy = false;
        const bool exact = EncodeCodePage(std::wstring_view(&m_chars[pair], 1), kGbkCodePage, &lossy) == bytes && !lossy;
        m_trips[pair] = exact ? Trip::Exact : Trip::Lossy;
    }
    return m_trips[pair] == Trip::Exact;
}

std::optional<std::wstring> CGbkDecoder::DecodeExactly(std::string_view bytes)
{
    if (!m_bFilled) {
        m_bFilled = true;
        m_bUsable = FillTable();
    }
    if (!m_bUsable)
        return std::nullopt;
    std::wstring text(bytes.size(), L'\0');
    size_t out = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte != 0 && byte < 0x80) {
            text[out++] = byte;
            continue;
        }
        const size_t pair = i + 1 < bytes.size() ? PairIndex(byte, static_cast<unsigned char>(bytes[i + 1])) : kNoPair;
        if (pair == kNoPair || !RoundTrips(pair))
            return std::nullopt;
        text[out++] = m_chars[pair];
        ++i;
    }
    text.resize(out);
    return text;
}
