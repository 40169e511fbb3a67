// The document's file changed or removed by another program, noticed when Korvane becomes the
// active program again: an unmodified document is read again on the caret's line, a modified
// one asks, a removed file is told once, and a save over another program's change asks first.
#include "ShellFixture.h"

#include "doc/KorvaneDoc.h"
#include "framework/Unicode.h"
#include "resource.h"

namespace {
// Another program writes the file: cmd.exe copies the bytes over it.
void WriteFromAnotherProcess(const std::string& path, const std::string& bytes, const ScratchDir& dir)
{
    const std::string source = dir.File("other.tmp");
    WriteFileBytes(source, bytes);
    std::string command = "cmd.exe /c copy /y " + Quoted(source) + " " + Quoted(path) + " >nul";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                                 &startup, &process));
    ::WaitForSingleObject(process.hProcess, 30000);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
}
}

class FileOnDisk : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        WriteFileBytes(m_path, "line 1\r\nline 2\r\nline 3\r\n");
        ASSERT_TRUE(Start(Quoted(m_path)));
    }
    // Korvane becomes the active program again.
    void Activate()
    {
        ::SendMessageW(FrameWnd(), WM_ACTIVATEAPP, TRUE, 0);
        PumpMessages();
    }
    int CaretLine() const { return static_cast<int>(::SendMessageW(EditWnd(), EM_LINEFROMCHAR, -1, 0)); }

    ScratchDir m_dir{"disk-change"};
    const std::string m_path = m_dir.File("watched.asm");
};

TEST_F(FileOnDisk, AnUnmodifiedDocumentIsReadAgainOnItsLine)
{
    const LRESULT line2 = ::SendMessageW(EditWnd(), EM_LINEINDEX, 2, 0);
    Select(line2, line2);
    WriteFromAnotherProcess(m_path, "new 1\r\nnew 2\r\nnew 3\r\nnew 4\r\n", m_dir);
    Activate();
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_EQ(EditorText(), "new 1\r\nnew 2\r\nnew 3\r\nnew 4\r\n");
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(CaretLine(), 2);

    // Korvane's own save is no change.
    Type("x");
    Command(ID_FILE_SAVE);
    Activate();
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_TRUE(Contains(EditorText(), "x"));
}

TEST_F(FileOnDisk, AModifiedDocumentAsksAndKeepingItsEditsMakesTheNextSaveAsk)
{
    Type("mine ");
    WriteFromAnotherProcess(m_path, "theirs\r\n", m_dir);
    m_boxes.QueueAnswer(IDNO);
    Activate();
    ASSERT_EQ(m_boxes.Texts(), std::vector<std::string>{"“" + m_path + "”已被其他程序修改。\n要放弃这里的修改并重新加载吗？"});
    EXPECT_EQ(m_boxes.Boxes()[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_TRUE(Doc()->IsModified());
    Activate();
    EXPECT_EQ(m_boxes.Texts().size(), 1u) << "told once";

    // The save asks before it overwrites the other program's change; No keeps both as they are.
    m_boxes.Clear();
    m_boxes.QueueAnswer(IDNO);
    Command(ID_FILE_SAVE);
    ASSERT_EQ(m_boxes.Texts(), std::vector<std::string>{"“" + m_path + "”已被其他程序修改。\n要用这里的内容覆盖它吗？"});
    EXPECT_EQ(ReadFileBytes(m_path), "theirs\r\n");
    m_boxes.QueueAnswer(IDYES);
    Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadFileBytes(m_path), "mine line 1\r\nline 2\r\nline 3\r\n");

    // Yes gives the edits up for the other program's text.
    m_boxes.Clear();
    Type("again ");
    WriteFromAnotherProcess(m_path, "theirs too\r\n", m_dir);
    m_boxes.QueueAnswer(IDYES);
    Activate();
    EXPECT_EQ(m_boxes.Texts().size(), 1u);
    EXPECT_EQ(EditorText(), "theirs too\r\n");
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(FileOnDisk, ARemovedFileIsToldOnceAndSavingMakesItAgain)
{
    ASSERT_TRUE(::DeleteFileW(Widen(m_path).c_str()));
    Activate();
    Activate();
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"“" + m_path + "”已被删除或移走。"});
    EXPECT_TRUE(Doc()->IsModified());
    Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadFileBytes(m_path), "line 1\r\nline 2\r\nline 3\r\n");
    EXPECT_EQ(m_boxes.Texts().size(), 1u);
}
