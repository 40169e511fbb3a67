// Helpers shared by the test executables: GBK texts, recorded message boxes and file
// dialogs, message pumping, scratch files and pixels of painted surfaces.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

// A UTF-8 literal converted through UTF-16 to code page 936 bytes: what a GBK file holds.
std::string Gbk(const char* utf8);
// Every double-byte pair of GBK (lead 0x81-0xFE, trail 0x40-0x7E and 0x80-0xFE), one lead per
// line, lines ended by CR LF, with ASCII around them.
std::string EveryGbkPair();

// Types text (UTF-8) into a window as the keyboard does: a WM_CHAR for each UTF-16 unit.
void TypeText(HWND wnd, const std::string& utf8);
// Puts UTF-16 text on the clipboard.
void PutTextOnClipboard(const std::wstring& text);

struct Services;
// The services of the application the tests start: the seams they set before they act.
Services& AppServices();

// Message boxes shown while a recorder lives are recorded and answered, never shown.
struct RecordedMessageBox {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
    DWORD threadId;  // the thread that showed the box
};

class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    // Answers for the next boxes, in order; when none is queued, OK boxes get IDOK,
    // yes/no boxes IDNO and yes/no/cancel boxes IDCANCEL.
    void QueueAnswer(int answer);
    std::vector<RecordedMessageBox> Boxes() const;
    std::vector<std::string> Texts() const;
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::vector<RecordedMessageBox> m_boxes;
    std::deque<int> m_answers;
};

// File dialogs answered by a queue of paths while the answerer lives ("" cancels).
class FileDialogAnswerer {
public:
    FileDialogAnswerer();
    ~FileDialogAnswerer();
    void QueueAnswer(const std::string& path);
    int Count() const { return m_nShown; }
    std::string LastInitialName() const { return m_strLastInitialName; }
    std::string LastTitle() const { return m_strLastTitle; }
    std::string LastFilter() const { return m_strLastFilter; }

private:
    std::deque<std::string> m_answers;
    int m_nShown = 0;
    std::string m_strLastInitialName;
    std::string m_strLastTitle;
    std::string m_strLastFilter;
};

// Dispatches every pending message (through the application's accelerators) and runs idle work.
void PumpMessages();
// The first window below root (at any depth) with this control id, or nullptr.
HWND FindDescendant(HWND root, UINT id);

// Modifier keys held down for PressAccelerator.
constexpr BYTE kShift = 1, kCtrl = 2, kAlt = 4;
// The thread's keyboard state with these modifiers held, for as long as the object lives.
class HeldModifiers {
public:
    explicit HeldModifiers(BYTE modifiers);
    ~HeldModifiers();
    HeldModifiers(const HeldModifiers&) = delete;
    HeldModifiers& operator=(const HeldModifiers&) = delete;

private:
    BYTE m_saved[256];
};
// A key press in a window as the message loop sees it: through the application's
// PreTranslateMessage (the accelerators), else to the window. True when it became a command.
bool PressAccelerator(HWND target, UINT key, BYTE modifiers = 0);
// Polls, dispatching this thread's messages in between, until the condition holds or the
// deadline passes; the condition's last answer.
bool WaitFor(const std::function<bool()>& condition, DWORD deadlineMs = 60000);

// A named event, closed until Open, that tests/helpers/gated_tool.exe waits for in its "gate"
// mode: the test decides when the tool goes on.
class ToolGate {
public:
    ToolGate();
    ~ToolGate();
    ToolGate(const ToolGate&) = delete;
    ToolGate& operator=(const ToolGate&) = delete;
    // The command line of the tool waiting at this gate (further arguments may follow).
    std::string ToolCommand() const;
    void Open() const;

private:
    std::string m_strName;
    HANDLE m_hEvent;
};

// A fresh scratch directory below the temporary folder; removed with its contents.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& name);
    ~ScratchDir();
    const std::string& Path() const { return m_strPath; }
    std::string File(const std::string& name) const { return m_strPath + "\\" + name; }
    // A folder of that name inside, made on the way.
    std::string Folder(const std::string& name) const;

private:
    std::string m_strPath;
};

// Files and folders by UTF-8 path.
void MakeFolder(const std::string& path);
// The names of the files and folders in a folder, sorted.
std::vector<std::string> FilesIn(const std::string& folder);

std::string ReadFileBytes(const std::string& path);

void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// The folder of the running test executable, and a program built next to it for the tests
// ("standin_tool.exe").
std::string ExecutableDir();
std::string HelperPath(const std::string& fileName);
// A path in double quotes, as a command line takes it.
std::string Quoted(const std::string& path);
// Whether text holds part, or ends with ending; how often part occurs in text.
bool Contains(const std::string& text, const std::string& part);
bool EndsWith(const std::string& text, const std::string& ending);
size_t Count(const std::string& text, const std::string& part);
// The program's per-user profile (the recent files and the rest), removed.
void ClearProfile();
// The compiler settings, removed below both roots they may live in.
void ClearCompilerSettings();

// A 32-bit top-down DIB section selected into a memory DC, for pixel checks.
class DibSurface {
public:
    DibSurface(int width, int height, COLORREF fill = RGB(1, 2, 3));
    ~DibSurface();
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;
    HDC dc() const { return m_dc; }
    COLORREF Pixel(int x, int y) const;

private:
    int m_width, m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    DWORD* m_bits = nullptr;
};
