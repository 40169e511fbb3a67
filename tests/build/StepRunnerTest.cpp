// The build step runner on its own: reports posted to a window of the test thread, output
// joined while nobody takes it, the end of a step however it comes, and nothing left behind
// by a thousand steps.
#include "build/StepRunner.h"

#include "support/HandleCount.h"
#include "framework/Unicode.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {
constexpr UINT kReportMessage = WM_APP + 7;
constexpr DWORD kDeadlineMs = 60000;

std::string Child(const std::string& arguments)
{
    return Quoted(HelperPath("pipe_child.exe")) + " " + arguments;
}

// Takes the next message of the test thread for the window (waiting for one), dispatching
// everything else (the runner's timer among it). False at the deadline.
bool NextReportMessage(HWND wnd)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.hwnd == wnd && msg.message == kReportMessage)
                return true;
            ::DispatchMessageW(&msg);
        }
        const DWORD waited = ::GetTickCount() - start;
        if (waited >= kDeadlineMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kDeadlineMs - waited, QS_ALLINPUT);
    }
}

class StepRunnerTest : public ::testing::Test {
protected:
    void TearDown() override { ::DestroyWindow(m_hWnd); }

    // Takes reports as they are announced until one ends the step; the text of them all.
    StepReport RunToEnd()
    {
        StepReport all;
        while (!all.bEnded && NextReportMessage(m_hWnd)) {
            StepReport report = m_runner.TakeReport();
            report.text.insert(0, all.text);
            all = report;
        }
        return all;
    }
    // The first report with text, as the step still runs.
    std::wstring FirstText()
    {
        std::wstring text;
        while (text.empty() && NextReportMessage(m_hWnd))
            text = m_runner.TakeReport().text;
        return text;
    }

    HWND m_hWnd = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    // Never opened: its tool waits until it is stopped.
    ToolGate m_waiting;
    CStepRunner m_runner;
};
}

TEST_F(StepRunnerTest, ReportsTheDecodedOutputAndTheExitCode)
{
    m_runner.Start(Widen(Child("exit -1")), m_hWnd, kReportMessage);
    EXPECT_TRUE(m_runner.IsRunning());
    StepReport report = RunToEnd();
    ASSERT_TRUE(report.bEnded);
    EXPECT_EQ(report.text, L"exit -1\r\n");
    EXPECT_EQ(report.exitCode, 0xFFFFFFFFu);
    EXPECT_FALSE(report.bStopped);
    EXPECT_FALSE(report.failure);
    EXPECT_FALSE(m_runner.IsRunning());
}

TEST_F(StepRunnerTest, AStartFailureEndsTheStepWithTheSystemsReason)
{
    m_runner.Start(Widen("korvane-no-such-program-1b2c.exe"), m_hWnd, kReportMessage);
    StepReport report = RunToEnd();
    ASSERT_TRUE(report.bEnded);
    ASSERT_TRUE(report.failure);
    EXPECT_EQ(*report.failure, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(report.bStopped);
}

TEST_F(StepRunnerTest, OutputArrivingFasterThanItIsTakenIsJoined)
{
    // Three thousand writes, and nobody takes anything until the step is over: one message
    // announced the first output, one the end, and one report holds everything in order.
    m_runner.Start(Widen(Child("pattern 300000 100")), m_hWnd, kReportMessage);
    ASSERT_TRUE(NextReportMessage(m_hWnd));
    ASSERT_TRUE(NextReportMessage(m_hWnd));
    StepReport report = m_runner.TakeReport();
    EXPECT_TRUE(report.bEnded);
    std::wstring pattern;
    for (int i = 0; i < 300000; ++i)
        pattern += static_cast<wchar_t>('A' + i % 61);
    EXPECT_TRUE(report.text == pattern) << report.text.size();
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, m_hWnd, kReportMessage, kReportMessage, PM_REMOVE));
}

TEST_F(StepRunnerTest, StopEndsTheStepBeforeOrAfterItsToolStarted)
{
    m_runner.Start(Widen(m_waiting.ToolCommand()), m_hWnd, kReportMessage);
    m_runner.Stop();
    StepReport early = RunToEnd();
    EXPECT_TRUE(early.bEnded && early.bStopped);

    m_runner.Start(Widen(m_waiting.ToolCommand()), m_hWnd, kReportMessage);
    EXPECT_EQ(FirstText(), L"gated_tool first line\r\n");
    m_runner.Stop();
    StepReport late = RunToEnd();
    EXPECT_TRUE(late.bEnded && late.bStopped);
    EXPECT_EQ(late.exitCode, CPipeProcess::kStoppedExitCode);
}

TEST_F(StepRunnerTest, ShutdownStopsTheStepAndPostsNothingMore)
{
    m_runner.Start(Widen(m_waiting.ToolCommand()), m_hWnd, kReportMessage);
    ASSERT_FALSE(FirstText().empty());
    m_runner.Shutdown();
    EXPECT_FALSE(m_runner.IsRunning());
    // The worker has ended: whatever it would have posted would be here now.
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, m_hWnd, kReportMessage, kReportMessage, PM_REMOVE));
}

TEST_F(StepRunnerTest, AThousandStepsLeakNoHandleThreadOrJob)
{
    const std::string silent = Child("silent");
    // Warm-up: whatever the first steps load for good is not a leak.
    for (const std::string& command : {silent, m_waiting.ToolCommand()}) {
        m_runner.Start(Widen(command), m_hWnd, kReportMessage);
        m_runner.Stop();
        RunToEnd();
    }
    const DWORD handles = OwnHandleCount();
    const DWORD threads = OwnThreadCount();
    ASSERT_GT(handles, 0u);
    for (int i = 0; i < 1000; ++i) {
        // Ended by themselves, stopped at once, stopped while the tool runs, failed to start.
        const int kind = i % 10;
        if (kind == 9) {
            m_runner.Start(Widen("korvane-no-such-program-1b2c.exe"), m_hWnd, kReportMessage);
        } else if (kind == 8) {
            m_runner.Start(Widen(m_waiting.ToolCommand()), m_hWnd, kReportMessage);
            ASSERT_FALSE(FirstText().empty()) << i;
            m_runner.Stop();
        } else {
            m_runner.Start(Widen(silent), m_hWnd, kReportMessage);
            if (kind == 7)
                m_runner.Stop();
        }
        StepReport report = RunToEnd();
        ASSERT_TRUE(report.bEnded) << i;
        // Wine now and then fails to map a new process (ERROR_INTERNAL_ERROR): not a leak.
        if (report.failure && kind != 9) {
            ASSERT_EQ(*report.failure, static_cast<DWORD>(ERROR_INTERNAL_ERROR)) << i;
        }
    }
    EXPECT_LE(OwnHandleCount(), handles + 8) << "handles before " << handles;
    EXPECT_LE(OwnThreadCount(), threads + 1) << "threads before " << threads;
}
