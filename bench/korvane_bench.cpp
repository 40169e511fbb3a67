// Prints Korvane's start-up, open, typing and capture times against baselines measured in the
// same run on the same machine (Notepad, cmd.exe writing to a file, and Korvane opening a
// one-line file), as medians, with the peak memory of each program. Run it from the folder
// that holds korvane.exe and pipe_child.exe:
//   korvane_bench [startup] [open] [opencost] [key] [capture] [trace]
// With no argument it measures the five figures; "trace" times the steps of Korvane's
// start-up in runs of their own. Registry keys Korvane may change are put back at the end.
#include "framework/RegistryKey.h"
#include "resource.h"
#include "support/BenchProcess.h"
#include "support/CompilerSettingsForBench.h"
#include "support/RegistryKeepsake.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {
const int kRuns = 11;
const DWORD kPauseBetweenRuns = 200;
// Idle work that follows the first paint counts into the peak memory too.
const DWORD kSettleAfterIdle = 500;
const size_t kOpenBytes = 1024 * 1024 - 1;
const size_t kCaptureBytes = 1024 * 1024;
// The capture's compiler prints lines of this many bytes, a line feed the last of them.
const size_t kCaptureLineBytes = 64;
// Keys typed, each timed alone, in every run of the typing figure.
const int kKeysPerRun = 21;
// Korvane's editor is its own text control; Notepad's is the system's edit control.
const char kKorvaneEditor[] = "KorvaneText";
const char kProfileKey[] = "Software\\Local AppWizard-Generated Applications\\";
const char kTraceVariable[] = "KORVANE_STARTUP_TRACE";
const char kOpenCostFigure[] = "open largest vs one-line file";

// One measured run: its time, or a failure, and the program's peak working set.
struct Run {
    bool ok = false;
    double ms = 0;
    size_t peak = 0;

    static Run Failed() { return {}; }
};

// The runs of one program for one figure; failed runs are counted apart, never in a median.
struct Series {
    std::vector<double> times;
    std::vector<size_t> peaks;
    int failed = 0;

    void Add(const Run& run)
    {
        if (!run.ok) {
            ++failed;
            return;
        }
        times.push_back(run.ms);
        if (run.peak)
            peaks.push_back(run.peak);
    }
    bool Measured() const { return !times.empty(); }
};

// Whether one of the process's top-level windows is visible.
bool HasVisibleWindow(const Process& process)
{
    return process.FindTopLevel([](HWND wnd) { return ::IsWindowVisible(wnd) ? wnd : nullptr; }) != nullptr;
}

// The peak once the idle work after the first paint has had its time.
size_t SettledPeakMemory(const Process& process)
{
    ::Sleep(kSettleAfterIdle);
    return process.PeakMemory();
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

std::string ReadFile(const std::string& path)
{
    std::string bytes;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[4096];
    DWORD n = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0)
        bytes.append(buffer, n);
    ::CloseHandle(file);
    return bytes;
}

// A source file of exactly this many bytes of GBK text in CR LF lines.
std::string MakeGbkSource(size_t bytes)
{
    const std::string line = "\tmov ax, bx\t;\xD7\xA2\xCA\xCD\xD6\xD0\xCE\xC4\r\n";
    std::string text;
    while (text.size() + line.size() <= bytes)
        text += line;
    text.append(bytes - text.size(), 'x');
    return text;
}

std::wstring KorvaneString(const std::string& korvane, UINT id)
{
    HMODULE module = ::LoadLibraryExA(korvane.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    wchar_t text[256] = L"";
    ::LoadStringW(module, id, text, static_cast<int>(std::size(text)));
    ::FreeLibrary(module);
    return text;
}

std::string Utf8(const std::wstring& text)
{
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

// Field `index` of a "\n"-separated resource string.
std::string Field(const std::wstring& text, int index)
{
    size_t begin = 0;
    for (int i = 0; i < index && begin != std::wstring::npos; ++i) {
        begin = text.find(L'\n', begin);
        if (begin != std::wstring::npos)
            ++begin;
    }
    if (begin == std::wstring::npos)
        return {};
    return Utf8(text.substr(begin, text.find(L'\n', begin) - begin));
}

// What Korvane writes when it runs: the compiler settings the capture figure sets, the
// per-user profile and the shell registration.
void KeepKorvaneKeys(RegistryKeepsake& keepsake, const std::string& korvane)
{
    using Lifetime = CRegistryKey::Lifetime;
    KeepCompilerSettings(keepsake);
    keepsake.Keep(HKEY_CURRENT_USER, kProfileKey + Utf8(KorvaneString(korvane, AFX_IDS_APP_TITLE)), Lifetime::Lasting);
    const std::wstring docStrings = KorvaneString(korvane, IDR_MAINFRAME);
    for (int field : {4, 5}) {
        if (std::string key = Field(docStrings, field); !key.empty())
            keepsake.Keep(HKEY_CLASSES_ROOT, key, Lifetime::Lasting);
    }
}

// From the process's creation until it waits for input with its main window visible; the
// peak working set is read once the idle work has had its time.
Run StartUntilIdle(const std::string& commandLine, double* startedAt = nullptr)
{
    double start = Now();
    Process process(commandLine);
    if (!process.Started() || !process.WaitIdle())
        return Run::Failed();
    if (!HasVisibleWindow(process) && !WaitFor([&] { return HasVisibleWindow(process) || !process.Running(); }))
        return Run::Failed();
    Run run{true, Now() - start, 0};
    if (startedAt)
        *startedAt = start;
    if (!process.Running())
        return Run::Failed();
    run.peak = SettledPeakMemory(process);
    return run;
}

// The program's editor once it holds at least minimumLength characters, or null.
HWND WaitUntilLoaded(const Process& process, const char* editClass, LRESULT minimumLength)
{
    HWND edit = nullptr;
    const bool loaded = WaitFor([&] {
        if (!edit)
            edit = process.FindChild(editClass);
        return edit && TextLength(edit) >= minimumLength;
    });
    return loaded ? edit : nullptr;
}

Run OpenUntilLoaded(const std::string& commandLine, const char* editClass, LRESULT minimumLength)
{
    double start = Now();
    Process process(commandLine);
    if (!process.Started())
        return Run::Failed();
    HWND edit = WaitUntilLoaded(process, editClass, minimumLength);
    Run run{edit != nullptr, Now() - start, 0};
    if (edit)
        run.peak = SettledPeakMemory(process);
    return run;
}

// A key typed at the end of the largest document, from the key's message until the line is
// painted (the program paints at once when asked to by RDW_UPDATENOW, as it would at its next
// idle moment); the run's time is the median of its keys.
Run TypeAtTheEnd(const std::string& commandLine, const char* editClass, LRESULT minimumLength)
{
    Process process(commandLine);
    HWND edit = process.Started() ? WaitUntilLoaded(process, editClass, minimumLength) : nullptr;
    if (!edit || !process.WaitIdle())
        return Run::Failed();
    const LRESULT length = TextLength(edit);
    ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(length), length);
    ::SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    ::RedrawWindow(edit, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::vector<double> keys;
    for (int i = 0; i < kKeysPerRun; ++i) {
        const double start = Now();
        ::SendMessageW(edit, WM_CHAR, 'x', 1);
        ::RedrawWindow(edit, nullptr, nullptr, RDW_UPDATENOW);
        keys.push_back(Now() - start);
        if (::GetUpdateRect(edit, nullptr, FALSE))
            return Run::Failed();
    }
    if (TextLength(edit) != length + kKeysPerRun)
        return Run::Failed();
    return Run{true, Median(keys), process.PeakMemory()};
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
    std::wstring line = KorvaneString(korvane, IDS_COMPILE_ENDED);
    size_t placeholder = line.find(L"%1");
    if (placeholder != std::wstring::npos)
        line.replace(placeholder, 2, L"0");
    return line;
}

// What the compiler of the capture figure prints, as the output window shows it (a line feed
// shown as CR LF).
std::wstring CapturePattern()
{
    std::wstring pattern;
    for (size_t i = 0; i < kCaptureBytes; ++i) {
        if (i % kCaptureLineBytes == kCaptureLineBytes - 1)
            pattern += L"\r\n";
        else
            pattern += static_cast<wchar_t>('A' + i % 61);
    }
    return pattern;
}

// The compiler's output whole in the window: the full pattern, in one piece.
bool HoldsPattern(const std::wstring& text)
{
    return text.find(CapturePattern()) != std::wstring::npos;
}

// The least the capture can take here: an edit control of the output window's style, in this
// process, taking the compiler's whole output in one piece. A control that was not made or
// does not end up holding all of it is a failed run.
Run EditControlTakesTheOutput()
{
    HWND top = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr,
                                 nullptr, nullptr);
    HWND edit = top ? ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", 0x503018C4, 0, 0, 780, 100, top, nullptr,
                                        nullptr, nullptr)
                    : nullptr;
    if (!edit) {
        if (top)
            ::DestroyWindow(top);
        return Run::Failed();
    }
    ::SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    const std::wstring text = CapturePattern();
    double start = Now();
    ::SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    Run run{true, Now() - start, 0};
    run.ok = static_cast<size_t>(::GetWindowTextLengthW(edit)) == text.size();
    ::DestroyWindow(top);
    return run;
}

Run CaptureInKorvane(const std::string& korvane, const std::string& source, const std::wstring& endLine)
{
    Process process("\"" + korvane + "\" \"" + source + "\"");
    if (!process.Started() || !process.WaitIdle())
        return Run::Failed();
    HWND edit = nullptr;
    HWND output = nullptr;
    bool found = WaitFor([&] {
        edit = process.FindChild(kKorvaneEditor);
        return edit != nullptr && ::GetDlgCtrlID(edit) == 0xE900;
    });
    // The output window is the edit control with id 101.
    found = found && WaitFor([&] { return (output = FindDescendantById(::GetAncestor(edit, GA_ROOT), 101)) != nullptr; });
    if (!found)
        return Run::Failed();
    double start = Now();
    ::PostMessageA(edit, WM_KEYDOWN, VK_F5, 1);
    ::PostMessageA(edit, WM_KEYUP, VK_F5, 0xC0000001);
    // The step's end line follows the last piece of output, so once it shows, all of it does.
    bool done = WaitFor([&] {
        return TextLength(output) >= static_cast<LRESULT>(kCaptureBytes) && LineBeforeLast(output) == endLine;
    });
    Run run{done, Now() - start, process.PeakMemory()};
    if (done && !HoldsPattern(WholeText(output))) {
        std::printf("capture: the output window lacks part of the output\n");
        return Run::Failed();
    }
    return run;
}

Run CaptureInCmd(const std::string& batch, const std::string& outputFile)
{
    double start = Now();
    Process process("cmd.exe /c " + batch + " > " + outputFile);
    if (!process.Started() || !process.WaitExit())
        return Run::Failed();
    return {true, Now() - start, 0};
}

struct Figure {
    const char* name;
    Series korvane;
    Series baseline;
    const char* baselineName;
    // Korvane's time over the baseline's, for each pair of runs taken in turn of which both
    // were counted: the machine's speed changes less within a pair than across the run.
    std::vector<double> pairRatios;
};

// One measured run, then a pause in which Wine finishes tearing the ended process down, so
// that the next run does not pay for it.
Run Settled(const std::function<Run()>& measure)
{
    Run run = measure();
    ::Sleep(kPauseBetweenRuns);
    return run;
}

// Korvane and its baseline take turns, each going first every other time, so that neither
// gets the quieter moments of a shared machine. A first run of each is not counted: it
// starts Wine's desktop process or fills the file cache.
Figure Measure(const char* name, const std::function<Run()>& korvane, const std::function<Run()>& baseline,
               const char* baselineName)
{
    Figure figure{name, {}, {}, baselineName, {}};
    Settled(korvane);
    Settled(baseline);
    for (int i = 0; i < kRuns; ++i) {
        Run ours, theirs;
        if (i % 2 == 0) {
            ours = Settled(korvane);
            theirs = Settled(baseline);
        } else {
            theirs = Settled(baseline);
            ours = Settled(korvane);
        }
        figure.korvane.Add(ours);
        figure.baseline.Add(theirs);
        if (ours.ok && theirs.ok && theirs.ms > 0)
            figure.pairRatios.push_back(ours.ms / theirs.ms);
    }
    return figure;
}

std::string Megabytes(const Series& series)
{
    if (series.peaks.empty())
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(Median(series.peaks)) / (1024.0 * 1024.0));
    return text;
}

std::string Milliseconds(const Series& series)
{
    if (!series.Measured())
        return "failed";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", Median(series.times));
    return text;
}

// The fastest and the slowest counted run: on a shared machine a median alone hides how far
// the runs were apart.
std::string Spread(const Series& series)
{
    if (!series.Measured())
        return "no run counted";
    char text[64];
    std::snprintf(text, sizeof text, "%.1f-%.1f ms", *std::min_element(series.times.begin(), series.times.end()),
                  *std::max_element(series.times.begin(), series.times.end()));
    return text;
}

std::string Ratio(double ratio)
{
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", ratio);
    return text;
}

void PrintFigures(const std::vector<Figure>& figures)
{
    std::printf("%-30s %11s %11s %13s %6s %6s %13s %13s\n", "figure (median of 11)", "korvane ms", "baseline ms",
                "baseline", "ratio", "pairs", "korvane peak", "baseline peak");
    for (const Figure& f : figures) {
        const bool both = f.korvane.Measured() && f.baseline.Measured();
        const std::string ratio = both ? Ratio(Median(f.korvane.times) / Median(f.baseline.times)) : "-";
        const std::string pairs = f.pairRatios.empty() ? "-" : Ratio(Median(f.pairRatios));
        std::printf("%-30s %11s %11s %13s %6s %6s %13s %13s\n", f.name, Milliseconds(f.korvane).c_str(),
                    Milliseconds(f.baseline).c_str(), f.baselineName, ratio.c_str(), pairs.c_str(),
                    Megabytes(f.korvane).c_str(), Megabytes(f.baseline).c_str());
    }
    std::printf("(ratio: the medians' ratio; pairs: the median of the ratios of the runs taken in turn)\n");
    for (const Figure& f : figures) {
        std::printf("%s, runs from fastest to slowest: korvane %s, %s %s\n", f.name, Spread(f.korvane).c_str(),
                    f.baselineName, Spread(f.baseline).c_str());
    }
    for (const Figure& f : figures) {
        for (const auto& [series, who] : {std::pair{&f.korvane, "korvane"}, std::pair{&f.baseline, f.baselineName}}) {
            if (series->failed)
                std::printf("%s, %s: %d of %d runs failed and are not counted\n", f.name, who, series->failed, kRuns);
        }
    }
}

// One step of a start-up trace: its name and the counter's time when it ended.
struct TraceNote {
    std::string step;
    double at;
};

// The trace file's "step<TAB>milliseconds" lines; false when one of them is not such a line.
bool ParseTrace(const std::string& trace, std::vector<TraceNote>& notes)
{
    for (size_t begin = 0, end; (end = trace.find('\n', begin)) != std::string::npos; begin = end + 1) {
        std::string line = trace.substr(begin, end - begin);
        size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0)
            return false;
        char* rest = nullptr;
        double at = std::strtod(line.c_str() + tab + 1, &rest);
        if (rest == line.c_str() + tab + 1 || *rest != '\0')
            return false;
        notes.push_back({line.substr(0, tab), at});
    }
    return !notes.empty();
}

// One start with the trace on; a run whose trace is missing or unreadable failed.
Run TracedStart(const std::string& commandLine, const std::string& traceFile, std::vector<TraceNote>& notes,
                double& start)
{
    notes.clear();
    ::DeleteFileA(traceFile.c_str());
    Run run = StartUntilIdle(commandLine, &start);
    if (run.ok && !ParseTrace(ReadFile(traceFile), notes))
        return Run::Failed();
    return run;
}

// Runs Korvane with its start-up trace on, as the start-up figure runs it (a first run not
// counted, a pause after each), and prints for each step the median time it took (from the
// end of the step before; the first from the process's creation) and the median time since
// creation at which it ended. With a file to open, the step "document in the frame" is the
// opening of it.
void PrintStartupSteps(const std::string& korvane, const std::string& work, const std::string& file)
{
    const std::string traceFile = work + "\\startup-trace.txt";
    ::SetEnvironmentVariableA(kTraceVariable, traceFile.c_str());
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> took, endedAt;
    Series seen;
    std::vector<TraceNote> notes;
    double start = 0;
    const std::string commandLine = "\"" + korvane + "\"" + (file.empty() ? "" : " \"" + file + "\"");
    Settled([&] { return TracedStart(commandLine, traceFile, notes, start); });
    for (int i = 0; i < kRuns; ++i) {
        Run run = Settled([&] { return TracedStart(commandLine, traceFile, notes, start); });
        seen.Add(run);
        if (!run.ok)
            continue;
        double previous = start;
        for (const TraceNote& note : notes) {
            if (!took.count(note.step))
                order.push_back(note.step);
            took[note.step].push_back(note.at - previous);
            endedAt[note.step].push_back(note.at - start);
            previous = note.at;
        }
    }
    ::SetEnvironmentVariableA(kTraceVariable, nullptr);
    std::printf("start-up steps of korvane.exe %s(median of %zu traced runs)    took ms   ended at ms\n",
                file.empty() ? "" : "opening the largest file ", seen.times.size());
    for (const std::string& step : order)
        std::printf("  %-62s %8.1f %12.1f\n", step.c_str(), Median(took[step]), Median(endedAt[step]));
    std::printf("  %-62s %8s %12s\n", "the bench sees it idle with its window visible", "", Milliseconds(seen).c_str());
    if (seen.failed)
        std::printf("start-up trace: %d of %d runs failed and are not counted\n", seen.failed, kRuns);
}

struct Choice {
    bool startup = false, open = false, openCost = false, key = false, capture = false, trace = false;
};

bool ParseChoice(int argc, char** argv, Choice& choice)
{
    const std::set<std::string> known{"startup", "open", "opencost", "key", "capture", "trace"};
    std::set<std::string> asked(argv + 1, argv + argc);
    for (const std::string& word : asked) {
        if (!known.count(word))
            return false;
    }
    const bool all = asked.empty();
    choice = {all || asked.count("startup") > 0, all || asked.count("open") > 0, all || asked.count("opencost") > 0,
              all || asked.count("key") > 0,     all || asked.count("capture") > 0, asked.count("trace") > 0};
    return true;
}
}

int main(int argc, char** argv)
{
    Choice choice;
    if (!ParseChoice(argc, argv, choice)) {
        std::printf("usage: korvane_bench [startup] [open] [opencost] [key] [capture] [trace]\n");
        return 2;
    }
    std::string dir = ProgramDir();
    std::string korvane = dir + "\\korvane.exe";
    RegistryKeepsake keepsake;
    KeepKorvaneKeys(keepsake, korvane);

    char temp[MAX_PATH];
    ::GetTempPathA(sizeof temp, temp);
    std::string work = std::string(temp) + "korvane-bench";
    ::CreateDirectoryA(work.c_str(), nullptr);
    std::string source = work + "\\big.asm";
    WriteFile(source, MakeGbkSource(kOpenBytes));
    // The typing figure's keys fill it up to the editor's capacity, where the largest file is.
    std::string almostFull = work + "\\almost.asm";
    WriteFile(almostFull, MakeGbkSource(kOpenBytes - kKeysPerRun));
    std::string small = work + "\\hello.asm";
    WriteFile(small, "mov ax, bx\r\n");
    // Both editors hold the text as UTF-16 and count characters: the GBK pairs count once.
    const LRESULT kOpenCharacters = 700000;
    const LRESULT kSmallCharacters = 12;
    std::string compiler = dir + "\\pipe_child.exe pattern " + std::to_string(kCaptureBytes) + " 4096 " +
                           std::to_string(kCaptureLineBytes);
    SetToolchain(compiler);
    std::string batch = work + "\\bench.bat";
    WriteFile(batch, work.substr(0, 2) + "\r\ncd " + work + "\r\n" + compiler + " hello.asm;\r\n");

    if (choice.trace) {
        PrintStartupSteps(korvane, work, "");
        PrintStartupSteps(korvane, work, source);
    }
    std::vector<Figure> figures;
    if (choice.startup) {
        figures.push_back(Measure(
            "start-up until idle", [&] { return StartUntilIdle("\"" + korvane + "\""); },
            [] { return StartUntilIdle("notepad.exe"); }, "notepad"));
    }
    if (choice.open) {
        figures.push_back(Measure(
            "open 1,048,575-byte file",
            [&] { return OpenUntilLoaded("\"" + korvane + "\" \"" + source + "\"", kKorvaneEditor, static_cast<LRESULT>(kOpenBytes)); },
            [&] { return OpenUntilLoaded("notepad.exe \"" + source + "\"", "Edit", kOpenCharacters); }, "notepad"));
    }
    if (choice.openCost) {
        // What opening the largest document adds to Korvane's own start: the same start with a
        // file of one line is the baseline.
        figures.push_back(Measure(
            kOpenCostFigure,
            [&] { return OpenUntilLoaded("\"" + korvane + "\" \"" + source + "\"", kKorvaneEditor, static_cast<LRESULT>(kOpenBytes)); },
            [&] { return OpenUntilLoaded("\"" + korvane + "\" \"" + small + "\"", kKorvaneEditor, kSmallCharacters); },
            "one-line file"));
    }
    if (choice.key) {
        figures.push_back(Measure(
            "key at the end, until painted",
            [&] { return TypeAtTheEnd("\"" + korvane + "\" \"" + almostFull + "\"", kKorvaneEditor, kOpenCharacters); },
            [&] { return TypeAtTheEnd("notepad.exe \"" + almostFull + "\"", "Edit", kOpenCharacters); }, "notepad"));
    }
    if (choice.capture) {
        const std::wstring endLine = CompileEndLine(korvane);
        figures.push_back(Measure(
            "capture 1 MiB of output", [&] { return CaptureInKorvane(korvane, small, endLine); },
            [&] { return CaptureInCmd(batch, work + "\\out.txt"); }, "cmd > file"));
    }
    if (!figures.empty())
        PrintFigures(figures);
    for (const Figure& f : figures) {
        if (f.name == kOpenCostFigure && !f.pairRatios.empty())
            std::printf("opening the largest document adds %.2f of Korvane's start with a one-line file (median of pairs)\n",
                        Median(f.pairRatios) - 1.0);
    }
    if (choice.capture) {
        Series least;
        for (int i = 0; i < kRuns; ++i)
            least.Add(EditControlTakesTheOutput());
        std::printf("(an edit control of the output window's style takes the same 1 MiB at once in %s ms)\n",
                    Milliseconds(least).c_str());
        if (least.failed)
            std::printf("edit control alone: %d of %d runs failed and are not counted\n", least.failed, kRuns);
    }
    if (!keepsake.Restore()) {
        std::printf("the registry keys Korvane uses could not all be put back as they were\n");
        return 1;
    }
    return 0;
}
