// GBK bytes decoded as the system decodes code page 936, one character at a time from a table
// the system filled once, and known to give the same bytes back: a large source file is read
// without asking the system to decode it and then to encode it all again.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CGbkDecoder {
public:
    // The text of the bytes, when each byte is ASCII other than zero or starts a pair whose
    // character the system encodes back to that pair; nothing otherwise, and then the
    // system's own decoding tells what the bytes become.
    std::optional<std::wstring> DecodeExactly(std::string_view bytes);

private:
    static constexpr unsigned kFirstLead = 0x81, kLastLead = 0xFE;
    static constexpr unsigned kFirstTrail = 0x40, kLastTrail = 0xFE, kNoTrail = 0x7F;
    static constexpr size_t kTrails = kLastTrail - kFirstTrail;

    // The index of a pair in the table, or kNoPair for bytes that are no pair.
    static constexpr size_t kNoPair = static_cast<size_t>(-1);
    static size_t PairIndex(unsigned char lead, unsigned char trail);
    // The system's character for every pair, decoded in one call; false when it gave back
    // anything but one character a pair.
    bool FillTable();
    // Whether the pair's character encodes back to the pair, asked of the system the first
    // time the pair is met.
    bool RoundTrips(size_t pair);

    enum class Trip : unsigned char { Unknown, Exact, Lossy };
    std::wstring m_chars;
    std::vector<Trip> m_trips;
    bool m_bFilled = false;
    bool m_bUsable = false;
};
