// What each fault of a source is told as, and on which line.
#include "Asm51TestSupport.h"

#include <gtest/gtest.h>

using namespace asm51;

struct ErrorCase {
    const char* source;
    Message51 message;
    unsigned line;
};

TEST(Errors, EachFaultIsToldOnItsLine)
{
    const ErrorCase cases[] = {
        {"NOP\n MOV A,", Message51::kSyntax, 2},
        {"MOV A,#NOWHERE", Message51::kUndefined, 1},
        {"L: NOP\nL: NOP", Message51::kRedefined, 2},
        {"MOVE A,R0", Message51::kUnknownMnemonic, 1},
        {"MOV R0,R1", Message51::kBadOperands, 1},
        {"MOV A,#300", Message51::kOutOfRange, 1},
        {"MOV 100H,A", Message51::kOutOfRange, 1},
        {"SJMP L\nDS 200\nL: NOP", Message51::kJumpTooFar, 1},
        {"ORG 7FEH\nAJMP 100H", Message51::kOtherPage, 2},
        {"SETB 30H.1", Message51::kNotBitAddressable, 1},
        {"$INCLUDE(missing.inc)", Message51::kCannotInclude, 1},
        {"DB 'open", Message51::kOpenString, 1},
        {"MOV A,#0FG", Message51::kBadNumber, 1},
        {"DB 1/0", Message51::kDivideByZero, 1},
        {"ORG L\nL: NOP", Message51::kForwardReference, 1},
        {"DB 1,2\nORG 1\nDB 3", Message51::kOverlap, 3},
        {"ORG 0FFFFH\nDB 1,2", Message51::kBeyondCode, 2},
        {"RSEG CODE", Message51::kUnsupported, 1},
        {"DSEG\nDB 1", Message51::kNoBytesHere, 2},
    };
    for (const ErrorCase& c : cases) {
        const auto assembler = AssembleText(std::string(c.source) + "\nEND\n");
        ASSERT_FALSE(assembler->Diagnostics().empty()) << c.source;
        const Diagnostic51& first = assembler->Diagnostics().front();
        EXPECT_EQ(first.message, c.message) << c.source;
        EXPECT_EQ(first.line, c.line) << c.source;
        EXPECT_EQ(first.file, "test.a51") << c.source;
        EXPECT_EQ(assembler->ErrorCount(), assembler->Diagnostics().size()) << c.source;
    }
}

TEST(Errors, AMissingEndIsAWarningOnTheLastLine)
{
    const auto assembler = AssembleText("NOP\nNOP\n");
    EXPECT_EQ(MessagesOf(*assembler), std::vector<Message51>{Message51::kNoEnd});
    EXPECT_EQ(assembler->Diagnostics().front().line, 2u);
    EXPECT_EQ(assembler->ErrorCount(), 0u);
}

TEST(Errors, AnIncludedFilesFaultNamesThatFile)
{
    const auto assembler = AssembleText("NOP\n$INCLUDE(bad.inc)\nEND\n", {{"bad.inc", "NOP\nFOO\n"}});
    ASSERT_EQ(assembler->Diagnostics().size(), 1u);
    EXPECT_EQ(assembler->Diagnostics().front().file, "bad.inc");
    EXPECT_EQ(assembler->Diagnostics().front().line, 2u);
}
