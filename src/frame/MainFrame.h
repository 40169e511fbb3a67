// The main frame: menu, accelerators, toolbar, status bar, the two panels, and the
// program's own commands (build, run, panels, compiler settings).
#pragma once

#include "framework/CFrameWnd.h"
#include "framework/CStatusBar.h"
#include "framework/CToolBar.h"
#include "panels/CaptionBar.h"

#include <commctrl.h>

#include <string>

class CMainFrame : public CFrameWnd {
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

    CCaptionBar m_wndUtilityBar;
    CCaptionBar m_wndOutputBar;
    CWnd m_wndOutput;
    std::string m_strSourceName;
    std::string m_strSourceDir;
    const char* m_pszCommand = nullptr;
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    HIMAGELIST m_imageList = nullptr;

private:
    bool CreateToolBar();
    bool CreateStatusBar();
    void CreateToolBarImages();
    bool CreatePanelBars();
    void CreateOutputWindow();
    void DockBars();
    void TogglePanel(CControlBar& bar);
};
