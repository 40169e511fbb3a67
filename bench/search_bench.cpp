// Prints how long the editor's search and the output panel's message walk take in a running
// korvane.exe, driven from outside as a user's clicks and keys reach it: Find Next in the real
// Find dialog for a match on the last line of the largest document (1,048,575 bytes), F3,
// Replace all of 10,000 matches and its Undo, and F4 through 5,000 message lines. Each figure
// is the time the program takes to handle the one message, as medians of several runs. The
// messages come from a real compile step, whose stand-in compiler prints them, so the panel
// indexes them as it does a real tool's. Run it from the folder that holds korvane.exe and
// pipe_child.exe; the editor's own select-and-scroll is printed beside the steps.
#include "framework/CWnd.h"
#include "framework/Unicode.h"
#include "resource.h"
#include "support/BenchProcess.h"
#include "support/CompilerSettingsForBench.h"
#include "support/RegistryKeepsake.h"

#include <windows.h>

#include <dlgs.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {
const int kRuns = 5;
const size_t kDocumentBytes = 1024 * 1024 - 1;
const int kReplacements = 10000;
const int kMessages = 5000;

// The ms one message takes the program to handle.
double Timed(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam = 0)
{
    const double start = Now();
    ::SendMessageW(wnd, message, wParam, lParam);
    return Now() - start;
}

std::wstring TextOf(HWND wnd)
{
    std::wstring text(static_cast<size_t>(::SendMessageW(wnd, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(::SendMessageW(wnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

size_t Count(const std::wstring& text, const std::wstring& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + what.size()))
        ++n;
    return n;
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

// 1,048,575 bytes of CR LF lines, 10,000 of them holding "swapme", the last one "needle". The
// document is as large as the editor takes, so a replacement keeps the length.
std::string MakeDocument()
{
    std::string text;
    for (int i = 0; i < kReplacements; ++i)
        text += "\tmov ax, swapme ; line " + std::to_string(i) + "\r\n";
    const std::string filler = "\tmov bx, cx    ; \xD7\xA2\xCA\xCD\r\n";
    const std::string last = "\tjmp needle";
    while (text.size() + filler.size() + last.size() <= kDocumentBytes)
        text += filler;
    text.append(kDocumentBytes - text.size() - last.size(), ' ');
    return text + last;
}

// A visible top-level window of the program with this class ("" for its main frame).
HWND TopLevel(const Process& korvane, const wchar_t* className)
{
    return korvane.FindTopLevel([className](HWND wnd) -> HWND {
        wchar_t name[64] = L"";
        ::GetClassNameW(wnd, name, 64);
        const bool wanted = *className ? lstrcmpW(name, className) == 0 : ::GetMenu(wnd) != nullptr;
        return ::IsWindowVisible(wnd) && wanted ? wnd : nullptr;
    });
}

void Report(const char* name, double ms)
{
    std::printf("%-58s %9.1f ms\n", name, ms);
}

// Find Next in the real dialog, from the top each time, until the last line's match.
void MeasureFind(HWND frame, HWND edit, HWND dialog, DWORD needleStart)
{
    ::SendMessageW(::GetDlgItem(dialog, edt1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"needle"));
    std::vector<double> finds, repeats;
    for (int run = 0; run < kRuns; ++run) {
        ::SendMessageW(edit, EM_SETSEL, 0, 0);
        finds.push_back(Timed(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                              reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK))));
        if (EditSelectionOf(edit).first != needleStart)
            std::printf("Find Next did not select the match on the last line\n");
        ::SendMessageW(edit, EM_SETSEL, 0, 0);
        repeats.push_back(Timed(frame, WM_COMMAND, ID_EDIT_REPEAT));
    }
    Report("Find Next, match on the last line of 1,048,575 bytes", Median(finds));
    Report("F3, the same search again", Median(repeats));
}

void MeasureReplaceAll(const Process& korvane, HWND frame, HWND edit)
{
    ::SendMessageW(frame, WM_COMMAND, ID_EDIT_REPLACE, 0);
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = TopLevel(korvane, L"#32770")) && ::GetDlgItem(dialog, edt2); });
    ::SendMessageW(::GetDlgItem(dialog, edt1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"swapme"));
    ::SendMessageW(::GetDlgItem(dialog, edt2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"SWAPME"));
    const double replace = Timed(dialog, WM_COMMAND, MAKEWPARAM(psh2, BN_CLICKED),
                                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, psh2)));
    const size_t replaced = Count(TextOf(edit), L"SWAPME");
    const double undo = Timed(frame, WM_COMMAND, ID_EDIT_UNDO);
    const size_t restored = Count(TextOf(edit), L"swapme");
    Report("Replace all, 10,000 matches", replace);
    Report("Undo of that Replace all (one step)", undo);
    if (replaced != kReplacements || restored != kReplacements)
        std::printf("replaced %s, restored %s of %d\n", std::to_string(replaced).c_str(),
                    std::to_string(restored).c_str(), kReplacements);
}

// A source of 10,000 lines, as long as a large student's program, so that the figures show
// the walk rather than the editor's own scrolling through a megabyte.
std::wstring MakeWalkSource()
{
    std::wstring text;
    for (int i = 0; i < 2 * kMessages; ++i)
        text += L"\tmov ax, x" + std::to_wstring(i) + L"   ; \u6CE8\u91CA\r\n";
    return text;
}

// The compiler's 5,000 messages, one for every other line of the walk's source.
std::string MakeMessages()
{
    std::string messages;
    for (int i = 0; i < kMessages; ++i)
        messages += "BENCH.ASM(" + std::to_string(1 + i * 2) + "): error A2009: Symbol not defined: X" +
                    std::to_string(i) + "\r\n";
    return messages;
}

void MeasureMessageWalk(HWND frame, HWND output, HWND edit)
{
    ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(MakeWalkSource().c_str()));
    std::vector<double> scrolls;
    for (int i = 0; i < 50; ++i) {
        const LPARAM at = static_cast<LPARAM>(::SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(i * 200), 0));
        const double start = Now();
        ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(at), at + 5);
        ::SendMessageW(edit, EM_SCROLLCARET, 0, 0);
        scrolls.push_back(Now() - start);
    }
    // The compile saves the edited source first; the step is over once its end line follows
    // the last message.
    ::PostMessageW(frame, WM_COMMAND, ID_COMPILE, 0);
    const bool compiled = WaitFor([&] {
        const std::wstring text = TextOf(output);
        return Count(text, L"error A2009") == kMessages && text.rfind(L"X4999") < text.rfind(L"\r\n", text.size() - 3);
    }, 20);
    if (!compiled) {
        std::printf("the compile step did not show its 5,000 messages\n");
        return;
    }
    // Each step is handled, then painted: timed apart, so that the handling is not charged
    // with the paint of the step before.
    auto step = [frame](std::vector<double>& handled, std::vector<double>& painted) {
        handled.push_back(Timed(frame, WM_COMMAND, ID_NEXT_MESSAGE));
        const double start = Now();
        ::RedrawWindow(frame, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        painted.push_back(handled.back() + Now() - start);
    };
    std::vector<double> first, firstPainted, each, eachPainted;
    step(first, firstPainted);
    for (int i = 1; i < kMessages; ++i)
        step(each, eachPainted);
    double total = firstPainted[0];
    for (double ms : eachPainted)
        total += ms;
    Report("Editor of 10,000 lines: select and scroll to a line", Median(scrolls));
    Report("F4, first message", first[0]);
    Report("F4, each further message (median)", Median(each));
    Report("F4, each further message until painted (median)", Median(eachPainted));
    Report("F4, each of the last 100 messages (median)",
           Median(std::vector<double>(each.end() - std::min<size_t>(100, each.size()), each.end())));
    Report("F4, the slowest further message", *std::max_element(each.begin(), each.end()));
    Report("F4, the slowest further message until painted", *std::max_element(eachPainted.begin(), eachPainted.end()));
    Report("F4 through all 5,000 messages, painted", total);
    const auto [start, end] = EditSelectionOf(edit);
    const LONG line = static_cast<LONG>(::SendMessageW(edit, EM_LINEFROMCHAR, start, 0));
    if (end <= start || line != 2 * (kMessages - 1))
        std::printf("F4 did not end on the line the last message names\n");
}
}

int main()
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"bench.asm";
    const std::string bytes = MakeDocument();
    WriteBytes(path, bytes);

    RegistryKeepsake keepsake;
    KeepCompilerSettings(keepsake);
    const std::string messages = Narrow(temp) + "bench-messages.txt";
    WriteBytes(Widen(messages), MakeMessages());
    SetToolchain("\"" + ProgramDir() + "\\pipe_child.exe\" cat \"" + messages + "\"");

    Process korvane("\"" + ProgramDir() + "\\korvane.exe\" \"" + Narrow(path) + "\"");
    HWND frame = nullptr, edit = nullptr, output = nullptr;
    const std::wstring text = DecodeCodePage(bytes, kGbkCodePage);
    const bool loaded = korvane.Started() && WaitFor([&] {
        frame = TopLevel(korvane, L"");
        edit = frame ? ::GetDlgItem(frame, AFX_IDW_PANE_FIRST) : nullptr;
        return edit && static_cast<size_t>(::SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0)) == text.size();
    });
    if (!loaded) {
        std::printf("korvane.exe did not open the document\n");
        return 1;
    }
    output = FindDescendantById(frame, IDC_OUTPUT);
    std::printf("Document: %s bytes, %s characters\n", std::to_string(bytes.size()).c_str(),
                std::to_string(text.size()).c_str());

    ::SendMessageW(frame, WM_COMMAND, ID_EDIT_FIND, 0);
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = TopLevel(korvane, L"#32770")) != nullptr; });
    MeasureFind(frame, edit, dialog, static_cast<DWORD>(text.rfind(L"needle")));
    MeasureReplaceAll(korvane, frame, edit);
    if (!output) {
        std::printf("no output window\n");
        return 1;
    }
    MeasureMessageWalk(frame, output, edit);
    ::DeleteFileW(path.c_str());
    ::DeleteFileW(Widen(messages).c_str());
    return 0;
}
