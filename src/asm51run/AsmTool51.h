// korvane-asm51.exe's work: "korvane-asm51 [-b] NAME.a51" assembles the source and writes,
// beside it, NAME.hex and the listing NAME.lst (and NAME.bin with -b); each message is one
// line "file(line): error A51-n: text" (or "warning") on standard output (in GBK unless it
// is a console). A source with errors writes no HEX and removes an older one, so that nothing
// stale is run. Exit code 0 (warnings allowed), 1 for errors in the source, 2 for bad
// arguments or files that cannot be read or written.
#pragma once

#include "asm51/Assembler51.h"

#include <windows.h>

#include <string>
#include <vector>

namespace asm51 {

class CAsmTool51 {
public:
    explicit CAsmTool51(HANDLE output) : m_output(output) {}

    int Run(const std::vector<std::wstring>& args);

private:
    // The text of a message as the panel and F4 take it.
    static std::wstring MessageLine(const Diagnostic51& diagnostic);
    // An include's path: as written when absolute, else beside the source.
    std::wstring IncludePath(const std::string& name) const;
    bool WriteOutput(const std::wstring& path, const std::string& bytes);
    // One line: to a console as it is, to a pipe or a file in GBK.
    void Say(const std::wstring& text);

    HANDLE m_output;
    std::wstring m_strFolder;
};

// A whole file's bytes; false when it cannot be read.
bool ReadWholeFile(const std::wstring& path, std::string& bytes);
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);

}  // namespace asm51
