// Move-only owners for kernel, registry, GDI, menu, icon and image-list handles, and scope
// guards for device contexts, the objects selected into them and their drawing settings.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <utility>

// Owns a handle and releases it with the given function.
template <typename H, auto Release>
class UniqueOwner {
public:
    UniqueOwner() = default;
    explicit UniqueOwner(H h) : m_h(h) {}
    UniqueOwner(UniqueOwner&& other) noexcept : m_h(other.release()) {}
    UniqueOwner& operator=(UniqueOwner&& other) noexcept
    {
        reset(other.release());
        return *this;
    }
    UniqueOwner(const UniqueOwner&) = delete;
    UniqueOwner& operator=(const UniqueOwner&) = delete;
    ~UniqueOwner() { reset(); }

    H get() const { return m_h; }
    explicit operator bool() const { return m_h != Invalid; }
    H release() { return std::exchange(m_h, Invalid); }
    void reset(H h = Invalid)
    {
        if (m_h != Invalid)
            Release(m_h);
        m_h = h;
    }
    H* put()
    {
        reset();
        return &m_h;
    }

private:
    static constexpr H Invalid{};
    H m_h = Invalid;
};

inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void CloseRegistryKey(HKEY h) { ::RegCloseKey(h); }
template <typename T> inline void DeleteGdiObject(T h) { ::DeleteObject(h); }
inline void DeleteMemoryDc(HDC h) { ::DeleteDC(h); }
inline void DestroyIconHandle(HICON h) { ::DestroyIcon(h); }
inline void DestroyMenuHandle(HMENU h) { ::DestroyMenu(h); }
inline void DestroyImageListHandle(HIMAGELIST h) { ::ImageList_Destroy(h); }

using UniqueHandle = UniqueOwner<HANDLE, CloseKernelHandle>;
using UniqueHkey = UniqueOwner<HKEY, CloseRegistryKey>;
template <typename T> using GdiObject = UniqueOwner<T, DeleteGdiObject<T>>;
using UniqueIcon = UniqueOwner<HICON, DestroyIconHandle>;
using UniqueMenu = UniqueOwner<HMENU, DestroyMenuHandle>;
using UniqueImageList = UniqueOwner<HIMAGELIST, DestroyImageListHandle>;

// CreateFile reports failure with INVALID_HANDLE_VALUE rather than null.
inline UniqueHandle FileHandle(HANDLE h)
{
    return UniqueHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// Selects an object into a DC for the lifetime of the guard.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(::SelectObject(dc, obj)) {}
    ~SelectGuard() { ::SelectObject(m_dc, m_old); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// Changes one drawing setting of a DC (background mode, text colour, background colour) for
// the lifetime of the guard, through the setter that also returns the previous value.
template <typename T, auto Set>
class DcSettingGuard {
public:
    DcSettingGuard(HDC dc, T value) : m_dc(dc), m_old(Set(dc, value)) {}
    ~DcSettingGuard() { Set(m_dc, m_old); }
    DcSettingGuard(const DcSettingGuard&) = delete;
    DcSettingGuard& operator=(const DcSettingGuard&) = delete;

private:
    HDC m_dc;
    T m_old;
};

using BkModeGuard = DcSettingGuard<int, ::SetBkMode>;
using TextColorGuard = DcSettingGuard<COLORREF, ::SetTextColor>;
using BkColorGuard = DcSettingGuard<COLORREF, ::SetBkColor>;

// BeginPaint / EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND wnd) : m_wnd(wnd), m_dc(::BeginPaint(wnd, &m_ps)) {}
    ~PaintDc() { ::EndPaint(m_wnd, &m_ps); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return m_dc; }
    const PAINTSTRUCT& paint() const { return m_ps; }

private:
    HWND m_wnd;
    PAINTSTRUCT m_ps{};
    HDC m_dc;
};

// GetDC / GetWindowDC / GetDCEx with ReleaseDC.
class WindowDc {
public:
    static WindowDc Client(HWND wnd) { return WindowDc(wnd, ::GetDC(wnd)); }
    static WindowDc Whole(HWND wnd) { return WindowDc(wnd, ::GetWindowDC(wnd)); }
    static WindowDc Ex(HWND wnd, HRGN clip, DWORD flags) { return WindowDc(wnd, ::GetDCEx(wnd, clip, flags)); }
    WindowDc(WindowDc&& other) noexcept : m_wnd(other.m_wnd), m_dc(std::exchange(other.m_dc, nullptr)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc()
    {
        if (m_dc)
            ::ReleaseDC(m_wnd, m_dc);
    }
    HDC get() const { return m_dc; }

private:
    WindowDc(HWND wnd, HDC dc) : m_wnd(wnd), m_dc(dc) {}
    HWND m_wnd;
    HDC m_dc;
};

// A memory DC compatible with another, holding a bitmap of the given size.
class MemDc {
public:
    MemDc(HDC reference, int cx, int cy)
        : m_dc(::CreateCompatibleDC(reference)), m_bitmap(::CreateCompatibleBitmap(reference, cx, cy)),
          m_select(m_dc.get(), m_bitmap.get())
    {
    }
    HDC get() const { return m_dc.get(); }

private:
    UniqueOwner<HDC, DeleteMemoryDc> m_dc;
    GdiObject<HBITMAP> m_bitmap;
    SelectGuard m_select;
};
