// The main frame: menu, accelerators, toolbar, status bar, the two panels, and the
// program's own commands (build, run, panels, compiler settings).
#pragma once

#include "build/BuildAction.h"
#include "build/CompilerSettings.h"
#include "build/PipeProcess.h"
#include "build/ProgramLauncher.h"
#include "frame/BuildController.h"
#include "frame/MessageNavigator.h"
#include "frame/OutputWindow.h"
#include "frame/ToolDia.h"
#include "framework/CFrameWnd.h"
#include "framework/CStatusBar.h"
#include "framework/CToolBar.h"
#include "framework/Handles.h"
#include "panels/CaptionBar.h"
#include "panels/PageTabCtrl.h"

#include <memory>
#include <string>

class CKorvaneDoc;

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();

    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    int OnCreate(CREATESTRUCTW* cs) override;
    bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void OnViewOutput();
    void OnViewUtility();
    void OnCompile();
    void OnLink();
    void OnBuild();
    void OnStopBuild();
    void OnRun();
    void OnDebug();
    void OnSetCompiler();
    void OnNextMessage();
    void OnPrevMessage();

    // One build step: writes the batch file and starts it; what it prints shows as it comes.
    // True when the batch file was handed to the runner.
    bool RunBuildAction(BuildAction action);
    // From the start of a compile or link step until its end line is in the output window.
    bool IsBuildRunning() const { return m_build.IsRunning(); }
    std::string GetIdleMessage() const override;

    // The name (with extension) and the folder (without a trailing backslash) of the
    // document's source file; both empty while the document has no file.
    std::string GetSourceName() const;
    std::string GetSourceDir() const;

    const CompilerSettings& GetCompilerSettings() const { return m_compilerSettings; }
    // Takes new settings for the following builds; SaveCompilerSettings stores them.
    void SetCompilerSettings(const CompilerSettings& settings);
    bool LoadCompilerSettings();
    void SaveCompilerSettings();

    // Replaces the runner the build steps start their batch file with (a seam for tests).
    void SetPipeProcess(std::unique_ptr<CPipeProcess> process) { m_build.SetProcess(std::move(process)); }

protected:
    // Closing while a tool runs asks whether to stop it.
    void OnClose() override;

private:
    bool CreateToolBar();
    bool CreateStatusBar();
    void CreateToolBarImages();
    bool CreatePanelBars();
    void CreateOutputWindow();
    void CreateUtilityPage();
    void DockBars();
    void TogglePanel(CControlBar& bar);
    CKorvaneDoc* GetSourceDocument() const;
    // Starts what run or debug made, or tells why there is nothing to start.
    void Launch(const LaunchCommand& command);
    bool IsCommandEnabled(UINT id) const;
    // The editor colours the syntax of the chosen toolchain's assembler.
    void ShowToolchainInEditor() const;
    // F5, F7 and F8: the first step of the command, unless a step still runs.
    void BeginBuildCommand(BuildAction first, bool linkAfterCompile);
    // The build runner has something to report.
    void OnBuildReport();
    void ShowSystemError(const SystemError& error);
    // Tells why a build step, run or debug cannot start; false, for the step that stops there.
    bool ReportProblem(const CommandProblem& problem);

    CCaptionBar m_wndUtilityBar;
    CCaptionBar m_wndOutputBar;
    CPageTabCtrl m_wndTabCtrl;
    COutputWindow m_wndOutput;
    CToolDia m_wndToolDia;
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    UniqueImageList m_imageList;
    CBuildController m_build{m_wndOutput};
    CMessageNavigator m_messages{*this, m_wndOutput, m_build};
    CompilerSettings m_compilerSettings;
};
