// The program's window: its thread, its picture, its keys and its pointer.
#include "dosrun/ScreenWindow.h"

#include "doshost/PictureDrawing.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace dos {

namespace {
// Posted by the machine's side: a new picture (wParam: its size changed), and the end.
constexpr UINT kPictureMessage = WM_APP + 1;
constexpr UINT kHideMessage = WM_APP + 2;
constexpr UINT kEndMessage = WM_APP + 3;
constexpr UINT kRoomMessage = WM_APP + 4;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// The window may take this share of the work area at most.
constexpr double kWorkShare = 0.9;

void RegisterOnce(HINSTANCE instance, const wchar_t* className)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    // The picture is scaled to the whole client area: any new size paints it all anew.
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.lpszClassName = className;
    // A second window of the process finds the class there already.
    ::RegisterClassExW(&windowClass);
}
}

CScreenWindow::CScreenWindow(std::wstring title, Shape shape, const wchar_t* className)
    : m_strTitle(std::move(title)), m_shape(shape), m_pszClass(className), m_hReady(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_hInput(::CreateEventW(nullptr, FALSE, FALSE, nullptr))
{
    m_thread = std::thread([this] { ThreadMain(); });
    ::WaitForSingleObject(m_hReady, INFINITE);
}

CScreenWindow::~CScreenWindow()
{
    if (HWND hwnd = m_hwnd.load())
        ::PostMessageW(hwnd, kEndMessage, 0, 0);
    m_thread.join();
    ::CloseHandle(m_hReady);
    ::CloseHandle(m_hInput);
}

void CScreenWindow::ThreadMain()
{
    // The paint goes first when the machine keeps the processor busy.
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    RegisterOnce(instance, m_pszClass);
    const HWND hwnd = ::CreateWindowExW(0, m_pszClass, m_strTitle.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 320, 240,
                                        nullptr, nullptr, instance, nullptr);
    if (hwnd) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CScreenWindow::WindowProc));
    }
    m_hwnd = hwnd;
    ::SetEvent(m_hReady);
    MSG msg;
    while (hwnd && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

LRESULT CALLBACK CScreenWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* window = reinterpret_cast<CScreenWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return window ? window->Handle(message, wParam, lParam) : ::DefWindowProcW(hwnd, message, wParam, lParam);
}

void CScreenWindow::Present(const machine::ScreenImage& picture)
{
    // A program waiting for a key shows the same picture many times a second.
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_picture && *m_picture == picture)
            return;
    }
    auto next = std::make_shared<const machine::ScreenImage>(picture);
    bool resized = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        resized = !m_picture || picture.width != m_picture->width || picture.height != m_picture->height;
        m_picture = std::move(next);
        ++m_nPresented;
    }
    if (HWND hwnd = m_hwnd.load())
        ::PostMessageW(hwnd, kPictureMessage, resized, 0);
}

void CScreenWindow::Hide()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_picture.reset();
    }
    if (HWND hwnd = m_hwnd.load())
        ::PostMessageW(hwnd, kHideMessage, 0, 0);
}

void CScreenWindow::SetRoom(const RECT& room)
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_room = room;
    }
    if (HWND hwnd = m_hwnd.load())
        ::PostMessageW(hwnd, kRoomMessage, 0, 0);
}

CScreenWindow::Paints CScreenWindow::PaintCount() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return {m_nPresented, m_nPainted, m_lastPaint - m_firstPaint};
}

std::vector<uint16_t> CScreenWindow::TakeKeys()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return std::exchange(m_keys, {});
}

void CScreenWindow::Wait(DWORD ms) const
{
    ::WaitForSingleObject(m_hInput, ms);
}

std::vector<machine::DeviceInput> CScreenWindow::TakeInputs()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return std::exchange(m_inputs, {});
}

CScreenWindow::Pointer CScreenWindow::PointerState() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_pointer;
}

SIZE CScreenWindow::ShownSize(int width, int height, const RECT& workArea, Shape shape)
{
    if (width <= 0 || height <= 0)
        return {0, 0};
    const double roomWidth = (workArea.right - workArea.left) * kWorkShare;
    const double roomHeight = (workArea.bottom - workArea.top) * kWorkShare;
    const double shownHeight = shape == Shape::Screen ? width * 3.0 / 4 : height;
    const int scale = std::max(1, static_cast<int>(std::min(roomWidth / width, roomHeight / shownHeight)));
    return {width * scale, static_cast<int>(shownHeight * scale)};
}

void CScreenWindow::Fit()
{
    const HWND hwnd = m_hwnd.load();
    int width = 0;
    int height = 0;
    std::optional<RECT> room;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_picture) {
            width = m_picture->width;
            height = m_picture->height;
        }
        room = m_room;
    }
    if (width <= 0 || height <= 0)
        return;
    RECT work{0, 0, 1024, 768};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT area = room.value_or(work);
    const SIZE shown = ShownSize(width, height, area, m_shape);
    RECT frame{0, 0, shown.cx, shown.cy};
    ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    ::SetWindowPos(hwnd, nullptr, area.left, area.top, frame.right - frame.left, frame.bottom - frame.top,
                   (room ? 0 : SWP_NOMOVE) | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CScreenWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND hwnd = m_hwnd.load();
    switch (message) {
    case kPictureMessage:
        if (wParam)
            Fit();
        if (!::IsWindowVisible(hwnd)) {
            ::ShowWindow(hwnd, SW_SHOW);
            // What the user types goes to the program's picture from now on.
            ::SetForegroundWindow(hwnd);
        }
        ::InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case kHideMessage:
        ::ShowWindow(hwnd, SW_HIDE);
        return 0;
    case kRoomMessage:
        Fit();
        return 0;
    case kEndMessage:
        ::DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    case WM_CLOSE:
        m_bClosed = true;
        ::SetEvent(m_hInput);
        ::ShowWindow(hwnd, SW_HIDE);
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = ::BeginPaint(hwnd, &paint);
        Paint(dc);
        ::EndPaint(hwnd, &paint);
        CountPaint();
        return 0;
    }
    case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        Track(lParam, ((wParam & MK_LBUTTON) ? 1u : 0u) | ((wParam & MK_RBUTTON) ? 2u : 0u) | ((wParam & MK_MBUTTON) ? 4u : 0u));
        if (message == WM_LBUTTONDOWN)
            Click(machine::DeviceInput::Action::Press);
        else if (message == WM_LBUTTONUP)
            Click(machine::DeviceInput::Action::Release);
        else if (message == WM_RBUTTONDOWN)
            Click(machine::DeviceInput::Action::Toggle);
        return 0;
    }
    if (message == WM_CHAR && wParam > 0 && wParam < 0x80)
        Add({.pointer = false, .key = static_cast<char>(wParam)});
    std::vector<uint16_t> keys;
    if (m_keyboard.Take(message, wParam, lParam, keys)) {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_keys.insert(m_keys.end(), keys.begin(), keys.end());
        }
        ::SetEvent(m_hInput);
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

void CScreenWindow::Track(LPARAM point, unsigned buttons)
{
    RECT client;
    ::GetClientRect(m_hwnd.load(), &client);
    std::lock_guard<std::mutex> lock(m_lock);
    if (client.right <= 0 || client.bottom <= 0 || !m_picture || m_picture->width <= 0)
        return;
    const int x = GET_X_LPARAM(point);
    const int y = GET_Y_LPARAM(point);
    m_pointer.x = std::clamp(static_cast<int>(x * m_picture->width / client.right), 0, m_picture->width - 1);
    m_pointer.y = std::clamp(static_cast<int>(y * m_picture->height / client.bottom), 0, m_picture->height - 1);
    m_pointer.buttons = buttons;
}

void CScreenWindow::Click(machine::DeviceInput::Action action)
{
    const Pointer pointer = PointerState();
    Add({.action = action, .x = pointer.x, .y = pointer.y});
}

void CScreenWindow::Add(const machine::DeviceInput& input)
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_inputs.push_back(input);
    }
    ::SetEvent(m_hInput);
}

void CScreenWindow::Paint(HDC dc) const
{
    RECT client;
    ::GetClientRect(m_hwnd.load(), &client);
    std::shared_ptr<const machine::ScreenImage> picture;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        picture = m_picture;
    }
    if (!picture || picture->kind != machine::ScreenImage::Kind::Pixels || picture->width <= 0 || picture->height <= 0) {
        ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        return;
    }
    DrawPicture(dc, client, *picture);
}

void CScreenWindow::CountPaint()
{
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_nPainted++ == 0)
        m_firstPaint = now;
    m_lastPaint = now;
}

}  // namespace dos
