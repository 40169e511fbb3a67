// korvane.exe as its own process, driven as a user would: its window, its editor, the
// question when it closes, and the file it leaves behind.
#include "support/TestSupport.h"

#include "build/CompilerSettings.h"
#include "framework/AfxRes.h"
#include "framework/RegistryKey.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <psapi.h>

#include <functional>
#include <string>

namespace {
const DWORD kDeadlineMs = 60000;

std::string WindowText(HWND wnd)
{
    char text[4096] = "";
    ::SendMessageTimeoutA(wnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                          nullptr);
    return text;
}

std::string ClassName(HWND wnd)
{
    char name[64] = "";
    ::GetClassNameA(wnd, name, sizeof name);
    return name;
}

// One run of korvane.exe, ended (if it still runs) when the object goes.
class KorvaneProcess {
public:
    explicit KorvaneProcess(const std::string& arguments)
    {
        std::string exe = HelperPath("korvane.exe");
        std::string commandLine = "\"" + exe + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        m_bStarted = ::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                      &startup, &m_info) != FALSE;
        if (m_bStarted)
            ::CloseHandle(m_info.hThread);
    }
    ~KorvaneProcess()
    {
        if (!m_bStarted)
            return;
        if (::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(m_info.hProcess, 1);
            ::WaitForSingleObject(m_info.hProcess, kDeadlineMs);
        }
        ::CloseHandle(m_info.hProcess);
    }

    bool Started() const { return m_bStarted; }

    // The first visible top-level window of the process that the filter accepts.
    HWND FindWindowOf(const std::function<bool(HWND)>& filter) const
    {
        struct Search {
            DWORD pid;
            const std::function<bool(HWND)>* filter;
            HWND found;
        } search{m_info.dwProcessId, &filter, nullptr};
        ::EnumWindows(
            [](HWND wnd, LPARAM param) {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD pid = 0;
                ::GetWindowThreadProcessId(wnd, &pid);
                if (pid == s->pid && ::IsWindowVisible(wnd) && (*s->filter)(wnd)) {
                    s->found = wnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    HWND WaitForMainWindow(const std::string& title) const
    {
        HWND found = nullptr;
        WaitFor([&] {
            found = FindWindowOf([&](HWND wnd) { return ClassName(wnd) != "#32770" && WindowText(wnd) == title; });
            return found != nullptr;
        });
        return found;
    }

    // A message box of the process, and the text it shows.
    HWND WaitForMessageBox(std::string* text) const
    {
        HWND found = nullptr;
        WaitFor([&] {
            found = FindWindowOf([](HWND wnd) { return ClassName(wnd) == "#32770"; });
            return found != nullptr;
        });
        if (found && text)
            *text = WindowText(::GetDlgItem(found, 0xFFFF));
        return found;
    }

    // Whether the process has this library loaded now.
    bool HasLoaded(const char* dll) const
    {
        HMODULE modules[512];
        DWORD bytes = 0;
        if (!::EnumProcessModules(m_info.hProcess, modules, sizeof modules, &bytes))
            return false;
        for (DWORD i = 0; i < bytes / sizeof(HMODULE); ++i) {
            char name[MAX_PATH] = "";
            ::GetModuleBaseNameA(m_info.hProcess, modules[i], name, sizeof name);
            if (lstrcmpiA(name, dll) == 0)
                return true;
        }
        return false;
    }
    bool WaitForIdle() const { return ::WaitForInputIdle(m_info.hProcess, kDeadlineMs) == 0; }

    bool WaitForExit(DWORD* exitCode) const
    {
        if (::WaitForSingleObject(m_info.hProcess, kDeadlineMs) != WAIT_OBJECT_0)
            return false;
        ::GetExitCodeProcess(m_info.hProcess, exitCode);
        return true;
    }

private:
    bool m_bStarted = false;
    PROCESS_INFORMATION m_info{};
};

void PressButton(HWND box, int id)
{
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box, id)));
}

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
        if (::GetDlgCtrlID(child) == 101 && ClassName(child) == "Edit")
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
