// What every operation of the build engine that can fail returns: its value, or the Problem
// that stopped it on the way to the user.
#pragma once

#include "build/Problem.h"
#include "framework/Expected.h"

template <typename T>
using Result = Expected<T, Problem>;
