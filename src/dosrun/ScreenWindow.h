// A window of its own for a picture the machine makes, run by a thread of its own so that the
// machine never waits for it: the program's screen (class KorvaneDosScreen, made the first time
// the machine's screen shows pixels), shown at a whole-number scale of its width in the screen's
// 4:3 shape (a 200-line mode's pixels taller than wide, as a monitor showed them); or a device's
// picture (the lab box, class KorvaneLabBox) at a whole-number scale of its own shape. The title
// is the program's name; WM_PRINTCLIENT paints the picture. It paints a copy of the newest
// picture, so the machine never waits for a paint, and counts its paints (for the benches).
// Keys typed there and the mouse over it go to the machine (as BIOS keys and the pointer, and
// as a device's clicks and keys); closing it stops the program.
#pragma once

#include "doshost/WindowKeyboard.h"
#include "machine/Device.h"
#include "machine/ScreenImage.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace dos {

class CScreenWindow {
public:
    static constexpr const wchar_t* kClassName = L"KorvaneDosScreen";
    static constexpr const wchar_t* kLabBoxClassName = L"KorvaneLabBox";

    enum class Shape : uint8_t {
        // 4:3, as a monitor shows every mode.
        Screen,
        // The picture's own shape.
        Picture,
    };

    // The pointer over the picture, in the picture's pixels, and the buttons held (bit 0 the
    // left one, bit 1 the right one, bit 2 the middle one).
    struct Pointer {
        int x = 0;
        int y = 0;
        unsigned buttons = 0;
    };

    explicit CScreenWindow(std::wstring title, Shape shape = Shape::Screen, const wchar_t* className = kClassName);
    ~CScreenWindow();
    CScreenWindow(const CScreenWindow&) = delete;
    CScreenWindow& operator=(const CScreenWindow&) = delete;

    // The newest picture (pixels): the window shows (sized for it the first time and whenever
    // its size changes) and repaints, unless it shows that picture already.
    void Present(const machine::ScreenImage& picture);
    // Text mode again: the console shows the program; the window hides until the next picture.
    void Hide();
    // The part of the work area the window stands in (its top left corner) and is sized for,
    // where it shares the screen with another window; the whole work area before.
    void SetRoom(const RECT& room);
    // The BIOS keys typed since the last call.
    std::vector<uint16_t> TakeKeys();
    // The clicks (left: held while down; right: toggled) and characters typed since the last
    // call, as a device's picture takes them.
    std::vector<machine::DeviceInput> TakeInputs();
    // Waits at most ms milliseconds for a key or the window's closing.
    void Wait(DWORD ms) const;
    Pointer PointerState() const;
    bool Closed() const { return m_bClosed; }
    HWND Handle() const { return m_hwnd; }
    // The pictures handed to the window, and the paints of its client area on the screen
    // between the first paint and the last.
    struct Paints {
        uint64_t presented = 0;
        uint64_t painted = 0;
        std::chrono::steady_clock::duration span{};
    };
    Paints PaintCount() const;
    // The size of the client area a picture of width x height is shown in, for a work area.
    static SIZE ShownSize(int width, int height, const RECT& workArea, Shape shape = Shape::Screen);

private:
    void ThreadMain();
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc) const;
    void CountPaint();
    // Sizes the window for the picture's size, on the window's thread.
    void Fit();
    void Track(LPARAM point, unsigned buttons);
    // A click on the picture as a device takes it.
    void Click(machine::DeviceInput::Action action);
    void Add(const machine::DeviceInput& input);

    std::wstring m_strTitle;
    Shape m_shape;
    const wchar_t* m_pszClass;
    std::thread m_thread;
    std::atomic<HWND> m_hwnd{nullptr};
    HANDLE m_hReady;
    HANDLE m_hInput;
    mutable std::mutex m_lock;
    // The newest picture, shared with the paint under way, which draws it without the lock.
    std::shared_ptr<const machine::ScreenImage> m_picture;
    std::optional<RECT> m_room;
    uint64_t m_nPresented = 0;
    uint64_t m_nPainted = 0;
    std::chrono::steady_clock::time_point m_firstPaint{};
    std::chrono::steady_clock::time_point m_lastPaint{};
    std::vector<uint16_t> m_keys;
    std::vector<machine::DeviceInput> m_inputs;
    Pointer m_pointer;
    CWindowKeyboard m_keyboard;
    std::atomic<bool> m_bClosed{false};
};

}  // namespace dos
