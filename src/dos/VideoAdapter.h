// The VGA: its display memory (four planes behind A0000h-AFFFFh, which it answers itself, and
// the text and CGA memory at B0000h-BFFFFh, RAM that it shows), the sequencer (3C4h/3C5h), the
// graphics controller (3CEh/3CFh), the attribute controller and DAC (3C0h-3C1h, 3C6h-3C9h),
// misc output (3C2h, read at 3CCh), the CRTC (index and data at 3B4h/3B5h or 3D4h/3D5h)
// whose start address, offset and cursor decide what shows, and the status port whose retrace
// bits follow the 70 Hz frame in machine time. Its picture is cells in a text mode and pixels
// in a graphics mode, laid out as its registers say. Its planes and registers are state bytes
// of the machine's step-back history, which undoes them through the adapter.
#pragma once

#include "dos/BusDevice.h"
#include "dos/MachineClock.h"
#include "dos/Memory.h"
#include "dos/VgaMemory.h"
#include "dos/VgaModes.h"
#include "dos/VgaPalette.h"
#include "machine/ScreenImage.h"

#include <array>
#include <cstdint>
#include <span>

namespace dos {

class CVideoAdapter final : public CBusDevice, private IJournaledState {
public:
    static constexpr uint32_t kGraphicsFirst = 0xA0000;
    static constexpr uint32_t kGraphicsLast = 0xAFFFF;
    static constexpr uint32_t kMemoryFirst = 0xB0000;
    static constexpr uint32_t kMemoryLast = 0xBFFFF;

    // While it lasts, what is done to the registers (by a port, by a service of the BIOS or
    // DOS through the adapter's functions) goes to the step-back history as the bytes it
    // changed, when the history is attached; the planes' bytes go there as they change.
    class RegisterWatch {
    public:
        explicit RegisterWatch(CVideoAdapter& adapter);
        ~RegisterWatch();
        RegisterWatch(const RegisterWatch&) = delete;
        RegisterWatch& operator=(const RegisterWatch&) = delete;

    private:
        CVideoAdapter& m_adapter;
        bool m_bJournals = false;
    };

    CVideoAdapter(CMemory& memory, const CMachineClock& clock);

    // The registers of a mode as the BIOS programs them, with its default DAC and attribute
    // palettes; the planes cleared unless `keepMemory`.
    void LoadMode(const VgaMode& mode, bool keepMemory);
    // A text mode as the BIOS sets it: the monochrome adapter's (B000h, ports 3Bxh) or the
    // colour one's (B800h, 3Dxh), columns x rows cells.
    void SetTextMode(bool mono, int columns, int rows);
    void WriteCrtc(uint8_t index, uint8_t value);
    uint8_t Crtc(uint8_t index) const { return m_own.crtc[index & 31]; }
    // The layout the registers give the memory now.
    VgaMode::Layout Layout() const;
    // A pixel's value in a graphics mode, `base` bytes into the shown memory (a page's start).
    uint8_t Pixel(uint32_t base, int x, int y) const { return PixelIn(Layout(), base, x, y); }
    void SetPixel(uint32_t base, int x, int y, uint8_t value);
    CVgaPalette& Palette() { return m_palette; }
    CVgaMemory& Planes() { return m_planes; }

    uint8_t In(uint16_t port) override;
    void Out(uint16_t port, uint8_t value) override;
    uint8_t Read(uint32_t linear) override;
    void Write(uint32_t linear, uint8_t value) override;
    // What Read would give, the latches left as they are.
    uint8_t Peek(uint32_t linear) override;
    std::string_view Name() const override { return "video"; }
    machine::DeviceView View() const override;
    // What the monitor shows now.
    machine::ScreenImage Screen() const;

private:
    // The CRTC's ports answer at the adapter's own base only (3B4h mono, 3D4h colour).
    bool OwnPort(uint16_t port) const { return (port & 0xFFF0) == (m_own.mono ? 0x3B0 : 0x3D0); }
    uint8_t Status() const;
    // The planes answer at A0000h only while the graphics controller maps them there.
    bool PlanesMapped() const { return (m_planes.GraphicsRegister(CVgaMemory::kMisc) >> 2 & 3) < 2; }
    uint16_t Word(uint8_t high) const { return static_cast<uint16_t>(m_own.crtc[high] << 8 | m_own.crtc[high + 1]); }
    // The picture's size in pixels from the CRTC's display ends and scan doubling.
    int Width() const;
    int Height() const;
    // Bytes of a plane (or of the CGA's banks) from one line to the next.
    uint32_t LineBytes() const { return m_own.crtc[0x13] * 2u; }
    // Where a pixel's byte lies in the CGA's RAM, from B8000h.
    uint32_t CgaAddress(uint32_t base, int x, int y, int pixelsPerByte) const;
    bool OneBitCga() const { return (m_planes.GraphicsRegister(CVgaMemory::kMode) & 0x20) == 0; }
    uint8_t PixelIn(VgaMode::Layout layout, uint32_t base, int x, int y) const;
    machine::ScreenImage TextScreen() const;
    machine::ScreenImage GraphicsScreen() const;
    uint8_t PortIn(uint16_t port);

    // The adapter's own registers, beside the planes' and the palette's.
    struct Registers {
        bool mono = false;
        int columns = 80;
        int rows = 25;
        // The CRTC's index.
        uint8_t index = 0;
        uint8_t crtc[32] = {};
        uint8_t sequencerIndex = 0;
        uint8_t graphicsIndex = 0;
        uint8_t misc = 0x67;
    };
    static constexpr uint32_t kRegisterBytes = sizeof(CVgaMemory::Registers) + sizeof(Registers) + sizeof(CVgaPalette);
    // The state bytes the history keeps: the four planes, then the registers.
    static constexpr uint32_t kStateSize = CVgaMemory::kPlanesSize + kRegisterBytes;

    // The registers' bytes as the history keeps them after the planes: the planes' (with the
    // latches), the adapter's own, the palette's.
    std::array<std::span<uint8_t>, 3> RegisterBlocks();
    void CopyRegisters(uint8_t* bytes);
    // Tells the history the registers' bytes that differ from `before`.
    void JournalRegisters(const uint8_t* before);
    void RestoreState(uint32_t offset, uint8_t value) override;

    CMemory& m_memory;
    const CMachineClock& m_clock;
    CVgaMemory m_planes;
    CVgaPalette m_palette;
    Registers m_own;
    // Where the state bytes lie in the history's addresses.
    uint32_t m_nStateBase = 0;
    // How many RegisterWatch objects are open: only the outermost journals, against the
    // registers as it found them.
    int m_nWatches = 0;
    std::array<uint8_t, kRegisterBytes> m_registersBefore{};
};

}  // namespace dos
