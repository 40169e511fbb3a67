// korvane-dos.exe --observe: at each machine time asked for (milliseconds), what every device
// of the machine shows, a line "[name] time=N ms" before each device's view, on standard output
// as the program's output goes; so that tests drive devices without a window. With fixed time
// a run stops at the instruction where the time falls due; in real time at the slice after.
#pragma once

#include "dos/DosHost.h"
#include "dos/DosMachine.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dos {

class CDeviceObserver {
public:
    // times: milliseconds of machine time, ascending.
    CDeviceObserver(IDosHost& host, std::vector<uint64_t> times) : m_host(host), m_times(std::move(times)) {}

    // The budget of the next run: no further than the next time asked for, where time is fixed.
    uint64_t Budget(const CDosMachine& machine, uint64_t budget) const;
    // Prints what the times that have come show.
    void CatchUp(const CDosMachine& machine);
    // The program ended: the times still to come show the machine as it ended.
    void Finish(const CDosMachine& machine);

private:
    void Print(const CDosMachine& machine, uint64_t ms);

    IDosHost& m_host;
    std::vector<uint64_t> m_times;
    size_t m_nNext = 0;
};

}  // namespace dos
