// The build steps as the main frame runs them.
#include "frame/BuildController.h"

#include "frame/OutputWindow.h"
#include "resource.h"

#include <string>
#include <utility>

namespace {
// The output window holds UTF-16, so its texts are taken from the string table as such.
std::wstring LoadWideString(UINT id)
{
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

std::wstring EndLine(UINT id, DWORD exitCode)
{
    std::wstring line = LoadWideString(id);
    const size_t placeholder = line.find(L"%1");
    if (placeholder != std::wstring::npos)
        line.replace(placeholder, 2, std::to_wstring(exitCode));
    return line;
}
}

void CBuildController::BeginCommand(bool bLinkAfterCompile)
{
    m_bLinkAfterCompile = bLinkAfterCompile;
    m_bClearFirst = true;
}

void CBuildController::Start(BuildAction action, const std::string& sourcePath, std::unique_ptr<CBatchFile> batch,
                             const std::string& capturedFile, HWND notifyWnd, UINT message)
{
    if (m_bClearFirst)
        m_output.Clear();
    m_bClearFirst = false;
    // F4 starts again from the first message of each step.
    m_output.RestartMessageWalk();
    m_action = action;
    m_strSourcePath = sourcePath;
    m_pBatch = std::move(batch);
    m_runner.Start(m_pBatch->CommandLine(), notifyWnd, message, capturedFile);
}

UINT CBuildController::StatusTextId() const
{
    return m_action == BuildAction::Compile ? IDS_COMPILING : IDS_LINKING;
}

StepOutcome CBuildController::OnReport(const std::string& currentSourcePath)
{
    StepOutcome outcome;
    if (!IsRunning())
        return outcome;
    StepReport report = m_runner.TakeReport();
    // The last output and the end line go in together.
    m_output.Append(report.text,
                    report.bEnded ? EndStep(report, currentSourcePath, outcome) : std::vector<std::wstring>());
    return outcome;
}

std::vector<std::wstring> CBuildController::EndStep(const StepReport& report, const std::string& currentSourcePath,
                                                    StepOutcome& outcome)
{
    outcome.bEnded = true;
    m_pBatch->Delete();
    m_pBatch.reset();
    const bool compile = m_action == BuildAction::Compile;
    std::vector<std::wstring> lines;
    if (report.failure)
        outcome.failure = report.failure;
    else if (report.bStopped)
        lines.push_back(LoadWideString(compile ? IDS_COMPILE_STOPPED : IDS_LINK_STOPPED));
    else
        lines.push_back(EndLine(compile ? IDS_COMPILE_ENDED : IDS_LINK_ENDED, report.exitCode));

    // A stopped compile says so already.
    if (!compile || !std::exchange(m_bLinkAfterCompile, false) || report.bStopped)
        return lines;
    // The object file of an earlier compile must not be linked.
    if (report.failure || report.exitCode != 0)
        lines.push_back(LoadWideString(IDS_COMPILE_FAILED_NO_LINK));
    else if (currentSourcePath != m_strSourcePath)
        lines.push_back(LoadWideString(IDS_SOURCE_CHANGED_NO_LINK));
    else
        outcome.bLinkNext = true;
    return lines;
}

void CBuildController::Shutdown()
{
    m_runner.Shutdown();
    if (m_pBatch)
        m_pBatch->Delete();
    m_pBatch.reset();
}
