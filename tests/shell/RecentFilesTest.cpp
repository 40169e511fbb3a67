// The recent-file list in the File menu: placeholder, four entries, shortened names,
// opening an entry, and the list kept in the profile from one run to the next.
#include "ShellFixture.h"

#include "doc/KorvaneDoc.h"
#include "framework/Strings.h"
#include "resource.h"

#include <algorithm>

namespace {
class RecentFiles : public ShellTest {
protected:
    // The recent-file entries of the File menu, in menu order.
    std::vector<MenuEntry> RecentEntries()
    {
        std::vector<MenuEntry> entries = PopupEntries(0);
        std::vector<MenuEntry> recent;
        std::copy_if(entries.begin(), entries.end(), std::back_inserter(recent), [](const MenuEntry& e) {
            return e.id >= ID_FILE_MRU_FILE1 && e.id <= ID_FILE_MRU_LAST;
        });
        return recent;
    }

    void Open(const std::string& path)
    {
        m_dialogs.QueueAnswer(path);
        Command(ID_FILE_OPEN);
    }
};

// "C:\" of a path in the scratch folder, then "...", then the folder's own name and the
// file's (for names short enough to fit in 30 bytes that way).
std::string Shortened(const ScratchDir& dir, const std::string& name)
{
    const std::string& path = dir.Path();
    return path.substr(0, 3) + "..." + path.substr(path.rfind('\\')) + "\\" + name;
}
}

TEST_F(RecentFiles, PlaceholderIsGrayedWhileTheListIsEmpty)
{
    ASSERT_TRUE(Start());
    std::vector<MenuEntry> recent = RecentEntries();
    ASSERT_EQ(recent.size(), 1u);
    EXPECT_EQ(recent[0].id, static_cast<UINT>(ID_FILE_MRU_FILE1));
    EXPECT_EQ(recent[0].text, std::string("最近文件"));
    EXPECT_TRUE(recent[0].grayed);
    // Preparing the menu again keeps one placeholder.
    EXPECT_EQ(RecentEntries().size(), 1u);
    // The entries around it are in place: the encodings and the tabs' entries before the
    // separator, Exit after the next.
    std::vector<MenuEntry> all = PopupEntries(0);
    ASSERT_EQ(all.size(), 11u);
    EXPECT_EQ(all[3].id, static_cast<UINT>(ID_FILE_SAVE_AS));
    EXPECT_EQ(all[4].id, static_cast<UINT>(-1)) << "the encoding submenu";
    EXPECT_EQ(all[6].id, static_cast<UINT>(ID_FILE_CLOSE_TAB));
    EXPECT_EQ(all[10].id, static_cast<UINT>(ID_APP_EXIT));
}

TEST_F(RecentFiles, KeepsFourNewestShortenedAndOpensAChosenEntry)
{
    ScratchDir dir("mru");
    const char* names[] = {"a.asm", "b.asm", "c.asm", "d.asm", "e.asm"};
    for (const char* name : names)
        WriteFileBytes(dir.File(name), std::string(name) + "\r\n");
    ASSERT_TRUE(Start());
    for (const char* name : names)
        Open(dir.File(name));

    std::vector<MenuEntry> recent = RecentEntries();
    ASSERT_EQ(recent.size(), 4u);
    const char* expected[] = {"e.asm", "d.asm", "c.asm", "b.asm"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(recent[i].id, ID_FILE_MRU_FILE1 + i);
        EXPECT_EQ(recent[i].text, "&" + std::to_string(i + 1) + " " + Shortened(dir, expected[i]));
        EXPECT_LE(recent[i].text.size() - 3, 30u);
        EXPECT_FALSE(recent[i].grayed);
    }

    Command(ID_FILE_MRU_FILE1 + 2);
    EXPECT_EQ(EditorText(), "c.asm\r\n");
    EXPECT_EQ(Title(), "c.asm - Korvane");
    recent = RecentEntries();
    ASSERT_EQ(recent.size(), 4u);
    EXPECT_EQ(recent[0].text, "&1 " + Shortened(dir, "c.asm"));
    EXPECT_EQ(recent[1].text, "&2 " + Shortened(dir, "e.asm"));
}

TEST_F(RecentFiles, ShortPathsStayWholeAndLongNamesStandAlone)
{
    const std::string shortPath = "c:\\korvane-mru.asm";
    ScratchDir dir("mru-long");
    const std::string longName = "a-file-name-longer-than-thirty-bytes.asm";
    WriteFileBytes(shortPath, "");
    WriteFileBytes(dir.File(longName), "");
    ASSERT_TRUE(Start());
    Open(shortPath);
    Open(dir.File(longName));
    std::vector<MenuEntry> recent = RecentEntries();
    ASSERT_EQ(recent.size(), 2u);
    EXPECT_EQ(recent[0].text, "&1 " + longName);
    EXPECT_EQ(recent[1].text, "&2 " + shortPath);
    Close();
    ::DeleteFileA(shortPath.c_str());
}

TEST_F(RecentFiles, SavedFilesJoinAndTheListOutlivesTheRun)
{
    ScratchDir dir("mrk");
    ASSERT_TRUE(Start());
    m_dialogs.QueueAnswer(dir.File("s.asm"));
    Command(ID_FILE_SAVE_AS);
    Close();
    ASSERT_EQ(FrameWnd(), nullptr);

    ASSERT_TRUE(Start());
    std::vector<MenuEntry> recent = RecentEntries();
    ASSERT_EQ(recent.size(), 1u);
    EXPECT_EQ(recent[0].text, "&1 " + Shortened(dir, "s.asm"));
    Command(ID_FILE_MRU_FILE1);
    EXPECT_EQ(Doc()->GetSourcePath(), dir.File("s.asm"));
    EXPECT_EQ(EditorText(), CKorvaneDoc::ProgramTemplate());
}

TEST_F(RecentFiles, VanishedFileIsReportedAndDropped)
{
    ScratchDir dir("mru-gone");
    WriteFileBytes(dir.File("gone.asm"), "");
    ASSERT_TRUE(Start());
    Open(dir.File("gone.asm"));
    Command(ID_FILE_NEW);
    ::DeleteFileA(dir.File("gone.asm").c_str());
    Command(ID_FILE_MRU_FILE1);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{FormatPlaceholders(std::string("没有找到 %1。"), {dir.File("gone.asm")})});
    std::vector<MenuEntry> recent = RecentEntries();
    ASSERT_EQ(recent.size(), 1u);
    EXPECT_TRUE(recent[0].grayed);
}
