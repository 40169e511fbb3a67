// Makes the debugger's targets: the one place that knows which machines there are.
#pragma once

#include "debug/DebugTarget.h"

#include <memory>
#include <string>

namespace DebugTargets {

// A DOS program loaded as DEBUG loads it; none, with error the LoadError, when it cannot be.
std::unique_ptr<IDebugTarget> LoadDos(const std::wstring& program, const std::wstring& folder, const std::string& tail,
                                      int& error);
// An 8051 (or 8052) program from its Intel HEX text; none, with error the HexError51, when the
// text is not one.
std::unique_ptr<IDebugTarget> Load51(const std::string& hex, bool mcs8052, bool realTime, int& error);

}
