// The build session without a window around it: the events a command gives its owner in
// order, the end lines and the link decision, the problems that stop a step before anything
// runs, and the message index against the text the owner was given.
#include "build/BuildSession.h"

#include "framework/Services.h"
#include "framework/Unicode.h"
#include "support/RecordingProcess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
const StepTexts kTexts{L"compile ended %1", L"link ended %1", L"compile stopped", L"link stopped",
                       L"compile failed, no link", L"source changed, no link"};

// Records what the session tells, as one line an event; the source it is asked for can
// change when a step starts, as a file opened meanwhile would.
class RecordingOwner : public IBuildOwner {
public:
    void OnStepBegins(BuildAction action) override { m_events.push_back(Name(action) + " begins"); }
    FilePath CurrentSource() const override { return m_source; }
    bool SaveSource() override { return m_bSaves; }
    void OnStepStarted(BuildAction action, bool first) override
    {
        m_events.push_back(Name(action) + (first ? " starts anew" : " starts"));
        if (!m_sourceAfterStart.empty())
            m_source = m_sourceAfterStart;
    }
    void OnOutput(std::wstring_view text) override { m_text += text; }
    void OnStepEnded(const StepEnd& end) override
    {
        m_events.push_back(Name(end.action) + " ends " +
                           (end.exitCode ? std::to_string(*end.exitCode) : std::string("unstarted")) +
                           (end.bCommandOver ? ", over" : ""));
    }
    void OnProblem(const Problem& problem) override { m_problems.push_back(problem.kind); }

    static std::string Name(BuildAction action) { return action == BuildAction::Compile ? "compile" : "link"; }

    FilePath m_source;
    FilePath m_sourceAfterStart;
    bool m_bSaves = true;
    std::vector<std::string> m_events;
    std::vector<Problem::Kind> m_problems;
    std::wstring m_text;
};

class FailingProcess : public CPipeProcess {
public:
    Result<void> Start(const std::wstring&) override { return CPipeProcess::Start(L"korvane-no-such-program-1b2c.exe"); }
};

std::string Child(const std::string& arguments)
{
    return Quoted(HelperPath("pipe_child.exe")) + " " + arguments;
}
}

class BuildSessionTest : public ::testing::Test {
protected:
    BuildSessionTest()
    {
        m_services.strBatchFilePath = Widen(m_dir.File("temp.bat"));
        WriteFileBytes(m_dir.File("hello.asm"), "nop\r\n");
        m_owner.m_source = FilePath::FromUtf8(m_dir.File("hello.asm"));
    }
    void Run(BuildCommand command, const std::string& compiler, const std::string& linker)
    {
        m_session.Start(command, CompilerSettings{CompilerType::Masm, compiler, linker, ""});
        EXPECT_TRUE(WaitFor([&] { return !m_session.IsRunning(); }));
    }

    ScratchDir m_dir{"build-session"};
    Services m_services;
    RecordingOwner m_owner;
    CBuildSession m_session{m_owner, m_services, kTexts};
};

TEST_F(BuildSessionTest, ACommandsStepsAndTheirEndsInOrder)
{
    struct Case {
        BuildCommand command;
        std::string compiler;
        std::vector<std::string> events;
        const wchar_t* ending;
    } cases[] = {
        {BuildCommand::Compile, Child("exit 3"), {"compile begins", "compile starts anew", "compile ends 3, over"},
         L"exit 3\r\ncompile ended 3\r\n"},
        {BuildCommand::Build, Child("exit 3"), {"compile begins", "compile starts anew", "compile ends 3, over"},
         L"compile ended 3\r\ncompile failed, no link\r\n"},
        // Output that does not end its line still leaves the end line a line of its own.
        {BuildCommand::Build, Child("pattern 10"),
         {"compile begins", "compile starts anew", "compile ends 0", "link begins", "link starts", "link ends 0, over"},
         L"ABCDEFGHIJ\r\ncompile ended 0\r\n"},
        {BuildCommand::Link, Child("exit 0"), {"link begins", "link starts anew", "link ends 0, over"},
         L"link ended 0\r\n"},
    };
    for (const Case& c : cases) {
        m_owner.m_events.clear();
        m_owner.m_text.clear();
        Run(c.command, c.compiler, Child("exit 0"));
        EXPECT_EQ(m_owner.m_events, c.events);
        EXPECT_NE(m_owner.m_text.find(c.ending), std::wstring::npos) << m_owner.m_text;
        EXPECT_TRUE(m_owner.m_problems.empty());
        EXPECT_EQ(m_session.StepSource(), m_owner.m_source);
        EXPECT_FALSE(FileExists(m_dir.File("temp.bat")));
    }
}

TEST_F(BuildSessionTest, ABuildLinksOnlyTheFileItCompiled)
{
    m_owner.m_sourceAfterStart = FilePath::FromUtf8(m_dir.File("other.asm"));
    Run(BuildCommand::Build, Child("exit 0"), Child("exit 0"));
    EXPECT_EQ(m_owner.m_events.back(), "compile ends 0, over");
    EXPECT_TRUE(EndsWith(Narrow(m_owner.m_text), "compile ended 0\r\nsource changed, no link\r\n"));
}

// Each stops the step before anything runs, and tells the owner once.
TEST_F(BuildSessionTest, ProblemsStopAStepBeforeItRuns)
{
    m_owner.m_source = FilePath();
    Run(BuildCommand::Build, Child("exit 0"), Child("exit 0"));
    EXPECT_EQ(m_owner.m_problems, std::vector<Problem::Kind>{Problem::Kind::NoSavedFile});

    m_owner.m_source = FilePath::FromUtf8(m_dir.File("hello.asm"));
    m_owner.m_bSaves = false;
    m_owner.m_problems.clear();
    Run(BuildCommand::Compile, Child("exit 0"), "");
    EXPECT_TRUE(m_owner.m_problems.empty()) << "the document has told why its save failed";

    m_owner.m_bSaves = true;
    Run(BuildCommand::Build, "", Child("exit 0"));
    EXPECT_EQ(m_owner.m_problems, std::vector<Problem::Kind>{Problem::Kind::NoCompilerPath});
    // What was written stays for the user to see: the drive and the change into the folder.
    EXPECT_EQ(ReadFileBytes(m_dir.File("temp.bat")),
              m_dir.Path().substr(0, 2) + "\r\ncd /d " + m_dir.Path() + "\r\n");

    m_owner.m_problems.clear();
    m_services.strBatchFilePath = L"c:\\no-such-folder\\temp.bat";
    ::SetEnvironmentVariableW(L"TMP", L"c:\\no-such-folder");
    Run(BuildCommand::Compile, Child("exit 0"), "");
    ::SetEnvironmentVariableW(L"TMP", nullptr);
    EXPECT_EQ(m_owner.m_problems, std::vector<Problem::Kind>{Problem::Kind::BatchFileNotWritten});
    for (const std::string& event : m_owner.m_events)
        EXPECT_EQ(event.find("starts"), std::string::npos) << event;
}

TEST_F(BuildSessionTest, AToolThatCannotStartEndsItsStepAndIsReported)
{
    m_session.SetProcess(std::make_unique<FailingProcess>());
    Run(BuildCommand::Build, Child("exit 0"), Child("exit 0"));
    EXPECT_EQ(m_owner.m_events.back(), "compile ends unstarted, over");
    EXPECT_EQ(m_owner.m_problems, std::vector<Problem::Kind>{Problem::Kind::NotStarted});
    EXPECT_EQ(m_owner.m_text, L"compile failed, no link\r\n");
}

TEST_F(BuildSessionTest, TheMessagesAreFoundWhereTheOwnersTextHasThem)
{
    WriteFileBytes(m_dir.File("tool.out"), "banner\r\nHELLO.ASM(3): error A2009: x\r\nLINK : warning L4021: y\r\n");
    Run(BuildCommand::Compile, Child("cat " + Quoted(m_dir.File("tool.out"))), "");
    const std::vector<IndexedMessage>& messages = m_session.Messages().Messages();
    ASSERT_EQ(messages.size(), 2u) << m_owner.m_text;
    for (const IndexedMessage& message : messages)
        EXPECT_EQ(m_owner.m_text.substr(message.nOffset, message.strLine.size()), message.strLine);
    EXPECT_EQ(m_session.Messages().Counts().nErrors, 1);
    EXPECT_EQ(m_session.Messages().Counts().nWarnings, 1);
}
