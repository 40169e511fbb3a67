// A DOS machine's host for the benches: what the program prints goes nowhere, and the machine
// never waits for input.
#pragma once

#include "dos/DosHost.h"

namespace dos {

class CQuietDosHost : public IDosHost {
public:
    void Write(DosStream, const uint8_t*, size_t) override {}
    InputState ReadInput(uint8_t*, size_t, size_t& count) override
    {
        count = 0;
        return InputState::End;
    }
    InputState PeekInput() override { return InputState::End; }
    void OnUnsupported(const std::string&) override {}
};

}  // namespace dos
