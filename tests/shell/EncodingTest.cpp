// GBK and UTF-8 source files: the encoding a file opens in, what typing writes into it, the
// encoding menu and pane, and the size limit counted in the file's own bytes.
#include "ShellFixture.h"

#include "doc/KorvaneDoc.h"
#include "frame/MainFrame.h"
#include "framework/Unicode.h"
#include "framework/docking/CStatusBar.h"
#include "resource.h"

namespace {
class Encoding : public ShellTest {
protected:
    std::string OpenFile(const std::string& name, const std::string& bytes)
    {
        std::string path = m_dir.File(name);
        WriteFileBytes(path, bytes);
        m_dialogs.QueueAnswer(path);
        Command(ID_FILE_OPEN);
        return path;
    }
    std::string Pane() const { return StatusBar(*Frame()).GetPaneText(2); }
    // Which of the two encoding entries of the File menu carries the check.
    std::string CheckedEncoding()
    {
        HMENU file = ::GetSubMenu(::GetMenu(FrameWnd()), 0);
        HMENU encodings = ::GetSubMenu(file, 4);
        ::SendMessageW(FrameWnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(encodings), MAKELPARAM(4, FALSE));
        std::string checked;
        for (UINT id : {ID_ENCODING_GBK, ID_ENCODING_UTF8}) {
            if (::GetMenuState(encodings, id, MF_BYCOMMAND) & MF_CHECKED)
                checked += id == ID_ENCODING_GBK ? "GBK" : "UTF-8";
        }
        return checked;
    }
    void TypeAtStart(const std::string& text)
    {
        ::SendMessageW(EditWnd(), EM_SETSEL, 0, 0);
        Type(text);
    }

    ScratchDir m_dir{"encoding"};
};
}

TEST_F(Encoding, Utf8FilesOpenSaveAndTakeTypingAsUtf8)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(Pane(), "GBK") << "a new document";
    const std::string bytes = "; \xE4\xBD\xA0\xE5\xA5\xBD\r\nmov ax, 1\r\n";
    const std::string path = OpenFile("utf8.asm", bytes);
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_EQ(EditorText(), "; 你好\r\nmov ax, 1\r\n");
    EXPECT_EQ(Pane(), "UTF-8");
    EXPECT_EQ(CheckedEncoding(), "UTF-8");

    WriteFileBytes(path, "");
    Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadFileBytes(path), bytes) << "an unchanged file is saved byte for byte";
    TypeAtStart("中");
    Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadFileBytes(path), "\xE4\xB8\xAD" + bytes);
}

TEST_F(Encoding, TheByteOrderMarkStaysWhereItWas)
{
    ASSERT_TRUE(Start());
    const std::string bytes = "\xEF\xBB\xBFmov ax, 1\r\n";
    const std::string path = OpenFile("marked.asm", bytes);
    EXPECT_EQ(EditorText(), "mov ax, 1\r\n");
    EXPECT_EQ(Pane(), "UTF-8");
    TypeAtStart("中");
    Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadFileBytes(path), "\xEF\xBB\xBF\xE4\xB8\xAD" "mov ax, 1\r\n");
}

TEST_F(Encoding, GbkFilesTakeTypedChineseAsTwoBytes)
{
    ASSERT_TRUE(Start());
    const std::string path = OpenFile("gbk.asm", Gbk("; 你好\r\n"));
    EXPECT_EQ(Pane(), "GBK");
    EXPECT_EQ(CheckedEncoding(), "GBK");
    TypeAtStart("中");
    Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadFileBytes(path), "\xD6\xD0" + Gbk("; 你好\r\n"));
}

TEST_F(Encoding, TheMenuSetsTheEncodingOfTheNextSave)
{
    ASSERT_TRUE(Start());
    const std::string path = OpenFile("switch.asm", Gbk("; 汇编\r\n"));
    Command(ID_ENCODING_UTF8);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Title(), "switch.asm * - Korvane");
    EXPECT_EQ(Pane(), "UTF-8");
    EXPECT_EQ(CheckedEncoding(), "UTF-8");
    EXPECT_EQ(ReadFileBytes(path), Gbk("; 汇编\r\n")) << "nothing is written before the save";
    Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadFileBytes(path), "; 汇编\r\n");

    // The same choice again changes nothing.
    Command(ID_ENCODING_UTF8);
    EXPECT_FALSE(Doc()->IsModified());
    Command(ID_ENCODING_GBK);
    Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadFileBytes(path), Gbk("; 汇编\r\n"));

    Command(ID_ENCODING_UTF8);
    m_boxes.QueueAnswer(IDNO);
    Command(ID_FILE_NEW);
    EXPECT_EQ(Pane(), "GBK") << "new documents are GBK";
}

TEST_F(Encoding, TheSizeLimitCountsTheFilesOwnBytes)
{
    ASSERT_TRUE(Start());
    std::string text(1048574, 'a');
    for (size_t i = 100; i < text.size(); i += 100) {
        text[i - 1] = '\r';
        text[i] = '\n';
    }
    const std::string path = OpenFile("limit.asm", text);
    ASSERT_EQ(EditorText().size(), text.size());
    // A Chinese character takes two of the one byte left; a letter fits.
    TypeAtStart("中");
    EXPECT_EQ(EditorText().size(), text.size());
    TypeAtStart("b");
    Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadFileBytes(path).size(), 1048575u);
}
