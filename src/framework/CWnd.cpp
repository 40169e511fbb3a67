// Window objects and the one window procedure that dispatches to them.
#include "framework/CWnd.h"

#include "framework/AfxRes.h"
#include "framework/MessageBox.h"
#include "framework/Unicode.h"

#include <cstdio>
#include <exception>
#include <set>
#include <utility>

namespace {
const wchar_t kObjectProperty[] = L"Korvane.CWnd";

// The name of a window class stays valid for the whole run.
std::set<std::string>& RegisteredClassNames()
{
    static std::set<std::string> names;
    return names;
}

// Class names are ASCII, so they widen one to one.
std::wstring ClassNameOf(const char* name)
{
    return Widen(name ? name : "");
}

// The halves of lParam as signed numbers: coordinates left of or above the window, under
// capture, and the client size of a window smaller than its frame are negative.
int LowSigned(LPARAM lParam)
{
    return static_cast<short>(LOWORD(lParam));
}

int HighSigned(LPARAM lParam)
{
    return static_cast<short>(HIWORD(lParam));
}
}

POINT PointOf(LPARAM lParam)
{
    return POINT{LowSigned(lParam), HighSigned(lParam)};
}

void ReportUnexpectedFailure()
{
    static bool reported = false;
    if (!reported) {
        reported = true;
        AfxMessageBox(AFX_IDP_INTERNAL_FAILURE, MB_OK | MB_ICONSTOP);
    }
}

CWnd::~CWnd()
{
    DestroyWindow();
}

// Every message goes through here. A window's user data is read in the process, where a
// property costs a round trip to Wine's server; the user data is only ours, though, while the
// window procedure is ours, so windows of other code and of other processes go by the property.
CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    DWORD process = 0;
    ::GetWindowThreadProcessId(hWnd, &process);
    if (process != ::GetCurrentProcessId())
        return nullptr;
    if (::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(StaticWndProc))
        return reinterpret_cast<CWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    return static_cast<CWnd*>(::GetPropW(hWnd, kObjectProperty));
}

HCURSOR CWnd::ArrowCursor()
{
    static const HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
    return arrow;
}

const char* CWnd::RegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    char name[128];
    std::snprintf(name, sizeof name, "Korvane:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor),
                  static_cast<void*>(background), static_cast<void*>(icon));
    auto [it, inserted] = RegisteredClassNames().insert(name);
    if (inserted) {
        std::wstring wideName = ClassNameOf(it->c_str());
        WNDCLASSW wc{};
        wc.style = classStyle;
        wc.lpfnWndProc = StaticWndProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.lpszClassName = wideName.c_str();
        ::RegisterClassW(&wc);
    }
    return it->c_str();
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, const RECT& rect,
                    HWND parent, UINT_PTR idOrMenu)
{
    const std::wstring wideClass = ClassNameOf(className);
    const std::wstring wideTitle = Widen(title ? title : "");
    CREATESTRUCTW cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = wideClass.c_str();
    cs.lpszName = wideTitle.c_str();
    cs.style = static_cast<LONG>(style);
    cs.x = rect.left;
    cs.y = rect.top;
    // A rectangle at CW_USEDEFAULT lets the system choose position and size.
    cs.cx = rect.left == CW_USEDEFAULT ? CW_USEDEFAULT : rect.right - rect.left;
    cs.cy = rect.left == CW_USEDEFAULT ? CW_USEDEFAULT : rect.bottom - rect.top;
    cs.hwndParent = parent;
    cs.hMenu = reinterpret_cast<HMENU>(idOrMenu);
    cs.hInstance = ::GetModuleHandleW(nullptr);
    if (!PreCreateWindow(cs))
        return false;

    WNDCLASSW wc{};
    bool ours = ::GetClassInfoW(cs.hInstance, cs.lpszClass, &wc) && wc.lpfnWndProc == StaticWndProc;
    HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                  cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, ours ? this : nullptr);
    if (!hWnd)
        return false;
    if (!ours)
        SubclassWindow(hWnd);
    return m_hWnd == hWnd;
}

bool CWnd::Create(const char* className, const char* title, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateEx(0, className, title, style | WS_CHILD, rect, parent ? parent->m_hWnd : nullptr, id);
}

void CWnd::Attach(HWND hWnd)
{
    m_hWnd = hWnd;
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetPropW(hWnd, kObjectProperty, this);
}

bool CWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || FromHandle(hWnd))
        return false;
    Attach(hWnd);
    // The program's windows are Unicode windows, and so is every procedure it puts in front
    // of a system control's.
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticWndProc)));
    return true;
}

bool CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return SubclassWindow(parent->GetDlgItem(id));
}

void CWnd::DestroyWindow()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandle(hWnd);
    if (!wnd && message == WM_NCCREATE) {
        wnd = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (wnd)
            wnd->Attach(hWnd);
    }
    if (!wnd)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    return wnd->Dispatch(message, wParam, lParam);
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    try {
        result = WindowProc(message, wParam, lParam);
    } catch (const std::exception&) {
        ReportUnexpectedFailure();
    }
    if (message == WM_NCDESTROY) {
        ::RemovePropW(m_hWnd, kObjectProperty);
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        // A procedure that subclassed the window after us still calls ours: leave it be.
        if (m_pfnSuper && ::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(StaticWndProc))
            ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_hWnd = nullptr;
        m_pfnSuper = nullptr;
        PostNcDestroy();
    }
    return result;
}

// The message being handled is kept for Default, and the one it interrupted put back after.
LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    struct Restore {
        HandledMessage& slot;
        HandledMessage saved;
        ~Restore() { slot = saved; }
    } restore{m_handled, std::exchange(m_handled, HandledMessage{message, wParam, lParam, 0})};
    return CallHandler(message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    m_handled.result = DefWindowProc(m_handled.message, m_handled.wParam, m_handled.lParam);
    return m_handled.result;
}

LRESULT CWnd::CallHandler(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam));
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_CLOSE:
        OnClose();
        break;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LowSigned(lParam), HighSigned(lParam));
        break;
    case WM_MOVE:
        OnMove(LowSigned(lParam), HighSigned(lParam));
        break;
    case WM_WINDOWPOSCHANGING:
        OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        break;
    case WM_SETFOCUS:
        OnSetFocus(reinterpret_cast<HWND>(wParam));
        break;
    case WM_SETTEXT:
        OnSetText(reinterpret_cast<const wchar_t*>(lParam));
        break;
    case WM_SETTINGCHANGE:
        OnSettingChange(static_cast<UINT>(wParam), reinterpret_cast<const wchar_t*>(lParam));
        break;
    case WM_SYSCOLORCHANGE:
        OnSysColorChange();
        break;
    case WM_ACTIVATEAPP:
        OnActivateApp(wParam != FALSE, static_cast<DWORD>(lParam));
        break;
    case WM_PAINT:
        OnPaint();
        break;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam)) ? 1 : 0;
    case WM_PRINTCLIENT:
        OnPrintClient(reinterpret_cast<HDC>(wParam), static_cast<UINT>(lParam));
        break;
    case WM_NCCALCSIZE:
        // Both forms of lParam start with the rectangle.
        OnNcCalcSize(wParam != FALSE, *reinterpret_cast<RECT*>(lParam));
        break;
    case WM_NCPAINT:
        OnNcPaint();
        break;
    case WM_NCHITTEST:
        return OnNcHitTest(PointOf(lParam));
    case WM_SETCURSOR:
        return OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam)) ? TRUE : FALSE;
    case WM_CHAR:
        OnChar(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam) != 0);
        break;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        break;
    case WM_EXITMENULOOP:
        OnExitMenuLoop(wParam != FALSE);
        break;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        break;
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wParam), PointOf(lParam));
        break;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(reinterpret_cast<HWND>(lParam));
        break;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? 0 : Default();
    case WM_NOTIFY: {
        LRESULT result = 0;
        return OnNotify(reinterpret_cast<NMHDR*>(lParam), &result) ? result : Default();
    }
    default:
        if (!CallMouseHandler(message, wParam, lParam))
            return Default();
    }
    return m_handled.result;
}

// The mouse messages all carry flags (or a hit-test code) and a point.
bool CWnd::CallMouseHandler(UINT message, WPARAM wParam, LPARAM lParam)
{
    using Handler = void (CWnd::*)(UINT, POINT);
    static const struct {
        UINT message;
        Handler handler;
    } kHandlers[] = {
        {WM_MOUSEMOVE, &CWnd::OnMouseMove},           {WM_LBUTTONDOWN, &CWnd::OnLButtonDown},
        {WM_LBUTTONUP, &CWnd::OnLButtonUp},           {WM_LBUTTONDBLCLK, &CWnd::OnLButtonDblClk},
        {WM_RBUTTONDOWN, &CWnd::OnRButtonDown},       {WM_NCLBUTTONDOWN, &CWnd::OnNcLButtonDown},
        {WM_NCLBUTTONUP, &CWnd::OnNcLButtonUp},       {WM_NCLBUTTONDBLCLK, &CWnd::OnNcLButtonDblClk},
    };
    for (const auto& entry : kHandlers) {
        if (entry.message == message) {
            (this->*entry.handler)(static_cast<UINT>(wParam), PointOf(lParam));
            return true;
        }
    }
    return false;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

bool CWnd::PreCreateWindow(CREATESTRUCTW&)
{
    return true;
}

bool CWnd::PreTranslateMessage(MSG*)
{
    return false;
}

void CWnd::PostNcDestroy() {}

bool CWnd::OnCommand(UINT id, UINT code, HWND control)
{
    if (control) {
        LRESULT ignored = 0;
        CWnd* child = FromHandle(control);
        if (child && child != this &&
            child->OnChildNotify(WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control), &ignored))
            return true;
    }
    // Menus (0), accelerators (1) and button clicks (BN_CLICKED is 0) are commands.
    if (code == 0 || (code == 1 && !control))
        return OnCmdMsg(id, nullptr);
    return false;
}

bool CWnd::OnNotify(NMHDR* header, LRESULT* result)
{
    CWnd* child = FromHandle(header->hwndFrom);
    return child && child != this && child->OnChildNotify(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(header), result);
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*)
{
    return false;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam) const
{
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageW(child, message, wParam, lParam);
        if (CWnd* wnd = FromHandle(child))
            wnd->SendMessageToDescendants(message, wParam, lParam);
    }
}

void CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = (GetStyle() & ~remove) | add;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(style));
    if (swpFlags)
        SetWindowPos(nullptr, 0, 0, 0, 0, swpFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = (GetExStyle() & ~remove) | add;
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(style));
    if (swpFlags)
        SetWindowPos(nullptr, 0, 0, 0, 0, swpFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT CWnd::GetWindowRect() const
{
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    return rc;
}

RECT CWnd::GetClientRect() const
{
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    return rc;
}

void CWnd::ScreenToClient(RECT* rc) const
{
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rc), 2);
}

void CWnd::ClientToScreen(RECT* rc) const
{
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(rc), 2);
}

void CWnd::MoveWindow(const RECT& rc, bool repaint) const
{
    ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, repaint);
}

std::string CWnd::GetWindowText() const
{
    return WindowTextOf(m_hWnd);
}

void CWnd::SetWindowText(const std::string& text) const
{
    SetWindowTextOf(m_hWnd, text);
}

std::string WindowTextOf(HWND wnd)
{
    int length = ::GetWindowTextLengthW(wnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = ::GetWindowTextW(wnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return Narrow(text);
}

void SetWindowTextOf(HWND wnd, const std::string& text)
{
    ::SetWindowTextW(wnd, Widen(text).c_str());
}

std::pair<DWORD, DWORD> EditSelectionOf(HWND edit)
{
    DWORD start = 0, end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

RECT RectInParent(HWND wnd)
{
    RECT rc{};
    ::GetWindowRect(wnd, &rc);
    ::MapWindowPoints(nullptr, ::GetParent(wnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

HDWP DeferPlacement(HDWP batch, HWND wnd, const RECT& place)
{
    const RECT current = RectInParent(wnd);
    if (::EqualRect(&current, &place))
        return batch;
    return ::DeferWindowPos(batch, wnd, nullptr, place.left, place.top, place.right - place.left,
                            place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
}
