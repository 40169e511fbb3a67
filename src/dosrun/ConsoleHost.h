// The DOS machine's host in a console process: handles 0, 1 and 2 are the process's standard
// input, output and error, each a console, a pipe or a file. Output is gathered and written
// at each Flush (and before the other stream's), so stdout and stderr keep their order.
#pragma once

#include "dos/DosHost.h"

#include <windows.h>

#include <string>
#include <vector>

namespace dos {

class CConsoleHost : public IDosHost {
public:
    CConsoleHost();

    bool InputIsConsole() const { return m_bInputConsole; }
    bool OutputIsConsole() const { return m_bOutputConsole; }
    bool ErrorIsConsole() const { return m_bErrorConsole; }
    HANDLE InputHandle() const { return m_hInput; }
    HANDLE OutputHandle() const { return m_hOutput; }

    void Write(DosStream stream, const uint8_t* bytes, size_t count) override;
    InputState ReadInput(uint8_t* bytes, size_t capacity, size_t& count) override;
    InputState PeekInput() override;
    void OnUnsupported(const std::string& what) override;

    void Flush();
    // One of the runner's own lines on standard error; held back while the machine's screen
    // is in the console (it would be painted over), and written on Release.
    void Report(const std::wstring& line);
    void HoldReports(bool hold);

private:
    static bool IsConsole(HANDLE handle);
    void WriteBytes(HANDLE handle, const std::string& bytes);
    void WriteLine(const std::wstring& line);
    bool FillInput();

    HANDLE m_hInput;
    HANDLE m_hOutput;
    HANDLE m_hError;
    bool m_bInputConsole;
    bool m_bOutputConsole;
    bool m_bErrorConsole;
    std::string m_pending[2];
    DosStream m_last = DosStream::Output;
    std::string m_input;
    size_t m_nInputAt = 0;
    bool m_bInputEnded = false;
    bool m_bHold = false;
    std::vector<std::wstring> m_held;
};

}  // namespace dos
