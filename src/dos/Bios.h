// The machine's BIOS: the interrupt vector table and the handlers' marks at F000h, the BIOS
// data area, the timer tick (INT 8 and the program's INT 1Ch), the keyboard (INT 9, INT 16h,
// fed from redirected input when there is no keyboard), INT 10h, 11h, 12h and 1Ah.
#pragma once

#include "dos/DosClock.h"
#include "dos/DosConsole.h"
#include "dos/DosHost.h"
#include "dos/InterruptController.h"
#include "dos/Keyboard.h"
#include "dos/KeyboardController.h"
#include "dos/MachineBus.h"
#include "dos/TextVideo.h"

#include <cstdint>

namespace dos {

class CBios {
public:
    struct Context {
        CMemory& memory;
        CTextVideo& video;
        CKeyboard& keyboard;
        CKeyboardController& keyboardController;
        CInterruptController& pic;
        CDosClock& clock;
        CDosConsole& console;
        IDosHost& host;
    };

    explicit CBios(const Context& context) : m_c(context) {}

    // Every vector at the machine's own handler, the BIOS data area for `memoryKb`.
    void Reset(uint16_t memoryKb);
    ServiceResult Interrupt(uint8_t vector, CpuState& state);

private:
    void Tick(CpuState& state);
    // Redirected input stands in for the keyboard: a byte as a key, Ctrl+Z at the end.
    bool KeyFromInput();
    void TimeOfDay(CpuState& state);

    Context m_c;
};

}  // namespace dos
