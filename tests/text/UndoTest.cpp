// Undo and redo in Korvane's text control: keys typed in a row are one step (so are
// Backspaces), a caret moved in between starts a new one, an EM_REPLACESEL is one step
// however much it replaces, and the text counts as unmodified exactly when the history
// stands at the state last saved.
#include "TextFixture.h"

#include "support/TestSupport.h"

namespace {
enum class Act { Type, Backspace, MoveToEnd, Replace, Undo, Redo, Saved };

struct Step {
    Act act;
    const wchar_t* text;  // typed or put in place of the whole text
    const wchar_t* after;
    bool modified;
    bool canUndo;
    bool canRedo;
};

class Undo : public TextTest {
protected:
    void Do(const Step& step)
    {
        switch (step.act) {
        case Act::Type:
            for (const wchar_t* c = step.text; *c; ++c)
                Send(Ours(), WM_CHAR, *c, 1);
            break;
        case Act::Backspace: Press(Ours(), VK_BACK); break;
        case Act::MoveToEnd: Press(Ours(), VK_END, kCtrl); break;
        case Act::Replace:
            Send(Ours(), EM_SETSEL, 0, -1);
            Send(Ours(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(step.text));
            break;
        case Act::Undo: Send(Ours(), EM_UNDO); break;
        case Act::Redo: Control().Redo(); break;
        case Act::Saved: Send(Ours(), EM_SETMODIFY, FALSE); break;
        }
    }
};
}

TEST_F(Undo, StepsWalkBackAndForthAndTheSavedStateIsUnmodified)
{
    const Step steps[] = {
        {Act::Type, L"abc", L"abc", true, true, false},
        {Act::Undo, nullptr, L"", false, false, true},
        {Act::Redo, nullptr, L"abc", true, true, false},
        {Act::Saved, nullptr, L"abc", false, true, false},
        {Act::Type, L"de", L"abcde", true, true, false},
        {Act::Undo, nullptr, L"abc", false, true, true},
        {Act::Undo, nullptr, L"", true, false, true},
        {Act::Redo, nullptr, L"abc", false, true, true},
        {Act::Redo, nullptr, L"abcde", true, true, false},
        // The caret moved: the next keys are a step of their own.
        {Act::MoveToEnd, nullptr, L"abcde", true, true, false},
        {Act::Type, L"f", L"abcdef", true, true, false},
        {Act::Backspace, nullptr, L"abcde", true, true, false},
        {Act::Backspace, nullptr, L"abcd", true, true, false},
        {Act::Undo, nullptr, L"abcdef", true, true, true},
        {Act::Undo, nullptr, L"abcde", true, true, true},
        {Act::Undo, nullptr, L"abc", false, true, true},
        // A new edit after undoing past the saved state: that state can never come back.
        {Act::Undo, nullptr, L"", true, false, true},
        {Act::Type, L"x", L"x", true, true, false},
        {Act::Undo, nullptr, L"", true, false, true},
        {Act::Replace, L"one\r\ntwo\r\nthree", L"one\r\ntwo\r\nthree", true, true, false},
        {Act::Replace, L"1\r\n2", L"1\r\n2", true, true, false},
        {Act::Undo, nullptr, L"one\r\ntwo\r\nthree", true, true, true},
    };
    int index = 0;
    for (const Step& step : steps) {
        TakeNotifications(Ours());
        const std::wstring before = TextOf(Ours());
        Do(step);
        EXPECT_EQ(TextOf(Ours()), step.after) << "step " << index;
        EXPECT_EQ(Send(Ours(), EM_GETMODIFY) != 0, step.modified) << "step " << index;
        EXPECT_EQ(Send(Ours(), EM_CANUNDO) != 0, step.canUndo) << "step " << index;
        EXPECT_EQ(Control().CanRedo(), step.canRedo) << "step " << index;
        // Every change of the text tells the parent, so the document can follow the flag.
        const std::vector<WORD> notes = TakeNotifications(Ours());
        EXPECT_EQ(std::count(notes.begin(), notes.end(), EN_CHANGE) > 0, before != step.after) << "step " << index;
        ++index;
    }
}
