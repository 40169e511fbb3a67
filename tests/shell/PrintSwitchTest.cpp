// The /p and /pt switches: print the named file through the editor and end, with the
// framework's message where there is no printer (as in the test prefix).
#include "ShellFixture.h"

#include "app/KorvaneApp.h"
#include "framework/Strings.h"

namespace {
class PrintSwitch : public ShellTest {
protected:
    // Top-level windows of this thread that are still there.
    static int ThreadWindowCount()
    {
        int count = 0;
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND wnd, LPARAM counter) {
                if (::IsWindowVisible(wnd))
                    ++*reinterpret_cast<int*>(counter);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&count));
        return count;
    }
};
}

TEST_F(PrintSwitch, PrintEndsTheProgramWithTheNoPrinterMessage)
{
    ScratchDir dir("print-p");
    const std::string path = dir.File("print.asm");
    WriteFileBytes(path, "mov ax, 1\r\n");
    const std::string switches[] = {"/p " + Quoted(path), "-P " + Quoted(path), Quoted(path) + " /p"};
    for (const std::string& arguments : switches) {
        m_boxes.Clear();
        EXPECT_FALSE(Start(arguments)) << arguments;
        EXPECT_EQ(FrameWnd(), nullptr) << arguments;
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{std::string("不能开始打印：没有可用的打印机。")}) << arguments;
        EXPECT_EQ(ThreadWindowCount(), 0) << "the main window never showed";
        EXPECT_EQ(ReadFileBytes(path), "mov ax, 1\r\n");
    }
}

TEST_F(PrintSwitch, PrintToUnknownPrinterReportsTheSameMessage)
{
    ScratchDir dir("print-pt");
    const std::string path = dir.File("print.asm");
    WriteFileBytes(path, "mov ax, 1\r\n");
    EXPECT_FALSE(Start("/pt " + Quoted(path) + " \"No Such Printer\" winspool LPT9:"));
    EXPECT_EQ(FrameWnd(), nullptr);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{std::string("不能开始打印：没有可用的打印机。")});
    EXPECT_EQ(TheApp().GetPrintTarget().printer, "No Such Printer");
    EXPECT_EQ(TheApp().GetPrintTarget().driver, "winspool");
    EXPECT_EQ(TheApp().GetPrintTarget().port, "LPT9:");
}

TEST_F(PrintSwitch, MissingFileIsReportedAndNothingIsPrinted)
{
    ScratchDir dir("print-missing");
    const std::string path = dir.File("absent.asm");
    EXPECT_FALSE(Start("/p " + Quoted(path)));
    EXPECT_EQ(FrameWnd(), nullptr);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{FormatPlaceholders(std::string("没有找到 %1。"), {path})});
}

TEST_F(PrintSwitch, NormalStartAfterPrintingShowsTheWindowAgain)
{
    ScratchDir dir("print-again");
    const std::string path = dir.File("print.asm");
    WriteFileBytes(path, "");
    EXPECT_FALSE(Start("/p " + Quoted(path)));
    ASSERT_TRUE(Start(Quoted(path)));
    EXPECT_TRUE(::IsWindowVisible(FrameWnd()));
}
