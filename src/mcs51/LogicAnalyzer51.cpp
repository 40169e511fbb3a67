// The analyzer's lines and picture, its zoom and its cursors.
#include "mcs51/LogicAnalyzer51.h"

#include "mcs51/Canvas51.h"

#include <algorithm>
#include <cstdio>

namespace mcs51 {

namespace {
// The lengths of a division in machine cycles (microseconds at 12 MHz): 1-2-5 steps.
const uint64_t kScales[] = {10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000, 50000, 100000, 200000, 500000, 1000000};
const int kZooms = static_cast<int>(std::size(kScales));

// The lines' words in code page 936.
const char kTitle[] = "\xC2\xDF\xBC\xAD\xB7\xD6\xCE\xF6\xD2\xC7: \xC3\xBF\xB8\xF1 ";
const char kNoSignal[] = "\xCD\xA8\xB5\xC0: \xCE\xDE\xD0\xC5\xBA\xC5\xB1\xE4\xBB\xAF";
const char kPeriod[] = "\xD6\xDC\xC6\xDA ";
const char kHigh[] = "\xB8\xDF ";
const char kLow[] = "\xB5\xCD ";
const char kNow[] = "\xCF\xD6\xCE\xAA ";
const char kLastChange[] = "\xC9\xCF\xB4\xCE\xB1\xE4\xBB\xAF\xD3\xDA ";
const char kOverflowEvery[] = " \xD2\xE7\xB3\xF6: \xBC\xE4\xB8\xF4 ";
const char kOverflowAt[] = " \xD2\xE7\xB3\xF6: \xD3\xDA ";
const char kCursors[] = "\xB9\xE2\xB1\xEA: ";
const char kBetween[] = "\xBC\xE4\xB8\xF4 ";
const char kMicro[] = "\xA6\xCC";

const uint32_t kBackground = 0x101810;
const uint32_t kGrid = 0x2C402C;
const uint32_t kTrace = 0x40E040;
const uint32_t kTick = 0xE0C040;
const uint32_t kLabel = 0xE6E6E6;
const uint32_t kCursorColours[] = {0x40C0FF, 0xFF60FF};

const char* const kCounterNames[] = {"T0", "T1", "TH0", "T2"};

// A time in machine cycles as a person reads it: microseconds, milliseconds or seconds.
std::string Duration(uint64_t cycles, const char* micro)
{
    char text[32];
    if (cycles < 1000)
        std::snprintf(text, sizeof text, "%llu %ss", static_cast<unsigned long long>(cycles), micro);
    else if (cycles < 1000000)
        std::snprintf(text, sizeof text, "%.3f ms", static_cast<double>(cycles) / 1e3);
    else
        std::snprintf(text, sizeof text, "%.3f s", static_cast<double>(cycles) / 1e6);
    return text;
}

// A division's length, which is a whole number of its unit.
std::string Round(uint64_t cycles, const char* micro)
{
    if (cycles < 1000)
        return std::to_string(cycles) + " " + micro + "s";
    if (cycles < 1000000)
        return std::to_string(cycles / 1000) + " ms";
    return std::to_string(cycles / 1000000) + " s";
}

std::string ChannelName(unsigned channel)
{
    if (channel >= kPinChannels51)
        return kCounterNames[channel - kPinChannels51];
    return "P" + std::to_string(channel / 8) + "." + std::to_string(channel % 8);
}
}

void CLogicAnalyzer51::OnAttach(const CPinLink51& link)
{
    m_link = link;
    Start();
}

void CLogicAnalyzer51::Start()
{
    m_record.Start({m_link.Pins(0), m_link.Pins(1), m_link.Pins(2), m_link.Pins(3)}, m_link.Cycle());
    for (Cursor& cursor : m_cursors)
        cursor.cycle = kNever;
}

uint64_t CLogicAnalyzer51::Scale() const
{
    return kScales[m_nZoom.load()];
}

std::vector<unsigned> CLogicAnalyzer51::Shown() const
{
    std::vector<unsigned> shown;
    for (unsigned channel = 0; channel < kChannels51 && shown.size() < kMostRows; ++channel)
        if (m_record.Moved(channel))
            shown.push_back(channel);
    return shown;
}

machine::DeviceView CLogicAnalyzer51::View() const
{
    const std::vector<unsigned> shown = Shown();
    const uint64_t now = m_link.Cycle();
    const uint64_t span = Scale() * kDivisions;
    const uint64_t left = now > span ? now - span : 0;
    m_nShownFrom = left;
    return {Lines(shown), Picture(shown, left)};
}

std::string CLogicAnalyzer51::Lines(const std::vector<unsigned>& shown) const
{
    std::string lines = kTitle + Round(Scale(), kMicro) + "\r\n";
    if (shown.empty())
        lines += std::string(kNoSignal) + "\r\n";
    for (unsigned channel : shown)
        lines += ChannelLine(channel) + "\r\n";
    return lines + CursorLine(shown);
}

std::string CLogicAnalyzer51::ChannelLine(unsigned channel) const
{
    const std::string name = ChannelName(channel);
    if (channel >= kPinChannels51) {
        if (const auto interval = m_record.LastInterval(channel))
            return name + kOverflowEvery + Duration(*interval, kMicro);
        return name + kOverflowAt + Duration(m_record.Entries(channel).back().cycle, kMicro);
    }
    if (const auto period = m_record.LastPeriod(channel))
        return name + ": " + kPeriod + Duration(period->high + period->low, kMicro) + ", " + kHigh +
               Duration(period->high, kMicro) + ", " + kLow + Duration(period->low, kMicro);
    const Entry51& last = m_record.Entries(channel).back();
    return name + ": " + kNow + (last.high ? "1" : "0") + ", " + kLastChange + Duration(last.cycle, kMicro);
}

std::string CLogicAnalyzer51::CursorLine(const std::vector<unsigned>& shown) const
{
    const uint64_t a = CursorAt(m_cursors[0], shown);
    const uint64_t b = CursorAt(m_cursors[1], shown);
    if (a == kNever && b == kNever)
        return {};
    std::string line = kCursors;
    if (a != kNever)
        line += "A " + Duration(a, kMicro);
    if (b != kNever)
        line += std::string(a != kNever ? ", " : "") + "B " + Duration(b, kMicro);
    if (a != kNever && b != kNever)
        line += std::string(", ") + kBetween + Duration(a > b ? a - b : b - a, kMicro);
    return line + "\r\n";
}

uint64_t CLogicAnalyzer51::CursorAt(const Cursor& cursor, const std::vector<unsigned>& shown) const
{
    const uint64_t cycle = cursor.cycle.load();
    const auto row = static_cast<size_t>(cursor.row.load());
    if (cycle == kNever || row >= shown.size())
        return kNever;
    return m_record.NearestEdge(shown[row], cycle).value_or(cycle);
}

bool CLogicAnalyzer51::Input(const machine::DeviceInput& input)
{
    if (!input.pointer) {
        if (input.key == '+' || input.key == '=')
            m_nZoom = std::max(0, m_nZoom.load() - 1);
        else if (input.key == '-')
            m_nZoom = std::min(kZooms - 1, m_nZoom.load() + 1);
        else
            return false;
        return true;
    }
    if (input.action != machine::DeviceInput::Action::Press)
        return false;
    if (input.x < kLabelWidth) {
        for (Cursor& cursor : m_cursors)
            cursor.cycle = kNever;
        m_nNextCursor = 0;
        return true;
    }
    const int which = m_nNextCursor.load();
    Cursor& cursor = m_cursors[static_cast<size_t>(which)];
    cursor.row = std::max(0, (input.y - kAxisHeight) / kRowHeight);
    cursor.cycle = m_nShownFrom.load() + static_cast<uint64_t>(input.x - kLabelWidth) * Scale() * kDivisions / kPlotWidth;
    m_nNextCursor = 1 - which;
    return true;
}

machine::ScreenImage CLogicAnalyzer51::Picture(const std::vector<unsigned>& shown, uint64_t left) const
{
    const int rows = std::max<int>(1, static_cast<int>(shown.size()));
    machine::ScreenImage image = machine::ScreenImage::Pixels(kLabelWidth + kPlotWidth, kAxisHeight + rows * kRowHeight + 2);
    CCanvas51 canvas(image);
    canvas.Fill({0, 0, image.width, image.height}, kBackground);
    const uint64_t span = Scale() * kDivisions;
    // The cycle's column of the plot.
    auto column = [&](uint64_t cycle) {
        return kLabelWidth + static_cast<int>(std::min<uint64_t>(cycle - std::min(cycle, left), span) * kPlotWidth / span);
    };
    for (int division = 0; division <= kDivisions; ++division) {
        const int x = std::min(image.width - 1, kLabelWidth + division * kPlotWidth / kDivisions);
        canvas.Fill({x, kAxisHeight - 2, x + 1, image.height}, kGrid);
    }
    canvas.Text(kLabelWidth + 2, 1, Round(Scale(), "u") + "/div", 1, kLabel);
    for (size_t row = 0; row < shown.size(); ++row) {
        const unsigned channel = shown[row];
        const int top = kAxisHeight + static_cast<int>(row) * kRowHeight;
        canvas.Text(1, top + 3, ChannelName(channel), 1, kLabel);
        const std::deque<Entry51>& entries = m_record.Entries(channel);
        if (channel >= kPinChannels51) {
            for (size_t i = m_record.FirstAfter(channel, left); i < entries.size(); ++i) {
                const int x = column(entries[i].cycle);
                canvas.Fill({x, top + 2, x + 1, top + kRowHeight - 2}, kTick);
            }
            continue;
        }
        // Level by level from the one at the plot's left edge, each edge a vertical stroke.
        size_t i = m_record.FirstAfter(channel, left);
        std::optional<bool> level = m_record.LevelAt(channel, left);
        int x = kLabelWidth;
        const uint64_t end = left + span;
        while (x < kLabelWidth + kPlotWidth) {
            const bool more = i < entries.size() && entries[i].cycle <= end;
            const int next = more ? column(entries[i].cycle) : kLabelWidth + kPlotWidth;
            if (level) {
                const int y = *level ? top + 3 : top + kRowHeight - 4;
                canvas.Fill({x, y, std::max(next, x + 1), y + 1}, kTrace);
            }
            if (!more)
                break;
            canvas.Fill({next, top + 3, next + 1, top + kRowHeight - 3}, kTrace);
            level = entries[i].high;
            x = next;
            ++i;
        }
    }
    for (size_t c = 0; c < m_cursors.size(); ++c) {
        const uint64_t at = CursorAt(m_cursors[c], shown);
        if (at != kNever && at >= left && at <= left + span) {
            const int x = std::min(image.width - 1, column(at));
            canvas.Fill({x, kAxisHeight, x + 1, image.height}, kCursorColours[c]);
        }
    }
    return image;
}

}  // namespace mcs51
