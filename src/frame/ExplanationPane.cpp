// The 说明 pane.
#include "frame/ExplanationPane.h"

#include "framework/Strings.h"
#include "framework/docking/CFrameWnd.h"
#include "resource.h"

namespace {
constexpr DWORD kBarStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD kTextStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL;
}

bool CExplanationPane::Create(CFrameWnd& frame, CControlBar& beside)
{
    const RECT room = beside.GetWindowRect();
    const SIZE size{(room.right - room.left) * 2 / 5, room.bottom - room.top};
    if (!m_bar.Create(LoadResString(IDS_EXPLAIN_BAR).c_str(), &frame, size, true, IDW_EXPLAIN_BAR, kBarStyle))
        return false;
    m_bar.SetBarStyle(m_bar.GetBarStyle() | CBRS_SIZE_DYNAMIC);
    if (!m_text.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", kTextStyle, RECT{0, 0, size.cx, size.cy}, m_bar.GetSafeHwnd(),
                         IDC_EXPLANATION))
        return false;
    m_text.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), 0);
    m_bar.EnableDocking(CBRS_ALIGN_ANY);
    frame.DockControlBarAfter(&m_bar, &beside);
    return true;
}

void CExplanationPane::Show(CFrameWnd& frame, CControlBar& beside, const std::wstring& text)
{
    if (!m_bar.GetSafeHwnd() && !Create(frame, beside))
        return;
    ::SetWindowTextW(m_text.GetSafeHwnd(), text.c_str());
    if (!m_bar.IsVisible())
        frame.ShowControlBar(&m_bar, true, false);
}
