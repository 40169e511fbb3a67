// The texts that start tools and programs: paths quoted for cmd.exe and for command lines,
// which programs are DOS programs, the emulator's kind, the 8.3 check, and the exact lines
// and DOSBox configuration files of each route, paths with blanks and cmd's special
// characters included.
#include "build/BuildAction.h"
#include "build/CommandText.h"
#include "build/DosBoxConfig.h"
#include "build/DosProgram.h"
#include "build/DosRoute.h"
#include "build/ProgramLauncher.h"
#include "build/StepCommand.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
// A folder with a blank, holding one whose name cmd.exe would split, act on and expand.
const std::string kOddFolder = "c:\\my work\\a&b (1) 100%";

// A DOS program's header: "MZ", and at 0x3C the offset of a header that may follow.
std::string MzHeader(unsigned newHeaderOffset)
{
    std::string header(0x40, '\0');
    header[0] = 'M';
    header[1] = 'Z';
    std::memcpy(&header[0x3C], &newHeaderOffset, 4);
    return header;
}
}

TEST(CommandText, QuotesAndEscapesWhatCmdWouldActOn)
{
    EXPECT_EQ(BatchPath("c:\\masm\\masm.exe"), "c:\\masm\\masm.exe");
    EXPECT_EQ(BatchPath("C:\\Program Files\\masm\\masm.exe"), "\"C:\\Program Files\\masm\\masm.exe\"");
    EXPECT_EQ(BatchPath(kOddFolder), "\"c:\\my work\\a&b (1) 100%%\"");
    EXPECT_EQ(BatchPath("c:\\100%\\x"), "c:\\100%%\\x");
    for (const char* path : {"c:\\a|b", "c:\\a<b", "c:\\a>b", "c:\\a^b", "c:\\a(b", "c:\\a)b", "c:\\a,b", "c:\\a;b",
                             "c:\\a=b", "c:\\a\tb"})
        EXPECT_EQ(BatchPath(path), std::string("\"") + path + "\"") << path;
    EXPECT_EQ(BatchPath("c:\\x", Quoting::Always), "\"c:\\x\"");
    // Characters beyond ASCII are never taken for one of cmd's.
    EXPECT_EQ(BatchPath("c:\\汇编\\程序"), "c:\\汇编\\程序");

    EXPECT_EQ(BatchArgument("hello.asm;"), "hello.asm;");
    EXPECT_EQ(BatchArgument("a&b 100%.asm;"), "a^&b 100%%.asm;");
    EXPECT_EQ(BatchArgument("(x)^|<>"), "^(x^)^^^|^<^>");

    EXPECT_EQ(CommandLinePath("c:\\work\\hello"), "c:\\work\\hello");
    EXPECT_EQ(CommandLinePath("c:\\a&b(1)%\\hello"), "c:\\a&b(1)%\\hello");
    EXPECT_EQ(CommandLinePath("c:\\my work\\hello"), "\"c:\\my work\\hello\"");
    EXPECT_EQ(CommandLinePath("c:\\x", Quoting::Always), "\"c:\\x\"");
}

TEST(BuildTexts, ChangeIntoTheFolderAndSplitTheToolSetting)
{
    EXPECT_EQ(DriveLine("c:\\work"), "c:");
    EXPECT_EQ(ChangeDirectoryLine("c:\\work"), "cd /d c:\\work");
    EXPECT_EQ(ChangeDirectoryLine(kOddFolder), "cd /d \"c:\\my work\\a&b (1) 100%%\"");
    EXPECT_EQ(ChangeDirectoryLine("d:"), "cd /d d:\\");
    EXPECT_EQ(StepArgument(BuildAction::Compile, "hello.asm"), "hello.asm;");
    EXPECT_EQ(StepArgument(BuildAction::Link, "hello.asm"), "hello;");

    struct Case {
        const char* setting;
        const char* program;
        const char* options;
    } cases[] = {
        {"C:\\Program Files\\masm\\masm.exe", "C:\\Program Files\\masm\\masm.exe", ""},
        {"\"C:\\Program Files\\masm\\masm.exe\" /Zi /W2", "C:\\Program Files\\masm\\masm.exe", "/Zi /W2"},
        {"\"c:\\masm\\masm.exe\"", "c:\\masm\\masm.exe", ""},
        {"\"c:\\unclosed", "c:\\unclosed", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const ToolSetting tool = SplitToolSetting(c.setting);
        EXPECT_EQ(tool.program, c.program) << c.setting;
        EXPECT_EQ(tool.options, c.options) << c.setting;
    }
}

TEST(BuildTexts, AnUnquotedSettingSplitsAfterTheFirstPartThatIsAFile)
{
    ScratchDir dir("tool setting");
    ::CreateDirectoryA(dir.File("masm 5").c_str(), nullptr);
    const std::string tool = dir.File("masm 5\\masm.exe");
    WriteFileBytes(tool, "MZ");

    ToolSetting withOptions = SplitToolSetting(tool + "  /Zi /W2");
    EXPECT_EQ(withOptions.program, tool);
    EXPECT_EQ(withOptions.options, "/Zi /W2");
    ToolSetting whole = SplitToolSetting(tool);
    EXPECT_EQ(whole.program, tool);
    EXPECT_EQ(whole.options, "");
    // Nothing on disk to split by: the setting stays one path, and its absence is reported later.
    const std::string missing = dir.File("masm 6\\masm.exe /Zi");
    EXPECT_EQ(SplitToolSetting(missing).program, missing);
    ::DeleteFileA(tool.c_str());
    ::RemoveDirectoryA(dir.File("masm 5").c_str());
}

TEST(DosProgram, IsAnMzFileWithoutAPeHeaderOrAComFile)
{
    ScratchDir dir("dos-program");
    std::string pe = MzHeader(0x40) + "PE" + std::string(2, '\0');
    struct Case {
        const char* name;
        std::string bytes;
        bool dos;
    } cases[] = {
        {"mz-only.exe", "MZ", true},
        {"no-offset.exe", MzHeader(0x40).substr(0, 0x3E), true},
        {"offset-past-end.exe", MzHeader(0x1000), true},
        {"ne.exe", MzHeader(0x40) + "NE" + std::string(30, '\0'), true},
        {"short-pe.exe", MzHeader(0x40) + "PE", true},
        {"pe.exe", pe, false},
        {"m.exe", "M", false},
        {"empty.exe", "", false},
        {"zm.exe", "ZM" + std::string(0x40, '\0'), false},
        {"text.com", "", true},
        {"PE.COM", pe, true},
    };
    for (const Case& c : cases) {
        WriteFileBytes(dir.File(c.name), c.bytes);
        EXPECT_EQ(IsDosProgram(dir.File(c.name)), c.dos) << c.name;
    }
    EXPECT_FALSE(IsDosProgram(HelperPath("standin_tool.exe")));
    EXPECT_FALSE(IsDosProgram(dir.File("missing.exe")));
    EXPECT_FALSE(IsDosProgram(dir.Path()));
}

TEST(DosProgram, TheSystemsAnswerHasASeam)
{
    // Wine runs no DOS program (nor does 64-bit Windows, where this program runs otherwise).
    EXPECT_FALSE(SystemRunsDosPrograms());
    SetSystemRunsDosPrograms(true);
    EXPECT_TRUE(SystemRunsDosPrograms());
    SetSystemRunsDosPrograms(std::nullopt);
    EXPECT_FALSE(SystemRunsDosPrograms());
}

TEST(DosEmulatorKind, ComesFromTheFileNameAlone)
{
    struct Case {
        const char* path;
        EmulatorKind kind;
    } cases[] = {
        {"", EmulatorKind::None},
        {"c:\\dos\\msdos.exe", EmulatorKind::MsDosPlayer},
        {"C:\\MSDOS\\I286_X64\\MSDOS64.EXE", EmulatorKind::MsDosPlayer},
        {"C:\\Program Files (x86)\\DOSBox-0.74-3\\DOSBox.exe", EmulatorKind::DosBox},
        {"c:\\staging\\dosbox.exe", EmulatorKind::DosBox},
        {"c:\\dosbox-x\\dosbox-x.exe", EmulatorKind::DosBoxX},
        {"c:\\x\\DOSBox_X.EXE", EmulatorKind::DosBoxX},
        {"c:\\dosbox\\emu.exe", EmulatorKind::Unknown},
        {"c:\\x\\dos.exe", EmulatorKind::Unknown},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EmulatorKindOf(c.path), c.kind) << c.path;
}

TEST(DosBoxConfig, NamesMustBeEightDotThree)
{
    for (const char* name : {"HELLO.ASM", "hello.asm", "a", "abcdefgh.abc", "a_1.c", "LINK.EXE"})
        EXPECT_TRUE(IsEightDotThreeName(name)) << name;
    for (const char* name : {"", ".asm", "abcdefghi.asm", "hello.asmx", "hello world.asm", "a-b.asm", "程序.asm",
                             "hello.", "a.b.c", "x&y.asm"})
        EXPECT_FALSE(IsEightDotThreeName(name)) << name;
}

TEST(StepLines, ForEachRouteWithBlanksAndSpecialCharacters)
{
    EXPECT_EQ(DirectToolLine({"C:\\Program Files\\masm\\masm.exe", ""}, "hello.asm;"),
              "\"C:\\Program Files\\masm\\masm.exe\" hello.asm;");
    EXPECT_EQ(DirectToolLine({"c:\\masm\\link.exe", "/CO"}, "a&b;"), "c:\\masm\\link.exe /CO a^&b;");
    EXPECT_EQ(MsDosPlayerToolLine("c:\\dos\\msdos.exe", {"c:\\masm 6\\masm.exe", ""}, "hello.asm;"),
              "\"c:\\dos\\msdos.exe\" \"c:\\masm 6\\masm.exe\" hello.asm;");
    EXPECT_EQ(MsDosPlayerToolLine("c:\\100%\\msdos.exe", {"c:\\tasm\\tasm.exe", "/zi"}, "hello.asm;"),
              "\"c:\\100%%\\msdos.exe\" \"c:\\tasm\\tasm.exe\" /zi hello.asm;");
    EXPECT_EQ(DosBoxToolLine("C:\\Program Files\\DOSBox\\DOSBox.exe", EmulatorKind::DosBox, "C:\\TEMP\\kvn1.tmp"),
              "\"C:\\Program Files\\DOSBox\\DOSBox.exe\" -conf \"C:\\TEMP\\kvn1.tmp\" -noconsole");
    EXPECT_EQ(DosBoxToolLine("c:\\dosbox-x\\dosbox-x.exe", EmulatorKind::DosBoxX, "c:\\t\\kvn2.tmp"),
              "\"c:\\dosbox-x\\dosbox-x.exe\" -conf \"c:\\t\\kvn2.tmp\" -fastlaunch");
}

TEST(StepLines, DosBoxConfigurationOfACompileAndALink)
{
    const std::string source = kOddFolder + "\\hello.asm";
    CDosBoxConfig compile = DosBoxStepConfig(BuildAction::Compile, source, {"c:\\masm\\masm.exe", ""});
    EXPECT_FALSE(compile.Problem());
    EXPECT_EQ(compile.Text(), "[autoexec]\r\n"
                              "mount c \"c:\\my work\\a&b (1) 100%%\"\r\n"
                              "mount d c:\\masm\r\n"
                              "c:\r\n"
                              "D:\\MASM.EXE hello.asm; > KORVANE.OUT\r\n"
                              "exit\r\n");
    CDosBoxConfig link = DosBoxStepConfig(BuildAction::Link, "c:\\work\\hello.asm", {"c:\\tlink.exe", "/t"});
    EXPECT_EQ(link.Text(), "[autoexec]\r\n"
                           "mount c c:\\work\r\n"
                           "mount d c:\\\r\n"
                           "c:\r\n"
                           "D:\\TLINK.EXE /t hello; > KORVANE.OUT\r\n"
                           "exit\r\n");

    // The source's name is reported before the tool's; each by its name alone.
    struct Case {
        const char* source;
        const char* tool;
        const char* reported;
    } cases[] = {
        {"c:\\work\\hello world.asm", "c:\\masm\\masm-611.exe", "hello world.asm"},
        {"c:\\work\\hello.asm", "c:\\masm\\masm-611.exe", "masm-611.exe"},
        {"c:\\work\\programs1.asm", "c:\\masm\\masm.exe", "programs1.asm"},
    };
    for (const Case& c : cases) {
        CDosBoxConfig config = DosBoxStepConfig(BuildAction::Compile, c.source, {c.tool, ""});
        ASSERT_TRUE(config.Problem()) << c.source;
        EXPECT_EQ(config.Problem()->kind, CommandProblem::Kind::NotEightDotThree);
        EXPECT_EQ(config.Problem()->path, c.reported);
    }
}

TEST(LaunchLines, ThroughEachEmulator)
{
    EXPECT_EQ(MsDosPlayerCommandLine("c:\\dos\\msdos.exe", {"c:\\my work\\hello.exe"}),
              "\"c:\\dos\\msdos.exe\" \"c:\\my work\\hello.exe\"");
    EXPECT_EQ(MsDosPlayerCommandLine("c:\\dos\\msdos.exe", {"c:\\dos\\debug.exe", "c:\\a&b 100%\\hello.exe"}),
              "\"c:\\dos\\msdos.exe\" \"c:\\dos\\debug.exe\" \"c:\\a&b 100%\\hello.exe\"");
    EXPECT_EQ(DosBoxCommandLine("c:\\dos box\\DOSBox.exe", EmulatorKind::DosBox, "c:\\t\\kvn3.tmp"),
              "\"c:\\dos box\\DOSBox.exe\" -conf \"c:\\t\\kvn3.tmp\" -noconsole");

    EXPECT_EQ(DosBoxRunConfig(kOddFolder, "hello.asm").Text(), "[autoexec]\r\n"
                                                              "mount c \"c:\\my work\\a&b (1) 100%%\"\r\n"
                                                              "c:\r\n"
                                                              "HELLO.EXE\r\n");
    EXPECT_EQ(DosBoxRunConfig("c:\\work", "hello.asm", "c:\\dos tools\\debug.exe").Text(),
              "[autoexec]\r\n"
              "mount c c:\\work\r\n"
              "mount d \"c:\\dos tools\"\r\n"
              "c:\r\n"
              "D:\\DEBUG.EXE HELLO.EXE\r\n");
    CDosBoxConfig longName = DosBoxRunConfig("c:\\work", "helloworld.asm");
    ASSERT_TRUE(longName.Problem());
    EXPECT_EQ(longName.Problem()->path, "helloworld.exe");
}

TEST(LaunchLines, TheDebuggerIsLookedForBesideTheCompilerThenTheEmulator)
{
    ScratchDir dir("find-debugger");
    const std::string compiler = dir.Folder("masm") + "\\masm.exe";
    const std::string emulator = dir.Folder("dos box") + "\\dosbox.exe";
    WriteFileBytes(dir.File("dos box\\debug.exe"), "MZ");
    EXPECT_EQ(FindDebugger(compiler, emulator), dir.File("dos box\\debug.exe"));
    WriteFileBytes(dir.File("masm\\debug.exe"), "MZ");
    EXPECT_EQ(FindDebugger(compiler, emulator), dir.File("masm\\debug.exe"));
    EXPECT_EQ(FindDebugger("", emulator), dir.File("dos box\\debug.exe"));
    // Neither there nor on the search path.
    EXPECT_FALSE(FindDebugger(dir.File("none\\masm.exe"), ""));
}
