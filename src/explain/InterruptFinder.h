// Which interrupt and function a line calls: "INT 21H", and the AH that a "MOV AH, n" (or
// "MOV AX, nnXXh") before it in the same procedure leaves.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace explain {

struct InterruptCall {
    int nNumber = 0;
    // Nothing when no instruction before the INT sets AH to a known number.
    std::optional<int> ah;
};

// Nothing for a line that is no INT; `before` holds the lines above it, the nearest last.
std::optional<InterruptCall> FindInterruptCall(std::wstring_view line, std::span<const std::wstring> before);

}  // namespace explain
