// The source document: the text it owns and the editor shows, the title marker, byte-exact
// open and save, the size limit, and the frame's record of the current file.
#include "ShellFixture.h"

#include "doc/KorvaneDoc.h"
#include "doc/KorvaneView.h"
#include "frame/MainFrame.h"
#include "framework/Unicode.h"
#include "resource.h"

namespace {
class Document : public ShellTest {};

// Hears of the document's text as the editor does: how often it became a new text, and whether
// the document ever counted as modified meanwhile.
class TextWatcher : public ITextObserver {
public:
    explicit TextWatcher(CKorvaneDoc& document) : m_document(document) { m_document.Text().AddObserver(*this); }
    ~TextWatcher() { m_document.Text().RemoveObserver(*this); }
    void OnTextChanged(const TextChange& change) override
    {
        m_nNewTexts += change.bNewText ? 1 : 0;
        m_bSawModified = m_bSawModified || m_document.IsModified();
    }

    CKorvaneDoc& m_document;
    int m_nNewTexts = 0;
    bool m_bSawModified = false;
};

// Text with CR LF line ends: Chinese in comments and strings, a tab, no final line end.
const char kChineseText[] = ";测试程序\r\nDSEG SEGMENT\r\n\tmsg db '你好，世界！$'\r\nDSEG ENDS\r\n\r\nEND";

// The same text as a GBK file holds it.
std::string ChineseSource()
{
    return Gbk(kChineseText);
}

void RemoveFile(const std::string& path)
{
    ::DeleteFileA(path.c_str());
}
}

TEST_F(Document, TheEditorShowsAndEditsTheDocumentsOwnText)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(&View().Control().Editable(), &Doc()->Text()) << "the view holds no text of its own";
    Type("; ");
    EXPECT_EQ(Narrow(Doc()->Text().Copy()).substr(0, 4), "; ;\xE7");
    EXPECT_TRUE(Doc()->IsModified());
    // Undo back to the saved text is unmodified again: the text's history is the one flag.
    ::SendMessageW(EditWnd(), EM_UNDO, 0, 0);
    PumpMessages();
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Title(), std::string("无标题 - Korvane"));
}

TEST_F(Document, OpeningSetsTheTextOnceAndNeverCountsItModified)
{
    ScratchDir dir("doc-once");
    const std::string path = dir.File("once.asm");
    WriteFileBytes(path, ChineseSource());
    ASSERT_TRUE(Start());
    Type("x");
    TextWatcher watcher(*Doc());
    m_boxes.QueueAnswer(IDNO);
    m_dialogs.QueueAnswer(path);
    Command(ID_FILE_OPEN);
    EXPECT_EQ(watcher.m_nNewTexts, 1);
    EXPECT_FALSE(watcher.m_bSawModified);
    EXPECT_EQ(EditorText(), kChineseText);
    EXPECT_EQ(Title(), "once.asm - Korvane");
}

TEST_F(Document, TitleMarkerFollowsTheModifiedFlag)
{
    ScratchDir dir("doc-marker");
    ASSERT_TRUE(Start());
    Type("a");
    EXPECT_EQ(Title(), std::string("无标题 * - Korvane"));
    Type("b");
    EXPECT_EQ(Title(), std::string("无标题 * - Korvane"));

    m_dialogs.QueueAnswer(dir.File("first.asm"));
    Command(ID_FILE_SAVE);
    EXPECT_EQ(Title(), "first.asm - Korvane");
    EXPECT_FALSE(Doc()->IsModified());

    Type("c");
    EXPECT_EQ(Title(), "first.asm * - Korvane");
    Type("d");
    EXPECT_EQ(Title(), "first.asm * - Korvane");
    Command(ID_FILE_SAVE);
    EXPECT_EQ(Title(), "first.asm - Korvane");
    EXPECT_EQ(m_dialogs.Count(), 1) << "a file-backed document saves without asking for a name";
    EXPECT_EQ(ReadFileBytes(dir.File("first.asm")).substr(0, 4), "abcd");
}

TEST_F(Document, OpenAndSaveKeepGbkBytesAndLineEnds)
{
    ScratchDir dir("doc-bytes");
    std::string path = dir.File("hello.asm");
    const std::string source = ChineseSource();
    WriteFileBytes(path, source);
    ASSERT_TRUE(Start());

    m_dialogs.QueueAnswer(path);
    Command(ID_FILE_OPEN);
    EXPECT_EQ(EditorText(), kChineseText);
    EXPECT_EQ(Title(), "hello.asm - Korvane");

    // Saving without an edit writes the same bytes back.
    WriteFileBytes(path, "");
    Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadFileBytes(path), source);

    // Save As writes the editor's bytes, edit included (typed at the caret, which is at the start).
    Type(";");
    std::string copy = dir.File("copy.asm");
    m_dialogs.QueueAnswer(copy);
    Command(ID_FILE_SAVE_AS);
    EXPECT_EQ(ReadFileBytes(copy), ";" + source);
    EXPECT_EQ(Doc()->GetSourcePath(), copy);
    EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(Document, EmptyFileOpensAsEmptyEditor)
{
    ScratchDir dir("doc-empty");
    std::string path = dir.File("empty.asm");
    WriteFileBytes(path, "");
    ASSERT_TRUE(Start(Quoted(path)));
    EXPECT_EQ(EditorText(), "");
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(Document, SizeLimitIsOneByteUnderAMebibyte)
{
    ScratchDir dir("doc-limit");
    std::string fits = dir.File("fits.asm");
    std::string tooLarge = dir.File("large.asm");
    std::string text(1048575, 'a');
    for (size_t i = 100; i < text.size(); i += 100) {
        text[i - 1] = '\r';
        text[i] = '\n';
    }
    WriteFileBytes(fits, text);
    WriteFileBytes(tooLarge, text + "b");
    ASSERT_TRUE(Start());

    m_dialogs.QueueAnswer(fits);
    Command(ID_FILE_OPEN);
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_EQ(EditorText().size(), 1048575u);
    EXPECT_EQ(Title(), "fits.asm - Korvane");

    m_dialogs.QueueAnswer(tooLarge);
    Command(ID_FILE_OPEN);
    ASSERT_EQ(m_boxes.Texts(), std::vector<std::string>{std::string("该文件太大，无法打开。")});
    EXPECT_EQ(m_boxes.Boxes()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    // The editor had been cleared for reading: the document starts again as a new one.
    EXPECT_EQ(Title(), std::string("无标题 - Korvane"));
    EXPECT_EQ(EditorText(), CKorvaneDoc::ProgramTemplate());
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_TRUE(Doc()->GetSourcePath().empty());
    EXPECT_TRUE(Frame()->GetSourceName().empty());
    EXPECT_TRUE(Frame()->GetSourceDir().empty());
}

TEST_F(Document, MissingFileLeavesThePreviousDocument)
{
    ScratchDir dir("doc-missing");
    ASSERT_TRUE(Start());
    Type("kept");
    m_boxes.QueueAnswer(IDNO);
    m_dialogs.QueueAnswer(dir.File("absent.asm"));
    Command(ID_FILE_OPEN);
    ASSERT_EQ(m_boxes.Texts().size(), 2u);
    EXPECT_EQ(m_boxes.Texts()[1], std::string("没有找到 ") + dir.File("absent.asm") + std::string("。"));
    EXPECT_EQ(EditorText().substr(0, 4), "kept");
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Title(), std::string("无标题 * - Korvane"));
}

TEST_F(Document, OpenSaveAndNewKeepTheFramesSourceRecord)
{
    const std::string folder = "c:\\korvane-shell-work";
    const std::string inFolder = folder + "\\hello.asm";
    const std::string inRoot = "c:\\korvane-shell-root.asm";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    WriteFileBytes(inFolder, "end\r\n");
    WriteFileBytes(inRoot, "end\r\n");
    ASSERT_TRUE(Start());

    m_dialogs.QueueAnswer(inFolder);
    Command(ID_FILE_OPEN);
    EXPECT_EQ(Doc()->GetSourcePath(), inFolder);
    EXPECT_EQ(Frame()->GetSourceDir(), folder);
    EXPECT_EQ(Frame()->GetSourceName(), "hello.asm");

    m_dialogs.QueueAnswer(inRoot);
    Command(ID_FILE_OPEN);
    EXPECT_EQ(Doc()->GetSourcePath(), inRoot);
    EXPECT_EQ(Frame()->GetSourceDir(), "c:");
    EXPECT_EQ(Frame()->GetSourceName(), "korvane-shell-root.asm");

    Command(ID_FILE_NEW);
    EXPECT_TRUE(Doc()->GetSourcePath().empty());
    EXPECT_TRUE(Frame()->GetSourceDir().empty());
    EXPECT_TRUE(Frame()->GetSourceName().empty());
    EXPECT_EQ(Title(), std::string("无标题 - Korvane"));

    // Saving the new document proposes its title as file name and records where it went.
    const std::string saved = folder + "\\saved.asm";
    m_dialogs.QueueAnswer(saved);
    Command(ID_FILE_SAVE);
    EXPECT_EQ(m_dialogs.LastInitialName(), std::string("无标题.asm"));
    EXPECT_EQ(m_dialogs.LastTitle(), std::string("保存为"));
    EXPECT_EQ(Doc()->GetSourcePath(), saved);
    EXPECT_EQ(Frame()->GetSourceDir(), folder);
    EXPECT_EQ(Frame()->GetSourceName(), "saved.asm");
    EXPECT_EQ(ReadFileBytes(saved), ToGbk(CKorvaneDoc::ProgramTemplate()));

    Close();
    RemoveFile(inFolder);
    RemoveFile(saved);
    RemoveFile(inRoot);
    ::RemoveDirectoryA(folder.c_str());
}

TEST_F(Document, ModifiedNewDocumentProposesUntitledName)
{
    ASSERT_TRUE(Start());
    Type("x");
    Command(ID_FILE_SAVE_AS);
    EXPECT_EQ(m_dialogs.Count(), 1);
    EXPECT_EQ(m_dialogs.LastInitialName(), std::string("无标题.asm"));
    EXPECT_EQ(m_dialogs.LastFilter(), std::string("asm 文件 (*.asm)|*.asm|所有文件 (*.*)|*.*|"));
    // The dialog was cancelled: nothing changed.
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Title(), std::string("无标题 * - Korvane"));
}

TEST_F(Document, UnwritableFileKeepsTheDocumentModified)
{
    ScratchDir dir("doc-readonly");
    std::string path = dir.File("locked.asm");
    WriteFileBytes(path, "old");
    ASSERT_TRUE(Start(Quoted(path)));
    Type("new ");
    // Another program holds the file open without sharing it.
    HANDLE holder = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    Command(ID_FILE_SAVE);
    ::CloseHandle(holder);
    ASSERT_EQ(m_boxes.Texts().size(), 1u);
    EXPECT_EQ(m_boxes.Texts()[0], std::string("在存取 ") + path + std::string(" 时发生共享违例。"));
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Title(), "locked.asm * - Korvane");
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"locked.asm"}) << "no temporary file is left";
    // Once the other program lets go, the same save goes through.
    m_boxes.Clear();
    Command(ID_FILE_SAVE);
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_EQ(ReadFileBytes(path), "new old");
}

