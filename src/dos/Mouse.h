// The mouse and its driver, INT 33h: front ends move the pointer over the picture and hold its
// buttons; the driver keeps the position in its virtual coordinates of the mode (a text cell
// 8 wide for 80 columns and 16 for 40, 8 high; 320-wide graphics modes doubled to 640; other
// modes as their pixels), the ranges, the mickeys, the presses and releases, the cursor drawn
// into video memory while it is shown, and calls the program's event handler as a driver does
// from its interrupt (IRQ 12, INT 74h): the machine takes the interrupt, the handler is called
// far with the event in its registers and returns through a routine in the BIOS's ROM, so a
// debugger steps through it as through any interrupt.
#pragma once

#include "dos/BusDevice.h"
#include "dos/CpuState.h"
#include "dos/MachineBus.h"
#include "dos/Memory.h"
#include "dos/MouseCursor.h"
#include "dos/VideoAdapter.h"

#include <array>
#include <cstdint>
#include <mutex>

namespace dos {

class CMouse final : public CBusDevice {
public:
    static constexpr uint8_t kVector = 0x33;
    static constexpr uint8_t kIrqVector = 0x74;
    // The handler's return in the BIOS's ROM, and the byte that says a handler runs.
    static constexpr uint16_t kReturnOffset = 0x0600;
    static constexpr uint16_t kBusyOffset = 0x0610;

    CMouse(CMemory& memory, CVideoAdapter& adapter) : m_memory(memory), m_adapter(adapter), m_cursor(memory, adapter) {}

    // The driver as INT 33h 00h leaves it, the pointer's buttons up, the handler's return in
    // the ROM (whose vectors the BIOS has set).
    void Reset();
    // The pointer over the picture, in the picture's pixels (in a text mode a cell counts 8 by
    // 8), and the buttons held (bit 0 left, 1 right, 2 middle). Safe from any thread; the
    // machine takes it at its next look at its devices.
    void SetPointer(int x, int y, unsigned buttons);
    uint64_t Advance(uint64_t now) override;

    // Conditions the program's handler asked for happened, and no call of it runs.
    bool CallWaiting() const;
    // The machine takes IRQ 12 for the call.
    void TakeCall() { m_bRequest = false; }
    void Interrupt33(CpuState& state);
    // IRQ 12's handler: the program's handler called with the events; or, while it runs, its
    // return through the ROM's routine.
    void Interrupt74(CpuState& state);
    // Around the BIOS's video services and DOS's output, which draw on the screen: the cursor
    // taken out, then drawn again (after a mode set, the driver's screen is the new mode's).
    void BeforeScreenService();
    void AfterScreenService(bool modeSet);

    std::string_view Name() const override { return "mouse"; }
    machine::DeviceView View() const override;

private:
    struct Pointer {
        int x = 0;
        int y = 0;
        unsigned buttons = 0;
    };
    // The mode's screen as the driver sees it.
    struct Screen {
        bool text = false;
        // Pixels (graphics) or cells (text).
        int width = 640;
        int height = 200;
        // Virtual units a pixel (graphics) or a cell (text) is wide and high.
        int unitX = 1;
        int unitY = 1;
    };
    struct ButtonRecord {
        uint16_t count = 0;
        uint16_t x = 0;
        uint16_t y = 0;
    };

    Screen CurrentScreen() const;
    // The display variables for the mode: full ranges, the position in the middle, no cursor.
    void ResetScreen();
    void ResetDriver();
    // The pointer taken into the driver: motion, presses and releases, conditions to call for.
    void Follow(const Pointer& pointer);
    void Move(int x, int y);
    void Show();
    void Hide();
    void Redraw();
    void ButtonInfo(CpuState& state, bool presses);
    void SetRange(int& first, int& last, uint16_t a, uint16_t b);
    void DefineGraphicsCursor(CpuState& state);
    void SetEventHandler(CpuState& state);
    bool Busy() const { return m_memory.Read8(kServiceSegment, kBusyOffset) != 0; }
    void Push(CpuState& state, uint16_t value);
    void CallHandler(CpuState& state, uint16_t conditions);

    CMemory& m_memory;
    CVideoAdapter& m_adapter;
    CMouseCursor m_cursor;
    mutable std::mutex m_lock;
    Pointer m_next;
    bool m_bNext = false;
    Pointer m_pointer;
    // The driver's state, in virtual coordinates.
    int m_nX = 0;
    int m_nY = 0;
    int m_nMinX = 0;
    int m_nMaxX = 639;
    int m_nMinY = 0;
    int m_nMaxY = 199;
    unsigned m_nButtons = 0;
    // 0: shown; below: hidden.
    int m_nShown = -1;
    std::array<ButtonRecord, 3> m_presses{};
    std::array<ButtonRecord, 3> m_releases{};
    int16_t m_nMickeysX = 0;
    int16_t m_nMickeysY = 0;
    uint16_t m_nRatioX = 8;
    uint16_t m_nRatioY = 16;
    uint16_t m_nSpeedX = 50;
    uint16_t m_nSpeedY = 50;
    uint16_t m_nThreshold = 50;
    CMouseCursor::Shape m_shape{};
    CMouseCursor::TextShape m_textShape{};
    uint16_t m_nCallMask = 0;
    uint16_t m_nHandlerSegment = 0;
    uint16_t m_nHandlerOffset = 0;
    // Conditions since the handler was last called, and whether IRQ 12 waits for them.
    uint16_t m_nConditions = 0;
    bool m_bRequest = false;
};

}  // namespace dos
