// The status bar.
#include "framework/docking/CStatusBar.h"

#include "framework/AfxRes.h"
#include "framework/CCmdUI.h"
#include "framework/Handles.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"

#include <commctrl.h>

#include <optional>

namespace {
constexpr int kPaneMargin = 12;

// Shows an indicator's text while its command is enabled, nothing otherwise. A handler may
// set the text to show instead of the indicator's own. The pane is set once, after the
// handler: what it shows on the way (the indicator's own text before the handler's) would
// cost a redraw of the bar each time.
class CStatusCmdUI : public CCmdUI {
public:
    CStatusCmdUI(CStatusBar* bar, int index, const std::string& text)
        : CCmdUI(bar->GetItemID(index)), m_pBar(bar), m_nIndex(index), m_strText(text)
    {
    }
    void Enable(bool on) override
    {
        m_bEnableChanged = true;
        m_shown = on ? m_strText : std::string();
    }
    void SetText(const std::string& text) override
    {
        m_strText = text;
        m_shown = text;
    }
    // Shows what the handler left, if it said anything.
    void Apply()
    {
        if (m_shown && m_pBar->GetPaneText(m_nIndex) != *m_shown)
            m_pBar->SetPaneText(m_nIndex, *m_shown);
    }

private:
    CStatusBar* m_pBar;
    int m_nIndex;
    std::string m_strText;
    std::optional<std::string> m_shown;
};
}

bool CStatusBar::Create(CWnd* parent, DWORD style, UINT id)
{
    SetBarStyle(style & CBRS_ALL);
    DWORD windowStyle = (style & ~CBRS_ALL) | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | SBARS_SIZEGRIP;
    if (!CreateEx(0, STATUSCLASSNAMEA, "", windowStyle | WS_CHILD, RECT{}, parent->GetSafeHwnd(), id))
        return false;
    return AttachToFrame(parent);
}

void CStatusBar::Measure()
{
    WindowDc dc = WindowDc::Client(m_hWnd);
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    SelectGuard select(dc.get(), font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc.get(), &tm);
    m_nHeight = tm.tmHeight + tm.tmExternalLeading + 8;
    m_indicatorWidths.clear();
    for (const std::string& text : m_indicatorTexts) {
        const std::wstring wide = Widen(text);
        SIZE size{};
        ::GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
        m_indicatorWidths.push_back(size.cx);
    }
}

bool CStatusBar::SetIndicators(const UINT* ids, int count)
{
    m_ids.assign(ids, ids + count);
    m_indicatorTexts.clear();
    for (UINT id : m_ids) {
        std::string text = id == ID_SEPARATOR ? std::string() : LoadResString(id);
        if (id != ID_SEPARATOR && text.empty())
            return false;
        m_indicatorTexts.push_back(text);
    }
    Measure();
    UpdateParts();
    if (!m_ids.empty())
        SetPaneText(0, LoadResString(AFX_IDS_IDLEMESSAGE));
    return true;
}

void CStatusBar::UpdateParts()
{
    if (m_ids.empty())
        return;
    RECT client = GetClientRect();
    std::vector<int> rights(m_ids.size());
    int right = client.right - ::GetSystemMetrics(SM_CXVSCROLL);
    for (size_t i = m_ids.size(); i-- > 1;) {
        rights[i] = right;
        right -= m_indicatorWidths[i] + kPaneMargin;
    }
    rights[0] = right;
    if (m_ids.size() > 1)
        rights.back() = -1;
    SendMessage(SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
}

void CStatusBar::SetPaneText(int index, const std::string& text)
{
    SendMessage(SB_SETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

std::string CStatusBar::GetPaneText(int index) const
{
    LRESULT info = SendMessage(SB_GETTEXTLENGTHW, static_cast<WPARAM>(index));
    std::wstring text(static_cast<size_t>(LOWORD(info)) + 1, L'\0');
    SendMessage(SB_GETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return Narrow(text.c_str());
}

SIZE CStatusBar::CalcFixedLayout(bool stretch, bool)
{
    if (!m_nHeight)
        Measure();
    return SIZE{stretch ? 32767 : 0, m_nHeight};
}

void CStatusBar::OnUpdateCmdUI(CCmdTarget* target, bool disableIfNoHandler)
{
    for (int i = 1; i < GetPaneCount(); ++i) {
        CStatusCmdUI ui(this, i, m_indicatorTexts[static_cast<size_t>(i)]);
        ui.DoUpdate(target, disableIfNoHandler);
        ui.Apply();
    }
}

void CStatusBar::OnSetText(const wchar_t* text)
{
    SetPaneText(0, Narrow(text ? text : L""));
}

void CStatusBar::OnSize(UINT type, int cx, int cy)
{
    CControlBar::OnSize(type, cx, cy);
    UpdateParts();
}
