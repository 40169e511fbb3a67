// What the user is told of each problem: a text for every kind, its subject filled in, the
// system's own text where the system refused, and the icon only there.
#include "frame/ProblemMessage.h"

#include "framework/Strings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(ProblemMessages, EveryKindHasATextWithItsSubjectFilledIn)
{
    for (int kind = 0; kind <= static_cast<int>(Problem::Kind::ModulesNotSupported); ++kind) {
        const ProblemMessage message = MessageOf(Problem{static_cast<Problem::Kind>(kind), L"c:\\x\\prog.exe"});
        EXPECT_FALSE(message.text.empty()) << kind;
        EXPECT_FALSE(Contains(message.text, "%1")) << kind << ": " << message.text;
    }
    // The system's text with the program where it has a place for it, here "%1 is not a
    // valid application".
    const ProblemMessage refused =
        MessageOf(Problem{Problem::Kind::NotStarted, L"c:\\x\\prog.exe", ERROR_BAD_EXE_FORMAT});
    EXPECT_TRUE(Contains(refused.text, "c:\\x\\prog.exe")) << refused.text;
    EXPECT_EQ(refused.icon, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(MessageOf(Problem{Problem::Kind::NoSavedFile, {}}).icon, 0u);
}

TEST(ProblemMessages, AProgramsModulesAreNamedInTheirMessages)
{
    const struct {
        Problem::Kind kind;
        const wchar_t* subject;
        const char* text;
    } cases[] = {
        {Problem::Kind::ModuleMissing, L"c:\\work\\CLAC.ASM",
         "程序的模块列表（.kvp 文件）中列出的文件不存在：c:\\work\\CLAC.ASM\n请改正列表中的文件名，或补上这个文件。没有编译任何文件。"},
        {Problem::Kind::ModulesNotSupported, L"c:\\work\\MAIN.kvp",
         "8051 的工具链一次只汇编一个文件，不能编译多模块程序：c:\\work\\MAIN.kvp 列出了多个文件。请用 $INCLUDE "
         "把其他文件并入主文件，或删除这个列表。"},
    };
    for (const auto& c : cases) {
        const ProblemMessage message = MessageOf(Problem{c.kind, c.subject});
        EXPECT_EQ(message.text, c.text);
        EXPECT_EQ(message.icon, 0u);
    }
}
