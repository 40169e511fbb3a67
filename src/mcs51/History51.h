// The step-back history: for each instruction run, where it started, the devices' own state
// and the bytes it overwrote, in rings that keep the last instructions (at least 100,000).
// Nothing before the point where the receiver took a byte from the host can be undone.
#pragma once

#include "mcs51/Mcs51State.h"
#include "mcs51/Peripherals51.h"
#include "mcs51/WriteLog51.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mcs51 {

struct HistoryEntry51 {
    uint64_t cycle = 0;
    // The number of the first write the instruction made.
    uint64_t firstWrite = 0;
    Devices51State devices;
    uint16_t pc = 0;
};

class CHistory51 {
public:
    static const size_t kInstructions = 100000;
    // Room for the bytes of kInstructions instructions that write twenty each, more than the
    // busiest (a call with an interrupt after it and the devices catching up) do.
    static const size_t kWrites = size_t{1} << 21;

    explicit CHistory51(Mcs51State& state, size_t instructions = kInstructions, size_t writesPow2 = kWrites);
    ~CHistory51();
    CHistory51(const CHistory51&) = delete;
    CHistory51& operator=(const CHistory51&) = delete;

    // An instruction starts; its writes go to the log from here on.
    void Begin(uint16_t pc, uint64_t cycle, const Devices51State& devices);
    // The instruction just begun did not run.
    void Drop();
    // Forgets every instruction so far (the host's input cannot be given back).
    void Limit() { m_nCount = 0; }
    size_t Size() const { return m_nCount; }
    // Puts back the memories as before the last instruction and hands its entry over to put
    // back the rest; false when nothing is left to undo.
    bool Undo(HistoryEntry51& entry);

private:
    Mcs51State& m_s;
    CWriteLog51 m_log;
    std::vector<HistoryEntry51> m_entries;
    size_t m_nNext = 0;
    size_t m_nCount = 0;
};

}  // namespace mcs51
