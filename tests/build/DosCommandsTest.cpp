// The texts that start tools and programs: paths quoted for cmd.exe and for command lines,
// which programs are DOS programs, the emulator's kind, the 8.3 check, and the exact lines
// and DOSBox configuration files of each route, paths with blanks and cmd's special
// characters included.
#include "build/ArgumentTemplates.h"
#include "build/BuildAction.h"
#include "build/CompilerSettings.h"
#include "build/CommandText.h"
#include "build/ConsolePath.h"
#include "build/DosBoxConfig.h"
#include "build/DosProgram.h"
#include "build/DosRoute.h"
#include "build/ProgramLauncher.h"
#include "build/StepCommand.h"

#include "framework/Services.h"
#include "framework/Unicode.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
// A folder with a blank, holding one whose name cmd.exe would split, act on and expand.
const std::wstring kOddFolder = L"c:\\my work\\a&b (1) 100%";

FilePath P(const std::wstring& path)
{
    return FilePath(path);
}

FilePath P(const std::string& utf8)
{
    return FilePath::FromUtf8(utf8);
}

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
    EXPECT_EQ(BatchPath(P(L"c:\\masm\\masm.exe")), L"c:\\masm\\masm.exe");
    EXPECT_EQ(BatchPath(P(L"C:\\Program Files\\masm\\masm.exe")), L"\"C:\\Program Files\\masm\\masm.exe\"");
    EXPECT_EQ(BatchPath(P(kOddFolder)), L"\"c:\\my work\\a&b (1) 100%%\"");
    EXPECT_EQ(BatchPath(P(L"c:\\100%\\x")), L"c:\\100%%\\x");
    for (const wchar_t* path : {L"c:\\a|b", L"c:\\a<b", L"c:\\a>b", L"c:\\a^b", L"c:\\a(b", L"c:\\a)b", L"c:\\a,b",
                                L"c:\\a;b", L"c:\\a=b", L"c:\\a\tb"})
        EXPECT_EQ(BatchPath(P(path)), std::wstring(L"\"") + path + L"\"") << path;
    EXPECT_EQ(BatchPath(P(L"c:\\x"), Quoting::Always), L"\"c:\\x\"");
    // Characters beyond ASCII are never taken for one of cmd's.
    EXPECT_EQ(BatchPath(P(L"c:\\汇编\\程序")), L"c:\\汇编\\程序");

    EXPECT_EQ(BatchArgument(L"hello.asm;"), L"hello.asm;");
    EXPECT_EQ(BatchArgument(L"a&b 100%.asm;"), L"a^&b 100%%.asm;");
    EXPECT_EQ(BatchArgument(L"(x)^|<>"), L"^(x^)^^^|^<^>");

    EXPECT_EQ(CommandLinePath(P(L"c:\\work\\hello")), L"c:\\work\\hello");
    EXPECT_EQ(CommandLinePath(P(L"c:\\a&b(1)%\\hello")), L"c:\\a&b(1)%\\hello");
    EXPECT_EQ(CommandLinePath(P(L"c:\\my work\\hello")), L"\"c:\\my work\\hello\"");
    EXPECT_EQ(CommandLinePath(P(L"c:\\x"), Quoting::Always), L"\"c:\\x\"");
}

TEST(BuildTexts, ChangeIntoTheFolderAndSplitTheToolSetting)
{
    EXPECT_EQ(DriveLine(P(L"c:\\work")), L"c:");
    EXPECT_EQ(ChangeDirectoryLine(P(L"c:\\work")), L"cd /d c:\\work");
    EXPECT_EQ(ChangeDirectoryLine(P(kOddFolder)), L"cd /d \"c:\\my work\\a&b (1) 100%%\"");
    EXPECT_EQ(ChangeDirectoryLine(P(L"d:")), L"cd /d d:\\");

    struct Case {
        const wchar_t* setting;
        const wchar_t* program;
        const wchar_t* options;
    } cases[] = {
        {L"C:\\Program Files\\masm\\masm.exe", L"C:\\Program Files\\masm\\masm.exe", L""},
        {L"\"C:\\Program Files\\masm\\masm.exe\" /Zi /W2", L"C:\\Program Files\\masm\\masm.exe", L"/Zi /W2"},
        {L"\"c:\\masm\\masm.exe\"", L"c:\\masm\\masm.exe", L""},
        {L"\"c:\\unclosed", L"c:\\unclosed", L""},
        {L"", L"", L""},
    };
    for (const Case& c : cases) {
        const ToolSetting tool = SplitToolSetting(c.setting);
        EXPECT_EQ(tool.program.Wide(), c.program) << c.setting;
        EXPECT_EQ(tool.options, c.options) << c.setting;
    }
}

TEST(ArgumentTemplates, DefaultByTheCompilersNameAndExpandedForEachTarget)
{
    struct Default {
        BuildAction action;
        const wchar_t* compiler;
        const wchar_t* expected;
    } defaults[] = {
        {BuildAction::Compile, L"c:\\masm\\masm.exe", L"{file};"},
        {BuildAction::Compile, L"c:\\masm611\\bin\\ML.EXE", L"/c {file}"},
        {BuildAction::Compile, L"c:\\jwasm\\JWASMR.EXE", L"{file}"},
        {BuildAction::Compile, L"c:\\uasm\\uasm64.exe", L"{file}"},
        {BuildAction::Compile, L"c:\\asmc\\asmc.exe", L"{file}"},
        {BuildAction::Compile, L"c:\\tasm\\tasm.exe", L"{file};"},
        {BuildAction::Compile, L"c:\\x\\html.exe", L"{file};"},
        {BuildAction::Compile, L"", L"{file};"},
        {BuildAction::Link, L"c:\\masm611\\bin\\ml.exe", L"{name};"},
    };
    for (const Default& d : defaults)
        EXPECT_EQ(DefaultArgumentTemplate(d.action, P(d.compiler)), d.expected) << d.compiler;

    struct Expansion {
        const wchar_t* argumentTemplate;
        const wchar_t* source;
        ArgumentsFor target;
        const wchar_t* expected;
    } expansions[] = {
        {L"{file};", L"hello.asm", ArgumentsFor::Batch, L"hello.asm;"},
        {L"{name};", L"hello.asm", ArgumentsFor::Batch, L"hello;"},
        {L"/c {file}", L"x&y%.asm", ArgumentsFor::Batch, L"/c x^&y%%.asm"},
        {L"-mz {file}", L"my prog.asm", ArgumentsFor::Batch, L"-mz \"my prog.asm\""},
        {L"/Fo{name}.obj {file} {file}", L"a.asm", ArgumentsFor::Batch, L"/Foa.obj a.asm a.asm"},
        {L"{file} {other}", L"a.asm", ArgumentsFor::Batch, L"a.asm {other}"},
        {L"{file};", L"x&y%.asm", ArgumentsFor::Dos, L"x&y%.asm;"},
    };
    for (const Expansion& e : expansions)
        EXPECT_EQ(ExpandArguments(e.argumentTemplate, e.source, e.target), e.expected) << e.argumentTemplate;

    // The toolchain's own template wins over the default.
    CompilerSettings settings{CompilerType::Masm, "c:\\jwasm\\jwasm.exe", "", ""};
    EXPECT_EQ(ArgumentTemplateOf(BuildAction::Compile, settings), L"{file}");
    settings.m_strCompilerArgs = "-bin {file}";
    EXPECT_EQ(ArgumentTemplateOf(BuildAction::Compile, settings), L"-bin {file}");
    EXPECT_EQ(ArgumentTemplateOf(BuildAction::Link, settings), L"{name};");
}

TEST(BuildTexts, AnUnquotedSettingSplitsAfterTheFirstPartThatIsAFile)
{
    ScratchDir dir("tool setting");
    ::CreateDirectoryA(dir.File("masm 5").c_str(), nullptr);
    const std::string tool = dir.File("masm 5\\masm.exe");
    WriteFileBytes(tool, "MZ");

    ToolSetting withOptions = SplitToolSetting(Widen(tool + "  /Zi /W2"));
    EXPECT_EQ(withOptions.program, P(tool));
    EXPECT_EQ(withOptions.options, L"/Zi /W2");
    ToolSetting whole = SplitToolSetting(Widen(tool));
    EXPECT_EQ(whole.program, P(tool));
    EXPECT_EQ(whole.options, L"");
    // Nothing on disk to split by: the setting stays one path, and its absence is reported later.
    const std::string missing = dir.File("masm 6\\masm.exe /Zi");
    EXPECT_EQ(SplitToolSetting(Widen(missing)).program, P(missing));
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
        EXPECT_EQ(IsDosProgram(P(dir.File(c.name))), c.dos) << c.name;
    }
    EXPECT_FALSE(IsDosProgram(P(HelperPath("standin_tool.exe"))));
    EXPECT_FALSE(IsDosProgram(P(dir.File("missing.exe"))));
    EXPECT_FALSE(IsDosProgram(P(dir.Path())));
}

TEST(DosProgram, TheServicesAnswerReplacesTheSystems)
{
    // Wine runs no DOS program (nor does 64-bit Windows, where this program runs otherwise).
    Services services;
    EXPECT_FALSE(SystemRunsDosPrograms(services));
    services.systemRunsDosPrograms = true;
    EXPECT_TRUE(SystemRunsDosPrograms(services));
}

TEST(DosEmulatorKind, ComesFromTheFileNameAlone)
{
    struct Case {
        const wchar_t* path;
        EmulatorKind kind;
    } cases[] = {
        {L"", EmulatorKind::None},
        {L"c:\\dos\\msdos.exe", EmulatorKind::MsDosPlayer},
        {L"C:\\MSDOS\\I286_X64\\MSDOS64.EXE", EmulatorKind::MsDosPlayer},
        {L"C:\\Program Files (x86)\\DOSBox-0.74-3\\DOSBox.exe", EmulatorKind::DosBox},
        {L"c:\\staging\\dosbox.exe", EmulatorKind::DosBox},
        {L"c:\\dosbox-x\\dosbox-x.exe", EmulatorKind::DosBoxX},
        {L"c:\\x\\DOSBox_X.EXE", EmulatorKind::DosBoxX},
        {L"c:\\dosbox\\emu.exe", EmulatorKind::Unknown},
        {L"c:\\x\\dos.exe", EmulatorKind::Unknown},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EmulatorKindOf(P(c.path)), c.kind) << c.path;
}

TEST(DosBoxConfig, NamesMustBeEightDotThree)
{
    for (const wchar_t* name : {L"HELLO.ASM", L"hello.asm", L"a", L"abcdefgh.abc", L"a_1.c", L"LINK.EXE"})
        EXPECT_TRUE(IsEightDotThreeName(name)) << name;
    for (const wchar_t* name : {L"", L".asm", L"abcdefghi.asm", L"hello.asmx", L"hello world.asm", L"a-b.asm",
                                L"程序.asm", L"hello.", L"a.b.c", L"x&y.asm"})
        EXPECT_FALSE(IsEightDotThreeName(name)) << name;
}

TEST(StepLines, ForEachRouteWithBlanksAndSpecialCharacters)
{
    EXPECT_EQ(DirectToolLine({P(L"C:\\Program Files\\masm\\masm.exe"), L""}, L"hello.asm;"),
              L"\"C:\\Program Files\\masm\\masm.exe\" hello.asm;");
    EXPECT_EQ(DirectToolLine({P(L"c:\\masm\\link.exe"), L"/CO"}, L"a^&b;"), L"c:\\masm\\link.exe /CO a^&b;");
    EXPECT_EQ(EmulatedToolLine(P(L"c:\\dos\\msdos.exe"), {P(L"c:\\masm 6\\masm.exe"), L""}, L"hello.asm;"),
              L"\"c:\\dos\\msdos.exe\" \"c:\\masm 6\\masm.exe\" hello.asm;");
    EXPECT_EQ(EmulatedToolLine(P(L"c:\\100%\\msdos.exe"), {P(L"c:\\tasm\\tasm.exe"), L"/zi"}, L"hello.asm;"),
              L"\"c:\\100%%\\msdos.exe\" \"c:\\tasm\\tasm.exe\" /zi hello.asm;");
    EXPECT_EQ(DosBoxToolLine(P(L"C:\\Program Files\\DOSBox\\DOSBox.exe"), EmulatorKind::DosBox, P(L"C:\\TEMP\\kvn1.tmp")),
              L"\"C:\\Program Files\\DOSBox\\DOSBox.exe\" -conf \"C:\\TEMP\\kvn1.tmp\" -noconsole");
    EXPECT_EQ(DosBoxToolLine(P(L"c:\\dosbox-x\\dosbox-x.exe"), EmulatorKind::DosBoxX, P(L"c:\\t\\kvn2.tmp")),
              L"\"c:\\dosbox-x\\dosbox-x.exe\" -conf \"c:\\t\\kvn2.tmp\" -fastlaunch");
}

// The tool runs from a batch file on E: (the temporary folder) that finds its exit code,
// since the lines that do so do not fit into [autoexec].
TEST(StepLines, DosBoxConfigurationOfACompileAndALink)
{
    const FilePath source = P(kOddFolder + L"\\hello.asm");
    CDosBoxConfig compile = DosBoxStepConfig(source, {P(L"c:\\masm\\masm.exe"), L""}, L"{file};");
    const Result<FilePath> config = compile.WriteToTemporaryFolder();
    ASSERT_TRUE(config);
    std::wstring batchName = compile.BatchFile().Name();
    ::CharUpperW(batchName.data());
    EXPECT_EQ(ReadFileBytes(config->Utf8()), "[autoexec]\r\n"
                                             "mount c \"c:\\my work\\a&b (1) 100%%\"\r\n"
                                             "mount d c:\\masm\r\n"
                                             "mount e " + Narrow(TemporaryFolderPath().Wide()) + "\r\n"
                                             "c:\r\n"
                                             "call E:\\" + Narrow(batchName) + "\r\n"
                                             "exit\r\n");
    const std::string batch = ReadFileBytes(compile.BatchFile().Utf8());
    EXPECT_EQ(batch.rfind("D:\\MASM.EXE hello.asm; > KORVANE.OUT\r\nset KORVANE=0\r\nif errorlevel 1 set KORVANE=1\r\n", 0),
              0u) << batch;
    EXPECT_TRUE(EndsWith(batch, "if errorlevel 255 set KORVANE=255\r\necho %KORVANE%> KORVANE.RET\r\n")) << batch;
    ::DeleteFileW(config->c_str());
    ::DeleteFileW(compile.BatchFile().c_str());

    CDosBoxConfig link = DosBoxStepConfig(P(L"c:\\work\\hello.asm"), {P(L"c:\\tlink.exe"), L"/t"}, L"{name};");
    EXPECT_EQ(link.BatchText().substr(0, 36), "D:\\TLINK.EXE /t hello; > KORVANE.OUT");

    // The source's name is reported before the tool's; each by its name alone, and nothing is
    // written.
    struct Case {
        const wchar_t* source;
        const wchar_t* tool;
        const wchar_t* reported;
    } cases[] = {
        {L"c:\\work\\hello world.asm", L"c:\\masm\\masm-611.exe", L"hello world.asm"},
        {L"c:\\work\\hello.asm", L"c:\\masm\\masm-611.exe", L"masm-611.exe"},
        {L"c:\\work\\programs1.asm", L"c:\\masm\\masm.exe", L"programs1.asm"},
    };
    for (const Case& c : cases) {
        CDosBoxConfig config = DosBoxStepConfig(P(c.source), {P(c.tool), L""}, L"{file};");
        const Result<FilePath> written = config.WriteToTemporaryFolder();
        ASSERT_FALSE(written) << c.source;
        EXPECT_EQ(written.Error().kind, Problem::Kind::NotEightDotThree);
        EXPECT_EQ(written.Error().subject, c.reported);
        EXPECT_TRUE(config.BatchFile().empty());
    }
}

TEST(LaunchLines, ThroughEachEmulator)
{
    EXPECT_EQ(MsDosPlayerCommandLine(P(L"c:\\dos\\msdos.exe"), {P(L"c:\\my work\\hello.exe")}),
              L"\"c:\\dos\\msdos.exe\" \"c:\\my work\\hello.exe\"");
    EXPECT_EQ(MsDosPlayerCommandLine(P(L"c:\\dos\\msdos.exe"), {P(L"c:\\dos\\debug.exe"), P(L"c:\\a&b 100%\\hello.exe")}),
              L"\"c:\\dos\\msdos.exe\" \"c:\\dos\\debug.exe\" \"c:\\a&b 100%\\hello.exe\"");
    EXPECT_EQ(DosBoxCommandLine(P(L"c:\\dos box\\DOSBox.exe"), EmulatorKind::DosBox, P(L"c:\\t\\kvn3.tmp")),
              L"\"c:\\dos box\\DOSBox.exe\" -conf \"c:\\t\\kvn3.tmp\" -noconsole");

    EXPECT_EQ(DosBoxRunConfig(P(kOddFolder + L"\\hello.asm")).Text(), "[autoexec]\r\n"
                                                                     "mount c \"c:\\my work\\a&b (1) 100%%\"\r\n"
                                                                     "c:\r\n"
                                                                     "HELLO.EXE\r\n");
    EXPECT_EQ(DosBoxRunConfig(P(L"c:\\work\\hello.asm"), P(L"c:\\dos tools\\debug.exe")).Text(),
              "[autoexec]\r\n"
              "mount c c:\\work\r\n"
              "mount d \"c:\\dos tools\"\r\n"
              "c:\r\n"
              "D:\\DEBUG.EXE HELLO.EXE\r\n");
    CDosBoxConfig longName = DosBoxRunConfig(P(L"c:\\work\\helloworld.asm"));
    const Result<FilePath> written = longName.WriteToTemporaryFolder();
    ASSERT_FALSE(written);
    EXPECT_EQ(written.Error().subject, L"helloworld.exe");
}

// Without an emulator a DOS program goes to Korvane's own machine, beside the running program;
// the system's own programs go on starting directly.
TEST(LaunchLines, TheBuiltInMachineRunsDosProgramsWhenNoEmulatorIsSet)
{
    ScratchDir dir("built-in route");
    const std::string source = dir.Folder("my work") + "\\hello.asm";
    dir.Folder("dos");
    WriteFileBytes(dir.File("my work\\hello.exe"), MzHeader(0));
    WriteFileBytes(dir.File("my work\\hello world.exe"), MzHeader(0));
    WriteFileBytes(dir.File("dos\\debug.exe"), MzHeader(0));
    const FilePath machine = BuiltInMachine();
    EXPECT_EQ(machine.Name(), L"korvane-dos.exe");
    EXPECT_TRUE(machine.IsFile()) << machine.Utf8();
    Services services;
    services.systemRunsDosPrograms = false;
    EXPECT_EQ(ChooseRoute(P(dir.File("my work\\hello.exe")), FilePath(), services).Value(), Route::BuiltIn);
    EXPECT_EQ(ChooseRoute(machine, FilePath(), services).Value(), Route::Direct);
    EXPECT_EQ(ChooseRoute(P(dir.File("my work\\hello.exe")), P(L"c:\\dos\\msdos.exe"), services).Value(),
              Route::MsDosPlayer);

    const Result<StepCommand> compile =
        MakeStepCommand(P(source), {P(dir.File("dos\\debug.exe")), L"/v"}, L"{file};", FilePath(), services);
    ASSERT_TRUE(compile);
    EXPECT_EQ(Narrow(compile->toolLine), Quoted(machine.Utf8()) + " " + Quoted(dir.File("dos\\debug.exe")) + " /v hello.asm;");

    const Result<LaunchCommand> run = MakeRunCommand(P(source), FilePath(), services);
    ASSERT_TRUE(run);
    EXPECT_EQ(Narrow(run->commandLine), Quoted(machine.Utf8()) + " --pause " + Quoted(dir.File("my work\\hello.exe")));
    EXPECT_TRUE(run->bThroughEmulator);
    EXPECT_TRUE(run->workingFolder.empty());
    // Its console is titled with the program's name, not the machine's path.
    EXPECT_EQ(Narrow(run->consoleTitle), "hello.exe");
    const Result<LaunchCommand> paced =
        MakeRunCommand(P(source), FilePath(), services, BuiltInRun{3000, {P(dir.Folder("out put"))}});
    ASSERT_TRUE(paced);
    EXPECT_EQ(Narrow(paced->commandLine), Quoted(machine.Utf8()) + " --pause --pace 3000 --allow-writes " +
                                              Quoted(dir.Folder("out put")) + " " + Quoted(dir.File("my work\\hello.exe")));
    const Result<LaunchCommand> lab =
        MakeRunCommand(P(source), FilePath(), services, BuiltInRun{0, {}, P(dir.File("disks\\a.img")), "288"});
    ASSERT_TRUE(lab);
    EXPECT_EQ(Narrow(lab->commandLine), Quoted(machine.Utf8()) + " --pause --floppy " + Quoted(dir.File("disks\\a.img")) +
                                            " --labbox 288 " + Quoted(dir.File("my work\\hello.exe")));

    // DEBUG is given the program by its DOS name in the folder it starts in.
    for (const std::string name : {"hello", "hello world"}) {
        const Result<LaunchCommand> debug = MakeDebugCommand(P(dir.File("my work\\" + name + ".asm")), L"",
                                                             P(dir.File("dos\\masm.exe")), FilePath(), services);
        ASSERT_TRUE(debug);
        const std::string program = name + ".exe";
        const std::wstring shortForm = ShortFormOf(Widen(dir.File("my work\\" + program)));
        const std::string dosName = name == "hello" || shortForm.empty() ? program : Narrow(P(shortForm).Name());
        EXPECT_EQ(Narrow(debug->commandLine),
                  Quoted(machine.Utf8()) + " --pause " + Quoted(dir.File("dos\\debug.exe")) + " " + dosName);
        EXPECT_EQ(debug->workingFolder, P(dir.Folder("my work")));
    }
}

TEST(LaunchLines, TheDebuggerIsLookedForBesideTheCompilerThenTheEmulator)
{
    ScratchDir dir("find-debugger");
    const FilePath compiler = P(dir.Folder("masm") + "\\masm.exe");
    const FilePath emulator = P(dir.Folder("dos box") + "\\dosbox.exe");
    WriteFileBytes(dir.File("dos box\\debug.exe"), "MZ");
    EXPECT_EQ(FindDebugger(compiler, emulator), P(dir.File("dos box\\debug.exe")));
    WriteFileBytes(dir.File("masm\\debug.exe"), "MZ");
    EXPECT_EQ(FindDebugger(compiler, emulator), P(dir.File("masm\\debug.exe")));
    EXPECT_EQ(FindDebugger(FilePath(), emulator), P(dir.File("dos box\\debug.exe")));
    // Neither there nor on the search path.
    EXPECT_FALSE(FindDebugger(P(dir.File("none\\masm.exe")), FilePath()));
}
