// The DOS machine's host in a console process. A build step's pipe gets the program's bytes
// as they are; the runner's own lines go to standard error in the console's or the OEM code
// page.
#include "dosrun/ConsoleHost.h"

#include "dosrun/RunnerText.h"

#include "korvane-dos.h"

#include <algorithm>

namespace dos {

namespace {

constexpr size_t kFlushAt = 8192;
constexpr DWORD kInputChunk = 4096;

}

CConsoleHost::CConsoleHost()
    : m_hInput(GetStdHandle(STD_INPUT_HANDLE)),
      m_hOutput(GetStdHandle(STD_OUTPUT_HANDLE)),
      m_hError(GetStdHandle(STD_ERROR_HANDLE)),
      m_bInputConsole(IsConsole(m_hInput)),
      m_bOutputConsole(IsConsole(m_hOutput)),
      m_bErrorConsole(IsConsole(m_hError))
{
}

bool CConsoleHost::IsConsole(HANDLE handle)
{
    DWORD mode;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

void CConsoleHost::WriteBytes(HANDLE handle, const std::string& bytes)
{
    size_t at = 0;
    while (at < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data() + at, static_cast<DWORD>(bytes.size() - at), &written, nullptr) || written == 0)
            return;
        at += written;
    }
}

void CConsoleHost::Write(DosStream stream, const uint8_t* bytes, size_t count)
{
    if (stream != m_last)
        Flush();
    m_last = stream;
    std::string& pending = m_pending[stream == DosStream::Output ? 0 : 1];
    pending.append(reinterpret_cast<const char*>(bytes), count);
    if (pending.size() >= kFlushAt)
        Flush();
}

void CConsoleHost::Flush()
{
    for (DosStream stream : {m_last == DosStream::Output ? DosStream::Error : DosStream::Output, m_last}) {
        std::string& pending = m_pending[stream == DosStream::Output ? 0 : 1];
        if (pending.empty())
            continue;
        WriteBytes(stream == DosStream::Output ? m_hOutput : m_hError, pending);
        pending.clear();
    }
}

bool CConsoleHost::FillInput()
{
    if (m_nInputAt < m_input.size())
        return true;
    if (m_bInputEnded)
        return false;
    m_input.resize(kInputChunk);
    m_nInputAt = 0;
    DWORD read = 0;
    bool valid = m_hInput != nullptr && m_hInput != INVALID_HANDLE_VALUE;
    if (!valid || !ReadFile(m_hInput, m_input.data(), kInputChunk, &read, nullptr) || read == 0) {
        m_input.clear();
        m_bInputEnded = true;
        return false;
    }
    m_input.resize(read);
    return true;
}

InputState CConsoleHost::ReadInput(uint8_t* bytes, size_t capacity, size_t& count)
{
    count = 0;
    // What was printed so far is out before the program waits for its input (a prompt).
    Flush();
    if (!FillInput())
        return InputState::End;
    count = std::min(capacity, m_input.size() - m_nInputAt);
    std::copy_n(m_input.data() + m_nInputAt, count, bytes);
    m_nInputAt += count;
    return InputState::Ready;
}

InputState CConsoleHost::PeekInput()
{
    if (m_nInputAt < m_input.size())
        return InputState::Ready;
    if (m_bInputEnded)
        return InputState::End;
    if (GetFileType(m_hInput) == FILE_TYPE_PIPE) {
        DWORD available = 0;
        if (!PeekNamedPipe(m_hInput, nullptr, 0, nullptr, &available, nullptr))
            return InputState::End;
        if (available == 0)
            return InputState::Pending;
    }
    return FillInput() ? InputState::Ready : InputState::End;
}

void CConsoleHost::WriteLine(const std::wstring& line)
{
    std::wstring text = line + L"\r\n";
    if (m_bErrorConsole) {
        DWORD written = 0;
        WriteConsoleW(m_hError, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    } else {
        WriteBytes(m_hError, RunnerText::Encode(text, CP_OEMCP));
    }
}

void CConsoleHost::Report(const std::wstring& line)
{
    Flush();
    if (m_bHold)
        m_held.push_back(line);
    else
        WriteLine(line);
}

void CConsoleHost::HoldReports(bool hold)
{
    m_bHold = hold;
    if (hold)
        return;
    for (const std::wstring& line : m_held)
        WriteLine(line);
    m_held.clear();
}

void CConsoleHost::OnUnsupported(const std::string& what)
{
    Report(RunnerText::Format(IDS_DOS_UNSUPPORTED, {RunnerText::Decode(what, CP_ACP)}));
}

}  // namespace dos
