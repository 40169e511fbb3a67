// The toolbar.
#include "framework/docking/CToolBar.h"

#include "framework/CCmdUI.h"
#include "framework/Handles.h"
#include "framework/docking/CDockContext.h"
#include "framework/docking/CFrameWnd.h"

#include <algorithm>
#include <vector>

namespace {
constexpr WORD kToolbarResourceType = 241;

struct ToolbarResource {
    WORD version;
    WORD width;
    WORD height;
    WORD count;
};

// Enables and checks one toolbar button.
class CToolCmdUI : public CCmdUI {
public:
    CToolCmdUI(HWND toolbar, UINT id) : CCmdUI(id), m_hToolbar(toolbar) {}
    void Enable(bool on) override
    {
        m_bEnableChanged = true;
        bool enabled = ::SendMessageW(m_hToolbar, TB_ISBUTTONENABLED, m_nID, 0) != 0;
        if (enabled != on)
            ::SendMessageW(m_hToolbar, TB_ENABLEBUTTON, m_nID, MAKELPARAM(on, 0));
    }
    void SetCheck(int check) override
    {
        bool checked = ::SendMessageW(m_hToolbar, TB_ISBUTTONCHECKED, m_nID, 0) != 0;
        if (checked != (check != 0))
            ::SendMessageW(m_hToolbar, TB_CHECKBUTTON, m_nID, MAKELPARAM(check != 0, 0));
    }

private:
    HWND m_hToolbar;
};
}

bool CToolBar::Create(CWnd* parent, DWORD ctrlStyle, DWORD style, UINT id)
{
    SetBarStyle(style & CBRS_ALL);
    DWORD windowStyle = (style & ~CBRS_ALL) | ctrlStyle | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (style & CBRS_TOOLTIPS)
        windowStyle |= TBSTYLE_TOOLTIPS;
    if (!CreateEx(0, TOOLBARCLASSNAMEA, "", windowStyle | WS_CHILD, RECT{}, parent->GetSafeHwnd(), id))
        return false;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return AttachToFrame(parent);
}

bool CToolBar::LoadToolBar(UINT resourceId)
{
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(kToolbarResourceType));
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    auto* data = loaded ? static_cast<const ToolbarResource*>(::LockResource(loaded)) : nullptr;
    if (!data || data->version != 1)
        return false;
    const WORD* ids = reinterpret_cast<const WORD*>(data + 1);
    std::vector<TBBUTTON> buttons(data->count);
    int image = 0;
    for (WORD i = 0; i < data->count; ++i) {
        TBBUTTON& b = buttons[i];
        b.idCommand = ids[i];
        if (ids[i] == 0) {
            b.fsStyle = BTNS_SEP;
        } else {
            b.iBitmap = image++;
            b.fsStyle = BTNS_BUTTON;
            b.fsState = TBSTATE_ENABLED;
        }
    }
    m_sizeImage = SIZE{data->width, data->height};
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(m_sizeImage.cx, m_sizeImage.cy));
    return SendMessage(TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())) != 0;
}

void CToolBar::SetImageList(HIMAGELIST images)
{
    SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(m_sizeImage.cx + 7, m_sizeImage.cy + 6));
}

void CToolBar::AddControl(HWND control, int width)
{
    TBBUTTON gap{};
    gap.iBitmap = width;
    gap.fsStyle = BTNS_SEP;
    SendMessage(TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&gap));
    m_controls.push_back(PlacedControl{GetButtonCount() - 1, control});
    PlaceControls();
}

void CToolBar::PlaceControls()
{
    for (const PlacedControl& placed : m_controls) {
        const RECT gap = GetItemRect(placed.index);
        RECT own{};
        ::GetWindowRect(placed.control, &own);
        const int height = own.bottom - own.top;
        // A drop-down list's own height is its list's: only its place is set.
        ::SetWindowPos(placed.control, nullptr, gap.left + 2, gap.top + (gap.bottom - gap.top - height) / 2, 0, 0,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    }
}

int CToolBar::GetButtonCount() const
{
    return static_cast<int>(SendMessage(TB_BUTTONCOUNT));
}

UINT CToolBar::GetItemID(int index) const
{
    TBBUTTON button{};
    SendMessage(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
    return static_cast<UINT>(button.idCommand);
}

RECT CToolBar::GetItemRect(int index) const
{
    RECT rc{};
    SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc));
    return rc;
}

RECT CToolBar::NonClientInsets(bool horz) const
{
    RECT inside{0, 0, 0, 0};
    CalcInsideRect(inside);
    RECT insets{inside.left, inside.top, -inside.right, -inside.bottom};
    if (GetBarStyle() & CBRS_GRIPPER) {
        if (horz)
            insets.left += kGripperSpace;
        else
            insets.top += kGripperSpace;
    }
    insets.left += 2;
    insets.top += 2;
    insets.right += 2;
    insets.bottom += 2;
    return insets;
}

void CToolBar::WrapButtons(bool vertical)
{
    int count = GetButtonCount();
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
        BYTE state = vertical ? (button.fsState | TBSTATE_WRAP) : (button.fsState & ~TBSTATE_WRAP);
        if (state != button.fsState)
            SendMessage(TB_SETSTATE, static_cast<WPARAM>(button.idCommand), MAKELPARAM(state, 0));
    }
    m_bVertical = vertical;
}

SIZE CToolBar::ButtonsExtent(bool horz)
{
    WrapButtons(!horz);
    PlaceControls();
    SIZE extent{0, 0};
    for (int i = 0, n = GetButtonCount(); i < n; ++i) {
        RECT rc = GetItemRect(i);
        extent.cx = std::max(extent.cx, rc.right);
        extent.cy = std::max(extent.cy, rc.bottom);
    }
    return extent;
}

SIZE CToolBar::CalcFixedLayout(bool stretch, bool horz)
{
    SIZE size = ButtonsExtent(horz);
    RECT insets = NonClientInsets(horz);
    size.cx += insets.left + insets.right;
    size.cy += insets.top + insets.bottom;
    if (stretch) {
        if (horz)
            size.cx = 32767;
        else
            size.cy = 32767;
    }
    return size;
}

SIZE CToolBar::CalcDynamicLayout(int, DWORD mode)
{
    if (mode & (LM_HORZDOCK | LM_VERTDOCK))
        return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZDOCK) != 0);
    return CalcFixedLayout(false, true);
}

void CToolBar::OnUpdateCmdUI(CCmdTarget* target, bool disableIfNoHandler)
{
    for (int i = 0, n = GetButtonCount(); i < n; ++i) {
        UINT id = GetItemID(i);
        if (id == 0)
            continue;
        CToolCmdUI ui(m_hWnd, id);
        ui.DoUpdate(target, disableIfNoHandler);
    }
}

void CToolBar::OnNcPaint()
{
    WindowDc dc = WindowDc::Whole(m_hWnd);
    RECT window = GetWindowRect();
    RECT whole{0, 0, window.right - window.left, window.bottom - window.top};
    RECT client = GetClientRect();
    POINT origin{0, 0};
    ClientToScreen(&origin);
    ::OffsetRect(&client, origin.x - window.left, origin.y - window.top);
    ::ExcludeClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
    ::FillRect(dc.get(), &whole, ::GetSysColorBrush(COLOR_BTNFACE));
    RECT inside = whole;
    DrawBorders(dc.get(), inside);
    if (GetBarStyle() & CBRS_GRIPPER) {
        RECT grip = inside;
        bool horz = !m_bVertical;
        if (horz) {
            grip.left += 2;
            grip.right = grip.left + 3;
            grip.top += 2;
            grip.bottom -= 2;
        } else {
            grip.top += 2;
            grip.bottom = grip.top + 3;
            grip.left += 2;
            grip.right -= 2;
        }
        ::DrawEdge(dc.get(), &grip, BDR_RAISEDINNER, BF_RECT);
    }
}

bool CToolBar::IsDragPoint(POINT clientPoint) const
{
    RECT client = GetClientRect();
    if (!::PtInRect(&client, clientPoint))
        return true;
    int hit = static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&clientPoint)));
    if (hit < 0)
        return true;
    return GetItemID(hit) == 0;
}

void CToolBar::OnNcCalcSize(bool, RECT& rect)
{
    RECT insets = NonClientInsets(!m_bVertical);
    rect.left += insets.left;
    rect.top += insets.top;
    rect.right -= insets.right;
    rect.bottom -= insets.bottom;
}

// The frame of the bar behaves as part of it, so a press there can move the bar.
LRESULT CToolBar::OnNcHitTest(POINT screenPoint)
{
    LRESULT hit = CControlBar::OnNcHitTest(screenPoint);
    return hit == HTNOWHERE || hit == HTBORDER ? HTCLIENT : hit;
}

void CToolBar::OnLButtonDown(UINT flags, POINT pt)
{
    if (!IsDragPoint(pt)) {
        CControlBar::OnLButtonDown(flags, pt);
        return;
    }
    ClientToScreen(&pt);
    if (CDockContext* context = GetDockContext())
        context->StartDrag(pt);
}

void CToolBar::OnLButtonDblClk(UINT flags, POINT pt)
{
    if (IsDragPoint(pt) && GetDockContext())
        GetDockContext()->ToggleDocking();
    else
        CControlBar::OnLButtonDblClk(flags, pt);
}
