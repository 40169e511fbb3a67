// The toolchain follows the edited file: an 8051 source builds with MCS51 and any other file
// with the 16-bit toolchain, each with its own stored tools, the toolbar's drop-down and the
// status bar show it, and a pick made there is kept for the file.
#include "build/CompilerSettings.h"
#include "frame/MainFrame.h"
#include "framework/RegistryKey.h"
#include "framework/Unicode.h"
#include "framework/docking/CStatusBar.h"
#include "framework/docview/CWinApp.h"
#include "resource.h"
#include "support/KorvaneSession.h"
#include "support/RecordingProcess.h"
#include "support/TestSupport.h"
#include "text/TextControl.h"
#include "doc/KorvaneView.h"

#include <gtest/gtest.h>

namespace {
void StoreTools(const char* toolchain, const std::string& compiler)
{
    CRegistryKey key(HKEY_LOCAL_MACHINE, CRegistryKey::Lifetime::Lasting);
    ASSERT_TRUE(key.CreateFromRoot(std::string(kSettingsKeyPath) + "\\" + toolchain));
    key.SetString(kCompilerValueName, compiler);
    key.SetString(kLinkerValueName, compiler);
    key.SetString(kNoLinkValueName, "1");
}

HWND ToolchainBox(const CMainFrame& frame)
{
    return ::GetDlgItem(ToolBar(frame).GetSafeHwnd(), IDC_TOOLCHAIN_BOX);
}

std::string BoxText(const CMainFrame& frame)
{
    wchar_t text[32] = L"";
    ::GetWindowTextW(ToolchainBox(frame), text, 32);
    return Narrow(text);
}

// What a user's choice in the drop-down sends.
void ChooseInBox(const CMainFrame& frame, int index)
{
    HWND box = ToolchainBox(frame);
    ::SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(::GetParent(box), WM_COMMAND, MAKEWPARAM(IDC_TOOLCHAIN_BOX, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(box));
}
}

class ToolchainChoice : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearCompilerSettings();
        for (const char* name : {"masm.exe", "tasm.exe", "asm51.exe"}) {
            ASSERT_TRUE(::CopyFileW(Widen(HelperPath("standin_tool.exe")).c_str(), Widen(m_dir.File(name)).c_str(), FALSE));
        }
        StoreTools("masm", m_dir.File("masm.exe"));
        StoreTools("tasm", m_dir.File("tasm.exe"));
        StoreTools("mcs", m_dir.File("asm51.exe"));
        m_session = std::make_unique<KorvaneSession>();
        ASSERT_TRUE(m_session->Started());
        Frame().SetPipeProcess(std::make_unique<RecordingProcess>(m_commands, &m_batches));
    }
    void TearDown() override
    {
        m_session.reset();
        ClearCompilerSettings();
    }
    CMainFrame& Frame() const { return m_session->Frame(); }
    void Open(const std::string& name)
    {
        WriteFileBytes(m_dir.File(name), "nop\r\n");
        ASSERT_NE(AfxGetApp()->OpenDocumentFile(m_dir.File(name)), nullptr);
    }
    // The compiler the batch file of F8's build of the edited file starts (no toolchain here
    // links).
    std::string CompiledWith()
    {
        m_batches.clear();
        m_session->Command(ID_BUILD);
        EXPECT_TRUE(WaitFor([&] { return !Frame().IsBuildRunning(); }));
        if (m_batches.empty())
            return "<no build>";
        for (const char* name : {"masm.exe", "tasm.exe", "asm51.exe"}) {
            if (m_batches.back().find(name) != std::string::npos)
                return name;
        }
        return m_batches.back();
    }

    ScratchDir m_dir{"toolchain-choice"};
    MessageBoxRecorder m_boxes;
    std::vector<std::string> m_commands;
    std::vector<std::string> m_batches;
    std::unique_ptr<KorvaneSession> m_session;
};

TEST_F(ToolchainChoice, EachFileBuildsWithItsOwnToolchainAndAPickIsKept)
{
    const struct {
        const char* action;
        const char* file;
        int pick; // the drop-down's entry chosen before the build, or -1
        const char* compiler;
        const char* shown;
        SyntaxMode colours;
    } kSteps[] = {
        {"open", "hello.asm", -1, "masm.exe", "MASM", SyntaxMode::Masm},
        {"open", "blink.a51", -1, "asm51.exe", "MCS51", SyntaxMode::Mcs51},
        {"open", "lab.src", -1, "asm51.exe", "MCS51", SyntaxMode::Mcs51},
        {"pick", "hello.asm", 1, "tasm.exe", "TASM", SyntaxMode::Masm},
        {"reopen", "blink.a51", -1, "asm51.exe", "MCS51", SyntaxMode::Mcs51},
        {"reopen", "hello.asm", -1, "tasm.exe", "TASM", SyntaxMode::Masm},
        {"pick", "led.asm", 2, "asm51.exe", "MCS51", SyntaxMode::Mcs51},
        {"pick back", "led.asm", 0, "masm.exe", "MASM", SyntaxMode::Masm},
    };
    for (const auto& step : kSteps) {
        SCOPED_TRACE(std::string(step.action) + " " + step.file);
        Open(step.file);
        if (step.pick >= 0)
            ChooseInBox(Frame(), step.pick);
        EXPECT_EQ(BoxText(Frame()), step.shown);
        PumpMessages();
        EXPECT_EQ(StatusBar(Frame()).GetPaneText(7), step.shown);
        EXPECT_EQ(m_session->Editor().Control().GetSyntaxMode(), step.colours);
        EXPECT_EQ(CompiledWith(), step.compiler);
    }
    EXPECT_TRUE(m_boxes.Texts().empty());
    // The picks live in the store: a new start finds them.
    m_session.reset();
    m_session = std::make_unique<KorvaneSession>();
    ASSERT_TRUE(m_session->Started());
    Open("hello.asm");
    EXPECT_EQ(BoxText(Frame()), "TASM");
    Open("led.asm");
    EXPECT_EQ(BoxText(Frame()), "MASM");
}
