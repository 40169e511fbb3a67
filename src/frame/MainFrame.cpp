// The main frame.
#include "frame/MainFrame.h"

#include "resource.h"

namespace {
const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

// Toolbar images in button order.
const UINT kToolBarIcons[] = {IDI_TB_NEW,     IDI_TB_OPEN,    IDI_TB_SAVE,  IDI_TB_UTILITY, IDI_TB_OUTPUT,
                              IDI_TB_COMPILE, IDI_TB_LINK,    IDI_TB_BUILD, IDI_TB_RUN,     IDI_TB_ABOUT};
}

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame()
{
    if (m_imageList)
        ImageList_Destroy(m_imageList);
}

bool CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    return CFrameWnd::PreCreateWindow(cs);
}

bool CMainFrame::CreateToolBar()
{
    const DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
    return m_wndToolBar.Create(this, TBSTYLE_FLAT, style, AFX_IDW_TOOLBAR) && m_wndToolBar.LoadToolBar(IDR_MAINFRAME);
}

bool CMainFrame::CreateStatusBar()
{
    return m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) &&
           m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators)));
}

void CMainFrame::CreateToolBarImages()
{
    m_imageList = ImageList_Create(32, 32, ILC_COLOR8 | ILC_MASK, 4, 4);
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    for (UINT id : kToolBarIcons) {
        HICON icon = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, 32, 32, 0));
        ImageList_AddIcon(m_imageList, icon);
        ::DestroyIcon(icon);
    }
    m_wndToolBar.SetImageList(m_imageList);
}

int CMainFrame::OnCreate(CREATESTRUCTA* cs)
{
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    if (!CreateToolBar())
        return -1;
    if (!CreateStatusBar())
        return -1;
    CreateToolBarImages();
    return 0;
}

bool CMainFrame::OnCmdMsg(UINT nID, CCmdUI* pCmdUI)
{
    using Handler = void (CMainFrame::*)();
    Handler handler = nullptr;
    switch (nID) {
    case ID_VIEW_OUTPUT: handler = &CMainFrame::OnViewOutput; break;
    case ID_VIEW_UTILITY: handler = &CMainFrame::OnViewUtility; break;
    case ID_COMPILE: handler = &CMainFrame::OnCompile; break;
    case ID_LINK: handler = &CMainFrame::OnLink; break;
    case ID_BUILD: handler = &CMainFrame::OnBuild; break;
    case ID_RUN: handler = &CMainFrame::OnRun; break;
    case ID_DEBUG: handler = &CMainFrame::OnDebug; break;
    case ID_SET_COMPILER: handler = &CMainFrame::OnSetCompiler; break;
    }
    if (!handler)
        return CFrameWnd::OnCmdMsg(nID, pCmdUI);
    // The program's own commands are always enabled and never checked.
    if (!pCmdUI)
        (this->*handler)();
    return true;
}

void CMainFrame::OnViewOutput() {}
void CMainFrame::OnViewUtility() {}
void CMainFrame::OnCompile() {}
void CMainFrame::OnLink() {}
void CMainFrame::OnBuild() {}
void CMainFrame::OnRun() {}
void CMainFrame::OnDebug() {}
void CMainFrame::OnSetCompiler() {}
