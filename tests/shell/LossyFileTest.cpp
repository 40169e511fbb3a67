// Files whose bytes the editor cannot keep (a zero byte, bytes that are no text of the encoding
// they are read in): a warning when they open, a question before any save, and valid GBK files
// untouched by both.
#include "ShellFixture.h"

#include "doc/KorvaneDoc.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "resource.h"

#include <ostream>

namespace {
struct LossyCase {
    const char* name;
    std::string bytes;
};

void PrintTo(const LossyCase& c, std::ostream* out)
{
    *out << c.name;
}

const LossyCase kLossyCases[] = {
    {"ZeroByte", std::string("mov ax, 1\r\n\0db 0\r\n", 19)},
    {"LoneLeadByteAtEnd", "mov ax, 1\r\n;\xB0"},
    // A lead byte before a byte that cannot follow it, in a file that is no UTF-8 either.
    {"BrokenPair", "mov ax, 1\r\n;\x81 x\r\n"},
};

std::string OpenedWarning(const std::string& path)
{
    return FormatPlaceholders("%1 含有编辑器无法保留的字节（不是有效的 GBK 或 UTF-8 文本，或含有零字节）。保存会改变这些字节。", {path});
}

std::string SaveQuestion(const std::string& path)
{
    return FormatPlaceholders(std::string("保存将改变 %1 中编辑器无法保留的字节。仍要保存吗？"), {path});
}

class LossyFile : public ShellTest, public ::testing::WithParamInterface<LossyCase> {
protected:
    void Open(const std::string& path)
    {
        m_dialogs.QueueAnswer(path);
        Command(ID_FILE_OPEN);
    }
};

class LossyOpenPaths : public ShellTest {};
class ValidGbkFile : public ShellTest {};
}

TEST_P(LossyFile, WarnsOnceAtOpenAndEverySaveAsksFirst)
{
    const LossyCase& c = GetParam();
    ScratchDir dir(std::string("lossy-") + c.name);
    const std::string path = dir.File("lossy.asm");
    WriteFileBytes(path, c.bytes);
    ASSERT_TRUE(Start());
    Open(path);
    ASSERT_EQ(m_boxes.Texts(), std::vector<std::string>{OpenedWarning(path)});
    EXPECT_EQ(m_boxes.Boxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_NE(ToGbk(EditorText()), c.bytes);
    EXPECT_EQ(Title(), "lossy.asm - Korvane");

    // Save, unedited: asked, declined, nothing written.
    m_boxes.Clear();
    Command(ID_FILE_SAVE);
    ASSERT_EQ(m_boxes.Texts(), std::vector<std::string>{SaveQuestion(path)});
    EXPECT_EQ(m_boxes.Boxes()[0].type, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ(ReadFileBytes(path), c.bytes);

    // Save after an edit, and the save before a build, which calls the document directly.
    Type("x");
    m_boxes.Clear();
    Command(ID_FILE_SAVE);
    EXPECT_FALSE(Doc()->OnSaveDocument(Doc()->GetSourcePath()));
    EXPECT_EQ(m_boxes.Texts(), (std::vector<std::string>{SaveQuestion(path), SaveQuestion(path)}));
    EXPECT_EQ(ReadFileBytes(path), c.bytes);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Title(), "lossy.asm * - Korvane");
    EXPECT_EQ(Doc()->GetSourcePath(), path);

    // Save As: the question comes after the name was chosen, and No writes nothing there either.
    const std::string copy = dir.File("copy.asm");
    m_dialogs.QueueAnswer(copy);
    m_boxes.Clear();
    Command(ID_FILE_SAVE_AS);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{SaveQuestion(copy)});
    EXPECT_FALSE(FileExists(copy));
    EXPECT_EQ(Doc()->GetSourcePath(), path);

    // Closing: yes to the save prompt, no to the question, and the window stays with its edit.
    m_boxes.Clear();
    m_boxes.QueueAnswer(IDYES);
    m_boxes.QueueAnswer(IDNO);
    Close();
    ASSERT_NE(FrameWnd(), nullptr);
    EXPECT_EQ(m_boxes.Texts(), (std::vector<std::string>{FormatPlaceholders(std::string("将改动保存到 %1？"), {path}),
                                                         SaveQuestion(path)}));
    EXPECT_EQ(ReadFileBytes(path), c.bytes);
    EXPECT_TRUE(Doc()->IsModified());

    // Yes writes the editor's text; after that the file holds nothing the editor lost.
    m_boxes.Clear();
    m_boxes.QueueAnswer(IDYES);
    const std::string edited = EditorText();
    Command(ID_FILE_SAVE);
    EXPECT_EQ(m_boxes.Texts().size(), 1u);
    EXPECT_EQ(ReadFileBytes(path), ToGbk(edited));
    EXPECT_FALSE(Doc()->IsModified());
    m_boxes.Clear();
    Type("y");
    Command(ID_FILE_SAVE);
    EXPECT_TRUE(m_boxes.Texts().empty());
}

INSTANTIATE_TEST_SUITE_P(Files, LossyFile, ::testing::ValuesIn(kLossyCases),
                         [](const ::testing::TestParamInfo<LossyCase>& info) { return std::string(info.param.name); });

TEST_F(LossyOpenPaths, EveryWayOfOpeningWarns)
{
    ScratchDir dir("lossy-paths");
    const std::string path = dir.File("zero.asm");
    const std::string bytes("a\0b", 3);
    WriteFileBytes(path, bytes);

    ASSERT_TRUE(Start(Quoted(path)));
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{OpenedWarning(path)}) << "command line";
    EXPECT_TRUE(Doc()->HasLossyText());

    Command(ID_FILE_NEW);
    EXPECT_FALSE(Doc()->HasLossyText());
    m_boxes.Clear();
    Command(ID_FILE_MRU_FILE1);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{OpenedWarning(path)}) << "recent-file list";

    Command(ID_FILE_NEW);
    m_boxes.Clear();
    ::SendMessageW(FrameWnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})), 0);
    PumpMessages();
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{OpenedWarning(path)}) << "dropped file";
    EXPECT_EQ(ReadFileBytes(path), bytes);
}

TEST_F(LossyOpenPaths, NewDocumentAndCleanOpenForgetTheLossyFile)
{
    ScratchDir dir("lossy-clear");
    const std::string lossy = dir.File("lossy.asm");
    const std::string clean = dir.File("clean.asm");
    WriteFileBytes(lossy, "\xB0");
    WriteFileBytes(clean, "clean\r\n");
    ASSERT_TRUE(Start(Quoted(lossy)));

    Command(ID_FILE_NEW);
    m_boxes.Clear();
    m_dialogs.QueueAnswer(dir.File("new.asm"));
    Command(ID_FILE_SAVE);
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_EQ(ReadFileBytes(dir.File("new.asm")), ToGbk(CKorvaneDoc::ProgramTemplate()));

    m_dialogs.QueueAnswer(lossy);
    Command(ID_FILE_OPEN);
    m_dialogs.QueueAnswer(clean);
    Command(ID_FILE_OPEN);
    m_boxes.Clear();
    Command(ID_FILE_SAVE);
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_EQ(ReadFileBytes(clean), "clean\r\n");
}

TEST_F(LossyOpenPaths, FailedOpenKeepsTheLossyDocumentGuarded)
{
    ScratchDir dir("lossy-failed");
    const std::string lossy = dir.File("lossy.asm");
    WriteFileBytes(lossy, "\xB0");
    ASSERT_TRUE(Start(Quoted(lossy)));
    m_dialogs.QueueAnswer(dir.File("absent.asm"));
    Command(ID_FILE_OPEN);
    EXPECT_EQ(Doc()->GetSourcePath(), lossy);
    m_boxes.Clear();
    Command(ID_FILE_SAVE);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{SaveQuestion(lossy)});
    EXPECT_EQ(ReadFileBytes(lossy), "\xB0");
}

TEST_F(ValidGbkFile, EveryDoubleBytePairOpensAndSavesUnchangedWithoutQuestions)
{
    ScratchDir dir("lossy-valid");
    const std::string path = dir.File("gbk.asm");
    const std::string bytes = EveryGbkPair();
    ASSERT_EQ(bytes.size(), 13u + 126u * (4 + 190 * 2 + 3) + 3u);
    WriteFileBytes(path, bytes);
    ASSERT_TRUE(Start());
    m_dialogs.QueueAnswer(path);
    Command(ID_FILE_OPEN);
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_FALSE(Doc()->HasLossyText());
    EXPECT_EQ(EditorText(), FromGbk(bytes));

    WriteFileBytes(path, "");
    Command(ID_FILE_SAVE);
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_EQ(ReadFileBytes(path), bytes);

    Type(";");
    EXPECT_TRUE(Doc()->OnSaveDocument(path));
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_EQ(ReadFileBytes(path), ";" + bytes);
}
