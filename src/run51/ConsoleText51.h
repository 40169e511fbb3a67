// The runner's messages: texts from the string table, their %1 and %2 filled in, written as
// one line to a console (as UTF-16) or to a pipe or file (in the console's code page).
#pragma once

#include <windows.h>

#include <string>

namespace mcs51 {

class CConsoleText51 {
public:
    static std::wstring Load(UINT id);
    static std::wstring Format(UINT id, const std::wstring& first, const std::wstring& second = {});
    static void WriteLine(HANDLE handle, const std::wstring& text);
    // Bytes as they are, for the program's serial output.
    static void WriteBytes(HANDLE handle, const std::string& bytes);
};

}  // namespace mcs51
