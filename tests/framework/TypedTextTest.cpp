// Typed double-byte characters reach the system's edit controls whole, through the
// framework's subclassing and message loop.
#include "doc/KorvaneDoc.h"
#include "doc/KorvaneView.h"
#include "framework/CWnd.h"
#include "support/KorvaneSession.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(TypedText, ASubclassedEditKeepsATypedChineseCharacter)
{
    CWnd edit;
    ASSERT_TRUE(edit.CreateEx(0, "EDIT", "", WS_POPUP | ES_MULTILINE, RECT{0, 0, 200, 100}, nullptr, 0));
    // As the keyboard delivers it: one posted Unicode character, read by the message loop.
    ::PostMessageW(edit.GetSafeHwnd(), WM_CHAR, 0x4E2D, 1);
    ::PostMessageW(edit.GetSafeHwnd(), WM_CHAR, L'a', 1);
    PumpMessages();
    EXPECT_EQ(edit.GetWindowText(), "中a");
}

TEST(TypedText, TheEditorTakesTypedChineseComments)
{
    KorvaneSession session;
    ASSERT_TRUE(session.Started());
    CKorvaneView& editor = session.Editor();
    session.Document().Text().SetText(L"");
    for (wchar_t c : std::wstring(L";\x6CE8\x91CA"))
        ::PostMessageW(editor.GetSafeHwnd(), WM_CHAR, c, 1);
    PumpMessages();
    EXPECT_EQ(editor.GetWindowText(), ";注释");
    EXPECT_TRUE(session.Document().IsModified());
}
