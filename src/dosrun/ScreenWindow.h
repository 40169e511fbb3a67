// The program's own window for what it draws: a top-level window of class KorvaneDosScreen with
// the program's name in its title, made the first time the machine's screen shows pixels and
// run by a thread of its own, so that the machine never waits for it. It shows the newest
// picture at a whole-number scale of its width with the screen's 4:3 shape (a 200-line mode's
// pixels taller than wide, as a monitor showed them), and answers WM_PRINTCLIENT with it. Keys
// typed there and the mouse over it go to the program; closing it stops the program.
#pragma once

#include "doshost/WindowKeyboard.h"
#include "machine/ScreenImage.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace dos {

class CScreenWindow {
public:
    static constexpr const wchar_t* kClassName = L"KorvaneDosScreen";

    // The pointer over the picture, in the picture's pixels, and the buttons held (bit 0 the
    // left one, bit 1 the right one, bit 2 the middle one).
    struct Pointer {
        int x = 0;
        int y = 0;
        unsigned buttons = 0;
    };

    explicit CScreenWindow(std::wstring title);
    ~CScreenWindow();
    CScreenWindow(const CScreenWindow&) = delete;
    CScreenWindow& operator=(const CScreenWindow&) = delete;

    // The newest picture (pixels): the window shows (sized for it the first time and whenever
    // its size changes) and repaints.
    void Present(const machine::ScreenImage& picture);
    // Text mode again: the console shows the program; the window hides until the next picture.
    void Hide();
    // The BIOS keys typed since the last call.
    std::vector<uint16_t> TakeKeys();
    // Waits at most ms milliseconds for a key or the window's closing.
    void Wait(DWORD ms) const;
    Pointer PointerState() const;
    bool Closed() const { return m_bClosed; }
    HWND Handle() const { return m_hwnd; }
    // The size of the client area a picture of width x height is shown in, for a work area.
    static SIZE ShownSize(int width, int height, const RECT& workArea);

private:
    void ThreadMain();
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc) const;
    // Sizes the window for the picture's size, on the window's thread.
    void Fit();
    void Track(LPARAM point, unsigned buttons);

    std::wstring m_strTitle;
    std::thread m_thread;
    std::atomic<HWND> m_hwnd{nullptr};
    HANDLE m_hReady;
    HANDLE m_hInput;
    mutable std::mutex m_lock;
    machine::ScreenImage m_picture;
    std::vector<uint16_t> m_keys;
    Pointer m_pointer;
    CWindowKeyboard m_keyboard;
    std::atomic<bool> m_bClosed{false};
};

}  // namespace dos
