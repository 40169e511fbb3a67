// The lines of a tool's output that are messages: which file and line an assembler names in
// the forms the supported toolchains print, and how serious each message is. A table of
// recognisers, with no knowledge of windows or files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct ToolMessage {
    enum class Severity { Error, Warning, Other };

    Severity severity = Severity::Other;
    // The file as the tool names it and the 1-based line; empty and 0 for a message that
    // names no line, such as a linker's; a line without a file is one of the file the tool
    // was given.
    std::wstring strFile;
    int nLine = 0;

    bool HasLocation() const { return nLine > 0; }
};

// The message a line of output is (without its line break), or nothing for any other line.
// Fatal errors are errors.
std::optional<ToolMessage> RecogniseToolMessage(std::wstring_view line);
