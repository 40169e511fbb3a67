// A stand-in for DOSBox in the build and launcher tests. It takes "-conf FILE" among its
// options and does what the [autoexec] section of FILE says, as far as a program that cannot
// run DOS programs can, reading every %% there as % as DOSBox's batch files do:
//   mount X PATH      drive X is the host folder PATH (in double quotes when it holds blanks)
//   X:                drive X becomes the current drive
//   exit              the rest is not read
//   set NAME=VALUE    and %NAME% stands for VALUE from then on
//   if errorlevel N COMMAND
//                     COMMAND, when the last program's exit code is N or more
//   call X:\FILE      the lines of that batch file
//   echo TEXT [> FILE]
//                     TEXT and a line end into FILE
//   PROGRAM [ARGS] [> FILE]
//                     "ran HOST-PATH [ARGS] in HOST-FOLDER" and a line of Chinese text, as a DOS
//                     tool prints it in GBK ("Illegal command: PROGRAM" when the drive has no
//                     such file), into FILE on the current drive; without "> FILE" nowhere, as
//                     DOSBox's window is not captured. It prints nothing to its standard handles.
//                     The program's exit code is the number in KORVANE_STANDIN_TOOL_CODE, or 0.
// When KORVANE_STANDIN_LOG names a file, it appends to it in UTF-8 "dosbox_standin command
// line: ...", "dosbox_standin pid: ...", the configuration file between "dosbox_standin
// config:" and "dosbox_standin end of config", and each "ran ..." line. With
// KORVANE_STANDIN_HANG set it then waits (two minutes at most) instead of ending; it ends with
// the exit code in KORVANE_STANDIN_EXIT_CODE, or 0.
#include <windows.h>

#include <map>
#include <sstream>
#include <string>

namespace {

std::string Encode(const std::wstring& text, UINT codePage)
{
    int n = ::WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
    return bytes;
}

std::wstring Environment(const wchar_t* name)
{
    wchar_t value[MAX_PATH * 4] = L"";
    DWORD n = ::GetEnvironmentVariableW(name, value, MAX_PATH * 4);
    return n > 0 && n < MAX_PATH * 4 ? std::wstring(value, n) : std::wstring();
}

void WriteTo(const std::wstring& path, const std::string& bytes, DWORD disposition)
{
    HANDLE file = path.empty() ? INVALID_HANDLE_VALUE
                               : ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                               nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD n = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    ::CloseHandle(file);
}

void Log(const std::wstring& line)
{
    WriteTo(Environment(L"KORVANE_STANDIN_LOG"), Encode(line + L"\r\n", CP_UTF8), OPEN_ALWAYS);
}

// The configuration file is ASCII, as the program writes it.
std::wstring ReadAscii(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::wstring text;
    char buffer[4096];
    DWORD n = 0;
    if (file == INVALID_HANDLE_VALUE)
        return text;
    while (::ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0)
        text.append(buffer, buffer + n);
    ::CloseHandle(file);
    return text;
}

std::wstring Trimmed(const std::wstring& text)
{
    size_t first = text.find_first_not_of(L" \t\r");
    size_t last = text.find_last_not_of(L" \t\r");
    return first == std::wstring::npos ? std::wstring() : text.substr(first, last - first + 1);
}

class Dos {
public:
    // False at "exit".
    bool Execute(const std::wstring& line);

private:
    std::wstring HostPath(const std::wstring& dosPath);
    // %% as %, %NAME% as the variable's value.
    std::wstring Expanded(const std::wstring& line) const;
    bool Command(const std::wstring& line);
    void Run(const std::wstring& command, const std::wstring& redirect);
    bool Call(const std::wstring& batch);

    std::map<wchar_t, std::wstring> m_drives;
    std::map<std::wstring, std::wstring> m_variables;
    wchar_t m_current = L'Z';
    int m_nErrorLevel = 0;
};

std::wstring Dos::HostPath(const std::wstring& dosPath)
{
    const bool drive = dosPath.size() >= 2 && dosPath[1] == L':';
    std::wstring folder = m_drives[drive ? static_cast<wchar_t>(::towupper(dosPath[0])) : m_current];
    std::wstring rest = drive ? dosPath.substr(2) : dosPath;
    if (!rest.empty() && rest[0] == L'\\')
        rest.erase(0, 1);
    if (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    return folder.empty() ? folder : folder + L"\\" + rest;
}

void Dos::Run(const std::wstring& command, const std::wstring& redirect)
{
    const size_t blank = command.find(L' ');
    const std::wstring program = command.substr(0, blank);
    const std::wstring host = HostPath(program);
    std::wstring output = L"Illegal command: " + program + L"\r\n";
    if (_wcsicmp(program.c_str(), L"echo") == 0) {
        output = (blank == std::wstring::npos ? L"" : command.substr(blank + 1)) + L"\r\n";
    } else if (!host.empty() && ::GetFileAttributesW(host.c_str()) != INVALID_FILE_ATTRIBUTES) {
        m_nErrorLevel = _wtoi(Environment(L"KORVANE_STANDIN_TOOL_CODE").c_str());
        const std::wstring ran = L"ran " + host + (blank == std::wstring::npos ? L"" : command.substr(blank)) +
                                 L" in " + m_drives[m_current];
        Log(L"dosbox_standin " + ran);
        output = ran + L"\r\n\u6C47\u7F16\u7ED3\u675F\r\n";
    }
    if (!redirect.empty())
        WriteTo(HostPath(redirect), Encode(output, 936), CREATE_ALWAYS);
}

std::wstring Dos::Expanded(const std::wstring& line) const
{
    std::wstring expanded;
    for (size_t i = 0; i < line.size(); ++i) {
        const size_t close = line[i] == L'%' ? line.find(L'%', i + 1) : std::wstring::npos;
        if (close == std::wstring::npos) {
            expanded += line[i];
        } else if (close == i + 1) {
            expanded += L'%';
            i = close;
        } else {
            const auto variable = m_variables.find(line.substr(i + 1, close - i - 1));
            expanded += variable == m_variables.end() ? L"" : variable->second;
            i = close;
        }
    }
    return expanded;
}

bool Dos::Call(const std::wstring& batch)
{
    std::wistringstream lines(ReadAscii(HostPath(batch)));
    for (std::wstring line; std::getline(lines, line);) {
        if (!Execute(line))
            return false;
    }
    return true;
}

bool Dos::Execute(const std::wstring& rawLine)
{
    return Command(Trimmed(Expanded(rawLine)));
}

bool Dos::Command(const std::wstring& line)
{
    if (_wcsicmp(line.c_str(), L"exit") == 0)
        return false;
    if (_wcsnicmp(line.c_str(), L"if errorlevel ", 14) == 0) {
        const size_t blank = line.find(L' ', 14);
        return blank == std::wstring::npos || m_nErrorLevel < _wtoi(line.c_str() + 14) ||
               Command(Trimmed(line.substr(blank)));
    }
    if (_wcsnicmp(line.c_str(), L"call ", 5) == 0)
        return Call(Trimmed(line.substr(5)));
    if (line.size() == 2 && line[1] == L':') {
        m_current = static_cast<wchar_t>(::towupper(line[0]));
    } else if (_wcsnicmp(line.c_str(), L"set ", 4) == 0 && line.find(L'=') != std::wstring::npos) {
        const size_t equals = line.find(L'=');
        m_variables[Trimmed(line.substr(4, equals - 4))] = line.substr(equals + 1);
    } else if (_wcsnicmp(line.c_str(), L"mount ", 6) == 0 && line.size() > 8) {
        std::wstring folder = Trimmed(line.substr(8));
        if (folder.size() >= 2 && folder.front() == L'"')
            folder = folder.substr(1, folder.size() - 2);
        m_drives[static_cast<wchar_t>(::towupper(line[6]))] = folder;
    } else if (!line.empty()) {
        const size_t redirect = line.find(L'>');
        Run(Trimmed(line.substr(0, redirect)), redirect == std::wstring::npos ? L"" : Trimmed(line.substr(redirect + 1)));
    }
    return true;
}

std::wstring ConfigPath()
{
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    std::wstring path;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::wstring(argv[i]) == L"-conf")
            path = argv[i + 1];
    }
    ::LocalFree(argv);
    return path;
}

}

int main()
{
    Log(std::wstring(L"dosbox_standin command line: ") + ::GetCommandLineW());
    Log(L"dosbox_standin pid: " + std::to_wstring(::GetCurrentProcessId()));
    const std::wstring config = ReadAscii(ConfigPath());
    Log(L"dosbox_standin config:\r\n" + config + L"dosbox_standin end of config");

    Dos dos;
    bool inAutoexec = false;
    std::wistringstream lines(config);
    for (std::wstring line; std::getline(lines, line);) {
        const std::wstring trimmed = Trimmed(line);
        if (!trimmed.empty() && trimmed[0] == L'[')
            inAutoexec = _wcsicmp(trimmed.c_str(), L"[autoexec]") == 0;
        else if (inAutoexec && !dos.Execute(line))
            break;
    }
    if (!Environment(L"KORVANE_STANDIN_HANG").empty())
        ::Sleep(120000);
    return _wtoi(Environment(L"KORVANE_STANDIN_EXIT_CODE").c_str());
}
