// DOS's own variables that its services share (the current PSP, the disk transfer address,
// the last error, the version it reports), and how a service answers success or failure.
#pragma once

#include "dos/CpuState.h"
#include "dos/DosError.h"

#include <cstdint>

namespace dos {

struct DosState {
    uint16_t currentPsp = 0;
    uint16_t dtaSegment = 0;
    uint16_t dtaOffset = 0x80;
    uint16_t lastError = 0;
    // INT 21h 4Dh's word: the termination type in the high byte, the code in the low one.
    uint16_t returnCode = 0;
    uint8_t versionMajor = 5;
    uint8_t versionMinor = 0;
    bool breakCheck = false;
    bool verify = false;
    uint8_t switchCharacter = '/';

    void Fail(CpuState& state, DosError error)
    {
        lastError = error;
        state.ax() = error;
        state.SetFlag(kFlagCarry, true);
    }
    // Carry set on error, clear on success, AX the error.
    void Answer(CpuState& state, DosError error)
    {
        if (error == kErrNone)
            state.SetFlag(kFlagCarry, false);
        else
            Fail(state, error);
    }
    static void Succeed(CpuState& state) { state.SetFlag(kFlagCarry, false); }
};

}  // namespace dos
