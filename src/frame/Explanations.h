// What the 说明 pane and the status line say: of a tool's message line, what it means and its
// usual causes; of the word at the editor's caret, the instruction's or directive's
// description, or the DOS or BIOS function an INT with a MOV AH before it calls.
#pragma once

#include "build/CompilerType.h"

#include <optional>
#include <string>

class CTextBuffer;

struct ShownExplanation {
    // One line for the status bar, and the whole text for the pane.
    std::string strStatus;
    std::wstring strFull;
};

// Nothing for a line that is no message of a tool Korvane knows.
std::optional<ShownExplanation> ExplainOutputLine(const std::wstring& line);
// Nothing where the caret stands on no word Korvane describes.
std::optional<ShownExplanation> ExplainWordAt(const CTextBuffer& text, size_t caret, CompilerType toolchain);
