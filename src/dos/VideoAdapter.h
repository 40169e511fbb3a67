// The video adapter in its text modes: the CRTC (index and data at 3B4h/3B5h or 3D4h/3D5h) whose
// start address, cursor location and cursor shape decide what shows, the status port whose
// retrace bits follow the 70 Hz frame in machine time, and the text memory at B0000h-BFFFFh,
// which is RAM the adapter shows. Its picture is the screen as cells.
#pragma once

#include "dos/BusDevice.h"
#include "dos/MachineClock.h"
#include "dos/Memory.h"
#include "machine/ScreenImage.h"

#include <cstdint>

namespace dos {

class CVideoAdapter final : public CBusDevice {
public:
    static constexpr uint32_t kMemoryFirst = 0xB0000;
    static constexpr uint32_t kMemoryLast = 0xBFFFF;

    CVideoAdapter(const CMemory& memory, const CMachineClock& clock) : m_memory(memory), m_clock(clock) {}

    // A text mode as the BIOS sets it: the monochrome adapter's (B000h, ports 3Bxh) or the
    // colour one's (B800h, 3Dxh), columns x rows cells; start, cursor and shape as the BIOS
    // programs them.
    void SetTextMode(bool mono, int columns, int rows);
    void WriteCrtc(uint8_t index, uint8_t value);
    uint8_t Crtc(uint8_t index) const { return m_crtc[index & 31]; }

    uint8_t In(uint16_t port) override;
    void Out(uint16_t port, uint8_t value) override;
    std::string_view Name() const override { return "video"; }
    machine::DeviceView View() const override;
    // What the monitor shows now.
    machine::ScreenImage Screen() const;

private:
    // The CRTC's ports answer at the adapter's own base only (3B4h mono, 3D4h colour).
    bool OwnPort(uint16_t port) const { return (port & 0xFFF0) == (m_bMono ? 0x3B0 : 0x3D0); }
    uint8_t Status() const;
    uint16_t Word(uint8_t high) const { return static_cast<uint16_t>(m_crtc[high] << 8 | m_crtc[high + 1]); }

    const CMemory& m_memory;
    const CMachineClock& m_clock;
    bool m_bMono = false;
    int m_nColumns = 80;
    int m_nRows = 25;
    uint8_t m_nIndex = 0;
    uint8_t m_crtc[32] = {};
};

}  // namespace dos
