// The frame window: menu, accelerators and icon of one resource id, its pane (the view),
// control bars and their layout, docking and floating, the title, fly-by status prompts and
// tooltips, dropped files. What the pane shows is the document layer's: the frame routes
// commands to the pane and then to the program's thread object, and asks that object before it
// closes, with a dropped file and with the shell's requests.
#pragma once

#include "framework/CWnd.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CControlBar;
class CDockBar;
class CFrameWnd;

// What the frame makes its pane with: the view, as the document layer creates it in the frame
// (the pane window's id is AFX_IDW_PANE_FIRST); nullptr when it could not.
struct CCreateContext {
    std::function<CWnd*(CFrameWnd& frame)> m_createView;
};

// Makes the frame a bar floats in, holding the bar, at a point of the screen; nullptr when it
// could not (CMiniDockFrameWnd::FloatBar is the framework's own).
using FloatingFrameMaker = CFrameWnd* (*)(CFrameWnd& owner, CControlBar* bar, POINT screenPoint);

class CFrameWnd : public CWnd {
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the frame with the menu, accelerators, icon and title of resource resourceId.
    bool LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context);
    int OnCreate(CREATESTRUCTW* cs) override;
    virtual bool OnCreateClient(CREATESTRUCTW* cs, CCreateContext* context);

    enum RepositionFlags { reposDefault = 0, reposQuery = 1 };
    // Lays out the bars with ids in [first, last] and gives the rest to the window leftOver.
    // In query mode nothing moves and rectParam receives the rest.
    void RepositionBars(UINT first, UINT last, UINT leftOver, UINT flags = reposDefault, RECT* rectParam = nullptr,
                        const RECT* rectClient = nullptr, bool stretch = true);
    virtual void RecalcLayout();
    // Lays the frame out again at the next idle moment.
    void DelayRecalcLayout();
    void ShowControlBar(CControlBar* bar, bool show, bool delay);

    // Creates the dock bars of the sides in dockStyle (CBRS_ALIGN_*): top, bottom, left, right;
    // bars that float go into frames that makeFloatingFrame makes.
    void EnableDocking(DWORD dockStyle, FloatingFrameMaker makeFloatingFrame);
    // Docks the bar on the side dockBarId (0: the first side both allow), at the drop
    // rectangle (screen coordinates) or, without one, where it was docked before.
    void DockControlBar(CControlBar* bar, UINT dockBarId = 0, const RECT* dropRect = nullptr);
    // Docks the bar in the row of a docked bar, just after it.
    void DockControlBarAfter(CControlBar* bar, CControlBar* neighbour);
    // Floats the bar in a frame of its own whose top-left corner is at screenPoint.
    void FloatControlBar(CControlBar* bar, POINT screenPoint);
    CDockBar* GetDockBar(UINT dockBarId) const;
    // The side a floating bar returns to: the one keeping its place, else the first allowed.
    UINT LastDockBarId(CControlBar* bar) const;
    CControlBar* GetControlBar(UINT id) const;
    void AddControlBar(CControlBar* bar);
    void RemoveControlBar(CControlBar* bar);

    // The window's title: the document's title, " - " and the frame's own (only the frame's own
    // when there is no document).
    virtual void UpdateFrameTitle(const std::string& documentTitle);
    // Shows a text in the status bar's message pane.
    void SetMessageText(const std::string& text);
    void SetMessageText(UINT id);
    // What the message pane shows when no prompt is shown: the idle text, unless a frame
    // has something to say while it works.
    virtual std::string GetIdleMessage() const;
    // The status line's prompt for a command: its string's part before the tip.
    virtual std::string GetMessageString(UINT id) const;
    // A toolbar button's tip: its string's part after the prompt.
    virtual std::string GetTipText(UINT id) const;

    // The pane: the view of the current document.
    CWnd* GetActiveView() const { return m_pViewActive; }
    // The view commands go to and focus returns to: the current document's.
    void SetActiveView(CWnd* view) { m_pViewActive = view; }
    // The documents in the tabs, their titles or the current one changed.
    virtual void OnDocumentsChanged() {}

    // Idle work: delayed layout, command UI of the visible bars.
    void OnIdleUpdateCmdUI();
    // Every frame of the program, for idle processing.
    static const std::vector<CFrameWnd*>& AllFrames();

    bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;
    bool PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

protected:
    // A layout done at once answers one asked for at the next idle moment.
    void ClearDelayedLayout() { m_bDelayedLayout = false; }

    void OnClose() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnSetFocus(HWND previous) override;
    void OnSysColorChange() override;
    void OnInitMenuPopup(HMENU menu, UINT index, bool systemMenu) override;
    void OnMenuSelect(UINT item, UINT flags, HMENU menu) override;
    void OnExitMenuLoop(bool trackPopupMenu) override;
    void OnDropFiles(HDROP drop) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;

private:
    bool OnFrameNotify(NMHDR* header, LRESULT* result);
    // Docks the bar into the target through dock, clearing the bar's places elsewhere.
    void MoveIntoDockBar(CControlBar* bar, CDockBar& target, const std::function<void()>& dock);

    std::string m_strTitle;
    HACCEL m_hAccelTable = nullptr;
    CCreateContext* m_pCreateContext = nullptr;
    CWnd* m_pViewActive = nullptr;
    FloatingFrameMaker m_makeFloatingFrame = nullptr;
    std::vector<CControlBar*> m_listControlBars;
    bool m_bDelayedLayout = false;
    bool m_bInRecalcLayout = false;
    // While OnCreate runs: the bars docked meanwhile are laid out once, when it returns.
    bool m_bCreating = false;
    // The client area at the last layout.
    RECT m_rectLaidOut{};
    std::wstring m_strTipText;
    // Top, bottom, left and right dock bars, once docking is enabled.
    std::array<std::unique_ptr<CDockBar>, 4> m_dockBars;
};

// The frame a window sits in: its nearest ancestor that is a frame of the program's, or nullptr.
CFrameWnd* ParentFrameOf(const CWnd& wnd);
