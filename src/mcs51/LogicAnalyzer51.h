// A logic analyzer on the 8051's pins and timers: it records every pin's level and each
// timer's overflows against machine time while the program runs (a machine cycle is a
// microsecond of a 12 MHz chip), and shows the channels that moved on a time grid that ends at
// the cycle the chip stands at, ten divisions of 10 us to 1 s each ('+' and '-' zoom), with two
// cursors a click puts on the nearest edge and the time between them. Its lines read each
// square wave's period and each timer's interval. A step back drops what it recorded after the
// cycle gone back to, so the record is always that of the run that led to where the chip is.
#pragma once

#include "mcs51/LogicRecord51.h"
#include "mcs51/PinDevice51.h"
#include "mcs51/Timers51.h"

#include <array>
#include <atomic>
#include <string>
#include <vector>

namespace mcs51 {

class CLogicAnalyzer51 final : public IPinDevice51, public ITimerWatch51 {
public:
    static constexpr int kDivisions = 10;
    // The picture's geometry: labels, then the plot; an axis line, then a row a channel.
    static constexpr int kLabelWidth = 36;
    static constexpr int kPlotWidth = 320;
    static constexpr int kAxisHeight = 10;
    static constexpr int kRowHeight = 14;
    static constexpr size_t kMostRows = 10;

    void OnAttach(const CPinLink51& link) override;
    void OnLatch(unsigned, uint8_t, uint64_t) override {}
    void OnPins(unsigned port, uint8_t pins, uint64_t cycle) override { m_record.Pins(port, pins, cycle); }
    void OnReset() override { Start(); }
    void OnRestored(uint64_t cycle) override { m_record.Truncate(cycle); }
    void OnOverflow(TimerCounter51 counter, uint64_t cycle) override { m_record.Overflow(counter, cycle); }

    std::string_view Name() const override { return "analyzer"; }
    // On the machine's thread, or while it stands still.
    machine::DeviceView View() const override;
    // A click on the plot puts a cursor on the nearest edge of the row's channel (the two in
    // turn), one on the labels takes both away; '+' and '-' zoom. Safe from any thread.
    bool Input(const machine::DeviceInput& input) override;

    const CLogicRecord51& Record() const { return m_record; }
    // Machine cycles a division.
    uint64_t Scale() const;

private:
    struct Cursor {
        std::atomic<uint64_t> cycle{kNever};
        std::atomic<int> row{0};
    };

    void Start();
    // The channels that moved, pins first, at most kMostRows.
    std::vector<unsigned> Shown() const;
    std::string Lines(const std::vector<unsigned>& shown) const;
    std::string ChannelLine(unsigned channel) const;
    std::string CursorLine(const std::vector<unsigned>& shown) const;
    // A cursor's cycle on the nearest edge of its row's channel; kNever while it is not set.
    uint64_t CursorAt(const Cursor& cursor, const std::vector<unsigned>& shown) const;
    machine::ScreenImage Picture(const std::vector<unsigned>& shown, uint64_t left) const;

    CPinLink51 m_link;
    CLogicRecord51 m_record;
    // The zoom (an index into the divisions' lengths) and the cursors, which any thread sets.
    std::atomic<int> m_nZoom{6};
    std::array<Cursor, 2> m_cursors;
    std::atomic<int> m_nNextCursor{0};
    // Where the last picture began, for the cycle a click means.
    mutable std::atomic<uint64_t> m_nShownFrom{0};
};

}  // namespace mcs51
