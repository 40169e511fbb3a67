// The 8051 tests' helpers.
#include "Mcs51TestSupport.h"

#include <windows.h>

#include <cstdio>
#include <thread>

namespace mcs51 {

std::string HexOf(const Bytes51& code, uint16_t origin)
{
    std::string text;
    char record[64];
    for (size_t at = 0; at < code.size(); at += 16) {
        const size_t length = std::min<size_t>(16, code.size() - at);
        const unsigned address = origin + static_cast<unsigned>(at);
        unsigned sum = static_cast<unsigned>(length) + (address >> 8) + (address & 0xFF);
        std::snprintf(record, sizeof record, ":%02X%04X00", static_cast<unsigned>(length), address);
        text += record;
        for (size_t i = 0; i < length; ++i) {
            std::snprintf(record, sizeof record, "%02X", code[at + i]);
            text += record;
            sum += code[at + i];
        }
        std::snprintf(record, sizeof record, "%02X\r\n", (0x100 - (sum & 0xFF)) & 0xFF);
        text += record;
    }
    return text + ":00000001FF\r\n";
}

std::unique_ptr<CMachine51> MachineWith(const Bytes51& code, Mcs51Variant variant)
{
    auto machine = std::make_unique<CMachine51>(variant);
    machine->LoadBinary(std::string(code.begin(), code.end()));
    return machine;
}

bool RunTo(CMachine51& machine, uint16_t address, uint64_t limit)
{
    const uint64_t end = machine.Cycles() + limit;
    do {
        machine.Step();
        if (machine.Pc() == address)
            return true;
    } while (machine.Cycles() < end);
    return false;
}

CTempFile51::CTempFile51(const std::wstring& name, const std::string& bytes)
{
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    m_path = std::wstring(folder) + L"korvane51-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + name;
    HANDLE file = ::CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

CTempFile51::~CTempFile51() { ::DeleteFileW(m_path.c_str()); }

namespace {
std::wstring RunnerPath()
{
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"korvane-51.exe";
}

void ReadAll(HANDLE pipe, std::string& text)
{
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read)
        text.append(buffer, read);
}
}

RunnerResult51 RunRunner(const std::wstring& arguments, const std::string& input)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE inRead, inWrite, outRead, outWrite, errRead, errWrite;
    ::CreatePipe(&inRead, &inWrite, &inherit, 0);
    ::CreatePipe(&outRead, &outWrite, &inherit, 0);
    ::CreatePipe(&errRead, &errWrite, &inherit, 0);
    ::SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inRead;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    std::wstring command = L"\"" + RunnerPath() + L"\" " + arguments;
    PROCESS_INFORMATION process{};
    RunnerResult51 result;
    const BOOL started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
        nullptr, &startup, &process);
    ::CloseHandle(inRead);
    ::CloseHandle(outWrite);
    ::CloseHandle(errWrite);
    if (started) {
        std::thread errors([&] { ReadAll(errRead, result.err); });
        DWORD written = 0;
        if (!input.empty())
            ::WriteFile(inWrite, input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
        ::CloseHandle(inWrite);
        ReadAll(outRead, result.out);
        errors.join();
        ::WaitForSingleObject(process.hProcess, INFINITE);
        ::GetExitCodeProcess(process.hProcess, &result.exitCode);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    } else {
        ::CloseHandle(inWrite);
        result.exitCode = ~0ul;
    }
    ::CloseHandle(outRead);
    ::CloseHandle(errRead);
    return result;
}

}  // namespace mcs51
