// Work a Korvane was ended with (a crash, the power, the task manager) is offered at the next
// start, byte-exact in GBK and UTF-8; a clean exit leaves no backup; two Korvanes at once keep
// their backups apart and never offer a running one's.
#include "KorvaneProcess.h"

#include "framework/AfxRes.h"
#include "framework/Unicode.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
std::string BackupFolder()
{
    wchar_t local[MAX_PATH * 4] = L"";
    ::GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH * 4);
    return Narrow(local) + "\\Korvane\\backup";
}

std::vector<std::string> Backups()
{
    std::vector<std::string> backups = FilesIn(BackupFolder());
    backups.erase(std::remove_if(backups.begin(), backups.end(), [](const std::string& name) { return !EndsWith(name, ".kvb"); }),
                  backups.end());
    return backups;
}

void ClearBackups()
{
    for (const std::string& name : FilesIn(BackupFolder()))
        ::DeleteFileW(Widen(BackupFolder() + "\\" + name).c_str());
}

void TypeAscii(HWND editor, const std::string& text)
{
    for (char c : text)
        ::SendMessageA(editor, WM_CHAR, static_cast<BYTE>(c), 1);
}

const std::string kRecoverQuestion = "上次 Korvane 没有正常结束，有未保存的修改。要恢复吗？";

class Recovery : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearProfile();
        ClearBackups();
    }
    void TearDown() override
    {
        ClearBackups();
        ClearProfile();
    }
    // Starts Korvane on the file and types at its start; the main window.
    HWND EditIn(const KorvaneProcess& korvane, const std::string& name)
    {
        HWND main = korvane.WaitForMainWindow(name + " - Korvane");
        if (main)
            TypeAscii(::GetDlgItem(main, AFX_IDW_PANE_FIRST), "nop ");
        return main;
    }
    // Closes Korvane, answering No to saving.
    void CloseWithoutSaving(const KorvaneProcess& korvane, HWND main)
    {
        ::PostMessageA(main, WM_CLOSE, 0, 0);
        HWND box = korvane.WaitForMessageBox(nullptr);
        ASSERT_NE(box, nullptr);
        PressButton(box, IDNO);
        DWORD exitCode = 1;
        ASSERT_TRUE(korvane.WaitForExit(&exitCode));
    }

    ScratchDir m_dir{"recovery"};
};
}

TEST_F(Recovery, AnEditOfARunEndedAtOnceIsOfferedAtTheNextStartByteExact)
{
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {{"gbk.asm", Gbk(";中文注释\r\nmov ax, 1\r\n")}, {"utf8.asm", ";中文注释 UTF-8\r\nmov ax, 1\r\n"}};
    for (const auto& file : files) {
        const std::string path = m_dir.File(file.name);
        WriteFileBytes(path, file.bytes);
        {
            KorvaneProcess first(Quoted(path));
            ASSERT_NE(EditIn(first, file.name), nullptr) << file.name;
            ASSERT_TRUE(WaitFor([] { return Backups().size() == 1; }, 20000)) << file.name;
            first.Terminate();
        }
        KorvaneProcess second("");
        std::string question;
        HWND box = second.WaitForMessageBox(&question);
        ASSERT_NE(box, nullptr) << file.name;
        EXPECT_EQ(question, Gbk(kRecoverQuestion.c_str()));
        PressButton(box, IDYES);
        HWND main = second.WaitForMainWindow(std::string(file.name) + " * - Korvane");
        ASSERT_NE(main, nullptr) << file.name;

        // Saved, the file is what the edit made of it, in its own encoding.
        ::PostMessageA(main, WM_COMMAND, ID_FILE_SAVE, 0);
        EXPECT_TRUE(WaitFor([&] { return WindowText(main) == std::string(file.name) + " - Korvane"; }));
        EXPECT_EQ(ReadFileBytes(path), "nop " + file.bytes) << file.name;
        ::PostMessageA(main, WM_CLOSE, 0, 0);
        DWORD exitCode = 1;
        EXPECT_TRUE(second.WaitForExit(&exitCode));
        EXPECT_TRUE(Backups().empty()) << file.name;
    }
}

TEST_F(Recovery, TwoRunsKeepTheirOwnBackupsAndACleanExitLeavesNone)
{
    WriteFileBytes(m_dir.File("a.asm"), "mov ax, 1\r\n");
    WriteFileBytes(m_dir.File("b.asm"), "mov bx, 2\r\n");
    KorvaneProcess a(Quoted(m_dir.File("a.asm")));
    KorvaneProcess b(Quoted(m_dir.File("b.asm")));
    ASSERT_NE(EditIn(a, "a.asm"), nullptr);
    HWND mainB = EditIn(b, "b.asm");
    ASSERT_NE(mainB, nullptr);
    ASSERT_TRUE(WaitFor([] { return Backups().size() == 2; }, 20000));

    // Both still run: a third offers neither.
    {
        KorvaneProcess third("");
        HWND main = third.WaitForMainWindow(Gbk("无标题 - Korvane"));
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(third.WaitForIdle());
        EXPECT_EQ(third.FindWindowOf([](HWND wnd) { return ClassName(wnd) == "#32770"; }), nullptr);
        ::PostMessageA(main, WM_CLOSE, 0, 0);
        DWORD exitCode = 1;
        EXPECT_TRUE(third.WaitForExit(&exitCode));
    }

    // With one of them ended at once, the next start offers that one's edit alone.
    a.Terminate();
    KorvaneProcess next("");
    HWND box = next.WaitForMessageBox(nullptr);
    ASSERT_NE(box, nullptr);
    PressButton(box, IDYES);
    HWND restored = next.WaitForMainWindow("a.asm * - Korvane");
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(WindowText(::GetDlgItem(restored, AFX_IDW_PANE_FIRST)), "nop mov ax, 1\r\n");

    CloseWithoutSaving(b, mainB);
    CloseWithoutSaving(next, restored);
    EXPECT_TRUE(Backups().empty());
    EXPECT_EQ(ReadFileBytes(m_dir.File("a.asm")), "mov ax, 1\r\n");
}
