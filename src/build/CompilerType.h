// The toolchain chosen in the compiler settings, kept as a 32-bit integer.
#pragma once

#include <cstdint>

enum class CompilerType : std::int32_t {
    Masm = 0,
    Tasm = 1,
    Mcs51 = 2,
    None = 3,
};
