// korvane-dos.exe --observe: at each machine time asked for (milliseconds), what every device
// of the machine shows, a line "[name] time=N ms" before each device's view, on standard output
// as the program's output goes; so that tests drive devices without a window. With a lab box
// attached the box's lines alone after "T=N", its hands (--set) put on it at their times, and
// the run over 1 s after the last time asked for. With fixed time a run stops at the
// instruction where a time falls due; in real time at the slice after.
#pragma once

#include "dos/DosHost.h"
#include "dos/DosMachine.h"
#include "dosrun/RunnerOptions.h"
#include "labbox/LabBox.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dos {

class CDeviceObserver {
public:
    // times: milliseconds of machine time, ascending.
    CDeviceObserver(IDosHost& host, std::vector<uint64_t> times) : m_host(host), m_times(std::move(times)) {}
    // The box the lines come from and the hands on it (in any order).
    void WatchBox(labbox::CLabBox& box, const std::vector<BoxSetting>& settings);

    // The budget of the next run: no further than the next time asked for or the next hand,
    // where time is fixed.
    uint64_t Budget(const CDosMachine& machine, uint64_t budget) const;
    // Puts on the hands and prints what the times that have come show.
    void CatchUp(const CDosMachine& machine);
    // The program ended: the times still to come show the machine as it ended.
    void Finish(const CDosMachine& machine);
    // With a box: the last time asked for is a second past.
    bool Over(const CDosMachine& machine) const;

private:
    // A hand at a time (ns), in order.
    struct Hand {
        uint64_t at;
        BoxSetting setting;
        bool release;
    };

    void Print(const CDosMachine& machine, uint64_t ms);
    void Apply(const Hand& hand);
    uint64_t NextDue() const;

    IDosHost& m_host;
    std::vector<uint64_t> m_times;
    size_t m_nNext = 0;
    labbox::CLabBox* m_pBox = nullptr;
    std::vector<Hand> m_hands;
    size_t m_nNextHand = 0;
};

}  // namespace dos
