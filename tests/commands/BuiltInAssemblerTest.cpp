// The MCS51 toolchain with no assembler set, through the real frame: F8 assembles with
// korvane-asm51.exe beside the program and links nothing; its messages show in the panel,
// F4 goes to their line, and a source with an error leaves no HEX behind, not even an old one.
#include "doc/KorvaneView.h"
#include "frame/MainFrame.h"
#include "frame/OutputWindow.h"
#include "framework/docview/CWinApp.h"
#include "resource.h"
#include "support/KorvaneSession.h"
#include "support/TestSupport.h"
#include "text/TextControl.h"

#include <gtest/gtest.h>

namespace {
const char kWithError[] = "\tORG\t0\r\n"
                          "START:\tMOV\tA,#1\r\n"
                          "\tMOV\tR0,#FOO\r\n"
                          "HERE:\tSJMP\tHERE\r\n"
                          "\tEND\r\n";

const char kRunningLight[] = "\tORG\t0\r\n"
                             "\tMOV\tA,#11111110B\r\n"
                             "LOOP:\tMOV\tP1,A\r\n"
                             "\tRL\tA\r\n"
                             "\tJMP\tLOOP\r\n"
                             "\tEND\r\n";
}

class BuiltInAssembler : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_session.Started());
        Frame().SetCompilerSettings(CompilerSettings{CompilerType::Mcs51, "", "", ""});
    }
    CMainFrame& Frame() const { return m_session.Frame(); }
    std::string Output() const { return OutputWindow(Frame()).GetWindowText(); }
    void Open(const std::string& text)
    {
        WriteFileBytes(m_source + "\\hello.a51", text);
        ASSERT_NE(AfxGetApp()->OpenDocumentFile(m_source + "\\hello.a51"), nullptr);
    }
    void Run(UINT command)
    {
        m_session.Command(command);
        ASSERT_TRUE(WaitFor([&] { return !Frame().IsBuildRunning(); }, 60000));
    }

    MessageBoxRecorder m_boxes;
    KorvaneSession m_session;
    ScratchDir m_dir{"built-in assembler"};
    const std::string m_source = m_dir.Folder("单片机 实验");
};

TEST_F(BuiltInAssembler, ErrorsShowWithTheirLineAndLeaveNoHex)
{
    WriteFileBytes(m_source + "\\hello.hex", ":00000001FF\r\n");
    Open(kWithError);
    Run(ID_BUILD);
    const std::string output = Output();
    EXPECT_TRUE(Contains(output, "hello.a51(3): error A51-2: 未定义的符号 FOO")) << output;
    EXPECT_FALSE(Contains(output, "连接")) << output;
    EXPECT_FALSE(FileExists(m_source + "\\hello.hex"));
    EXPECT_TRUE(FileExists(m_source + "\\hello.lst"));

    const HWND editor = m_session.Editor().GetSafeHwnd();
    PressAccelerator(editor, VK_F4, 0);
    DWORD start = 0;
    ::SendMessageW(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    EXPECT_EQ(m_session.Editor().Control().Buffer().LineFromPosition(start), 2u);
}

TEST_F(BuiltInAssembler, BuildWritesTheHexAndThereIsNothingToLink)
{
    Open(kRunningLight);
    Run(ID_BUILD);
    const std::string output = Output();
    EXPECT_TRUE(Contains(output, "hello.a51：没有错误，代码 7 字节")) << output;
    EXPECT_TRUE(EndsWith(output, "编译结束，退出码 0。\r\n")) << output;
    const std::string hex = ReadFileBytes(m_source + "\\hello.hex");
    EXPECT_EQ(hex, ":0700000074FEF5902380FB64\r\n:00000001FF\r\n") << hex;

    m_session.Command(ID_LINK);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{std::string("此工具链无需连接。")});
}
