// Prints Korvane's start-up, open and capture times against baselines measured in the same
// run on the same machine (Notepad, and cmd.exe writing to a file), as medians, with the
// peak memory of Korvane after each. Run it from the folder that holds korvane.exe and
// pipe_child.exe.
#include "framework/RegistryKey.h"
#include "resource.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {
const int kRuns = 5;
const DWORD kDeadline = 120000;
const size_t kOpenBytes = 1024 * 1024 - 1;
const size_t kCaptureBytes = 1024 * 1024;
const char kSettingsKey[] = "software\\korvane";

double Now()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string ProgramDir()
{
    char path[MAX_PATH * 4];
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir = path;
    return dir.substr(0, dir.rfind('\\'));
}

class Process {
public:
    explicit Process(const std::string& commandLine)
    {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string line = commandLine;
        m_bStarted = ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                      &m_info) != FALSE;
    }
    ~Process()
    {
        if (!m_bStarted)
            return;
        ::TerminateProcess(m_info.hProcess, 0);
        ::WaitForSingleObject(m_info.hProcess, kDeadline);
        ::CloseHandle(m_info.hThread);
        ::CloseHandle(m_info.hProcess);
    }
    bool Started() const { return m_bStarted; }
    bool WaitIdle() const { return ::WaitForInputIdle(m_info.hProcess, kDeadline) == 0; }
    bool WaitExit() const { return ::WaitForSingleObject(m_info.hProcess, kDeadline) == WAIT_OBJECT_0; }
    size_t PeakMemory() const
    {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        ::GetProcessMemoryInfo(m_info.hProcess, &counters, sizeof counters);
        return counters.PeakWorkingSetSize;
    }
    // The first child of one of the process's top-level windows with this class.
    HWND FindChild(const char* className) const
    {
        struct Search {
            DWORD pid;
            const char* cls;
            HWND found;
        } search{m_info.dwProcessId, className, nullptr};
        ::EnumWindows(
            [](HWND wnd, LPARAM param) {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD pid = 0;
                ::GetWindowThreadProcessId(wnd, &pid);
                if (pid != s->pid)
                    return TRUE;
                s->found = FindDescendant(wnd, s->cls);
                return s->found ? FALSE : TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

private:
    static HWND FindDescendant(HWND parent, const char* cls)
    {
        for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            char name[64] = "";
            ::GetClassNameA(child, name, sizeof name);
            if (lstrcmpiA(name, cls) == 0)
                return child;
            if (HWND deeper = FindDescendant(child, cls))
                return deeper;
        }
        return nullptr;
    }

    bool m_bStarted = false;
    PROCESS_INFORMATION m_info{};
};

bool WaitFor(const std::function<bool()>& condition)
{
    double start = Now();
    while (!condition()) {
        if (Now() - start > kDeadline)
            return false;
        ::Sleep(1);
    }
    return true;
}

LRESULT TextLength(HWND wnd)
{
    DWORD_PTR length = 0;
    ::SendMessageTimeoutA(wnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    return static_cast<LRESULT>(length);
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    ::CloseHandle(file);
}

// A source file of exactly kOpenBytes bytes of GBK text in CR LF lines.
std::string MakeGbkSource()
{
    const std::string line = "\tmov ax, bx\t;\xD7\xA2\xCA\xCD\xD6\xD0\xCE\xC4\r\n";
    std::string text;
    while (text.size() + line.size() <= kOpenBytes)
        text += line;
    text.append(kOpenBytes - text.size(), 'x');
    return text;
}

struct Figure {
    const char* name;
    double korvane;
    double baseline;
    const char* baselineName;
    size_t peak;
};

void SetToolchain(const std::string& compiler)
{
    CRegistryKey key(HKEY_LOCAL_MACHINE);
    if (key.Create(kSettingsKey)) {
        key.SetString("type", "masm");
        if (key.Create("masm"))
            key.SetString("cmp", compiler);
    }
}

double StartUntilIdle(const std::string& commandLine, size_t* peak)
{
    double start = Now();
    Process process(commandLine);
    if (!process.Started() || !process.WaitIdle())
        return -1;
    double elapsed = Now() - start;
    if (peak)
        *peak = std::max(*peak, process.PeakMemory());
    return elapsed;
}

double OpenUntilLoaded(const std::string& commandLine, const char* editClass, LRESULT minimumLength, size_t* peak)
{
    double start = Now();
    Process process(commandLine);
    if (!process.Started())
        return -1;
    HWND edit = nullptr;
    bool loaded = WaitFor([&] {
        if (!edit)
            edit = process.FindChild(editClass);
        return edit && TextLength(edit) >= minimumLength;
    });
    double elapsed = Now() - start;
    if (peak)
        *peak = std::max(*peak, process.PeakMemory());
    return loaded ? elapsed : -1;
}

// The output window's line before its last (the end line is followed by a line break).
std::wstring LineBeforeLast(HWND output)
{
    DWORD_PTR count = 0;
    if (!::SendMessageTimeoutW(output, EM_GETLINECOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count) || count < 2)
        return {};
    wchar_t line[256] = {};
    line[0] = static_cast<wchar_t>(std::size(line) - 1);
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(output, EM_GETLINE, count - 2, reinterpret_cast<LPARAM>(line), SMTO_ABORTIFHUNG, 5000,
                          &length);
    return std::wstring(line, length);
}

std::wstring WholeText(HWND output)
{
    std::wstring text(static_cast<size_t>(TextLength(output)) + 1, L'\0');
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(output, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                          30000, &length);
    text.resize(length);
    return text;
}

// The compile step's end line for exit code 0, as korvane.exe's string table has it.
std::wstring CompileEndLine(const std::string& korvane)
{
    HMODULE module = ::LoadLibraryExA(korvane.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    wchar_t text[256] = L"";
    ::LoadStringW(module, IDS_COMPILE_ENDED, text, static_cast<int>(std::size(text)));
    ::FreeLibrary(module);
    std::wstring line = text;
    size_t placeholder = line.find(L"%1");
    if (placeholder != std::wstring::npos)
        line.replace(placeholder, 2, L"0");
    return line;
}

// What the compiler of the capture figure prints, as the output window shows it.
std::wstring CapturePattern()
{
    std::wstring pattern;
    for (size_t i = 0; i < kCaptureBytes; ++i)
        pattern += static_cast<wchar_t>('A' + i % 61);
    return pattern;
}

// The compiler's output whole in the window: the full pattern, in one piece.
bool HoldsPattern(const std::wstring& text)
{
    return text.find(CapturePattern()) != std::wstring::npos;
}

// The least the capture can take here: an edit control of the output window's style, in this
// process, taking the compiler's whole output in one piece.
double EditControlTakesTheOutput()
{
    HWND top = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr,
                                 nullptr, nullptr);
    HWND edit = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", 0x503018C4, 0, 0, 780, 100, top, nullptr, nullptr,
                                  nullptr);
    ::SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    const std::wstring text = CapturePattern();
    double start = Now();
    ::SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    double elapsed = Now() - start;
    ::DestroyWindow(top);
    return elapsed;
}

double CaptureInKorvane(const std::string& korvane, const std::string& source, const std::wstring& endLine,
                        size_t* peak)
{
    Process process("\"" + korvane + "\" \"" + source + "\"");
    if (!process.Started() || !process.WaitIdle())
        return -1;
    HWND edit = nullptr;
    HWND output = nullptr;
    WaitFor([&] {
        edit = process.FindChild("Edit");
        return edit != nullptr && ::GetDlgCtrlID(edit) == 0xE900;
    });
    // The output window is the edit control with id 101.
    WaitFor([&] {
        HWND frame = ::GetAncestor(edit, GA_ROOT);
        std::function<HWND(HWND)> find = [&](HWND parent) -> HWND {
            for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
                if (::GetDlgCtrlID(child) == 101)
                    return child;
                if (HWND deeper = find(child))
                    return deeper;
            }
            return nullptr;
        };
        output = find(frame);
        return output != nullptr;
    });
    double start = Now();
    ::PostMessageA(edit, WM_KEYDOWN, VK_F5, 1);
    ::PostMessageA(edit, WM_KEYUP, VK_F5, 0xC0000001);
    // The step's end line follows the last piece of output, so once it shows, all of it does.
    bool done = WaitFor([&] {
        return TextLength(output) >= static_cast<LRESULT>(kCaptureBytes) && LineBeforeLast(output) == endLine;
    });
    double elapsed = Now() - start;
    if (peak)
        *peak = std::max(*peak, process.PeakMemory());
    if (done && !HoldsPattern(WholeText(output))) {
        std::printf("capture: the output window lacks part of the output\n");
        return -1;
    }
    return done ? elapsed : -1;
}

double CaptureInCmd(const std::string& batch, const std::string& outputFile)
{
    double start = Now();
    Process process("cmd.exe /c " + batch + " > " + outputFile);
    if (!process.Started() || !process.WaitExit())
        return -1;
    return Now() - start;
}

template <typename Measure> double MedianOf(Measure measure)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i)
        times.push_back(measure());
    return Median(times);
}

void MeasureStartAndOpen(const std::string& korvane, const std::string& source, std::vector<Figure>& figures)
{
    size_t peak = 0;
    double startup = MedianOf([&] { return StartUntilIdle("\"" + korvane + "\"", &peak); });
    double notepadStartup = MedianOf([&] { return StartUntilIdle("notepad.exe", nullptr); });
    figures.push_back({"start-up until idle", startup, notepadStartup, "notepad", peak});

    peak = 0;
    double open = MedianOf([&] {
        return OpenUntilLoaded("\"" + korvane + "\" \"" + source + "\"", "Edit", static_cast<LRESULT>(kOpenBytes), &peak);
    });
    // Notepad holds the text as UTF-16, so it counts characters: the GBK pairs count once.
    double notepadOpen = MedianOf([&] { return OpenUntilLoaded("notepad.exe \"" + source + "\"", "Edit", 700000, nullptr); });
    figures.push_back({"open 1,048,575-byte file", open, notepadOpen, "notepad", peak});
}
}

// With the argument "capture", only the capture figure is measured.
int main(int argc, char** argv)
{
    const bool captureOnly = argc > 1 && std::string(argv[1]) == "capture";
    std::string dir = ProgramDir();
    std::string korvane = dir + "\\korvane.exe";
    char temp[MAX_PATH];
    ::GetTempPathA(sizeof temp, temp);
    std::string work = std::string(temp) + "korvane-bench";
    ::CreateDirectoryA(work.c_str(), nullptr);
    std::string source = work + "\\big.asm";
    WriteFile(source, MakeGbkSource());
    std::string small = work + "\\hello.asm";
    WriteFile(small, "mov ax, bx\r\n");
    std::string compiler = dir + "\\pipe_child.exe pattern " + std::to_string(kCaptureBytes) + " 4096";
    SetToolchain(compiler);
    std::string batch = work + "\\bench.bat";
    WriteFile(batch, work.substr(0, 2) + "\r\ncd " + work + "\r\n" + compiler + " hello.asm;\r\n");

    std::vector<Figure> figures;
    if (!captureOnly)
        MeasureStartAndOpen(korvane, source, figures);

    size_t peak = 0;
    const std::wstring endLine = CompileEndLine(korvane);
    double capture = MedianOf([&] { return CaptureInKorvane(korvane, small, endLine, &peak); });
    double cmdCapture = MedianOf([&] { return CaptureInCmd(batch, work + "\\out.txt"); });
    figures.push_back({"capture 1 MiB of output", capture, cmdCapture, "cmd > file", peak});

    std::printf("%-28s %12s %12s %12s %8s %14s\n", "figure (median of 5)", "korvane ms", "baseline ms", "baseline",
                "ratio", "korvane peak");
    for (const Figure& f : figures) {
        std::printf("%-28s %12.1f %12.1f %12s %8.2f %11.1f MB\n", f.name, f.korvane, f.baseline, f.baselineName,
                    f.baseline > 0 ? f.korvane / f.baseline : 0.0, static_cast<double>(f.peak) / (1024.0 * 1024.0));
    }
    std::printf("(an edit control of the output window's style takes the same 1 MiB at once in %.1f ms)\n",
                MedianOf(EditControlTakesTheOutput));
    CRegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, kSettingsKey);
    return 0;
}
