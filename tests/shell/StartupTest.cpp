// Start-up: the first window, the program template, files named on the command line, the About box.
#include "ShellFixture.h"

#include "KorvaneVersion.h"
#include "app/KorvaneApp.h"
#include "doc/KorvaneDoc.h"
#include "frame/MainFrame.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "resource.h"

#include <algorithm>

namespace {
std::string TemplateText()
{
    const char* lines[] = {";程序模板",
                           "",
                           "SSEG SEGMENT PARA STACK 'stack'",
                           "\tdw 100h dup(0) ;初始化堆栈大小为100",
                           "SSEG ENDS",
                           "",
                           "DSEG SEGMENT",
                           "\t;数据段：在此处添加程序所需的数据",
                           "DSEG ENDS",
                           "",
                           "ESEG SEGMENT",
                           "\t;附加段：在此处添加程序所需的数据",
                           "ESEG ENDS",
                           "",
                           "CSEG SEGMENT",
                           "\tassume  cs:CSEG, ds:DSEG, es:ESEG, ss:SSEG",
                           "",
                           "",
                           "\t",
                           "MAIN PROC FAR  \t;主程序入口",
                           "",
                           "\tmov ax, dseg",
                           "\tmov ds, ax",
                           "\tmov ax,eseg",
                           "\tmov es, ax",
                           "",
                           "\t",
                           "\t;此处添加主程序代码",
                           "",
                           "\t;按任意键退出",
                           "\tmov ah,1",
                           "\tint 21h",
                           "",
                           "\tmov ax, 4c00h  ;程序结束，返回到操作系统系统",
                           "\tint 21h",
                           "MAIN ENDP",
                           "\t",
                           "CSEG ENDS",
                           "",
                           "END MAIN"};
    std::string text;
    for (const char* line : lines) {
        if (!text.empty() || line != lines[0])
            text += "\r\n";
        text += line;
    }
    return text;
}

size_t CountLines(const std::string& text)
{
    size_t lines = 1;
    for (size_t pos = text.find("\r\n"); pos != std::string::npos; pos = text.find("\r\n", pos + 2))
        ++lines;
    return lines;
}

// Acts on the modal box of this thread from inside its message loop, once it is up.
class ModalBoxDriver {
public:
    enum class Action { ClickOk, PressEnter, PressEscape };

    explicit ModalBoxDriver(Action action) : m_action(action)
    {
        s_pActive = this;
        m_nTimer = ::SetTimer(nullptr, 0, 20, OnTimer);
    }
    ~ModalBoxDriver()
    {
        ::KillTimer(nullptr, m_nTimer);
        s_pActive = nullptr;
    }

    std::string m_strCaption;
    std::vector<std::string> m_texts;
    bool m_bActed = false;

private:
    static BOOL CALLBACK FindDialog(HWND wnd, LPARAM found)
    {
        char cls[32] = "";
        ::GetClassNameA(wnd, cls, sizeof cls);
        if (::IsWindowVisible(wnd) && std::string(cls) == "#32770") {
            *reinterpret_cast<HWND*>(found) = wnd;
            return FALSE;
        }
        return TRUE;
    }

    static BOOL CALLBACK CollectText(HWND wnd, LPARAM self)
    {
        reinterpret_cast<ModalBoxDriver*>(self)->m_texts.push_back(WindowTextOf(wnd));
        return TRUE;
    }

    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        ModalBoxDriver* self = s_pActive;
        HWND dialog = nullptr;
        if (!self || self->m_bActed)
            return;
        ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
        if (!dialog)
            return;
        self->m_bActed = true;
        self->m_strCaption = WindowTextOf(dialog);

        ::EnumChildWindows(dialog, CollectText, reinterpret_cast<LPARAM>(self));
        switch (self->m_action) {
        case Action::ClickOk:
            ::SendMessageA(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
            break;
        case Action::PressEnter:
            ::PostMessageA(dialog, WM_KEYDOWN, VK_RETURN, 0);
            break;
        case Action::PressEscape:
            ::PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
            break;
        }
    }

    static inline ModalBoxDriver* s_pActive = nullptr;
    Action m_action;
    UINT_PTR m_nTimer = 0;
};

class Startup : public ShellTest {};
class AboutBox : public ShellTest {};
}

TEST_F(Startup, StartsWithUntitledTemplateDocument)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(Title(), std::string("无标题 - Korvane"));
    EXPECT_TRUE(::IsWindowVisible(FrameWnd()));

    std::string expected = TemplateText();
    ASSERT_EQ(GbkLength(expected), 535u);
    ASSERT_EQ(CountLines(expected), 40u);
    EXPECT_EQ(EditorText(), expected);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_TRUE(Doc()->GetSourcePath().empty());

    // Nothing to save: closing asks nothing.
    Close();
    EXPECT_EQ(FrameWnd(), nullptr);
    EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(Startup, StartsAgainAfterClosingInTheSameProcess)
{
    for (int run = 0; run < 3; ++run) {
        ASSERT_TRUE(Start()) << "run " << run;
        Type("x");
        EXPECT_EQ(Title(), std::string("无标题 * - Korvane"));
        Doc()->SetModifiedFlag(false);
        Close();
        ASSERT_EQ(FrameWnd(), nullptr) << "run " << run;
    }
}

TEST_F(Startup, FileNewAfterTheFrameClosedMakesANewFrame)
{
    ASSERT_TRUE(Start());
    Close();
    ASSERT_EQ(FrameWnd(), nullptr);
    TheApp().OnFileNew();
    ASSERT_NE(FrameWnd(), nullptr);
    EXPECT_EQ(EditorText(), CKorvaneDoc::ProgramTemplate());
    EXPECT_EQ(Title(), std::string("无标题 - Korvane"));
}

TEST_F(Startup, CommandLineFileIsShown)
{
    ScratchDir dir("startup-open");
    std::string path = dir.File("hello.asm");
    WriteFileBytes(path, "mov ax, 1\r\n");
    ASSERT_TRUE(Start(Quoted(path)));
    EXPECT_EQ(Title(), "hello.asm - Korvane");
    EXPECT_EQ(EditorText(), "mov ax, 1\r\n");
    EXPECT_EQ(Doc()->GetSourcePath(), path);
}

TEST_F(Startup, MissingCommandLineFileEndsTheProgram)
{
    ScratchDir dir("startup-missing");
    std::string path = dir.File("absent.asm");
    EXPECT_FALSE(Start(Quoted(path)));
    EXPECT_EQ(FrameWnd(), nullptr);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{FormatPlaceholders(std::string("没有找到 %1。"), {path})});
}

TEST_F(AboutBox, ClosesWithOkEnterAndEscape)
{
    ASSERT_TRUE(Start());
    const ModalBoxDriver::Action actions[] = {ModalBoxDriver::Action::ClickOk, ModalBoxDriver::Action::PressEnter,
                                              ModalBoxDriver::Action::PressEscape};
    for (ModalBoxDriver::Action action : actions) {
        ModalBoxDriver driver(action);
        Command(ID_APP_ABOUT);
        ASSERT_TRUE(driver.m_bActed);
        EXPECT_EQ(driver.m_strCaption, std::string("关于 Korvane"));
        EXPECT_NE(std::find(driver.m_texts.begin(), driver.m_texts.end(), std::string("Korvane " KORVANE_VERSION_TEXT " 版")),
                  driver.m_texts.end());
        EXPECT_NE(std::find(driver.m_texts.begin(), driver.m_texts.end(), std::string("确定")), driver.m_texts.end());
        // Back from the modal loop: the box is gone and nothing changed.
        EXPECT_EQ(::GetWindow(FrameWnd(), GW_ENABLEDPOPUP), nullptr);
        EXPECT_TRUE(::IsWindowEnabled(FrameWnd()));
        EXPECT_EQ(Title(), std::string("无标题 - Korvane"));
        EXPECT_FALSE(Doc()->IsModified());
    }
}
