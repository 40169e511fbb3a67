// The ports device: the latches it is told, as text and as LEDs.
#include "mcs51/PortsDevice51.h"

#include <cstdio>

namespace mcs51 {

namespace {
// In half pixels from an LED's centre: the lit or dark disc, then its black rim.
const int kDiscRadius2 = 8;
const int kRimRadius2 = 10;
}

CPortsDevice51::CPortsDevice51()
{
    for (std::atomic<uint8_t>& latch : m_abyLatches)
        latch.store(0xFF, std::memory_order_relaxed);
}

machine::DeviceView CPortsDevice51::View() const
{
    std::array<uint8_t, 4> latches{};
    for (unsigned port = 0; port < 4; ++port)
        latches[port] = Latch(port);
    machine::DeviceView view;
    char text[32];
    std::snprintf(text, sizeof text, "P0=%02X P1=%02X P2=%02X P3=%02X\r\n", latches[0], latches[1], latches[2], latches[3]);
    view.text = text;
    view.picture = machine::ScreenImage::Pixels(8 * kLedPitch, 4 * kLedPitch);
    for (int y = 0; y < view.picture.height; ++y) {
        const int dy = 2 * (y % kLedPitch) + 1 - kLedPitch;
        for (int x = 0; x < view.picture.width; ++x) {
            const int dx = 2 * (x % kLedPitch) + 1 - kLedPitch;
            const int distance = dx * dx + dy * dy;
            const bool lit = (latches[static_cast<size_t>(y / kLedPitch)] >> (7 - x / kLedPitch)) & 1;
            uint32_t colour = kBoard;
            if (distance <= kDiscRadius2 * kDiscRadius2)
                colour = lit ? kLit : kDark;
            else if (distance <= kRimRadius2 * kRimRadius2)
                colour = kRim;
            view.picture.Pixel(x, y) = colour;
        }
    }
    return view;
}

void CPortsDevice51::OnAttach(const CPinLink51& link)
{
    for (unsigned port = 0; port < 4; ++port)
        m_abyLatches[port].store(link.Latch(port), std::memory_order_relaxed);
}

void CPortsDevice51::OnLatch(unsigned port, uint8_t latch, uint64_t)
{
    m_abyLatches[port & 3].store(latch, std::memory_order_relaxed);
}

}  // namespace mcs51
