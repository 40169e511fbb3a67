// What Korvane tells a student about a tool's message: a line for the status bar and the
// whole text (what it means, the usual causes in a student's program, what to do).
#pragma once

#include <string>

namespace explain {

struct Explanation {
    std::wstring strShort;
    std::wstring strFull;
};

}  // namespace explain
