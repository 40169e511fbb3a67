// Find and Replace through the system's dialogs, driven through their own controls: matches
// of characters (never of bytes), the case and whole-word choices, both directions and the
// wrap at the ends, F3 and Shift+F3, Replace and Replace all as undoable steps, and keys typed
// into a dialog staying there.
#include "ShellFixture.h"

#include "doc/KorvaneDoc.h"
#include "doc/KorvaneView.h"
#include "frame/MainFrame.h"
#include "framework/Unicode.h"
#include "resource.h"

#include <dlgs.h>


namespace {
// The Find or Replace dialog the editor shows, or nullptr: a visible dialog of this thread.
HWND SearchDialog()
{
    HWND found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND wnd, LPARAM out) {
            wchar_t name[16] = L"";
            ::GetClassNameW(wnd, name, 16);
            if (std::wstring(name) != L"#32770" || !::IsWindowVisible(wnd))
                return TRUE;
            *reinterpret_cast<HWND*>(out) = wnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

class FindReplace : public ShellTest {
protected:
    // Opens a dialog with its key and returns its window.
    HWND Open(UINT key)
    {
        PressAccelerator(EditWnd(), key, kCtrl);
        return SearchDialog();
    }
    void Click(HWND dialog, int id)
    {
        ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
        PumpMessages();
    }
    void Fill(HWND dialog, int id, const std::string& text)
    {
        ::SetWindowTextW(::GetDlgItem(dialog, id), Widen(text).c_str());
        PumpMessages();
    }
    bool IsChecked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
};

std::pair<DWORD, DWORD> Range(DWORD start, DWORD end)
{
    return {start, end};
}
}

TEST_F(FindReplace, FindSelectsMatchesInBothDirectionsAndWrapsAround)
{
    ASSERT_TRUE(Start());
    SetText(L"mov ax, 1\r\nMOV bx, 2\r\nmovsb\r\nmov cx, 3");
    Select(0, 0);
    HWND dialog = Open('F');
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(::IsWindowVisible(dialog));
    Fill(dialog, edt1, "mov");
    Click(dialog, IDOK);
    EXPECT_EQ(Selection(), Range(0, 3));
    Click(dialog, IDOK);
    EXPECT_EQ(Selection(), Range(11, 14)) << "letter case is ignored";
    Click(dialog, IDOK);
    EXPECT_EQ(Selection(), Range(22, 25)) << "inside a longer word";

    Click(dialog, chx1);
    ASSERT_TRUE(IsChecked(dialog, chx1));
    Click(dialog, IDOK);
    EXPECT_EQ(Selection(), Range(29, 32)) << "a whole word only";
    Click(dialog, IDOK);
    EXPECT_EQ(Selection(), Range(0, 3));
    EXPECT_EQ(StatusText(), "已到文件末尾，从开头接着查找。");

    Click(dialog, chx2);
    Click(dialog, IDOK);
    EXPECT_EQ(Selection(), Range(29, 32)) << "MOV no longer matches";
    EXPECT_EQ(StatusText(), "就绪");

    // Up, from the match that is selected.
    Click(dialog, rad1);
    Click(dialog, IDOK);
    EXPECT_EQ(Selection(), Range(0, 3));
    Click(dialog, IDOK);
    EXPECT_EQ(Selection(), Range(29, 32));
    EXPECT_EQ(StatusText(), "已到文件开头，从末尾接着查找。");

    Fill(dialog, edt1, "xyz");
    Click(dialog, IDOK);
    EXPECT_EQ(Selection(), Range(29, 32));
    EXPECT_EQ(StatusText(), "找不到“xyz”。");
}

TEST_F(FindReplace, F3RepeatsWithoutTheDialogAndASelectionIsWhatToFind)
{
    ASSERT_TRUE(Start());
    SetText(L"int 21h\r\n\tmov ah, 1\r\n\tint 21h\r\nint 3");
    // With nothing searched for yet, F3 opens Find.
    Select(0, 0);
    PressAccelerator(EditWnd(), VK_F3);
    HWND dialog = SearchDialog();
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDCANCEL);
    EXPECT_EQ(SearchDialog(), nullptr);

    Select(0, 7);
    dialog = Open('F');
    EXPECT_EQ(WindowTextOf(::GetDlgItem(dialog, edt1)), "int 21h");
    Click(dialog, IDOK);
    EXPECT_EQ(Selection(), Range(22, 29));
    Click(dialog, IDCANCEL);

    PressAccelerator(EditWnd(), VK_F3);
    EXPECT_EQ(Selection(), Range(0, 7));
    PressAccelerator(EditWnd(), VK_F3, kShift);
    EXPECT_EQ(Selection(), Range(22, 29));

    // A selection over a line break is no text to find.
    Select(0, 12);
    dialog = Open('F');
    EXPECT_EQ(WindowTextOf(::GetDlgItem(dialog, edt1)), "int 21h");
}

TEST_F(FindReplace, MatchesAreCharactersAndOnlyAsciiLettersFoldTheirCase)
{
    ASSERT_TRUE(Start());
    // In GBK the last byte of 爸 and the first of 写 make the bytes of 中.
    ASSERT_NE(Gbk("爸写").find(Gbk("中")), std::string::npos);
    SetText(L"\u7238\u5199 \u00C4 \uFF21 x\u4E2Dy");
    Select(0, 0);
    HWND dialog = Open('F');
    for (const char* absent : {"ä", "ａ"}) {
        Fill(dialog, edt1, absent);
        Click(dialog, IDOK);
        EXPECT_EQ(StatusText(), "找不到“" + std::string(absent) + "”。");
    }
    Fill(dialog, edt1, "中");
    Click(dialog, IDOK);
    EXPECT_EQ(Selection(), Range(8, 9));
    EXPECT_EQ(StatusText(), "就绪");
    Fill(dialog, edt1, "X中Y");
    Click(dialog, IDOK);
    EXPECT_EQ(Selection(), Range(7, 10));
}

TEST_F(FindReplace, ReplaceAndReplaceAllAreStepsThatUndoTakesBack)
{
    ScratchDir dir("find-replace");
    const std::string path = dir.File("replace.asm");
    WriteFileBytes(path, Gbk("a1 a2 a3\r\nA4 中"));
    ASSERT_TRUE(Start(Quoted(path)));
    HWND dialog = Open('H');
    ASSERT_NE(dialog, nullptr);
    Fill(dialog, edt1, "a");
    Fill(dialog, edt2, "汉b");
    // The caret is no match: Replace only finds the first one.
    Click(dialog, psh1);
    EXPECT_EQ(Selection(), Range(0, 1));
    EXPECT_FALSE(Doc()->IsModified());
    Click(dialog, psh1);
    EXPECT_EQ(EditorText(), "汉b1 a2 a3\r\nA4 中");
    EXPECT_EQ(Selection(), Range(4, 5));
    EXPECT_EQ(Title(), "replace.asm * - Korvane");

    Click(dialog, psh2);
    EXPECT_EQ(EditorText(), "汉b1 汉b2 汉b3\r\n汉b4 中");
    EXPECT_EQ(StatusText(), "已替换 3 处。");
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(EditorText(), "汉b1 a2 a3\r\nA4 中") << "one step";
    EXPECT_TRUE(Doc()->IsModified());

    Fill(dialog, edt1, "q");
    Click(dialog, psh2);
    EXPECT_EQ(StatusText(), "找不到“q”。");
    EXPECT_EQ(EditorText(), "汉b1 a2 a3\r\nA4 中");

    // Ctrl+F while Replace is open brings Find instead.
    EXPECT_NE(Open('F'), dialog);
    EXPECT_FALSE(::IsWindow(dialog));
}

TEST_F(FindReplace, ReplaceAllThatWouldPassTheCapacityChangesNothing)
{
    ASSERT_TRUE(Start());
    std::wstring text;
    for (int i = 0; i < 10000; ++i)
        text += std::wstring(98, L'a') + L"\r\n";
    SetText(text);
    Doc()->SetModifiedFlag(false);
    HWND dialog = Open('H');
    Fill(dialog, edt1, "aaaaaaaaaa");
    Fill(dialog, edt2, "bbbbbbbbbbbb");
    Click(dialog, psh2);
    ASSERT_EQ(m_boxes.Texts().size(), 1u);
    EXPECT_EQ(m_boxes.Texts()[0], "替换后的文本超出编辑器的容量（1048575 字节），未作替换。");
    EXPECT_EQ(::GetWindowTextLengthW(EditWnd()), 1000000);
    EXPECT_EQ(::SendMessageW(EditWnd(), EM_CANUNDO, 0, 0), 0);
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(FindReplace, KeysTypedIntoTheDialogStayThere)
{
    ASSERT_TRUE(Start());
    SetText(L"abc abc");
    Select(0, 0);
    HWND dialog = Open('F');
    HWND box = ::GetDlgItem(dialog, edt1);
    ::SetFocus(box);
    PutTextOnClipboard(L"bc");
    PressAccelerator(box, 'V', kCtrl);
    EXPECT_EQ(WindowTextOf(box), "bc");
    EXPECT_EQ(EditorText(), "abc abc") << "the editor's paste did not run";
    // Enter presses the dialog's default button, Find Next.
    PressAccelerator(box, VK_RETURN);
    EXPECT_EQ(Selection(), Range(1, 3));
}
