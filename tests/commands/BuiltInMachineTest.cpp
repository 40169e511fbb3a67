// The real MASM 5.10 and LINK 3.65 run by Korvane's own DOS machine through the real frame, with
// no emulator set: their output comes back through the pipe with the tool's own exit code, a
// message goes to its line with F4, and Stop ends a DOS tool that never ends. The source
// folder's name is long and Chinese, as students' folders are.
#include "doc/KorvaneView.h"
#include "frame/MainFrame.h"
#include "frame/OutputWindow.h"
#include "framework/Unicode.h"
#include "framework/docview/CWinApp.h"
#include "resource.h"
#include "support/KorvaneSession.h"
#include "support/TestSupport.h"
#include "text/TextControl.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

namespace {
std::string DosTool(const std::string& name)
{
    return std::string(KORVANE_DOS_TOOLS) + "\\" + name;
}

// How many processes of the built-in machine are running.
int MachinesRunning()
{
    UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry))
        count += ::lstrcmpiW(entry.szExeFile, L"korvane-dos.exe") == 0 ? 1 : 0;
    return count;
}

const char kWithErrors[] = "code    segment\r\n"
                           "        assume cs:code\r\n"
                           "start:  mov ax, 4c00h\r\n"
                           "        int 21h\r\n"
                           "        mov ax, foo\r\n"
                           "code    ends\r\n"
                           "        end start\r\n";

const char kHello[] = "data    segment\r\n"
                      "msg     db 'hello', 13, 10, '$'\r\n"
                      "data    ends\r\n"
                      "stack1  segment stack\r\n"
                      "        dw 64 dup(0)\r\n"
                      "stack1  ends\r\n"
                      "code    segment\r\n"
                      "        assume cs:code, ds:data\r\n"
                      "start:  mov ax, data\r\n"
                      "        mov ds, ax\r\n"
                      "        lea dx, msg\r\n"
                      "        mov ah, 9\r\n"
                      "        int 21h\r\n"
                      "        mov ax, 4c00h\r\n"
                      "        int 21h\r\n"
                      "code    ends\r\n"
                      "        end start\r\n";
}

class BuiltInMachine : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_session.Started());
        Frame().SetCompilerSettings(CompilerSettings{CompilerType::Masm, DosTool("MASM.EXE"), DosTool("LINK.EXE"), ""});
    }
    CMainFrame& Frame() const { return m_session.Frame(); }
    std::string Output() const { return OutputWindow(Frame()).GetWindowText(); }
    void Open(const std::string& text)
    {
        WriteFileBytes(m_source + "\\hello.asm", text);
        ASSERT_NE(AfxGetApp()->OpenDocumentFile(m_source + "\\hello.asm"), nullptr);
    }
    void Run(UINT command)
    {
        m_session.Command(command);
        ASSERT_TRUE(WaitFor([&] { return !Frame().IsBuildRunning(); }, 60000));
    }

    KorvaneSession m_session;
    ScratchDir m_dir{"built-in machine"};
    const std::string m_source = m_dir.Folder("学生 作业");
};

TEST_F(BuiltInMachine, MasmsErrorsComeBackWithItsExitCodeAndLeadToTheirLine)
{
    Open(kWithErrors);
    Run(ID_BUILD);
    const std::string output = Output();
    EXPECT_TRUE(Contains(output, "Microsoft (R) Macro Assembler Version 5.10")) << output;
    EXPECT_TRUE(Contains(output, "hello.asm(5): error A2009: Symbol not defined: FOO")) << output;
    EXPECT_TRUE(Contains(output, "1 Severe  Errors")) << output;
    EXPECT_TRUE(Contains(output, "编译结束，退出码 7。\r\n编译失败，未连接。")) << output;

    const HWND editor = m_session.Editor().GetSafeHwnd();
    PressAccelerator(editor, VK_F4, 0);
    DWORD start = 0;
    ::SendMessageW(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    EXPECT_EQ(m_session.Editor().Control().Buffer().LineFromPosition(start), 4u);
}

TEST_F(BuiltInMachine, MasmAndLinkBuildTheProgram)
{
    Open(kHello);
    Run(ID_BUILD);
    const std::string output = Output();
    EXPECT_TRUE(Contains(output, "0 Severe  Errors")) << output;
    EXPECT_TRUE(Contains(output, "Microsoft (R) Overlay Linker  Version 3.65")) << output;
    EXPECT_TRUE(EndsWith(output, "连接结束，退出码 0。\r\n")) << output;
    EXPECT_TRUE(FileExists(m_source + "\\HELLO.EXE") || FileExists(m_source + "\\hello.exe"));
}

TEST_F(BuiltInMachine, StopEndsADosToolThatNeverEnds)
{
    Frame().SetCompilerSettings(
        CompilerSettings{CompilerType::Masm, std::string(KORVANE_DOS_PROGRAMS) + "\\FOREVER.COM", "", ""});
    Open(kHello);
    const int before = MachinesRunning();
    m_session.Command(ID_COMPILE);
    ASSERT_TRUE(WaitFor([&] { return MachinesRunning() > before; }));
    m_session.Command(ID_STOP_BUILD);
    ASSERT_TRUE(WaitFor([&] { return !Frame().IsBuildRunning(); }));
    EXPECT_TRUE(EndsWith(Output(), "编译已停止。\r\n")) << Output();
    EXPECT_TRUE(WaitFor([&] { return MachinesRunning() == before; }));
}
