// DEBUG's commands in the command pane on a program built by MASM 5.10 and LINK 3.65, each
// line typed and the text DEBUG prints for it, prompts and errors included.
#include "DebuggerTestSupport.h"

#include "debug/DebugCommands.h"
#include "debug/DosTarget.h"

#include <gtest/gtest.h>

using namespace DebuggerTest;

namespace {

struct Typed {
    const char* line;
    // {DS} stands for the data segment's number, {CS} for the code's.
    const char* printed;
    const char* promptAfter = "-";
};

class DebugCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        CopySources({"SUM.ASM", "PRINT.INC"}, m_folder.Path());
        BuildMasm("SUM", m_folder.Path());
        ASSERT_EQ(m_session.Start(Launch(m_folder.File("SUM.EXE"), m_folder.File("SUM.ASM"))).cause, StopCause::Started);
        m_commands.Reset();
    }

    CpuState& Registers() { return m_session.Target()->Dos()->Registers(); }

    std::string Expand(std::string text)
    {
        const auto replace = [&](const std::string& name, uint16_t value) {
            char digits[5];
            snprintf(digits, sizeof digits, "%04X", value);
            for (size_t at; (at = text.find(name)) != std::string::npos;)
                text.replace(at, name.size(), digits);
        };
        replace("{DS}", Registers().ds());
        replace("{CS}", Registers().cs());
        return text;
    }

    void Type(std::initializer_list<Typed> lines)
    {
        for (const Typed& typed : lines) {
            EXPECT_EQ(m_commands.Execute(typed.line), Expand(typed.printed)) << typed.line;
            EXPECT_EQ(m_commands.Prompt(), Expand(typed.promptAfter)) << typed.line;
        }
    }

    CScratchFolder m_folder;
    CDebugSession m_session;
    CDebugCommands m_commands{m_session};
};

TEST_F(DebugCommands, DumpsTheDataSegmentAsDebug)
{
    m_session.StepInto();
    m_session.StepInto();
    Type({
        {"d ds:0 l 20",
         "-d ds:0 l 20\r\n"
         "{DS}:0000  48 65 6C 6C 6F 2C 20 77-6F 72 6C 64 21 0D 0A 24   Hello, world!..$\r\n"
         "{DS}:0010  01 00 02 00 03 00 04 00-05 00 00 00 00 00 00 00   ................\r\n"},
        {"d ds:5 9",
         "-d ds:5 9\r\n"
         "{DS}:0000                 2C 20 77-6F 72                          , wor\r\n"},
    });
}

// Right after the start DEBUG dumps from DS:0100, the image's first bytes (here the stack's
// zeros), 80h bytes a time, each d going on where the last stopped.
TEST_F(DebugCommands, DumpGoesOnWhereItStopped)
{
    std::string lines;
    for (int line = 0; line < 16; ++line) {
        char text[80];
        snprintf(text, sizeof text, "{DS}:%04X  00 00 00 00 00 00 00 00-00 00 00 00 00 00 00 00   ................\r\n",
                 0x100 + 16 * line);
        lines += text;
    }
    EXPECT_EQ(m_commands.Execute("d"), Expand("-d\r\n" + lines.substr(0, lines.size() / 2)));
    EXPECT_EQ(m_commands.Execute("D"), Expand("-D\r\n" + lines.substr(lines.size() / 2)));
}

TEST_F(DebugCommands, HexArithmetic)
{
    Type({
        {"h 5 3", "-h 5 3\r\n0008  0002\r\n"},
        {"H 3 5", "-H 3 5\r\n0008  FFFE\r\n"},
        {"h ffff 1", "-h ffff 1\r\n0000  FFFE\r\n"},
        {"h 12345 1", "-h 12345 1\r\n       ^ Error\r\n"},
        {"h 5", "-h 5\r\n    ^ Error\r\n"},
    });
}

TEST_F(DebugCommands, ErrorsUnderTheColumnDebugCouldNotRead)
{
    Type({
        {"y", "-y\r\n ^ Error\r\n"},
        {"d xyz", "-d xyz\r\n   ^ Error\r\n"},
        {"  d 100 l", "-  d 100 l\r\n          ^ Error\r\n"},
        {"r xx", "-r xx\r\nbr Error\r\n"},
        {"q now", "-q now\r\n   ^ Error\r\n"},
    });
}

TEST_F(DebugCommands, ChangesARegisterInTwoSteps)
{
    Type({
        {"r ax", "-r ax\r\nAX 0000\r\n", ":"},
        {"1234", ":1234\r\n"},
        {"rcx", "-rcx\r\nCX 024E\r\n", ":"},
        {"", ":\r\n"},
        {"r bx", "-r bx\r\nBX 0000\r\n", ":"},
        {"12x", ":12x\r\n   ^ Error\r\n"},
    });
    EXPECT_EQ(Registers().ax(), 0x1234);
    EXPECT_EQ(Registers().cx(), 0x024E) << "an empty line keeps the value";
    EXPECT_EQ(Registers().bx(), 0);
}

TEST_F(DebugCommands, ChangesFlagsByTheirNames)
{
    Type({
        {"r f", "-r f\r\n", "NV UP EI PL NZ NA PO NC  -"},
        {"ov cy", "NV UP EI PL NZ NA PO NC  -ov cy\r\n"},
        {"rf", "-rf\r\n", "OV UP EI PL NZ NA PO CY  -"},
        {"zrxx", "OV UP EI PL NZ NA PO CY  -zrxx\r\nbf Error\r\n"},
        {"rf", "-rf\r\n", "OV UP EI PL ZR NA PO CY  -"},
        {"nc cy", "OV UP EI PL ZR NA PO CY  -nc cy\r\ndf Error\r\n"},
    });
    EXPECT_TRUE(Registers().Flag(kFlagZero)) << "the codes before the bad one took effect";
    EXPECT_FALSE(Registers().Flag(kFlagCarry));
}

TEST_F(DebugCommands, EntersBytesFromAListAndOneByOne)
{
    m_session.StepInto();
    m_session.StepInto();
    Type({
        {"e ds:10 41 'BC' \"D\"\"\" 0", "-e ds:10 41 'BC' \"D\"\"\" 0\r\n"},
        {"d ds:10 l 6", "-d ds:10 l 6\r\n{DS}:0010  41 42 43 44 22 00                                 ABCD\".\r\n"},
        {"e ds:10 100", "-e ds:10 100\r\n           ^ Error\r\n"},
        {"e ds:6", "-e ds:6\r\n", "{DS}:0006  20."},
        {"5f 6 77-", "{DS}:0006  20.5F   77.6\r\n{DS}:0008  6F.77-\r\n{DS}:0007  06.\r\n"},
        {"d ds:6 l 3", "-d ds:6 l 3\r\n{DS}:0000                    5F 06-77                              _.w\r\n"},
    });
}

}
