// Programs of several modules built by the session: the link line names every object where
// the one object goes, each module compiles in turn up to the first that fails, a missing
// module or the 8051's toolchain stops the build before anything runs, and a message names
// its file from the folder of the module its tool was given. A program of one file keeps its
// batch file.
#include "build/BuildSession.h"
#include "build/StepCommand.h"
#include "build/StepPreparation.h"

#include "framework/Services.h"
#include "framework/Unicode.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
const StepTexts kTexts{L"compile ended %1", L"link ended %1", L"compile stopped", L"link stopped",
                       L"compile failed, no link", L"source changed, no link"};

ProgramModule Module(const std::wstring& folder, const std::wstring& name)
{
    return {FilePath(folder + L"\\" + name), name};
}

class ModuleOwner : public IBuildOwner {
public:
    void OnStepBegins(BuildAction) override {}
    FilePath CurrentSource() const override { return m_source; }
    bool SaveSource() override { return true; }
    void OnStepStarted(BuildAction action, bool) override
    {
        m_steps.push_back(std::string(action == BuildAction::Compile ? "compile " : "link ") +
                          Narrow(m_sessionSource ? m_sessionSource->StepSource().Name() : L""));
        if (!m_sourceAfterStart.empty())
            m_source = m_sourceAfterStart;
    }
    void OnOutput(std::wstring_view text) override { m_text += text; }
    void OnStepEnded(const StepEnd& end) override { m_bOver = end.bCommandOver; }
    void OnProblem(const Problem& problem) override { m_problems.push_back(problem); }

    const CBuildSession* m_sessionSource = nullptr;
    FilePath m_source;
    // The file the editor shows once a step has started, as a file opened meanwhile would be.
    FilePath m_sourceAfterStart;
    std::vector<std::string> m_steps;
    std::vector<Problem> m_problems;
    std::wstring m_text;
    bool m_bOver = false;
};
}

TEST(ObjectList, TheObjectsGoWhereTheOneObjectGoes)
{
    const ObjectList linkObjects{{L"MAIN", L"CALC", L"IO"}, L'+'};
    const ObjectList tlinkObjects{{L"MAIN", L"CALC"}, L' '};
    const struct {
        const wchar_t* argumentTemplate;
        ObjectList objects;
        ArgumentsFor target;
        const wchar_t* expanded;
    } cases[] = {
        {L"{name};", linkObjects, ArgumentsFor::Batch, L"MAIN+CALC+IO;"},
        {L"{name},{name},{name}/MAP;", linkObjects, ArgumentsFor::Batch, L"MAIN+CALC+IO,MAIN,MAIN/MAP;"},
        {L"/CO {name},,{name}.MAP;", linkObjects, ArgumentsFor::Dos, L"/CO MAIN+CALC+IO,,MAIN.MAP;"},
        {L"{name}", tlinkObjects, ArgumentsFor::Batch, L"MAIN CALC"},
        {L"/m {name}", tlinkObjects, ArgumentsFor::Dos, L"/m MAIN CALC"},
        // Each name is escaped, and quoted where a blank would split it, on its own.
        {L"{name};", ObjectList{{L"MAIN", L"MY CALC", L"A&B"}, L'+'}, ArgumentsFor::Batch,
         L"MAIN+\"MY CALC\"+A^&B;"},
        // Without objects the template is a program of one file's.
        {L"{name},{name},{name}/MAP;", ObjectList{}, ArgumentsFor::Batch, L"MAIN,MAIN,MAIN/MAP;"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExpandArguments(c.argumentTemplate, L"MAIN.ASM", c.target, c.objects), c.expanded)
            << Narrow(c.argumentTemplate);
}

TEST(ObjectList, TlinkTakesBlanksAndTheOtherLinkersPlusSigns)
{
    const struct {
        const wchar_t* linker;
        wchar_t separator;
    } cases[] = {{L"c:\\masm\\LINK.EXE", L'+'},   {L"c:\\tasm\\TLINK.EXE", L' '}, {L"c:\\tc\\tlink.exe", L' '},
                 {L"c:\\masm611\\link.exe", L'+'}, {L"c:\\tools\\link563.exe", L'+'}};
    for (const auto& c : cases)
        EXPECT_EQ(ObjectSeparatorOf(FilePath(c.linker)), c.separator) << Narrow(c.linker);
}

TEST(ObjectList, DosBoxLinksTheModulesByTheirPathsFromTheMainFolder)
{
    const std::wstring folder = L"c:\\work";
    CDosBoxConfig config = DosBoxStepConfig(FilePath(folder + L"\\main.asm"), {FilePath(L"c:\\masm\\link.exe"), L""},
                                            L"{name},{name},{name}/MAP;",
                                            {Module(folder, L"main.asm"), Module(folder, L"calc.asm"),
                                             Module(folder, L"lib\\io.asm")});
    EXPECT_TRUE(config.BatchText().starts_with("D:\\LINK.EXE main+calc+lib\\io,main,main/MAP; >")) << config.BatchText();
}

class ModuleBatchFile : public ::testing::Test {
protected:
    ModuleBatchFile() { m_services.strBatchFilePath = Widen(m_dir.File("temp.bat")); }

    // The batch file the step writes, as its bytes.
    std::string BatchOf(BuildAction action, const CompilerSettings& settings, std::vector<ProgramModule> linked)
    {
        Result<ReadyStep> step = PrepareStep(StepRequest{action, Source(), settings, false, std::move(linked)}, m_services);
        EXPECT_TRUE(step);
        return step ? ReadFileBytes(Narrow(step->batch.Path().Wide())) : std::string();
    }
    FilePath Source() const { return FilePath::FromUtf8(m_dir.File("MAIN.ASM")); }
    std::string Expected(const std::string& tool, const std::string& arguments) const
    {
        return m_dir.Path().substr(0, 2) + "\r\ncd /d " + m_dir.Path() + "\r\n" + tool + " " + arguments + "\r\n";
    }

    ScratchDir m_dir{"module-batch"};
    Services m_services;
};

TEST_F(ModuleBatchFile, AProgramOfOneFileWritesTheLinesItAlwaysWrote)
{
    WriteFileBytes(m_dir.File("MAIN.ASM"), "nop\r\n");
    const std::string tool = HelperPath("standin_tool.exe");
    CompilerSettings settings{CompilerType::Masm, tool, tool};
    EXPECT_EQ(BatchOf(BuildAction::Compile, settings, {}), Expected(tool, "MAIN.ASM;"));
    EXPECT_EQ(BatchOf(BuildAction::Link, settings, {}), Expected(tool, "MAIN;"));
    settings.m_strLinkerArgs = "{name},{name},{name}/MAP;";
    EXPECT_EQ(BatchOf(BuildAction::Link, settings, {}), Expected(tool, "MAIN,MAIN,MAIN/MAP;"));
}

TEST_F(ModuleBatchFile, ALinkOfSeveralModulesNamesEachObject)
{
    const std::wstring folder = Widen(m_dir.Path());
    for (const char* name : {"MAIN.ASM", "CALC.ASM"})
        WriteFileBytes(m_dir.File(name), "nop\r\n");
    MakeFolder(m_dir.File("lib"));
    WriteFileBytes(m_dir.File("lib\\IO.ASM"), "nop\r\n");
    const std::vector<ProgramModule> modules{Module(folder, L"MAIN.ASM"), Module(folder, L"CALC.ASM"),
                                             Module(folder, L"lib\\IO.ASM")};
    const std::string link = HelperPath("standin_tool.exe");
    const std::string tlink = m_dir.File("TLINK.EXE");
    ASSERT_TRUE(::CopyFileW(Widen(link).c_str(), Widen(tlink).c_str(), FALSE));
    CompilerSettings settings{CompilerType::Masm, link, link};
    EXPECT_EQ(BatchOf(BuildAction::Link, settings, modules), Expected(link, "MAIN+CALC+lib\\IO;"));
    settings.m_strLinkerArgs = "{name},{name},{name}/MAP;";
    EXPECT_EQ(BatchOf(BuildAction::Link, settings, modules), Expected(link, "MAIN+CALC+lib\\IO,MAIN,MAIN/MAP;"));
    const CompilerSettings tasm{CompilerType::Tasm, link, tlink};
    EXPECT_EQ(BatchOf(BuildAction::Link, tasm, modules), Expected(tlink, "MAIN CALC lib\\IO;"));
}

class ModuleSession : public ::testing::Test {
protected:
    ModuleSession()
    {
        m_services.strBatchFilePath = Widen(m_dir.File("temp.bat"));
        m_owner.m_sessionSource = &m_session;
    }
    void Write(const std::string& name, const std::string& bytes = "nop\r\n") const
    {
        WriteFileBytes(m_dir.File(name), bytes);
    }
    FilePath File(const std::string& name) const { return FilePath::FromUtf8(m_dir.File(name)); }
    // The compiler and the linker print what they were given: pipe_child's "echo" and its
    // arguments, each step's template after them.
    void Run(BuildCommand command, const std::string& source, const std::string& compilerArgs = "{file}",
             const std::string& compiler = "echo", CompilerType type = CompilerType::Masm,
             const std::string& sourceAfterStart = "")
    {
        m_owner = ModuleOwner{};
        m_owner.m_sessionSource = &m_session;
        m_owner.m_source = File(source);
        if (!sourceAfterStart.empty())
            m_owner.m_sourceAfterStart = File(sourceAfterStart);
        CompilerSettings settings{type, Quoted(HelperPath("pipe_child.exe")) + " " + compiler,
                                  Quoted(HelperPath("pipe_child.exe")) + " echo"};
        settings.m_strCompilerArgs = compilerArgs;
        m_session.Start(command, settings);
        EXPECT_TRUE(WaitFor([&] { return !m_session.IsRunning(); }));
    }
    // The output without cmd's echo of the batch file's lines (each after its prompt, a '>')
    // and the blank lines around them.
    std::string Text() const
    {
        std::string text;
        const std::string all = Narrow(m_owner.m_text);
        for (size_t start = 0; start < all.size();) {
            const size_t end = all.find("\r\n", start);
            const std::string line = all.substr(start, end - start);
            if (!line.empty() && line.find('>') == std::string::npos)
                text += line + "\r\n";
            start = end == std::string::npos ? all.size() : end + 2;
        }
        return text;
    }

    ScratchDir m_dir{"module-session"};
    Services m_services;
    ModuleOwner m_owner;
    CBuildSession m_session{m_owner, m_services, kTexts};
};

TEST_F(ModuleSession, EachModuleCompilesInTurnAndOneStepLinksThemAll)
{
    for (const char* name : {"main.asm", "calc.asm", "io.asm"})
        Write(name);
    Write("main.kvp", "main.asm\r\ncalc.asm\r\nio.asm\r\n");
    // From the main source's editor and from a module's, the whole program builds.
    for (const char* current : {"main.asm", "io.asm"}) {
        Run(BuildCommand::Build, current);
        EXPECT_EQ(m_owner.m_steps,
                  (std::vector<std::string>{"compile main.asm", "compile calc.asm", "compile io.asm", "link main.asm"}));
        EXPECT_EQ(Text(), "main.asm\r\ncompile ended 0\r\ncalc.asm\r\ncompile ended 0\r\nio.asm\r\ncompile ended 0\r\n"
                          "main+calc+io;\r\nlink ended 0\r\n");
        EXPECT_TRUE(m_owner.m_bOver);
        EXPECT_TRUE(m_owner.m_problems.empty());
    }
    Run(BuildCommand::Link, "calc.asm");
    EXPECT_EQ(m_owner.m_steps, std::vector<std::string>{"link main.asm"});
    EXPECT_EQ(Text(), "main+calc+io;\r\nlink ended 0\r\n");
}

TEST_F(ModuleSession, ABuildLinksAfterAnotherModuleOfItsProgramIsOpenedButNotAfterAnotherProgram)
{
    for (const char* name : {"main.asm", "calc.asm", "other.asm"})
        Write(name);
    Write("main.kvp", "main.asm\r\ncalc.asm\r\n");
    const struct {
        const char* opened;
        const char* ending;
    } cases[] = {
        {"calc.asm", "main+calc;\r\nlink ended 0\r\n"},
        {"main.asm", "main+calc;\r\nlink ended 0\r\n"},
        {"other.asm", "calc.asm\r\ncompile ended 0\r\nsource changed, no link\r\n"},
    };
    for (const auto& c : cases) {
        Run(BuildCommand::Build, "main.asm", "{file}", "echo", CompilerType::Masm, c.opened);
        EXPECT_TRUE(EndsWith(Text(), c.ending)) << c.opened << ": " << Text();
    }
}

TEST_F(ModuleSession, TheCompilesStopAtTheFirstModuleThatFails)
{
    // pipe_child's "exit N" ends with the number the module's name is.
    for (const char* name : {"0.asm", "3.asm", "00.asm"})
        Write(name);
    Write("0.kvp", "0.asm\r\n3.asm\r\n00.asm\r\n");
    const struct {
        BuildCommand command;
        const char* text;
    } cases[] = {
        {BuildCommand::Compile, "exit 0\r\ncompile ended 0\r\nexit 3\r\ncompile ended 3\r\n"},
        {BuildCommand::Build, "exit 0\r\ncompile ended 0\r\nexit 3\r\ncompile ended 3\r\ncompile failed, no link\r\n"},
    };
    for (const auto& c : cases) {
        Run(c.command, "0.asm", "{name}", "exit");
        EXPECT_EQ(m_owner.m_steps, (std::vector<std::string>{"compile 0.asm", "compile 3.asm"}));
        EXPECT_EQ(Text(), c.text);
        EXPECT_TRUE(m_owner.m_bOver);
    }
}

TEST_F(ModuleSession, AMissingModuleOrTheOneFileToolchainBuildsNothing)
{
    Write("main.asm");
    Write("calc.asm");
    const struct {
        const char* list;
        CompilerType type;
        Problem problem;
    } cases[] = {
        {"main.asm\r\ncalc.asm\r\nclac.asm\r\n", CompilerType::Masm,
         Problem{Problem::Kind::ModuleMissing, File("clac.asm").Wide()}},
        {"main.asm\r\ncalc.asm\r\n", CompilerType::Mcs51, Problem{Problem::Kind::ModulesNotSupported, File("main.kvp").Wide()}},
    };
    for (const auto& c : cases) {
        Write("main.kvp", c.list);
        for (BuildCommand command : {BuildCommand::Compile, BuildCommand::Build, BuildCommand::Link}) {
            Run(command, "calc.asm", "{file}", "echo", c.type);
            ASSERT_EQ(m_owner.m_problems.size(), 1u);
            EXPECT_EQ(m_owner.m_problems[0].kind, c.problem.kind);
            EXPECT_EQ(m_owner.m_problems[0].subject, c.problem.subject);
            EXPECT_TRUE(m_owner.m_steps.empty());
            EXPECT_FALSE(FileExists(m_dir.File("temp.bat")));
        }
    }
    // The 8051's toolchain builds a list of its main source alone as that file.
    Write("main.kvp", "main.asm\r\n");
    Run(BuildCommand::Compile, "main.asm", "{file}", "echo", CompilerType::Mcs51);
    EXPECT_TRUE(m_owner.m_problems.empty());
    EXPECT_EQ(m_owner.m_steps, std::vector<std::string>{"compile main.asm"});
}

TEST(MessageFile, NamesAreTakenFromTheFolderOfTheToolsFile)
{
    const FilePath calc(L"c:\\work\\lib\\CALC.ASM");
    const struct {
        const wchar_t* file;
        int line;
        FilePath toolSource;
        FilePath expected;
    } cases[] = {
        {L"CALC.ASM", 5, calc, FilePath(L"c:\\work\\lib\\CALC.ASM")},
        {L"IO.INC", 2, calc, FilePath(L"c:\\work\\lib\\IO.INC")},
        {L"..\\MAIN.ASM", 2, calc, FilePath(L"c:\\work\\lib\\..\\MAIN.ASM")},
        {L"d:\\inc\\IO.INC", 2, calc, FilePath(L"d:\\inc\\IO.INC")},
        // A line without a file is one of the file the tool was given.
        {L"", 7, calc, calc},
        // No line, or no tool's file: nothing to lead to.
        {L"CALC.ASM", 0, calc, FilePath()},
        {L"CALC.ASM", 5, FilePath(), FilePath()},
    };
    for (const auto& c : cases) {
        ToolMessage message{ToolMessage::Severity::Error, c.file, c.line};
        EXPECT_EQ(MessageFile(message, c.toolSource), c.expected) << Narrow(c.file);
    }
}
