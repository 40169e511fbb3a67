// What the DOS machine's tests share.
#include "DosTestSupport.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace dos {

namespace DosTest {

std::wstring Program(const std::wstring& name)
{
    std::string folder = KORVANE_DOS_PROGRAMS;
    std::wstring path(folder.begin(), folder.end());
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path + L"\\" + name;
}

std::wstring Runner()
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"korvane-dos.exe";
}

void WriteHostFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ReadHostFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string bytes;
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD got = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    bytes.resize(got);
    CloseHandle(file);
    return bytes;
}

CScratchFolder::CScratchFolder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    m_path = std::wstring(temp) + L"korvane-dos-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(GetTickCount());
    CreateDirectoryW(m_path.c_str(), nullptr);
}

CScratchFolder::~CScratchFolder()
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((m_path + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..") {
                SetFileAttributesW((m_path + L"\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW((m_path + L"\\" + name).c_str());
            }
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(m_path.c_str());
}

void CRecordingHost::Write(DosStream stream, const uint8_t* bytes, size_t count)
{
    (stream == DosStream::Output ? output : error).append(reinterpret_cast<const char*>(bytes), count);
}

InputState CRecordingHost::ReadInput(uint8_t* bytes, size_t capacity, size_t& count)
{
    count = std::min(capacity, input.size() - inputAt);
    if (count == 0)
        return pending ? InputState::Pending : InputState::End;
    std::memcpy(bytes, input.data() + inputAt, count);
    inputAt += count;
    return InputState::Ready;
}

InputState CRecordingHost::PeekInput()
{
    if (inputAt < input.size())
        return InputState::Ready;
    return pending ? InputState::Pending : InputState::End;
}

namespace {

std::string ReadAll(HANDLE pipe)
{
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    return text;
}

}

ProcessResult RunRunner(const std::wstring& arguments, const std::wstring& folder, DWORD timeoutMs)
{
    ProcessResult result;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    CreatePipe(&outRead, &outWrite, &inherit, 0);
    CreatePipe(&errRead, &errWrite, &inherit, 0);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    HANDLE nul = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION info{};
    std::wstring line = L"\"" + Runner() + L"\" " + arguments;
    BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                  folder.empty() ? nullptr : folder.c_str(), &startup, &info);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    CloseHandle(nul);
    if (started) {
        std::thread errors([&] { result.error = ReadAll(errRead); });
        std::thread outputs([&] { result.output = ReadAll(outRead); });
        result.ended = WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0;
        if (!result.ended)
            TerminateProcess(info.hProcess, 1);
        errors.join();
        outputs.join();
        GetExitCodeProcess(info.hProcess, &result.exitCode);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
    CloseHandle(outRead);
    CloseHandle(errRead);
    return result;
}

}

}  // namespace dos
