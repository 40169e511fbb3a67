// The step-back history's rings and the undoing of one instruction.
#include "mcs51/History51.h"

namespace mcs51 {

CHistory51::CHistory51(Mcs51State& state, size_t instructions, size_t writesPow2)
    : m_s(state), m_log(writesPow2), m_entries(instructions)
{
    m_s.log = &m_log;
}

CHistory51::~CHistory51() { m_s.log = nullptr; }

void CHistory51::Begin(uint16_t pc, uint64_t cycle, const Devices51State& devices)
{
    HistoryEntry51& entry = m_entries[m_nNext];
    entry.pc = pc;
    entry.cycle = cycle;
    entry.firstWrite = m_log.Next();
    entry.devices = devices;
    m_nNext = (m_nNext + 1) % m_entries.size();
    if (m_nCount < m_entries.size())
        ++m_nCount;
}

void CHistory51::Drop()
{
    if (!m_nCount)
        return;
    m_nNext = (m_nNext + m_entries.size() - 1) % m_entries.size();
    --m_nCount;
    m_log.Truncate(m_entries[m_nNext].firstWrite);
}

bool CHistory51::Undo(HistoryEntry51& entry)
{
    if (!m_nCount)
        return false;
    const size_t last = (m_nNext + m_entries.size() - 1) % m_entries.size();
    entry = m_entries[last];
    // The log may have lost the oldest instructions' writes to the newest ones.
    if (entry.firstWrite < m_log.Oldest()) {
        m_nCount = 0;
        return false;
    }
    for (uint64_t index = m_log.Next(); index-- > entry.firstWrite;) {
        const Write51& write = m_log.At(index);
        switch (static_cast<Mcs51Space>(write.space)) {
        case Mcs51Space::kIram:
            m_s.iram[write.address & 0xFF] = write.old;
            break;
        case Mcs51Space::kSfr:
            m_s.Sfr(static_cast<uint8_t>(write.address)) = write.old;
            break;
        case Mcs51Space::kXram:
            m_s.xram[write.address] = write.old;
            break;
        case Mcs51Space::kCode:
            m_s.code[write.address] = write.old;
            break;
        }
    }
    m_log.Truncate(entry.firstWrite);
    m_nNext = last;
    --m_nCount;
    return true;
}

}  // namespace mcs51
