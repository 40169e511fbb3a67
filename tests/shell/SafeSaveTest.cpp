// Saving never damages the file on disk: a write that fails part-way, a target with attributes
// of its own, and (where the test script can mount one) a volume that is really full. A file
// another program holds is in DocumentTest.
#include "ShellFixture.h"

#include "doc/KorvaneDoc.h"
#include "framework/Services.h"
#include "framework/Unicode.h"
#include "resource.h"
#include "support/TestSupport.h"

#include <cstdlib>

namespace {
class SafeSave : public ShellTest {
protected:
    void TearDown() override
    {
        AppServices().nStoreFailsAfter = Services::kNever;
        ShellTest::TearDown();
    }
    // Replaces the editor's whole text as the user would.
    void ReplaceText(const std::string& text)
    {
        ::SendMessageW(EditWnd(), EM_SETSEL, 0, -1);
        ::SendMessageW(EditWnd(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Widen(text).c_str()));
        PumpMessages();
    }
    std::string DiskFull(const std::string& path) const { return "在存取 " + path + " 时磁盘已满。"; }
};

// A long text of CR LF lines.
std::string Lines(size_t bytes, char letter)
{
    std::string text;
    while (text.size() + 80 <= bytes)
        text += std::string(78, letter) + "\r\n";
    return text + std::string(bytes - text.size(), letter);
}

}

TEST_F(SafeSave, AWriteThatFailsPartWayLeavesTheFileAsItWas)
{
    ScratchDir dir("safe-partial");
    const std::string path = dir.File("work.asm");
    WriteFileBytes(path, "old text\r\n");
    ASSERT_TRUE(Start(Quoted(path)));
    Type("new ");
    AppServices().nStoreFailsAfter = 5;
    AppServices().dwStoreFailure = ERROR_DISK_FULL;
    Command(ID_FILE_SAVE);
    AppServices().nStoreFailsAfter = Services::kNever;
    ASSERT_EQ(m_boxes.Texts(), std::vector<std::string>{DiskFull(path)});
    EXPECT_EQ(m_boxes.Boxes()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(ReadFileBytes(path), "old text\r\n");
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"work.asm"}) << "no temporary file is left";
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Title(), "work.asm * - Korvane");

    // Closing still asks; the same save works once the cause is gone.
    m_boxes.Clear();
    m_boxes.QueueAnswer(IDCANCEL);
    Close();
    ASSERT_NE(FrameWnd(), nullptr);
    EXPECT_EQ(m_boxes.Texts().size(), 1u);
    m_boxes.Clear();
    Command(ID_FILE_SAVE);
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_EQ(ReadFileBytes(path), "new old text\r\n");
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"work.asm"});
}

TEST_F(SafeSave, TheFileKeepsItsAttributes)
{
    ScratchDir dir("safe-attributes");
    const std::string path = dir.File("kept.asm");
    WriteFileBytes(path, "old\r\n");
    const std::wstring widePath = Widen(path);
    ASSERT_TRUE(::SetFileAttributesW(widePath.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_TRUE(Start(Quoted(path)));
    Type("x");
    Command(ID_FILE_SAVE);
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_EQ(ReadFileBytes(path), "xold\r\n");
    EXPECT_TRUE(::GetFileAttributesW(widePath.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"kept.asm"});
}

// Run by small_volume_test.sh, which mounts a 64 KiB volume as a drive and names it.
TEST_F(SafeSave, AReallyFullDiskNeverCostsTheFile)
{
    const char* volume = std::getenv("KORVANE_SMALL_VOLUME");
    if (!volume)
        GTEST_SKIP() << "no small volume mounted (small_volume_test.sh runs this)";
    const std::string path = std::string(volume) + "full.asm";
    const std::string old = Lines(40 * 1024, 'o');
    WriteFileBytes(path, old);
    ASSERT_EQ(ReadFileBytes(path), old);
    ASSERT_TRUE(Start(Quoted(path)));

    // More than the volume has left beside the file.
    ReplaceText(Lines(60 * 1024, 'n'));
    Command(ID_FILE_SAVE);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{DiskFull(path)});
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(FilesIn(volume), std::vector<std::string>{"full.asm"});
    EXPECT_TRUE(Doc()->IsModified());

    m_boxes.Clear();
    const std::string fits = Lines(10 * 1024, 'f');
    ReplaceText(fits);
    Command(ID_FILE_SAVE);
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_EQ(ReadFileBytes(path), fits);
    ::DeleteFileW(Widen(path).c_str());
}
