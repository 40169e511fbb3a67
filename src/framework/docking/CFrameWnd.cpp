// The frame window.
#include "framework/docking/CFrameWnd.h"

#include "framework/AfxRes.h"
#include "framework/CCmdUI.h"
#include "framework/CWinThread.h"
#include "framework/Handles.h"
#include "framework/StartupTrace.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "framework/docking/BarLayout.h"
#include "framework/docking/CControlBar.h"
#include "framework/docking/CDockBar.h"

#include <dde.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

namespace {
struct DockSide {
    UINT id;
    DWORD align;
};
// Creation order of the dock bars, which is also their layout order.
const DockSide kDockSides[] = {{AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
                               {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM},
                               {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},
                               {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT}};

std::vector<CFrameWnd*>& FrameList()
{
    static std::vector<CFrameWnd*> frames;
    return frames;
}

// The key-state indicators are lit while their key is toggled on.
bool IsIndicatorLit(const CFrameWnd&, UINT id)
{
    const int key = id == ID_INDICATOR_CAPS ? VK_CAPITAL : id == ID_INDICATOR_NUM ? VK_NUMLOCK : VK_SCROLL;
    return (::GetKeyState(key) & 1) != 0;
}

// The View menu's toggles of the bars with the command's id.
bool HasBar(const CFrameWnd& frame, UINT id)
{
    return frame.GetControlBar(id) != nullptr;
}

bool IsBarShown(const CFrameWnd& frame, UINT id)
{
    const CControlBar* bar = frame.GetControlBar(id);
    return bar && bar->IsVisible();
}

void ToggleBar(CFrameWnd& frame, UINT id)
{
    if (CControlBar* bar = frame.GetControlBar(id))
        frame.ShowControlBar(bar, !bar->IsVisible(), false);
}

const CommandEntry<CFrameWnd> kFrameCommands[] = {
    {ID_VIEW_TOOLBAR, ToggleBar, HasBar, IsBarShown},
    {ID_VIEW_STATUS_BAR, ToggleBar, HasBar, IsBarShown},
    // A single, unsplit view: there is no other pane to go to.
    {ID_NEXT_PANE},
    {ID_PREV_PANE},
    {ID_INDICATOR_CAPS, nullptr, IsIndicatorLit},
    {ID_INDICATOR_NUM, nullptr, IsIndicatorLit},
    {ID_INDICATOR_SCRL, nullptr, IsIndicatorLit},
};
}

CFrameWnd::CFrameWnd()
{
    FrameList().push_back(this);
}

CFrameWnd::~CFrameWnd()
{
    auto& frames = FrameList();
    frames.erase(std::remove(frames.begin(), frames.end(), this), frames.end());
}

const std::vector<CFrameWnd*>& CFrameWnd::AllFrames()
{
    return FrameList();
}

bool CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context)
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    m_strTitle = SubString(LoadResString(resourceId), 0);
    HICON icon = ::LoadIconW(instance, MAKEINTRESOURCEW(resourceId));
    const char* className = RegisterWndClass(CS_DBLCLKS, ArrowCursor(),
                                             reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), icon);
    UniqueMenu menu(::LoadMenuW(instance, MAKEINTRESOURCEW(resourceId)));
    m_hAccelTable = ::LoadAcceleratorsW(instance, MAKEINTRESOURCEW(resourceId));
    StartupTrace::Mark("frame: class, icon, menu, accelerators");
    m_pCreateContext = context;
    RECT rect{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    bool created = CreateEx(0, className, m_strTitle.c_str(), style, rect, parent ? parent->GetSafeHwnd() : nullptr,
                            reinterpret_cast<UINT_PTR>(menu.get()));
    m_pCreateContext = nullptr;
    // The window destroys its menu with itself.
    if (created)
        menu.release();
    return created;
}

int CFrameWnd::OnCreate(CREATESTRUCTW* cs)
{
    if (m_pCreateContext && !OnCreateClient(cs, m_pCreateContext))
        return -1;
    StartupTrace::Mark("frame: window and editor view");
    return 0;
}

bool CFrameWnd::OnCreateClient(CREATESTRUCTW*, CCreateContext* context)
{
    if (!context->m_createView)
        return true;
    m_pViewActive = context->m_createView(*this);
    return m_pViewActive != nullptr;
}

void CFrameWnd::RepositionBars(UINT first, UINT last, UINT leftOver, UINT flags, RECT* rectParam,
                               const RECT* rectClient, bool stretch)
{
    const bool query = (flags & reposQuery) != 0;
    BarLayout layout(rectClient ? *rectClient : GetClientRect(), stretch, query);
    HWND leftOverWnd = nullptr;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        UINT id = static_cast<UINT>(::GetDlgCtrlID(child));
        if (id == leftOver)
            leftOverWnd = child;
        else if (id >= first && id <= last)
            if (auto* bar = dynamic_cast<CControlBar*>(FromHandle(child)))
                bar->LayOutIn(layout);
    }
    const RECT& r = layout.GetRoom();
    if (query && rectParam)
        *rectParam = r;
    if (leftOverWnd)
        layout.Place(leftOverWnd, RECT{r.left, r.top, std::max(r.left, r.right), std::max(r.top, r.bottom)});
}

void CFrameWnd::RecalcLayout()
{
    if (m_bCreating) {
        m_bDelayedLayout = true;
        return;
    }
    if (m_bInRecalcLayout || !m_hWnd)
        return;
    m_bInRecalcLayout = true;
    m_bDelayedLayout = false;
    m_rectLaidOut = GetClientRect();
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
    m_bInRecalcLayout = false;
}

void CFrameWnd::DelayRecalcLayout()
{
    m_bDelayedLayout = true;
}

void CFrameWnd::ShowControlBar(CControlBar* bar, bool show, bool delay)
{
    bar->DelayShow(show);
    // A floating bar is laid out by its own frame.
    CFrameWnd* layoutFrame = this;
    if (bar->IsFloating())
        layoutFrame = dynamic_cast<CFrameWnd*>(bar->GetDockBar()->GetParent());
    if (!layoutFrame)
        return;
    if (delay)
        layoutFrame->DelayRecalcLayout();
    else
        layoutFrame->RecalcLayout();
}

void CFrameWnd::EnableDocking(DWORD dockStyle, FloatingFrameMaker makeFloatingFrame)
{
    m_makeFloatingFrame = makeFloatingFrame;
    for (size_t i = 0; i < std::size(kDockSides); ++i) {
        if (!(dockStyle & kDockSides[i].align) || m_dockBars[i])
            continue;
        auto dockBar = std::make_unique<CDockBar>();
        if (dockBar->Create(this, WS_CHILD | WS_VISIBLE | kDockSides[i].align, kDockSides[i].id))
            m_dockBars[i] = std::move(dockBar);
    }
}

CDockBar* CFrameWnd::GetDockBar(UINT dockBarId) const
{
    for (size_t i = 0; i < std::size(kDockSides); ++i) {
        if (kDockSides[i].id == dockBarId)
            return m_dockBars[i].get();
    }
    return nullptr;
}

UINT CFrameWnd::LastDockBarId(CControlBar* bar) const
{
    UINT first = 0;
    for (size_t i = 0; i < std::size(kDockSides); ++i) {
        if (!m_dockBars[i] || !bar->CanDockOn(kDockSides[i].align))
            continue;
        if (m_dockBars[i]->HasPlaceholder(bar->GetDlgCtrlID()))
            return kDockSides[i].id;
        if (!first)
            first = kDockSides[i].id;
    }
    return first;
}

void CFrameWnd::DockControlBar(CControlBar* bar, UINT dockBarId, const RECT* dropRect)
{
    if (!dockBarId)
        dockBarId = LastDockBarId(bar);
    if (CDockBar* target = GetDockBar(dockBarId))
        MoveIntoDockBar(bar, *target, [&] { target->DockControlBar(bar, dropRect); });
}

void CFrameWnd::DockControlBarAfter(CControlBar* bar, CControlBar* neighbour)
{
    CDockBar* target = neighbour->GetDockBar();
    if (target && !target->IsFloatingDockBar())
        MoveIntoDockBar(bar, *target, [&] { target->DockControlBarAfter(bar, neighbour); });
}

void CFrameWnd::MoveIntoDockBar(CControlBar* bar, CDockBar& target, const std::function<void()>& dock)
{
    CFrameWnd* oldFloatingFrame = bar->IsFloating() ? dynamic_cast<CFrameWnd*>(bar->GetDockBar()->GetParent()) : nullptr;
    for (auto& dockBar : m_dockBars) {
        if (dockBar && dockBar.get() != &target)
            dockBar->RemovePlaceholder(bar->GetDlgCtrlID());
    }
    dock();
    if (oldFloatingFrame)
        oldFloatingFrame->RecalcLayout();
    RecalcLayout();
}

void CFrameWnd::FloatControlBar(CControlBar* bar, POINT screenPoint)
{
    CDockBar* oldDockBar = bar->GetDockBar();
    if (oldDockBar && oldDockBar->IsFloatingDockBar()) {
        // Already floating: only its frame moves.
        if (CWnd* frame = oldDockBar->GetParent())
            frame->SetWindowPos(nullptr, screenPoint.x, screenPoint.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    CFrameWnd* frame = m_makeFloatingFrame ? m_makeFloatingFrame(*this, bar, screenPoint) : nullptr;
    if (!frame)
        return;
    frame->RecalcLayout();
    RecalcLayout();
}

CControlBar* CFrameWnd::GetControlBar(UINT id) const
{
    for (CControlBar* bar : m_listControlBars) {
        if (bar->GetSafeHwnd() && bar->GetDlgCtrlID() == id)
            return bar;
    }
    return nullptr;
}

void CFrameWnd::AddControlBar(CControlBar* bar)
{
    if (std::find(m_listControlBars.begin(), m_listControlBars.end(), bar) == m_listControlBars.end())
        m_listControlBars.push_back(bar);
}

void CFrameWnd::RemoveControlBar(CControlBar* bar)
{
    m_listControlBars.erase(std::remove(m_listControlBars.begin(), m_listControlBars.end(), bar),
                            m_listControlBars.end());
}

void CFrameWnd::UpdateFrameTitle(const std::string& documentTitle)
{
    const std::string title = documentTitle.empty() ? m_strTitle : documentTitle + " - " + m_strTitle;
    if (GetWindowText() != title)
        SetWindowText(title);
}

std::string CFrameWnd::GetTipText(UINT id) const
{
    return TipPart(LoadResString(id));
}

std::string CFrameWnd::GetMessageString(UINT id) const
{
    return PromptPart(LoadResString(id));
}

// The status bar shows the text of its window in its message pane.
void CFrameWnd::SetMessageText(const std::string& text)
{
    if (CControlBar* statusBar = GetControlBar(AFX_IDW_STATUS_BAR))
        statusBar->SetWindowText(text);
}

void CFrameWnd::SetMessageText(UINT id)
{
    SetMessageText(id == AFX_IDS_IDLEMESSAGE ? GetIdleMessage() : GetMessageString(id));
}

std::string CFrameWnd::GetIdleMessage() const
{
    return LoadResString(AFX_IDS_IDLEMESSAGE);
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
    if (m_bDelayedLayout)
        RecalcLayout();
    for (CControlBar* bar : m_listControlBars)
        bar->UpdateCmdUIAtIdle(true);
}

bool CFrameWnd::OnCmdMsg(UINT nID, CCmdUI* pCmdUI)
{
    if (RouteCommand(*this, kFrameCommands, nID, pCmdUI))
        return true;
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, pCmdUI))
        return true;
    CWinThread* thread = AfxGetThread();
    return thread && thread->OnCmdMsg(nID, pCmdUI);
}

namespace {
bool IsEditBox(HWND window)
{
    wchar_t name[16] = L"";
    return window && ::GetClassNameW(window, name, 16) && ::lstrcmpiW(name, L"Edit") == 0;
}

bool IsDown(int key)
{
    return (::GetKeyState(key) & 0x8000) != 0;
}

// The keys with which an edit box edits its own text: undo, cut, copy, paste, select all.
bool IsEditingKey(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN)
        return false;
    const WPARAM key = msg.wParam;
    if (IsDown(VK_CONTROL))
        return key == 'A' || key == 'C' || key == 'X' || key == 'V' || key == 'Z' || key == VK_INSERT;
    if (IsDown(VK_SHIFT))
        return key == VK_DELETE || key == VK_INSERT;
    return false;
}
}

bool CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST || !m_hAccelTable)
        return false;
    // In a small edit box (a pane's address, a command line) those keys are the box's own,
    // not the document editor's that the accelerators name.
    if (IsEditBox(msg->hwnd) && IsEditingKey(*msg)) {
        if (msg->wParam != 'A' || !IsDown(VK_CONTROL))
            return false;
        ::SendMessageW(msg->hwnd, EM_SETSEL, 0, -1);
        return true;
    }
    return ::TranslateAcceleratorW(m_hWnd, m_hAccelTable, msg) != 0;
}

void CFrameWnd::OnInitMenuPopup(HMENU menu, UINT, bool systemMenu)
{
    if (systemMenu)
        return;
    for (UINT i = 0; i < static_cast<UINT>(::GetMenuItemCount(menu)); ++i) {
        UINT id = ::GetMenuItemID(menu, static_cast<int>(i));
        if (id == 0 || id == static_cast<UINT>(-1))
            continue;
        if (id > ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_LAST)
            continue;
        CMenuCmdUI ui(menu, i, id);
        ui.DoUpdate(this, true);
    }
}

void CFrameWnd::OnMenuSelect(UINT item, UINT flags, HMENU menu)
{
    // The menu closed: WM_MENUSELECT's flags are all set then, and there is no menu.
    if (flags == 0xFFFF && !menu)
        SetMessageText(AFX_IDS_IDLEMESSAGE);
    else if (flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU))
        SetMessageText(std::string());
    else
        SetMessageText(GetMessageString(item));
}

bool CFrameWnd::OnFrameNotify(NMHDR* header, LRESULT* result)
{
    switch (header->code) {
    case TTN_GETDISPINFOW: {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        UINT id = (info->uFlags & TTF_IDISHWND) ? static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom)))
                                                 : static_cast<UINT>(header->idFrom);
        // The tooltip reads the text after this returns, so it stays with the frame.
        m_strTipText = Widen(GetTipText(id));
        info->lpszText = m_strTipText.data();
        info->szText[0] = L'\0';
        *result = 0;
        return true;
    }
    case TBN_HOTITEMCHANGE: {
        auto* hot = reinterpret_cast<NMTBHOTITEM*>(header);
        auto* bar = dynamic_cast<CControlBar*>(FromHandle(header->hwndFrom));
        if (!bar || !(bar->GetBarStyle() & CBRS_FLYBY))
            return false;
        if (hot->dwFlags & HICF_LEAVING)
            SetMessageText(AFX_IDS_IDLEMESSAGE);
        else
            SetMessageText(GetMessageString(static_cast<UINT>(hot->idNew)));
        *result = 0;
        return true;
    }
    }
    return false;
}

void CFrameWnd::OnDropFiles(HDROP drop)
{
    constexpr UINT kFileCount = 0xFFFFFFFF;
    UINT count = ::DragQueryFileW(drop, kFileCount, nullptr, 0);
    std::wstring path;
    if (count > 0) {
        path.resize(::DragQueryFileW(drop, 0, nullptr, 0) + 1);
        path.resize(::DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
    }
    ::DragFinish(drop);
    if (count == 0)
        return;
    ::SetActiveWindow(m_hWnd);
    if (CWinThread* thread = AfxGetThread())
        thread->OpenDroppedFile(Narrow(path));
}

// Closing the main window asks about unsaved work first.
void CFrameWnd::OnClose()
{
    CWinThread* thread = AfxGetThread();
    if (thread && thread->GetMainWnd() == this && !thread->SaveAllModified())
        return;
    DestroyWindow();
}

// The bars docked while the window is made are laid out when it is made, hidden and before
// any text goes into the windows they hold: around the whole of the most derived OnCreate,
// which a handler cannot wrap. Sizing bars that share out their row in the first layout ask
// for a second one.
LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        m_bCreating = true;
        const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        m_bCreating = false;
        for (int pass = 0; result != -1 && pass < 2 && m_bDelayedLayout; ++pass)
            RecalcLayout();
        return result;
    }
    const bool dde = message >= WM_DDE_FIRST && message <= WM_DDE_LAST;
    CWinThread* thread = AfxGetThread();
    if (dde && thread && thread->OnShellRequest(*this, message, wParam, lParam))
        return 0;
    return CWnd::WindowProc(message, wParam, lParam);
}

// The size a window is shown with first is often the one it was made with.
void CFrameWnd::OnSize(UINT type, int, int)
{
    if (type == SIZE_MINIMIZED)
        return;
    RECT client = GetClientRect();
    if (m_bDelayedLayout || !::EqualRect(&client, &m_rectLaidOut))
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(HWND)
{
    if (m_pViewActive && m_pViewActive->GetSafeHwnd())
        ::SetFocus(m_pViewActive->GetSafeHwnd());
}

void CFrameWnd::OnExitMenuLoop(bool)
{
    SetMessageText(AFX_IDS_IDLEMESSAGE);
}

// Child windows hear of new system colours only through their top-level window.
void CFrameWnd::OnSysColorChange()
{
    SendMessageToDescendants(WM_SYSCOLORCHANGE, 0, 0);
    CWnd::OnSysColorChange();
}

bool CFrameWnd::OnNotify(NMHDR* header, LRESULT* result)
{
    return CWnd::OnNotify(header, result) || OnFrameNotify(header, result);
}

void CFrameWnd::PostNcDestroy()
{
    CWinThread* thread = AfxGetThread();
    if (thread && thread->GetMainWnd() == this) {
        thread->SetMainWnd(nullptr);
        ::PostQuitMessage(0);
    }
    delete this;
}

CFrameWnd* ParentFrameOf(const CWnd& wnd)
{
    for (HWND parent = ::GetParent(wnd.GetSafeHwnd()); parent; parent = ::GetParent(parent)) {
        if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandle(parent)))
            return frame;
    }
    return nullptr;
}
