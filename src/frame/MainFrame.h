// The main frame: menu, accelerators, toolbar, status bar, the two panels, and the
// program's own commands (build, run, panels, compiler settings).
#pragma once

#include "build/BuildAction.h"
#include "build/CompilerSettings.h"
#include "build/PipeProcess.h"
#include "framework/CFrameWnd.h"
#include "framework/CStatusBar.h"
#include "framework/CToolBar.h"
#include "panels/CaptionBar.h"
#include "panels/PageTabCtrl.h"
#include "panels/ToolDia.h"

#include <commctrl.h>

#include <string>

// The compiler settings (m_compilerType, m_strCompilerPath, m_strLinkerPath) are the frame's
// own members through its CompilerSettings base.
class CMainFrame : public CFrameWnd, public CompilerSettings {
public:
    CMainFrame();
    ~CMainFrame() override;

    bool PreCreateWindow(CREATESTRUCTA& cs) override;
    int OnCreate(CREATESTRUCTA* cs) override;
    bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;

    void OnViewOutput();
    void OnViewUtility();
    void OnCompile();
    void OnLink();
    void OnBuild();
    void OnRun();
    void OnDebug();
    void OnSetCompiler();

    // One build step: writes and runs the batch file and shows what it printed. True when
    // the batch file was handed to the runner.
    bool RunBuildAction(BuildAction action);
    bool LoadCompilerSettings();
    void SaveCompilerSettings();

    CCaptionBar m_wndUtilityBar;
    CCaptionBar m_wndOutputBar;
    CPageTabCtrl m_wndTabCtrl;
    CWnd m_wndOutput;
    std::string m_strSourceName;
    std::string m_strSourceDir;
    const char* m_pszCommand = nullptr;
    CToolDia m_wndToolDia;
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    HIMAGELIST m_imageList = nullptr;
    CPipeProcess m_pipeProcess;
    std::string m_strRunCommand;

private:
    // The command line of the last batch file run, which m_pszCommand points at.
    std::string m_strBatchCommand;

    bool CreateToolBar();
    bool CreateStatusBar();
    void CreateToolBarImages();
    bool CreatePanelBars();
    void CreateOutputWindow();
    void CreateUtilityPage();
    void DockBars();
    void TogglePanel(CControlBar& bar);
    void Launch(const std::string& commandLine);
    // Runs the batch file and puts everything it printed so far into the output window.
    void CaptureOutput(const std::string& commandLine);
};
