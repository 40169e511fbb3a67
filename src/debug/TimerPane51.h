// The 8051's timers and interrupts as a pane shows them: TMOD's fields for each timer and its
// mode's name, the counts, TCON's flags, IE's and IP's bits by name (and Timer 2's registers on
// an 8052), what the last step changed marked; a register edited by its name, a bit toggled
// by its name.
#pragma once

#include "debug/PaneText.h"

#include <string>

namespace mcs51 {

class CTarget51;

class CTimerPane51 {
public:
    explicit CTimerPane51(CTarget51& target) : m_target(target) {}

    PaneText Text() const;
    // TMOD, TCON, TH0, TL0, TH1, TL1, IE, IP (T2CON, TH2, TL2, RCAP2H, RCAP2L on an 8052).
    bool EditRegister(const std::string& name, uint16_t value) const;
    // A bit of TCON, IE, IP or T2CON by its name (TR0, EA, PT1, ...).
    bool ToggleBit(const std::string& name) const;

private:
    CTarget51& m_target;
};

}  // namespace mcs51
