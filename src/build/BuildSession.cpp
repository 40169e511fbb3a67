// A build from its command to its last message.
#include "build/BuildSession.h"

#include "build/BuiltInAssembler.h"
#include "framework/Services.h"

#include <algorithm>
#include <utility>

namespace {
std::wstring WithExitCode(std::wstring line, DWORD exitCode)
{
    const size_t placeholder = line.find(L"%1");
    if (placeholder != std::wstring::npos)
        line.replace(placeholder, 2, std::to_wstring(exitCode));
    return line;
}
}

CBuildSession::CBuildSession(IBuildOwner& owner, const Services& services, StepTexts texts)
    : m_owner(owner), m_services(services), m_texts(std::move(texts))
{
}

CBuildSession::~CBuildSession()
{
    Shutdown();
}

void CBuildSession::Start(BuildCommand command, const CompilerSettings& settings)
{
    if (IsRunning())
        return;
    const CompilerSettings effective = WithBuiltInAssembler(settings);
    // A compiler that writes the program itself leaves nothing to link.
    if (command == BuildCommand::Link && effective.m_bNoLink) {
        m_owner.OnProblem(Problem{Problem::Kind::NoLinkStep, {}});
        return;
    }
    m_command = command;
    m_settings = effective;
    m_modules.clear();
    m_nModule = 0;
    m_bClearFirst = true;
    RunStep(command == BuildCommand::Link ? BuildAction::Link : BuildAction::Compile);
}

void CBuildSession::RunStep(BuildAction action)
{
    m_action = action;
    m_owner.OnStepBegins(action);
    const FilePath source = m_owner.CurrentSource();
    if (source.empty()) {
        m_owner.OnProblem(Problem{Problem::Kind::NoSavedFile, {}});
        return;
    }
    if (!m_owner.SaveSource())
        return;
    if (m_modules.empty() && !FindModules(source))
        return;
    const bool severalModules = m_modules.size() > 1;
    const FilePath& stepSource = action == BuildAction::Compile ? m_modules[m_nModule].path : m_modules.front().path;
    Result<ReadyStep> prepared =
        PrepareStep(StepRequest{action, stepSource, m_settings, m_command == BuildCommand::Debug,
                                action == BuildAction::Link && severalModules ? m_modules : std::vector<ProgramModule>{}},
                    m_services);
    if (!prepared) {
        m_owner.OnProblem(prepared.Error());
        return;
    }
    StartStep(std::move(prepared).Value());
}

bool CBuildSession::FindModules(const FilePath& source)
{
    const FilePath mainSource = MainSourceOf(source);
    Result<std::vector<ProgramModule>> modules = ProgramModulesOf(mainSource);
    if (!modules) {
        m_owner.OnProblem(modules.Error());
        return false;
    }
    if (modules->size() > 1 && m_settings.m_compilerType == CompilerType::Mcs51) {
        m_owner.OnProblem(Problem{Problem::Kind::ModulesNotSupported, ModuleListOf(mainSource).Wide()});
        return false;
    }
    m_modules = std::move(modules).Value();
    return true;
}

void CBuildSession::StartStep(ReadyStep step)
{
    const bool first = std::exchange(m_bClearFirst, false);
    if (first) {
        m_messages.Reset();
        m_endLines.clear();
        m_bAtLineStart = true;
    }
    // F4 starts again from the first message of each step.
    m_messages.RestartWalk();
    m_stepSource = step.source;
    m_messages.SetToolSource(step.source);
    m_step = std::move(step);
    m_runner.Start(m_step->batch.CommandLine(), [this] { OnRunnerReport(); }, m_step->capturedOutput,
                   m_step->capturedExitCode);
    m_owner.OnStepStarted(m_action, first);
}

void CBuildSession::OnRunnerReport()
{
    if (!IsRunning())
        return;
    StepReport report = m_runner.TakeReport();
    if (!report.bEnded) {
        Emit(std::move(report.text));
        return;
    }
    NextStep next = NextStep::None;
    std::vector<bool> succeeded;
    // The last output and the end line go in together.
    Emit(report.text + EndStep(report, next, succeeded));
    // The end lines are the last lines of the text now.
    for (size_t i = 0; i < succeeded.size(); ++i)
        m_endLines.emplace_back(m_messages.LineCount() - succeeded.size() + i, succeeded[i]);
    m_owner.OnStepEnded(StepEnd{m_action, report.bStopped,
                                report.problem ? std::nullopt : std::optional<DWORD>(report.exitCode),
                                next == NextStep::None});
    if (report.problem)
        m_owner.OnProblem(*report.problem);
    // The batch file goes before the next step writes it again.
    m_step.reset();
    if (next == NextStep::CompileNextModule) {
        ++m_nModule;
        RunStep(BuildAction::Compile);
    } else if (next == NextStep::Link) {
        RunStep(BuildAction::Link);
    }
}

std::wstring CBuildSession::EndStep(const StepReport& report, NextStep& next, std::vector<bool>& succeeded)
{
    const bool compile = m_action == BuildAction::Compile;
    std::wstring lines;
    // Each on a line of its own, after output that may not have ended its last line.
    bool atLineStart = report.text.empty() ? m_bAtLineStart : report.text.back() == L'\n';
    auto addLine = [&](const std::wstring& line, bool success) {
        if (!std::exchange(atLineStart, true))
            lines += L"\r\n";
        lines += line + L"\r\n";
        succeeded.push_back(success);
    };
    if (report.bStopped)
        addLine(compile ? m_texts.compileStopped : m_texts.linkStopped, false);
    else if (!report.problem)
        addLine(WithExitCode(compile ? m_texts.compileEnded : m_texts.linkEnded, report.exitCode),
                report.exitCode == 0);
    if (const std::wstring verdict = NextVerdict(report, next); !verdict.empty())
        addLine(verdict, false);
    return lines;
}

std::wstring CBuildSession::NextVerdict(const StepReport& report, NextStep& next) const
{
    // A stopped compile says so already.
    if (m_action != BuildAction::Compile || report.bStopped)
        return {};
    const bool failed = report.problem || report.exitCode != 0;
    // The modules compile in turn up to the first that fails.
    if (!failed && m_nModule + 1 < m_modules.size()) {
        next = NextStep::CompileNextModule;
        return {};
    }
    const bool builds = m_command == BuildCommand::Build || m_command == BuildCommand::Debug;
    if (!builds || m_settings.m_bNoLink)
        return {};
    // The object file of an earlier compile must not be linked.
    if (failed)
        return m_texts.compileFailedNoLink;
    // A build links the program it compiled only, so not after a file of another one has been
    // opened (any of its own modules may be the current one).
    if (!m_step || MainSourceOf(m_owner.CurrentSource()) != m_modules.front().path)
        return m_texts.sourceChangedNoLink;
    next = NextStep::Link;
    return {};
}

void CBuildSession::Emit(std::wstring text)
{
    if (text.empty())
        return;
    m_messages.Append(text);
    m_bAtLineStart = text.back() == L'\n';
    m_owner.OnOutput(text);
}

OutputLineKind CBuildSession::KindOfLine(size_t line) const
{
    auto end = std::lower_bound(m_endLines.begin(), m_endLines.end(), line,
                                [](const std::pair<size_t, bool>& entry, size_t l) { return entry.first < l; });
    if (end != m_endLines.end() && end->first == line)
        return end->second ? OutputLineKind::Succeeded : OutputLineKind::Failed;
    const IndexedMessage* message = m_messages.MessageOnLine(line);
    if (!message)
        return OutputLineKind::Plain;
    switch (message->message.severity) {
    case ToolMessage::Severity::Error:
        return OutputLineKind::Error;
    case ToolMessage::Severity::Warning:
        return OutputLineKind::Warning;
    case ToolMessage::Severity::Other:
        break;
    }
    return OutputLineKind::Plain;
}

void CBuildSession::OnOutputCleared()
{
    m_messages.Reset();
    m_endLines.clear();
    m_bAtLineStart = true;
}

void CBuildSession::Shutdown()
{
    m_runner.Shutdown();
    m_step.reset();
}
