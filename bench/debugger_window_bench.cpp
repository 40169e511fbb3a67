// Prints what a single step costs in Korvane's window, as the user sees it: from the step
// command until every pane shown has its new text and has painted it, against the 16 ms of a
// frame, in a window of 1280 by 800. The program is the debugger's MASM 5.10 test program,
// built through the window with the real MASM and LINK; each session steps into it from its
// entry to its end.
//   debugger_window_bench
#include "debugui/DebugController.h"
#include "frame/MainFrame.h"
#include "framework/Unicode.h"
#include "framework/docview/CWinApp.h"
#include "resource.h"
#include "support/KorvaneSession.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

namespace {

const size_t kSamples = 200;

// The bench's clock: the tests' support, which starts the application, has its own waits.
double Now()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string DosTool(const char* name)
{
    return std::string(KORVANE_DOS_TOOLS) + "\\" + name;
}

// Dispatches the window's messages as they come (the worker's result is one) until the program
// stands still; the tests' own wait polls and idles, which would be measured too.
bool WaitForStill(CDebugController& debugger)
{
    const double deadline = Now() + 120000;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!AfxGetApp()->PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        if (debugger.State() != DebugState::Running && debugger.State() != DebugState::Building)
            return true;
        if (Now() > deadline)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
}

// One session from the entry to the end; the milliseconds of each step join times.
bool StepThroughOnce(CMainFrame& frame, std::vector<double>& times)
{
    CDebugController& debugger = frame.Debugger();
    frame.SendMessageW(WM_COMMAND, ID_DEBUG_START, 0);
    if (!WaitForStill(debugger) || debugger.State() != DebugState::Stopped)
        return false;
    PumpMessages();
    while (debugger.State() == DebugState::Stopped && times.size() < kSamples) {
        const double start = Now();
        frame.SendMessageW(WM_COMMAND, ID_DEBUG_STEP_INTO, 0);
        if (!WaitForStill(debugger))
            return false;
        ::RedrawWindow(frame.GetSafeHwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        // The toolbar's and menu's states follow at the next idle moment, as the message loop has it.
        AfxGetApp()->OnIdle(0);
        times.push_back(Now() - start);
    }
    frame.SendMessageW(WM_COMMAND, ID_DEBUG_STOP, 0);
    PumpMessages();
    return true;
}

}

int main()
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "korvane-debugger-window-bench";
    std::filesystem::create_directories(folder);
    for (const char* name : {"SUM.ASM", "PRINT.INC"})
        std::filesystem::copy_file(std::filesystem::path(KORVANE_DEBUGGER_SOURCES) / name, folder / name,
                                   std::filesystem::copy_options::overwrite_existing);
    std::vector<double> times;
    {
        KorvaneSession korvane;
        CMainFrame& frame = korvane.Frame();
        // The size of a common laptop's screen: every pane as large as a user has it.
        frame.SetWindowPos(nullptr, 0, 0, 1280, 800, SWP_NOZORDER | SWP_NOACTIVATE);
        frame.SetCompilerSettings(CompilerSettings{CompilerType::Masm, DosTool("MASM.EXE"), DosTool("LINK.EXE")});
        if (!korvane.Started() || !AfxGetApp()->OpenDocumentFile(Narrow((folder / "SUM.ASM").wstring()))) {
            std::printf("Korvane did not start with the program\n");
            return 1;
        }
        while (times.size() < kSamples)
            if (!StepThroughOnce(frame, times)) {
                std::printf("the session did not start or a step did not end\n");
                return 1;
            }
    }
    std::filesystem::remove_all(folder);
    std::sort(times.begin(), times.end());
    std::printf("A step into in the window until every pane has painted its new text, %zu steps (MASM 5.10 program)\n",
                times.size());
    std::printf("%-40s %8.2f ms  (a frame is 16 ms)\n", "median", times[times.size() / 2]);
    std::printf("%-40s %8.2f ms\n", "95th percentile", times[times.size() * 95 / 100]);
    std::printf("%-40s %8.2f ms\n", "slowest", times.back());
    return 0;
}
