// Helpers shared by the test executables.
#include "TestSupport.h"

#include "app/KorvaneApp.h"
#include "build/CompilerSettings.h"
#include "framework/CFileDialog.h"
#include "framework/PathName.h"
#include "framework/RegistryKey.h"
#include "framework/Unicode.h"
#include "framework/docview/CWinApp.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <iterator>

std::string Gbk(const char* utf8)
{
    int wide = ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(wide), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, w.data(), wide);
    int bytes = ::WideCharToMultiByte(936, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(936, 0, w.c_str(), -1, out.data(), bytes, nullptr, nullptr);
    out.resize(static_cast<size_t>(bytes > 0 ? bytes - 1 : 0));
    return out;
}

std::string EveryGbkPair()
{
    std::string text = "; all pairs\r\n";
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        text += "db '";
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F)
                continue;
            text += static_cast<char>(lead);
            text += static_cast<char>(trail);
        }
        text += "'\r\n";
    }
    return text + "END";
}

void TypeText(HWND wnd, const std::string& utf8)

{
    for (wchar_t c : Widen(utf8))
        ::SendMessageW(wnd, WM_CHAR, c, 1);
}

Services& AppServices()
{
    return TheApp().GetServices();
}

void PutTextOnClipboard(const std::wstring& text)
{
    if (!::OpenClipboard(nullptr))
        return;
    ::EmptyClipboard();
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(::GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_UNICODETEXT, memory);
    ::CloseClipboard();
}

MessageBoxRecorder::MessageBoxRecorder()
{
    AppServices().messageBox = [this](HWND owner, const std::string& text, const std::string& caption, UINT type) {
        std::lock_guard lock(m_mutex);
        m_boxes.push_back({owner, text, caption, type, ::GetCurrentThreadId()});
        if (!m_answers.empty()) {
            int answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        }
        switch (type & MB_TYPEMASK) {
        case MB_YESNO:
            return IDNO;
        case MB_YESNOCANCEL:
        case MB_OKCANCEL:
            return IDCANCEL;
        default:
            return IDOK;
        }
    };
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    AppServices().messageBox = nullptr;
}

void MessageBoxRecorder::QueueAnswer(int answer)
{
    std::lock_guard lock(m_mutex);
    m_answers.push_back(answer);
}

std::vector<RecordedMessageBox> MessageBoxRecorder::Boxes() const
{
    std::lock_guard lock(m_mutex);
    return m_boxes;
}

std::vector<std::string> MessageBoxRecorder::Texts() const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::string> texts;
    for (const auto& box : m_boxes)
        texts.push_back(box.text);
    return texts;
}

void MessageBoxRecorder::Clear()
{
    std::lock_guard lock(m_mutex);
    m_boxes.clear();
    m_answers.clear();
}

FileDialogAnswerer::FileDialogAnswerer()
{
    AppServices().fileDialog = [this](CFileDialog& dialog, std::string& path) -> INT_PTR {
        ++m_nShown;
        m_strLastInitialName = dialog.GetInitialFileName();
        m_strLastTitle = dialog.GetTitle();
        m_strLastFilter = dialog.GetFilter();
        if (m_answers.empty())
            return IDCANCEL;
        path = m_answers.front();
        m_answers.pop_front();
        return path.empty() ? IDCANCEL : IDOK;
    };
}

FileDialogAnswerer::~FileDialogAnswerer()
{
    AppServices().fileDialog = nullptr;
}

void FileDialogAnswerer::QueueAnswer(const std::string& path)
{
    m_answers.push_back(path);
}

HWND FindDescendant(HWND root, UINT id)
{
    struct Search {
        UINT id;
        HWND found;
    } search{id, nullptr};
    ::EnumChildWindows(
        root,
        [](HWND wnd, LPARAM param) {
            auto* s = reinterpret_cast<Search*>(param);
            if (static_cast<UINT>(::GetDlgCtrlID(wnd)) != s->id)
                return TRUE;
            s->found = wnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void PumpMessages()
{
    CWinApp* app = AfxGetApp();
    for (int round = 0; round < 4; ++round) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            if (!app || !app->PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        if (app)
            app->OnIdle(0);
    }
}

HeldModifiers::HeldModifiers(BYTE modifiers)
{
    ::GetKeyboardState(m_saved);
    BYTE state[256];
    std::copy(std::begin(m_saved), std::end(m_saved), std::begin(state));
    state[VK_SHIFT] = (modifiers & kShift) ? 0x80 : 0;
    state[VK_CONTROL] = (modifiers & kCtrl) ? 0x80 : 0;
    state[VK_MENU] = (modifiers & kAlt) ? 0x80 : 0;
    ::SetKeyboardState(state);
}

HeldModifiers::~HeldModifiers()
{
    ::SetKeyboardState(m_saved);
}

bool PressAccelerator(HWND target, UINT key, BYTE modifiers)
{
    bool translated = false;
    {
        HeldModifiers held(modifiers);
        bool system = (modifiers & kAlt) || key == VK_F10;
        MSG msg{};
        msg.hwnd = target;
        msg.message = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
        msg.wParam = key;
        msg.lParam = 1 | ((modifiers & kAlt) ? (1 << 29) : 0);
        translated = AfxGetApp()->PreTranslateMessage(&msg);
    }
    PumpMessages();
    return translated;
}

bool WaitFor(const std::function<bool()>& condition, DWORD deadlineMs)
{
    DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > deadlineMs)
            return condition();
        PumpMessages();
        ::Sleep(20);
    }
    return true;
}

ToolGate::ToolGate()
{
    static int s_nGates = 0;
    m_strName = "korvane-gate-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++s_nGates);
    m_hEvent = ::CreateEventA(nullptr, TRUE, FALSE, m_strName.c_str());
}

ToolGate::~ToolGate()
{
    ::CloseHandle(m_hEvent);
}

std::string ToolGate::ToolCommand() const
{
    return Quoted(HelperPath("gated_tool.exe")) + " gate " + m_strName;
}

void ToolGate::Open() const
{
    ::SetEvent(m_hEvent);
}

static void RemoveTree(const std::string& path)
{
    std::wstring from = Widen(path) + std::wstring(2, L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    ::SHFileOperationW(&op);
}

ScratchDir::ScratchDir(const std::string& name)
{
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    m_strPath = Narrow(temp) + "korvane-test-" + name;
    RemoveTree(m_strPath);
    MakeFolder(m_strPath);
}

std::string ScratchDir::Folder(const std::string& name) const
{
    std::string path = File(name);
    MakeFolder(path);
    return path;
}

void MakeFolder(const std::string& path)
{
    ::CreateDirectoryW(Widen(path).c_str(), nullptr);
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    std::string pattern = folder + (folder.empty() || folder.back() == '\\' ? "*" : "\\*");
    HANDLE search = ::FindFirstFileW(Widen(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = Narrow(found.cFileName);
        if (name != "." && name != "..")
            names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

ScratchDir::~ScratchDir()
{
    RemoveTree(m_strPath);
}

std::string ReadFileBytes(const std::string& path)
{
    HANDLE file = ::CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);

    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char buffer[65536];
    DWORD n = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0)
        bytes.append(buffer, n);
    ::CloseHandle(file);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = ::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    ::CloseHandle(file);
}

bool FileExists(const std::string& path)
{
    return ::GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ExecutableDir()
{
    wchar_t path[MAX_PATH * 4];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return SplitPath(Narrow(path)).folder;

}

std::string HelperPath(const std::string& fileName)
{
    return ExecutableDir() + "\\" + fileName;
}

std::string Quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

bool EndsWith(const std::string& text, const std::string& ending)
{
    return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

void ClearCompilerSettings()
{
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        CRegistryKey::DeleteTree(root, kSettingsKeyPath);
}

void ClearProfile()
{
    CRegistryKey::DeleteTree(HKEY_CURRENT_USER, "Software\\Local AppWizard-Generated Applications\\Korvane");
}

DibSurface::DibSurface(int width, int height, COLORREF fill) : m_width(width), m_height(height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_dc = ::CreateCompatibleDC(nullptr);
    m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<DWORD*>(bits);
    m_old = ::SelectObject(m_dc, m_bitmap);
    HBRUSH brush = ::CreateSolidBrush(fill);
    RECT all{0, 0, width, height};
    ::FillRect(m_dc, &all, brush);
    ::DeleteObject(brush);
}

DibSurface::~DibSurface()
{
    ::SelectObject(m_dc, m_old);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_dc);
}

COLORREF DibSurface::Pixel(int x, int y) const
{
    ::GdiFlush();
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return CLR_INVALID;
    DWORD v = m_bits[y * m_width + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}
