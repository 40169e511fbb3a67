// Makes the debugger's targets: the one place that knows which machines there are.
#pragma once

#include "debug/DebugTarget.h"
#include "debug/Sentence.h"

#include <memory>

struct DebugLaunch;

namespace DebugTargets {

// The program loaded into the machine its file is for (an Intel HEX file into the 8051, a
// boot sector (.bin, .img) into the DOS machine as its bootstrap loads it, any other into the
// DOS machine as DEBUG loads it) and stopped at its entry; none, with the sentence that says
// why, when it cannot be.
std::unique_ptr<IDebugTarget> Load(const DebugLaunch& launch, Sentence& failure);

}
