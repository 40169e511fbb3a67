// The question about a modified document before New, Open, a dropped file and closing,
// answered yes, no and cancel.
#include "ShellFixture.h"

#include "doc/KorvaneDoc.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "resource.h"

#include <ostream>

namespace {
enum class Action { New, Open, Drop, Close };

struct PromptCase {
    Action action;
    int answer;
    const char* name;
};

void PrintTo(const PromptCase& c, std::ostream* out)
{
    *out << c.name;
}

class SavePrompt : public ShellTest, public ::testing::WithParamInterface<PromptCase> {
protected:
    // Carries out the action; a file it opens is `target` (File Open's dialog answer is queued by the caller).
    void Perform(Action action, const std::string& target)
    {
        switch (action) {
        case Action::New:
            Command(ID_FILE_NEW);
            break;
        case Action::Open:
            Command(ID_FILE_OPEN);
            break;
        case Action::Drop:
            ::SendMessageA(FrameWnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({target})), 0);
            PumpMessages();
            break;
        case Action::Close:
            Close();
            break;
        }
    }

    // What the window shows once the action went through.
    void ExpectActionDone(Action action, const std::string& target)
    {
        switch (action) {
        case Action::New:
            EXPECT_EQ(EditorText(), CKorvaneDoc::ProgramTemplate());
            EXPECT_EQ(Title(), std::string("无标题 - Korvane"));
            break;
        case Action::Open:
        case Action::Drop:
            EXPECT_EQ(EditorText(), "target\r\n");
            EXPECT_EQ(Doc()->GetSourcePath(), target);
            EXPECT_EQ(Title(), "target.asm - Korvane");
            break;
        case Action::Close:
            EXPECT_EQ(FrameWnd(), nullptr);
            break;
        }
    }
};

const PromptCase kPromptCases[] = {
    {Action::New, IDYES, "NewYes"},       {Action::New, IDNO, "NewNo"},       {Action::New, IDCANCEL, "NewCancel"},
    {Action::Open, IDYES, "OpenYes"},     {Action::Open, IDNO, "OpenNo"},     {Action::Open, IDCANCEL, "OpenCancel"},
    {Action::Drop, IDYES, "DropYes"},     {Action::Drop, IDNO, "DropNo"},     {Action::Drop, IDCANCEL, "DropCancel"},
    {Action::Close, IDYES, "CloseYes"},   {Action::Close, IDNO, "CloseNo"},   {Action::Close, IDCANCEL, "CloseCancel"},
};
}

TEST_P(SavePrompt, NeverSavedDocument)
{
    const PromptCase& c = GetParam();
    ScratchDir dir(std::string("prompt-") + c.name);
    const std::string target = dir.File("target.asm");
    const std::string saved = dir.File("saved.asm");
    WriteFileBytes(target, "target\r\n");
    ASSERT_TRUE(Start());
    Type("edit ");
    const std::string edited = EditorText();

    m_boxes.QueueAnswer(c.answer);
    // File Open asks for the file first, then about the modified document.
    if (c.action == Action::Open)
        m_dialogs.QueueAnswer(target);
    if (c.answer == IDYES)
        m_dialogs.QueueAnswer(saved);
    Perform(c.action, target);

    ASSERT_FALSE(m_boxes.Boxes().empty());
    const RecordedMessageBox box = m_boxes.Boxes()[0];
    EXPECT_EQ(box.text, std::string("将改动保存到 无标题 *？"));
    EXPECT_EQ(box.caption, "Korvane");
    EXPECT_EQ(box.type & MB_TYPEMASK, static_cast<UINT>(MB_YESNOCANCEL));
    EXPECT_EQ(m_boxes.Boxes().size(), 1u);

    if (c.answer == IDCANCEL) {
        ASSERT_NE(FrameWnd(), nullptr);
        EXPECT_EQ(EditorText(), edited);
        EXPECT_TRUE(Doc()->IsModified());
        EXPECT_EQ(Title(), std::string("无标题 * - Korvane"));
        EXPECT_FALSE(FileExists(saved));
        return;
    }
    if (c.answer == IDYES) {
        EXPECT_EQ(m_dialogs.LastInitialName(), std::string("无标题.asm"));
        EXPECT_EQ(ReadFileBytes(saved), ToGbk(edited));
    } else {
        EXPECT_FALSE(FileExists(saved));
    }
    ExpectActionDone(c.action, target);
    EXPECT_EQ(ReadFileBytes(target), "target\r\n");
}

INSTANTIATE_TEST_SUITE_P(EachActionAndAnswer, SavePrompt, ::testing::ValuesIn(kPromptCases),
                         [](const ::testing::TestParamInfo<PromptCase>& info) { return std::string(info.param.name); });

class SavePromptForFile : public ShellTest {};

TEST_F(SavePromptForFile, NamesTheFileAndSavesWithoutDialog)
{
    ScratchDir dir("prompt-file");
    const std::string path = dir.File("work.asm");
    WriteFileBytes(path, "work\r\n");
    ASSERT_TRUE(Start(Quoted(path)));
    Type(";");
    m_boxes.QueueAnswer(IDYES);
    Command(ID_FILE_NEW);
    ASSERT_EQ(m_boxes.Texts(), std::vector<std::string>{FormatPlaceholders(std::string("将改动保存到 %1？"), {path})});
    EXPECT_EQ(m_dialogs.Count(), 0);
    EXPECT_EQ(ReadFileBytes(path), ";work\r\n");
    EXPECT_EQ(Title(), std::string("无标题 - Korvane"));
}

TEST_F(SavePromptForFile, CancelledSaveDialogStopsTheAction)
{
    ASSERT_TRUE(Start());
    Type("x");
    m_boxes.QueueAnswer(IDYES);
    m_dialogs.QueueAnswer("");
    Close();
    ASSERT_NE(FrameWnd(), nullptr);
    EXPECT_TRUE(Doc()->IsModified());
}

TEST_F(SavePromptForFile, CleanDocumentIsNotAskedAbout)
{
    ScratchDir dir("prompt-clean");
    const std::string target = dir.File("target.asm");
    WriteFileBytes(target, "target\r\n");
    ASSERT_TRUE(Start());
    ::SendMessageA(FrameWnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({target})), 0);
    PumpMessages();
    Command(ID_FILE_NEW);
    Close();
    EXPECT_EQ(FrameWnd(), nullptr);
    EXPECT_TRUE(m_boxes.Texts().empty());
}
