// korvane.exe as its own process, driven as a user would: its window, its editor, the
// question when it closes, and the file it leaves behind.
#include "KorvaneProcess.h"

#include "build/CompilerSettings.h"
#include "framework/AfxRes.h"
#include "framework/RegistryKey.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <psapi.h>

#include <functional>
#include <string>

namespace {
class KorvaneProcessTest : public ::testing::Test {
protected:
    void SetUp() override { ClearProfile(); }
    void TearDown() override { ClearProfile(); }
};
}

TEST_F(KorvaneProcessTest, EditsAFileAndSavesItWhenClosed)
{
    ScratchDir dir("e2e-edit");
    const std::string path = dir.File("e2e.asm");
    const std::string original = Gbk(";端到端\r\nmov ax, 1\r\n");
    WriteFileBytes(path, original);

    KorvaneProcess korvane(Quoted(path));
    ASSERT_TRUE(korvane.Started());
    HWND main = korvane.WaitForMainWindow("e2e.asm - Korvane");
    ASSERT_NE(main, nullptr);
    HWND editor = ::GetDlgItem(main, AFX_IDW_PANE_FIRST);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(WindowText(editor), original);

    for (char c : std::string("nop "))
        ::SendMessageA(editor, WM_CHAR, static_cast<BYTE>(c), 1);
    EXPECT_TRUE(WaitFor([&] { return WindowText(main) == "e2e.asm * - Korvane"; }));
    EXPECT_EQ(WindowText(editor), "nop " + original);

    ::PostMessageA(main, WM_CLOSE, 0, 0);
    std::string question;
    HWND box = korvane.WaitForMessageBox(&question);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), "Korvane");
    EXPECT_EQ(question, Gbk("将改动保存到 ") + path + Gbk("？"));
    PressButton(box, IDYES);

    DWORD exitCode = 1;
    ASSERT_TRUE(korvane.WaitForExit(&exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(ReadFileBytes(path), "nop " + original);
}

TEST_F(KorvaneProcessTest, PrintSwitchShowsTheNoPrinterMessageAndEnds)
{
    ScratchDir dir("e2e-print");
    const std::string path = dir.File("print.asm");
    WriteFileBytes(path, "mov ax, 1\r\n");

    KorvaneProcess korvane("/p " + Quoted(path));
    ASSERT_TRUE(korvane.Started());
    std::string message;
    HWND box = korvane.WaitForMessageBox(&message);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(message, Gbk("不能开始打印：没有可用的打印机。"));
    EXPECT_EQ(korvane.FindWindowOf([](HWND wnd) { return ClassName(wnd) != "#32770"; }), nullptr)
        << "printing shows no main window";
    PressButton(box, IDOK);

    DWORD exitCode = 1;
    EXPECT_TRUE(korvane.WaitForExit(&exitCode));
    EXPECT_EQ(ReadFileBytes(path), "mov ax, 1\r\n");
}

namespace {
std::string ClassesValue(const std::string& path)
{
    CRegistryKey key(HKEY_CLASSES_ROOT);
    std::string value;
    if (key.Open(path, KEY_READ))
        key.GetString("", value);
    return value;
}
}

// Start-up leaves the registration until the window is painted and the program waits for
// input, and loads neither the common dialogs nor the shell, which only later commands need.
TEST_F(KorvaneProcessTest, RegistersTheDocumentTypeOnceItWaitsForInput)
{
    CRegistryKey::DeleteTree(HKEY_CLASSES_ROOT, "Korvane.Document");
    CRegistryKey::DeleteTree(HKEY_CLASSES_ROOT, ".asm");
    KorvaneProcess korvane("");
    ASSERT_TRUE(korvane.Started());
    ASSERT_NE(korvane.WaitForMainWindow(Gbk("无标题 - Korvane")), nullptr);
    ASSERT_TRUE(korvane.WaitForIdle());
    ASSERT_TRUE(korvane.HasLoaded("user32.dll"));
    EXPECT_FALSE(korvane.HasLoaded("comdlg32.dll"));
    EXPECT_FALSE(korvane.HasLoaded("shell32.dll"));

    const std::string openCommand = Quoted(HelperPath("korvane.exe")) + " \"%1\"";
    EXPECT_TRUE(WaitFor([&] {
        return ClassesValue("Korvane.Document\\shell\\open\\command") == openCommand &&
               ClassesValue(".asm") == "Korvane.Document";
    })) << ClassesValue("Korvane.Document\\shell\\open\\command");
}

namespace {
// The output window (id 101) somewhere below the main window.
HWND FindOutputWindow(HWND parent)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(child) == 101)
            return child;
        if (HWND deeper = FindOutputWindow(child))
            return deeper;
    }
    return nullptr;
}

void StoreStandInToolchain(const std::string& tool)
{
    CRegistryKey key(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(key.CreateFromRoot(std::string(kSettingsKeyPath) + "\\masm"));
    key.SetString(kCompilerValueName, tool);
    key.SetString(kLinkerValueName, tool);
    ASSERT_TRUE(key.CreateFromRoot(kSettingsKeyPath));
    key.SetString(kTypeValueName, "masm");
}

void PressKey(HWND target, UINT key)
{
    ::PostMessageA(target, WM_KEYDOWN, key, 1);
    ::PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}
}

TEST_F(KorvaneProcessTest, FunctionKeysBuildWithTheConfiguredToolchainAndShowItsOutput)
{
    ClearCompilerSettings();
    StoreStandInToolchain(HelperPath("standin_tool.exe"));
    ScratchDir dir("e2e-build");
    const std::string path = dir.File("e2e.asm");
    WriteFileBytes(path, "mov ax, 1\r\n");

    KorvaneProcess korvane(Quoted(path));
    ASSERT_TRUE(korvane.Started());
    HWND main = korvane.WaitForMainWindow("e2e.asm - Korvane");
    ASSERT_NE(main, nullptr);
    HWND editor = ::GetDlgItem(main, AFX_IDW_PANE_FIRST);
    HWND output = FindOutputWindow(main);
    ASSERT_NE(output, nullptr);

    auto shows = [&](const std::string& text) { return WindowText(output).find(text) != std::string::npos; };
    PressKey(editor, VK_F5);
    EXPECT_TRUE(WaitFor([&] { return shows(Gbk("编译结束，退出码 0。")); })) << WindowText(output);
    EXPECT_TRUE(shows("standin_tool.exe e2e.asm;")) << WindowText(output);
    EXPECT_TRUE(shows("standin_tool directory: " + dir.Path())) << WindowText(output);

    PressKey(editor, VK_F8);
    EXPECT_TRUE(WaitFor([&] { return shows(Gbk("连接结束，退出码 0。")); })) << WindowText(output);
    EXPECT_TRUE(shows("standin_tool.exe e2e.asm;") && shows("standin_tool.exe e2e;")) << WindowText(output);
    EXPECT_TRUE(shows("standin_tool stderr line"));

    ::PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    EXPECT_TRUE(korvane.WaitForExit(&exitCode));
    ClearCompilerSettings();
}
