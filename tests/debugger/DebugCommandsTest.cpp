// DEBUG's commands in the command pane on a program built by MASM 5.10 and LINK 3.65, each
// line typed and the text DEBUG prints for it, prompts and errors included.
#include "DebuggerTestSupport.h"

#include "debug/DebugResources.h"
#include "debug/DosTarget.h"

#include <gtest/gtest.h>

using namespace dos;

using namespace DebuggerTest;

namespace {

struct Typed {
    const char* line;
    // {DS} stands for the data segment's number, {CS} for the code's.
    const char* printed;
    const char* promptAfter = "-";
};

class DebugCommands : public SumSession {
protected:
    void Type(std::initializer_list<Typed> lines)
    {
        for (const Typed& typed : lines) {
            EXPECT_EQ(Commands().Execute(typed.line), Expand(typed.printed)) << typed.line;
            EXPECT_EQ(Commands().Prompt(), Expand(typed.promptAfter)) << typed.line;
        }
    }

    // The command pane of the program the session holds now.
    CDebugPane& Commands() { return PaneOf(m_session, IDC_DEBUG_COMMAND_PANE); }
};

TEST_F(DebugCommands, RegistersAsDebugShowsThemAtTheEntry)
{
    Type({
        {"r", "-r\r\n"
              "AX=0000  BX=0000  CX=024E  DX=0000  SP=0200  BP=0000  SI=0000  DI=0000\r\n"
              "DS={PSP}  ES={PSP}  SS={SS}  CS={CS}  IP=0007   NV UP EI PL NZ NA PO NC\r\n"
              "{CS}:0007 B8{DSB}        MOV     AX,{DS}\r\n"},
    });
}

TEST_F(DebugCommands, UnassemblesTheCodeSegment)
{
    Type({
        {"u cs:0", "-u cs:0\r\n"
                   "{CS}:0000 50            PUSH    AX\r\n"
                   "{CS}:0001 B409          MOV     AH,09\r\n"
                   "{CS}:0003 CD21          INT     21\r\n"
                   "{CS}:0005 58            POP     AX\r\n"
                   "{CS}:0006 C3            RET\r\n"
                   "{CS}:0007 B8{DSB}        MOV     AX,{DS}\r\n"
                   "{CS}:000A 8ED8          MOV     DS,AX\r\n"
                   "{CS}:000C B90500        MOV     CX,0005\r\n"
                   "{CS}:000F 33C0          XOR     AX,AX\r\n"
                   "{CS}:0011 8D361000      LEA     SI,[0010]\r\n"
                   "{CS}:0015 0304          ADD     AX,[SI]\r\n"
                   "{CS}:0017 83C602        ADD     SI,+02\r\n"
                   "{CS}:001A E2F9          LOOP    0015\r\n"
                   "{CS}:001C A31A00        MOV     [001A],AX\r\n"
                   "{CS}:001F 8D160000      LEA     DX,[0000]\r\n"},
        {"u", "-u\r\n"
              "{CS}:0023 E8DAFF        CALL    0000\r\n"
              "{CS}:0026 E8D7FF        CALL    0000\r\n"
              "{CS}:0029 B8074C        MOV     AX,4C07\r\n"
              "{CS}:002C CD21          INT     21\r\n"
              "{CS}:002E 0000          ADD     [BX+SI],AL\r\n"
              "{CS}:0030 0000          ADD     [BX+SI],AL\r\n"
              "{CS}:0032 0000          ADD     [BX+SI],AL\r\n"
              "{CS}:0034 0000          ADD     [BX+SI],AL\r\n"
              "{CS}:0036 0000          ADD     [BX+SI],AL\r\n"
              "{CS}:0038 0000          ADD     [BX+SI],AL\r\n"
              "{CS}:003A 0000          ADD     [BX+SI],AL\r\n"
              "{CS}:003C 0000          ADD     [BX+SI],AL\r\n"
              "{CS}:003E 0000          ADD     [BX+SI],AL\r\n"
              "{CS}:0040 0000          ADD     [BX+SI],AL\r\n"
              "{CS}:0042 0000          ADD     [BX+SI],AL\r\n"},
        {"u 1a 1c", "-u 1a 1c\r\n"
                    "{CS}:001A E2F9          LOOP    0015\r\n"
                    "{CS}:001C A31A00        MOV     [001A],AX\r\n"},
    });
}

// t, p and g run the program and show the registers as r does, after a blank line; p runs a
// call and a LOOP through, g stops at its breakpoints and says when the program ended.
TEST_F(DebugCommands, TraceProceedAndGo)
{
    Type({
        {"t", "-t\r\n\r\n"
              "AX={DS}  BX=0000  CX=024E  DX=0000  SP=0200  BP=0000  SI=0000  DI=0000\r\n"
              "DS={PSP}  ES={PSP}  SS={SS}  CS={CS}  IP=000A   NV UP EI PL NZ NA PO NC\r\n"
              "{CS}:000A 8ED8          MOV     DS,AX\r\n"},
        {"g 1a", "-g 1a\r\n\r\n"
                 "AX=0001  BX=0000  CX=0005  DX=0000  SP=0200  BP=0000  SI=0012  DI=0000\r\n"
                 "DS={DS}  ES={PSP}  SS={SS}  CS={CS}  IP=001A   NV UP EI PL NZ NA PE NC\r\n"
                 "{CS}:001A E2F9          LOOP    0015\r\n"},
        {"p", "-p\r\n\r\n"
              "AX=000F  BX=0000  CX=0000  DX=0000  SP=0200  BP=0000  SI=001A  DI=0000\r\n"
              "DS={DS}  ES={PSP}  SS={SS}  CS={CS}  IP=001C   NV UP EI PL NZ NA PO NC\r\n"
              "{CS}:001C A31A00        MOV     [001A],AX                        DS:001A=0000\r\n"},
        {"t=1f 2", "-t=1f 2\r\n\r\n"
                   "AX=000F  BX=0000  CX=0000  DX=0000  SP=0200  BP=0000  SI=001A  DI=0000\r\n"
                   "DS={DS}  ES={PSP}  SS={SS}  CS={CS}  IP=0023   NV UP EI PL NZ NA PO NC\r\n"
                   "{CS}:0023 E8DAFF        CALL    0000\r\n"
                   "\r\n"
                   "AX=000F  BX=0000  CX=0000  DX=0000  SP=01FE  BP=0000  SI=001A  DI=0000\r\n"
                   "DS={DS}  ES={PSP}  SS={SS}  CS={CS}  IP=0000   NV UP EI PL NZ NA PO NC\r\n"
                   "{CS}:0000 50            PUSH    AX\r\n"},
        {"g", "-g\r\n\r\nProgram terminated normally\r\n"},
        {"t", "-t\r\n\r\nProgram terminated normally\r\n"},
    });
    EXPECT_EQ(ScreenText(m_session).substr(0, 28), "Hello, world!\nHello, world!\n");
}

// A program started anew starts d and u afresh and drops a prompt that waited.
TEST_F(DebugCommands, AProgramStartedAnewStartsTheDefaultsAfresh)
{
    Type({
        {"u 20 20", "-u 20 20\r\n{CS}:0020 16            PUSH    SS\r\n"},
        {"r ax", "-r ax\r\nAX 0000\r\n", ":"},
    });
    ASSERT_EQ(m_session.Start(Launch(m_folder.File("SUM.EXE"), m_folder.File("SUM.ASM"))).result, SessionResult::Started);
    EXPECT_EQ(Commands().Prompt(), "-");
    EXPECT_EQ(Commands().Execute("u").substr(0, 43), Expand("-u\r\n{CS}:0007 B8{DSB}        MOV     AX,{DS}"));
}

TEST_F(DebugCommands, GoTakesAtMostTenBreakpoints)
{
    Type({
        {"g 1 2 3 4 5 6 7 8 9 a b", "-g 1 2 3 4 5 6 7 8 9 a b\r\nbp Error\r\n"},
        {"g=1c 1f", "-g=1c 1f\r\n\r\n"
                    "AX=0000  BX=0000  CX=024E  DX=0000  SP=0200  BP=0000  SI=0000  DI=0000\r\n"
                    "DS={PSP}  ES={PSP}  SS={SS}  CS={CS}  IP=001F   NV UP EI PL NZ NA PO NC\r\n"
                    "{CS}:001F 8D160000      LEA     DX,[0000]                        DS:0000=20CD\r\n"},
    });
}

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
        char text[96];
        snprintf(text, sizeof text, "{PSP}:%04X  00 00 00 00 00 00 00 00-00 00 00 00 00 00 00 00   ................\r\n",
                 0x100 + 16 * line);
        lines += text;
    }
    EXPECT_EQ(Commands().Execute("d"), Expand("-d\r\n" + lines.substr(0, lines.size() / 2)));
    EXPECT_EQ(Commands().Execute("D"), Expand("-D\r\n" + lines.substr(lines.size() / 2)));
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
