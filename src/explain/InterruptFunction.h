// What F1 shows for an INT: the DOS or BIOS function the caller asks for, its registers on
// entry and on return.
#pragma once

#include <optional>
#include <string>

namespace explain {

struct InterruptFunction {
    int nNumber = 0;
    // The function number in AH; nothing for the interrupt as a whole.
    std::optional<int> ah;
    std::wstring strName;
    std::wstring strInput;
    std::wstring strOutput;
    std::wstring strExample;
};

// The function AH names of the interrupt, or the interrupt itself when AH is not known or is
// no function listed; nothing for an interrupt Korvane does not describe.
std::optional<InterruptFunction> DescribeInterrupt(int number, std::optional<int> ah);

}  // namespace explain
