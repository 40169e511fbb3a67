// What the user is told of each problem: a text for every kind, its subject filled in, the
// system's own text where the system refused, and the icon only there.
#include "frame/ProblemMessage.h"

#include "framework/Strings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(ProblemMessages, EveryKindHasATextWithItsSubjectFilledIn)
{
    for (int kind = 0; kind <= static_cast<int>(Problem::Kind::SettingsNotKept); ++kind) {
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
