// A window object: owns or subclasses one HWND and dispatches its messages to one virtual
// WindowProc. The object pointer is kept with the window (its user data, and a property for
// windows that others subclass after us), so there is no global map.
#pragma once

#include "framework/CCmdTarget.h"

#include <windows.h>

#include <string>
#include <utility>

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;

    HWND GetSafeHwnd() const { return m_hWnd; }
    // The framework object of a window, or nullptr for windows that are not ours.
    static CWnd* FromHandle(HWND hWnd);

    // The system's arrow, loaded once: under Wine each load asks the server for the display's
    // colour depth.
    static HCURSOR ArrowCursor();
    // Registers (once) a window class with our window procedure and returns its name.
    static const char* RegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                        HICON icon = nullptr);

    // Creates the window (class name in ASCII, title in UTF-8). Classes of ours attach at
    // WM_NCCREATE; system classes (EDIT, toolbar, ...) are subclassed right after creation.
    virtual bool CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, const RECT& rect,
                          HWND parent, UINT_PTR idOrMenu);
    bool Create(const char* className, const char* title, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    bool SubclassWindow(HWND hWnd);
    bool SubclassDlgItem(UINT id, CWnd* parent);
    void DestroyWindow();

    // Unpacks the messages below once and calls their typed handler; any other message goes
    // to DefWindowProc. Override it only for messages of the program's own.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual bool PreCreateWindow(CREATESTRUCTW& cs);
    virtual bool PreTranslateMessage(MSG* msg);
    // Called after the last message (WM_NCDESTROY); objects that own themselves delete here.
    virtual void PostNcDestroy();
    // WM_COMMAND: control notifications are first reflected to the control's own object,
    // menu, accelerator and button commands are routed through OnCmdMsg.
    virtual bool OnCommand(UINT id, UINT code, HWND control);
    // WM_NOTIFY: reflected to the control that sent it.
    virtual bool OnNotify(NMHDR* header, LRESULT* result);
    // A notification that the parent reflects back to the control that sent it.
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Messages go the Unicode way: the text they carry is UTF-16.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam) != FALSE;
    }
    void SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam) const;

    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    UINT GetDlgCtrlID() const { return static_cast<UINT>(::GetDlgCtrlID(m_hWnd)); }
    HWND GetDlgItem(UINT id) const { return ::GetDlgItem(m_hWnd, static_cast<int>(id)); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
    void ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    void ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);
    RECT GetWindowRect() const;
    RECT GetClientRect() const;
    void ScreenToClient(POINT* pt) const { ::ScreenToClient(m_hWnd, pt); }
    void ClientToScreen(POINT* pt) const { ::ClientToScreen(m_hWnd, pt); }
    void ScreenToClient(RECT* rc) const;
    void ClientToScreen(RECT* rc) const;
    void MoveWindow(const RECT& rc, bool repaint = true) const;
    void SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) const
    {
        ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
    }
    void ShowWindow(int cmd) const { ::ShowWindow(m_hWnd, cmd); }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    void Invalidate(bool erase = true) const { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void UpdateWindow() const { ::UpdateWindow(m_hWnd); }
    // The window's text in the program's UTF-8.
    void SetWindowText(const std::string& text) const;
    std::string GetWindowText() const;

protected:
    static LRESULT CALLBACK StaticWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Attach(HWND hWnd);

    // Hands the message being handled on, unchanged, to DefWindowProc. Each handler below does
    // only this unless overridden. A handler that returns nothing makes its message return
    // what Default returned, when it was called, and 0 otherwise.
    LRESULT Default();

    // The typed handlers. Points are in client coordinates, those of non-client and hit-test
    // messages in screen coordinates; both, and WM_SIZE's sizes, can be negative.
    virtual int OnCreate(CREATESTRUCTW*) { return static_cast<int>(Default()); }
    virtual void OnDestroy() { Default(); }
    virtual void OnClose() { Default(); }
    virtual void OnSize(UINT /*type*/, int /*cx*/, int /*cy*/) { Default(); }
    virtual void OnMove(int /*x*/, int /*y*/) { Default(); }
    virtual void OnWindowPosChanging(WINDOWPOS*) { Default(); }
    virtual void OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
    virtual void OnSetFocus(HWND /*previous*/) { Default(); }
    virtual void OnSetText(const wchar_t* /*text*/) { Default(); }
    virtual void OnSettingChange(UINT /*action*/, const wchar_t* /*section*/) { Default(); }
    virtual void OnSysColorChange() { Default(); }
    // WM_ACTIVATEAPP: whether the program becomes the active one, and the thread of the other.
    virtual void OnActivateApp(bool /*active*/, DWORD /*otherThread*/) { Default(); }

    virtual void OnPaint() { Default(); }
    virtual bool OnEraseBkgnd(HDC) { return Default() != 0; }
    // WM_PRINTCLIENT; flags are PRF_* values.
    virtual void OnPrintClient(HDC, UINT /*flags*/) { Default(); }
    // WM_NCCALCSIZE: rect is the window's rectangle on the way in and the client's on the way
    // out, in either form of the message.
    virtual void OnNcCalcSize(bool /*calcValidRects*/, RECT& /*rect*/) { Default(); }
    virtual void OnNcPaint() { Default(); }
    virtual LRESULT OnNcHitTest(POINT /*screenPoint*/) { return Default(); }
    // WM_SETCURSOR; true when the handler set the cursor.
    virtual bool OnSetCursor(HWND /*wnd*/, UINT /*hitTest*/, UINT /*mouseMessage*/) { return Default() != 0; }

    // Mouse messages; flags are MK_* values.
    virtual void OnMouseMove(UINT /*flags*/, POINT) { Default(); }
    virtual void OnLButtonDown(UINT /*flags*/, POINT) { Default(); }
    virtual void OnLButtonUp(UINT /*flags*/, POINT) { Default(); }
    virtual void OnLButtonDblClk(UINT /*flags*/, POINT) { Default(); }
    virtual void OnRButtonDown(UINT /*flags*/, POINT) { Default(); }
    virtual void OnNcLButtonDown(UINT /*hitTest*/, POINT /*screenPoint*/) { Default(); }
    virtual void OnNcLButtonUp(UINT /*hitTest*/, POINT /*screenPoint*/) { Default(); }
    virtual void OnNcLButtonDblClk(UINT /*hitTest*/, POINT /*screenPoint*/) { Default(); }
    virtual void OnCaptureChanged(HWND /*newCapture*/) { Default(); }
    // WM_CHAR: a UTF-16 unit, its repeat count and the key's flags (bits 16 to 31 of lParam).
    virtual void OnChar(UINT /*ch*/, UINT /*repeat*/, UINT /*flags*/) { Default(); }

    virtual void OnInitMenuPopup(HMENU, UINT /*index*/, bool /*systemMenu*/) { Default(); }
    virtual void OnMenuSelect(UINT /*item*/, UINT /*flags*/, HMENU) { Default(); }
    virtual void OnExitMenuLoop(bool /*trackPopupMenu*/) { Default(); }
    virtual void OnDropFiles(HDROP) { Default(); }
    // WM_CONTEXTMENU; the point is (-1, -1) when the menu was asked for from the keyboard.
    virtual void OnContextMenu(HWND /*wnd*/, POINT /*screenPoint*/) { Default(); }

    HWND m_hWnd = nullptr;

    // The procedure of a subclassed system window.
    WNDPROC m_pfnSuper = nullptr;

private:
    // The message a handler works on, for Default; messages sent meanwhile nest.
    struct HandledMessage {
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
        LRESULT result = 0;
    };

    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallHandler(UINT message, WPARAM wParam, LPARAM lParam);
    bool CallMouseHandler(UINT message, WPARAM wParam, LPARAM lParam);

    HandledMessage m_handled;
};

// The text of any window, and setting it, in the program's UTF-8.
std::string WindowTextOf(HWND wnd);
void SetWindowTextOf(HWND wnd, const std::string& text);

// The point a mouse message carries in lParam, signed: outside the window it can be negative.
POINT PointOf(LPARAM lParam);

// Reports an unexpected failure inside message handling once per run.
void ReportUnexpectedFailure();

// An edit control's selection: where it starts and where it ends, in characters.
std::pair<DWORD, DWORD> EditSelectionOf(HWND edit);

// The window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND wnd);
// Adds moving wnd to place (in its parent's client coordinates) to a batch of window
// positions, unless it is there already: a layout repeats most places, and under Wine each
// window moved, even onto itself, costs round trips to the server.
HDWP DeferPlacement(HDWP batch, HWND wnd, const RECT& place);

