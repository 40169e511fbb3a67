// The DOS and BIOS functions listed, and the INT finder on source snippets.
#include "explain/InterruptFinder.h"
#include "explain/InterruptFunction.h"
#include "explain/InterruptTable.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace explain {

namespace {

TEST(Interrupts, TheFunctionsStudentsCallAreListed)
{
    std::vector<std::pair<int, int>> wanted;
    for (int ah : {0x01, 0x02, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0E, 0x19, 0x25, 0x2A, 0x2B, 0x2C, 0x2D, 0x30, 0x35, 0x4C})
        wanted.push_back({0x21, ah});
    for (int ah = 0x39; ah <= 0x44; ++ah) wanted.push_back({0x21, ah});
    for (int ah = 0x00; ah <= 0x0F; ++ah) wanted.push_back({0x10, ah});
    wanted.push_back({0x10, 0x13});
    for (int ah = 0x00; ah <= 0x02; ++ah) wanted.push_back({0x16, ah});
    for (auto [number, ah] : wanted) {
        const std::optional<InterruptFunction> function = DescribeInterrupt(number, ah);
        ASSERT_TRUE(function) << number << " " << ah;
        EXPECT_EQ(function->ah, ah) << number << " " << ah;
        EXPECT_FALSE(function->strName.empty() || function->strInput.empty() || function->strOutput.empty() ||
                     function->strExample.empty())
            << number << " " << ah;
    }
}

TEST(Interrupts, EachFunctionOnce)
{
    std::set<std::pair<int, int>> seen;
    for (const InterruptEntry& entry : Interrupts())
        EXPECT_TRUE(seen.insert({entry.nNumber, entry.nAh}).second) << entry.nNumber << " " << entry.nAh;
}

TEST(Interrupts, UnknownFunctionGivesTheInterruptUnknownInterruptNothing)
{
    const std::optional<InterruptFunction> whole = DescribeInterrupt(0x21, 0x77);
    ASSERT_TRUE(whole);
    EXPECT_FALSE(whole->ah);
    EXPECT_FALSE(DescribeInterrupt(0x21, std::nullopt)->ah);
    EXPECT_FALSE(DescribeInterrupt(0x99, 0));
}

struct Snippet {
    const char* name;
    std::vector<std::wstring> before;
    const wchar_t* line;
    std::optional<int> number;
    std::optional<int> ah;
};

const Snippet kSnippets[] = {
    {"string", {L"        LEA DX, MSG", L"        MOV AH, 09H", L"        MOV AL, 0"}, L"        INT 21H", 0x21, 0x09},
    {"exit with AX", {L"MAIN PROC FAR", L"        mov ax, 4c00h"}, L"        int 21h   ; back to DOS", 0x21, 0x4C},
    {"label before", {L"again:  mov ah, 1 ; read a key"}, L"        int 21h", 0x21, 0x01},
    {"decimal", {L"        MOV AH, 2", L"        MOV DL, 'A'"}, L"        INT 33", 0x21, 0x02},
    {"label on the INT", {L"        MOV AH, 2"}, L"SHOW:   INT 21H", 0x21, 0x02},
    {"cleared", {L"        XOR AH, AH"}, L"        INT 16H", 0x16, 0x00},
    {"other procedure", {L"        MOV AH, 2", L"PRINT ENDP", L"MAIN PROC", L"        MOV DL, 'A'"}, L"        INT 21H", 0x21, std::nullopt},
    {"from a register", {L"        MOV AH, 9", L"        MOV AH, BL"}, L"        INT 21H", 0x21, std::nullopt},
    {"another INT between", {L"        MOV AH, 1", L"        INT 21H", L"        MOV DL, AL"}, L"        INT 21H", 0x21, std::nullopt},
    {"multiplied", {L"        MOV AH, 2", L"        MUL BL"}, L"        INT 10H", 0x10, std::nullopt},
    {"compared only", {L"        MOV AH, 0EH", L"        CMP AH, 0"}, L"        INT 10H", 0x10, 0x0E},
    {"commented out", {L"        MOV AH, 2", L"    ;   MOV AH, 9"}, L"        INT 21H", 0x21, 0x02},
    {"nothing above", {}, L"int 21h", 0x21, std::nullopt},
    {"no INT", {L"        MOV AH, 9"}, L"        MOV AX, 1", std::nullopt, std::nullopt},
    {"INT in a comment", {}, L"; INT 21H", std::nullopt, std::nullopt},
};

TEST(InterruptFinder, FindsTheFunctionBeforeTheCall)
{
    for (const Snippet& s : kSnippets) {
        const std::optional<InterruptCall> call = FindInterruptCall(s.line, s.before);
        ASSERT_EQ(call.has_value(), s.number.has_value()) << s.name;
        if (!call)
            continue;
        EXPECT_EQ(call->nNumber, *s.number) << s.name;
        EXPECT_EQ(call->ah, s.ah) << s.name;
    }
}

}  // namespace

}  // namespace explain
