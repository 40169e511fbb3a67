// The main frame: menu, accelerators, toolbar, status bar, the two panels, the debugger and its
// panes, and the program's own commands (build, run, debug, panels, compiler settings).
#pragma once

#include "build/BuildSession.h"
#include "build/CompilerSettings.h"
#include "build/PipeProcess.h"
#include "build/ProgramLauncher.h"
#include "debugui/DebugController.h"
#include "frame/MessageNavigator.h"
#include "frame/ExplanationPane.h"
#include "frame/OutputWindow.h"
#include "frame/ToolchainBox.h"
#include "frame/ToolDia.h"
#include "framework/Handles.h"
#include "framework/Mailbox.h"
#include "framework/docking/CFrameWnd.h"
#include "framework/docking/CStatusBar.h"
#include "framework/docking/CToolBar.h"
#include "panels/CaptionBar.h"
#include "panels/FileTabBar.h"
#include "panels/PageTabCtrl.h"

#include <memory>
#include <string>
#include <vector>

class CKorvaneDoc;
class CKorvaneView;

class CMainFrame : public CFrameWnd, private IBuildOwner, private ISourceEditor, private IDebugHost {
public:
    CMainFrame();

    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    int OnCreate(CREATESTRUCTW* cs) override;
    bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;
    // The debugger's keys come first while it has them.
    bool PreTranslateMessage(MSG* msg) override;

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

    // From the start of a compile or link step until its end line is in the output window.
    bool IsBuildRunning() const override { return m_build.IsRunning(); }
    CDebugController& Debugger() { return m_debugger; }
    std::string GetIdleMessage() const override;
    std::string GetMessageString(UINT id) const override;
    // The tip of a build or debug button ends with the key that gives it now.
    std::string GetTipText(UINT id) const override;

    // The name (with extension) and the folder (without a trailing backslash) of the
    // document's source file; both empty while the document has no file.
    std::string GetSourceName() const;
    std::string GetSourceDir() const;

    const CompilerSettings& GetCompilerSettings() const { return m_compilerSettings; }
    // Takes new settings for the following builds; the settings dialog's OK also stores them.
    void SetCompilerSettings(const CompilerSettings& settings);
    // The edited file builds with this toolchain from now on (its stored values), and it is
    // kept for the file where its name would give another.
    void PickToolchain(CompilerType type);
    // A new document or file takes its own toolchain.
    void UpdateFrameTitle(const std::string& documentTitle) override;
    // The tabs show the documents as they are now; the current one's editor sets breakpoints.
    void OnDocumentsChanged() override;
    // The file in a tab of its own (the one that shows it already, else a new one), made
    // current; nullptr when it could not be opened (the reason has been shown).
    CKorvaneView* OpenInTab(const std::string& path);

    // Replaces the runner the build steps start their batch file with (a seam for tests).
    void SetPipeProcess(std::unique_ptr<CPipeProcess> process) { m_build.SetProcess(std::move(process)); }

protected:
    // Closing while a tool runs asks whether to stop it.
    void OnClose() override;
    void OnDestroy() override;
    // The 调试窗口 menu lists the session's panes.
    void OnInitMenuPopup(HMENU menu, UINT index, bool systemMenu) override;
    // The build and debug entries show the keys that give them now.
    void ShowKeysInForce(HMENU menu) const;
    void OnActivateApp(bool active, DWORD otherThread) override;
    static void CALLBACK CheckFileOnDisk(HWND wnd, UINT message, UINT_PTR id, DWORD time);

private:
    bool CreateToolBar();
    bool CreateStatusBar();
    void CreateToolBarImages();
    bool CreatePanelBars();
    void CreateOutputWindow();
    void CreateUtilityPage();
    void DockBars();
    void CreateFileTabs();
    // A new tab's editor: the build's marks in its file, and the look of the editors before it.
    void PrepareEditor(CKorvaneView& view, const CKorvaneView* model);
    // File > 在新标签页中打开, 关闭标签页, and Ctrl+Tab through the tabs.
    void OnOpenInTab();
    void OnCloseTab();
    void OnNextTab(bool forward);
    // The file the caret's line INCLUDEs, in a tab.
    void OnOpenInclude();
    void ShowTabMenu(size_t tab, POINT screen);
    void TogglePanel(CControlBar& bar);
    CKorvaneDoc* GetSourceDocument() const;
    // The source editor, or nullptr.
    CKorvaneView* SourceView() const;
    // The settings as the registry has them now; where it has none to give, those held stay.
    void LoadCompilerSettings();
    // Starts what run or debug made off the window's thread, or tells why there is nothing to
    // start; a program that does not start is told when the worker hands its problem back.
    void Launch(const Result<LaunchCommand>& command);
    // The build commands' rule: none while a step runs.
    static bool IsIdle(const CMainFrame& frame, UINT id);

    // What the build session asks and tells.
    void OnStepBegins(BuildAction action) override;
    FilePath CurrentSource() const override;
    bool SaveSource() override;
    CFrameWnd& HostFrame() override { return *this; }
    void OnStepStarted(BuildAction action, bool bFirstOfCommand) override;
    void OnOutput(std::wstring_view text) override;
    void OnStepEnded(const StepEnd& end) override;
    void OnProblem(const Problem& problem) override;
    // A compile without a compiler: where one is found on this machine, asks whether to
    // open the settings with it; false when none is found.
    bool OfferFoundCompiler();

    // What the message navigator needs of the editor.
    std::string EditedFile() const override;
    void ShowSourceLine(const std::string& path, int line, size_t messageId) override;
    void ShowStatus(const std::string& text) override;
    void ShowExplanation(const std::wstring& text) override;
    // F1: what the word at the editor's caret is, in the 说明 pane.
    void OnExplainWord();
    // The editor colours the syntax of the file's toolchain's assembler, and the toolbar's
    // drop-down shows it.
    void ShowToolchain();
    // The toolchain of the edited file, once for each file.
    void FollowDocumentToolchain();
    // The editor's gutter sets breakpoints, and an edit during a session asks first.
    void ConnectEditorToDebugger();
    bool IsMcs51() const { return m_compilerSettings.m_compilerType == CompilerType::Mcs51; }

    // What the debugger asks and tells.
    CKorvaneView* SourceEditor() const override { return SourceView(); }
    std::vector<CKorvaneView*> SourceEditors() const override;
    CKorvaneView* ShowSourceFile(const FilePath& file) override;
    const CompilerSettings& Settings() const override { return m_compilerSettings; }
    void ChangeSettings(const CompilerSettings& settings) override;
    bool BuildForDebugger() override;
    void ShowDebugStatus(const std::string& text) override;
    void OnSessionChanged(bool active) override;
    void OnProgramRunning(bool running) override;

    CCaptionBar m_wndUtilityBar;
    CCaptionBar m_wndOutputBar;
    CPageTabCtrl m_wndTabCtrl;
    COutputWindow m_wndOutput;
    CToolDia m_wndToolDia;
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    CFileTabBar m_wndFileTabs;
    CToolchainBox m_wndToolchainBox;
    CExplanationPane m_explanation;
    UniqueImageList m_imageList;
    // The settings of the edited file's toolchain.
    CompilerSettings m_compilerSettings;
    // The file whose toolchain the settings are (empty: a new document), and whether the
    // user picked it for a new document, which keeps it once the document has a name.
    std::string m_strToolchainFile;
    bool m_bToolchainFollowed = false;
    bool m_bPickedForNewDocument = false;
    CBuildSession m_build;
    CMessageNavigator m_messages{*this, m_wndOutput, m_build};
    // Where the launches' workers hand back what they met.
    CMailbox m_launches;
    CDebugController m_debugger{*this};
    // What the debugger says of its session; empty without one.
    std::string m_strDebugStatus;
    // The panels a session hid to make room for its panes, shown again when it ends.
    bool m_bSessionLayout = false;
    bool m_bOutputHidden = false;
    bool m_bUtilityHidden = false;
};
