// Files in folders whose names the system's code page may not hold (Chinese, and a letter
// GBK lacks): opened from the command line, the file dialog, the recent files, a drop and the
// shell's request, saved, and named in the title. The suite runs under code pages 936 and 1252.
#include "ShellFixture.h"

#include "doc/KorvaneDoc.h"
#include "resource.h"

#include <dde.h>

namespace {
class ForeignPath : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        m_strPath = m_dir.Folder("汇编 Jörg") + "\\程序.asm";
        WriteFileBytes(m_strPath, Gbk("; 程序\r\n"));
    }
    bool Opened() const { return Doc() && Doc()->GetSourcePath() == m_strPath && EditorText() == "; 程序\r\n"; }

    ScratchDir m_dir{"foreign"};
    std::string m_strPath;
};
}

TEST_F(ForeignPath, OpensFromTheCommandLineShowsItsNameAndSaves)
{
    ASSERT_TRUE(Start(Quoted(m_strPath)));
    EXPECT_TRUE(Opened());
    EXPECT_EQ(Title(), "程序.asm - Korvane");
    EXPECT_TRUE(m_boxes.Texts().empty());
    Type("x");
    Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadFileBytes(m_strPath), Gbk("x; 程序\r\n"));
}

TEST_F(ForeignPath, EveryOtherWayOfOpeningReachesTheFile)
{
    ASSERT_TRUE(Start());
    m_dialogs.QueueAnswer(m_strPath);
    Command(ID_FILE_OPEN);
    EXPECT_TRUE(Opened()) << "file dialog";

    Command(ID_FILE_NEW);
    std::vector<MenuEntry> file = PopupEntries(0);
    auto recent = std::find_if(file.begin(), file.end(), [](const MenuEntry& e) { return e.id == ID_FILE_MRU_FILE1; });
    ASSERT_NE(recent, file.end());
    EXPECT_NE(recent->text.find("程序.asm"), std::string::npos) << recent->text;
    Command(ID_FILE_MRU_FILE1);
    EXPECT_TRUE(Opened()) << "recent files";

    Command(ID_FILE_NEW);
    ::SendMessageW(FrameWnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({m_strPath})), 0);
    PumpMessages();
    EXPECT_TRUE(Opened()) << "drop";
    EXPECT_TRUE(m_boxes.Texts().empty());
}
