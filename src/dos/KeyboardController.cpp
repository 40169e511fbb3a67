// The keyboard controller's codes and ports.
#include "dos/KeyboardController.h"

#include "dos/DeviceText.h"

namespace dos {

void CKeyboardController::Reset()
{
    m_scans.clear();
    m_latched = Scan{0, true};
}

void CKeyboardController::QueueScan(uint16_t key)
{
    m_scans.push_back({key, false});
    m_scans.push_back({key, true});
}

void CKeyboardController::LatchNextScan()
{
    if (m_scans.empty())
        return;
    m_latched = m_scans.front();
    m_scans.pop_front();
}

uint8_t CKeyboardController::In(uint16_t port)
{
    if (port == 0x60) {
        uint8_t scan = static_cast<uint8_t>(m_latched.key >> 8);
        return m_latched.release ? static_cast<uint8_t>(scan | 0x80) : scan;
    }
    // Port 64h: keyboard enabled, system flag; the output buffer is full while codes wait.
    return static_cast<uint8_t>(0x14 | (m_scans.empty() ? 0 : 1));
}

uint64_t CKeyboardController::Advance(uint64_t)
{
    if (!m_scans.empty() && !m_pic.IsRequested(1) && !m_pic.IsInService(1))
        m_pic.Raise(1);
    return kNever;
}

machine::DeviceView CKeyboardController::View() const
{
    return {DeviceText::Line("60h=" + DeviceText::Hex(const_cast<CKeyboardController*>(this)->In(0x60), 2) +
                             " waiting " + std::to_string(m_scans.size())),
            {}};
}

}  // namespace dos
