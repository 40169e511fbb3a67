// Files in tabs: each tab its own document with its own text and undo, the frame's title and
// commands on the current one, INCLUDEd files opened from their line, and closing a modified
// tab or the program asking about each.
#include "ShellFixture.h"

#include "doc/KorvaneDoc.h"
#include "doc/KorvaneView.h"
#include "doc/RecoveryBackup.h"
#include "frame/MainFrame.h"
#include "framework/Unicode.h"
#include "framework/docview/CSingleDocTemplate.h"
#include "resource.h"
#include "text/TextControl.h"

#include <commctrl.h>

namespace {
class FileTabs : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        WriteFileBytes(m_main, "        INCLUDE MACROS.INC\r\n        INCLUDE GONE.INC\r\nmain body\r\n");
        WriteFileBytes(m_macros, "PRINT MACRO\r\nENDM\r\n");
        WriteFileBytes(m_other, "other\r\n");
    }

    // The tab strip's titles, and which one is chosen.
    std::vector<std::string> Tabs(int* current = nullptr) const
    {
        HWND tabs = ::GetDlgItem(FrameWnd(), IDW_FILE_TABS);
        std::vector<std::string> titles;
        for (int i = 0, n = TabCtrl_GetItemCount(tabs); i < n; ++i) {
            wchar_t text[MAX_PATH] = L"";
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = MAX_PATH;
            ::SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            titles.push_back(Narrow(text));
        }
        if (current)
            *current = TabCtrl_GetCurSel(tabs);
        return titles;
    }

    void OpenInTab(const std::string& path)
    {
        m_dialogs.QueueAnswer(path);
        Command(ID_FILE_OPEN_IN_TAB);
    }

    // Ctrl+click on a line of the editor, as the mouse gives it.
    void CtrlClickLine(size_t line)
    {
        const CTextControl& control = View().Control();
        Select(control.Buffer().LineStart(line) + 10, control.Buffer().LineStart(line) + 10);
        ::SendMessageW(EditWnd(), WM_LBUTTONUP, MK_CONTROL, 0);
        PumpMessages();
    }

    ScratchDir m_dir{"file-tabs"};
    std::string m_main = m_dir.File("main.asm");
    std::string m_macros = m_dir.File("MACROS.INC");
    std::string m_other = m_dir.File("other.asm");
};
}

TEST_F(FileTabs, EachTabKeepsItsOwnTextUndoAndTitle)
{
    ASSERT_TRUE(Start("\"" + m_main + "\""));
    EXPECT_EQ(Tabs(), std::vector<std::string>{"main.asm"});
    Type("x");
    OpenInTab(m_other);
    int current = -1;
    EXPECT_EQ(Tabs(&current), (std::vector<std::string>{"main.asm *", "other.asm"}));
    EXPECT_EQ(current, 1);
    EXPECT_EQ(Title(), "other.asm - Korvane");
    EXPECT_EQ(EditorText(), "other\r\n");
    // Opening a file again only brings its tab to the front.
    OpenInTab(m_main);
    EXPECT_EQ(Tabs(&current).size(), 2u);
    EXPECT_EQ(current, 0);
    EXPECT_EQ(Title(), "main.asm * - Korvane");
    EXPECT_EQ(EditorText().substr(0, 1), "x");
    Command(ID_NEXT_TAB);
    EXPECT_EQ(Doc()->GetSourcePath(), m_other);
    // An undo in one tab leaves the other's edit.
    Type("y");
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(EditorText(), "other\r\n");
    Command(ID_PREV_TAB);
    EXPECT_EQ(EditorText().substr(0, 1), "x");
    EXPECT_TRUE(Doc()->IsModified());
}

TEST_F(FileTabs, IncludedFileOpensFromItsLine)
{
    ASSERT_TRUE(Start("\"" + m_main + "\""));
    CtrlClickLine(0);
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"main.asm", "MACROS.INC"}));
    EXPECT_EQ(EditorText(), "PRINT MACRO\r\nENDM\r\n");
    Command(ID_PREV_TAB);
    // A file that is not there is named; on a line that includes nothing the command is off.
    Select(View().Control().Buffer().LineStart(1), View().Control().Buffer().LineStart(1));
    Command(ID_OPEN_INCLUDE);
    ASSERT_EQ(m_boxes.Boxes().size(), 1u);
    EXPECT_NE(m_boxes.Boxes()[0].text.find("GONE.INC"), std::string::npos);
    Select(View().Control().Buffer().LineStart(2), View().Control().Buffer().LineStart(2));
    Command(ID_OPEN_INCLUDE);
    EXPECT_EQ(m_boxes.Boxes().size(), 1u);
    EXPECT_EQ(Tabs().size(), 2u);
}

TEST_F(FileTabs, ClosingAModifiedTabAsksAndCancelKeepsIt)
{
    ASSERT_TRUE(Start("\"" + m_main + "\""));
    OpenInTab(m_other);
    Type("edit ");
    m_boxes.QueueAnswer(IDCANCEL);
    Command(ID_FILE_CLOSE_TAB);
    ASSERT_EQ(m_boxes.Boxes().size(), 1u);
    EXPECT_EQ(m_boxes.Boxes()[0].text, "将改动保存到 " + m_other + "？");
    EXPECT_EQ(Tabs().size(), 2u);
    m_boxes.QueueAnswer(IDNO);
    Command(ID_FILE_CLOSE_TAB);
    EXPECT_EQ(Tabs(), std::vector<std::string>{"main.asm"});
    EXPECT_EQ(EditorText().substr(0, 8), "        ");
    EXPECT_EQ(ReadFileBytes(m_other), "other\r\n");
    // The last tab closed leaves a new document.
    Command(ID_FILE_CLOSE_TAB);
    EXPECT_EQ(Title(), "无标题 - Korvane");
    EXPECT_EQ(EditorText(), CKorvaneDoc::ProgramTemplate());
}

TEST_F(FileTabs, ClosingTheProgramAsksAboutEachModifiedTab)
{
    ASSERT_TRUE(Start("\"" + m_main + "\""));
    Type("a");
    OpenInTab(m_other);
    Type("b");
    OpenInTab(m_macros);
    m_boxes.QueueAnswer(IDYES);
    m_boxes.QueueAnswer(IDYES);
    Close();
    ASSERT_EQ(m_boxes.Boxes().size(), 2u);
    EXPECT_EQ(m_boxes.Boxes()[0].text, "将改动保存到 " + m_main + "？");
    EXPECT_EQ(m_boxes.Boxes()[1].text, "将改动保存到 " + m_other + "？");
    EXPECT_EQ(ReadFileBytes(m_other).substr(0, 1), "b");
    EXPECT_EQ(ReadFileBytes(m_main).substr(0, 1), "a");
}

TEST_F(FileTabs, BackupsOfSeveralTabsComeBackEachInATab)
{
    // Two backups that a run which ended at once left behind, no run holding them.
    // A fresh profile has neither the folder nor its parent.
    const std::wstring folder = CRecoveryBackup::Folder();
    ::CreateDirectoryW(folder.substr(0, folder.find_last_of(L'\\')).c_str(), nullptr);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const struct {
        std::string path;
        std::wstring text;
    } left[] = {{m_main, L"nop main\r\n"}, {m_other, L"nop other\r\n"}};
    std::vector<std::wstring> files;
    for (const auto& backup : left) {
        files.push_back(folder + L"\\file-tabs-" + std::to_wstring(files.size()) + L".kvb");
        WriteFileBytes(Narrow(files.back()), EncodeBackup(BackupContent{backup.text, backup.path, TextEncoding{}, FileStamp{}}));
    }
    m_boxes.QueueAnswer(IDYES);
    m_boxes.QueueAnswer(IDYES);
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_boxes.Boxes().size(), 2u);
    std::vector<std::string> tabs = Tabs();
    std::sort(tabs.begin(), tabs.end());
    EXPECT_EQ(tabs, (std::vector<std::string>{"main.asm *", "other.asm *"}));
    for (const std::wstring& file : files)
        ::DeleteFileW(file.c_str());
}
