// korvane-dos.exe's work: options, the program's file, the machine's run loop between the
// console (keys, screen) and the machine, and the messages and exit codes of its failures.
#include "dosrun/DosRunner.h"

#include "doshost/HostDrive.h"
#include "dosrun/ConsoleKeyboard.h"
#include "dosrun/DeviceObserver.h"
#include "dosrun/ConsoleScreen.h"
#include "dosrun/RunnerText.h"
#include "dosrun/ScreenWindow.h"

#include "korvane-dos.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace dos {

namespace {

// Instructions between two looks at the console and the pipes: a few milliseconds.
constexpr uint64_t kBudget = 2000000;
// The screen is shown anew this often: 60 pictures a second and more.
constexpr auto kScreenInterval = std::chrono::milliseconds(15);
// While the console waits for a key, the program's window is looked at this often.
constexpr DWORD kWindowPollMs = 10;

std::wstring Hex(unsigned value, int digits)
{
    wchar_t text[16];
    swprintf(text, 16, L"%0*X", digits, value);
    return text;
}

}

int CDosRunner::Run(const std::wstring& commandLine)
{
    RunnerOptions options;
    std::wstring bad;
    bool parsed = CRunnerOptions::Parse(commandLine, options, bad);
    // A folder that is not there would widen nothing: the user mistyped it.
    for (size_t i = 0; parsed && i < options.writableFolders.size(); ++i) {
        DWORD attributes = GetFileAttributesW(options.writableFolders[i].c_str());
        parsed = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        if (!parsed)
            bad = L"--allow-writes " + options.writableFolders[i];
    }
    if (!parsed) {
        if (!bad.empty())
            m_host.Report(RunnerText::Format(IDS_DOS_BAD_OPTION, {bad}));
        m_host.Report(RunnerText::Load(IDS_DOS_USAGE));
        return kExitUsage;
    }
    int exitCode = Execute(options);
    m_host.Flush();
    if (options.pause)
        Pause(exitCode);
    return exitCode;
}

std::wstring CDosRunner::FindProgram(const std::wstring& name)
{
    auto full = [](const std::wstring& path) {
        DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
        std::wstring text(length, L'\0');
        text.resize(GetFullPathNameW(path.c_str(), length, text.data(), nullptr));
        return text;
    };
    std::wstring path = full(name);
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return path;
    size_t slash = name.find_last_of(L"\\/:");
    bool hasExtension = name.find(L'.', slash == std::wstring::npos ? 0 : slash + 1) != std::wstring::npos;
    for (const wchar_t* extension : {L".COM", L".EXE"}) {
        std::wstring candidate = full(name + extension);
        if (!hasExtension && GetFileAttributesW(candidate.c_str()) != INVALID_FILE_ATTRIBUTES)
            return candidate;
    }
    return path;
}

std::vector<std::string> CDosRunner::Environment()
{
    std::vector<std::string> variables;
    wchar_t* block = GetEnvironmentStringsW();
    for (const wchar_t* at = block; at && *at; at += wcslen(at) + 1) {
        std::wstring variable = at;
        size_t equals = variable.find(L'=');
        if (equals == 0 || equals == std::wstring::npos)
            continue;
        BOOL lossy = FALSE;
        int length = WideCharToMultiByte(CP_OEMCP, 0, variable.data(), static_cast<int>(variable.size()), nullptr, 0, nullptr, &lossy);
        std::string bytes(static_cast<size_t>(length), '\0');
        WideCharToMultiByte(CP_OEMCP, 0, variable.data(), static_cast<int>(variable.size()), bytes.data(), length, nullptr, &lossy);
        if (lossy)
            continue;
        // COMMAND.COM keeps the names in capitals.
        for (size_t i = 0; i < equals; ++i)
            if (bytes[i] >= 'a' && bytes[i] <= 'z')
                bytes[i] = static_cast<char>(bytes[i] - 32);
        variables.push_back(bytes);
    }
    FreeEnvironmentStringsW(block);
    return variables;
}

int CDosRunner::LoadFailure(LoadError error, const std::wstring& program, uint16_t memoryKb)
{
    struct Failure {
        unsigned message;
        int code;
    };
    static const Failure kFailures[] = {
        {0, 0},
        {IDS_DOS_NOT_FOUND, kExitNotFound},
        {IDS_DOS_UNREADABLE, kExitUnreadable},
        {IDS_DOS_WINDOWS_PROGRAM, kExitWindowsProgram},
        {IDS_DOS_CORRUPT_HEADER, kExitCorruptHeader},
        {IDS_DOS_COM_TOO_LARGE, kExitComTooLarge},
        {IDS_DOS_NO_MEMORY, kExitNoMemory},
    };
    const Failure& failure = kFailures[static_cast<int>(error)];
    m_host.Report(RunnerText::Format(failure.message, {program, std::to_wstring(memoryKb)}));
    return failure.code;
}

int CDosRunner::FaultExit(const MachineFault& fault)
{
    std::wstring where = Hex(fault.cs, 4) + L":" + Hex(fault.ip, 4);
    std::wstring bytes;
    for (uint8_t byte : fault.bytes)
        bytes += (bytes.empty() ? L"" : L" ") + Hex(byte, 2);
    switch (fault.kind) {
    case FaultKind::DivideError:
        m_host.Report(RunnerText::Format(IDS_DOS_DIVIDE_ERROR, {where, bytes}));
        return kExitDivideError;
    case FaultKind::InvalidOpcode:
        m_host.Report(RunnerText::Format(IDS_DOS_INVALID_OPCODE, {where, bytes}));
        return kExitInvalidOpcode;
    case FaultKind::BoundRange:
        m_host.Report(RunnerText::Format(IDS_DOS_BOUND_RANGE, {where, bytes}));
        return kExitBoundRange;
    case FaultKind::Halted:
    case FaultKind::None:
        m_host.Report(RunnerText::Format(IDS_DOS_HALTED, {where, bytes}));
        return kExitHalted;
    }
    return kExitInternal;
}

StopReason CDosRunner::Drive(CDosMachine& machine, CDeviceObserver& observer, const std::wstring& title)
{
    std::unique_ptr<CConsoleKeyboard> keyboard;
    if (m_host.InputIsConsole())
        keyboard = std::make_unique<CConsoleKeyboard>(m_host.InputHandle());
    std::unique_ptr<CConsoleScreen> screen;
    if (m_host.OutputIsConsole()) {
        screen = std::make_unique<CConsoleScreen>(m_host.OutputHandle());
        screen->Attach(machine);
        m_host.HoldReports(true);
    }
    // The program's own window, from its first picture in a graphics mode.
    std::unique_ptr<CScreenWindow> window;
    auto shown = std::chrono::steady_clock::now();
    StopReason state = StopReason::Limit;
    for (;;) {
        observer.CatchUp(machine);
        state = machine.Run(observer.Budget(machine, kBudget));
        bool done = state == StopReason::Ended || state == StopReason::Faulted;
        observer.CatchUp(machine);
        if (done)
            observer.Finish(machine);
        m_host.Flush();
        bool waiting = state == StopReason::WaitingForInput || state == StopReason::Idle;
        auto now = std::chrono::steady_clock::now();
        if (done || waiting || now - shown >= kScreenInterval) {
            Show(machine.Screen(), screen.get(), window, title);
            shown = now;
        }
        if (done || state == StopReason::Paused)
            break;
        DWORD wait = waiting ? static_cast<DWORD>(machine.UntilWake().count() / 1000 + 1) : 0;
        if (keyboard) {
            if (wait)
                keyboard->Wait(window ? std::min(wait, kWindowPollMs) : wait);
            keyboard->Pump(machine);
        } else if (window) {
            window->Wait(wait);
        } else if (wait) {
            Sleep(wait);
        }
        if (window) {
            for (const uint16_t key : window->TakeKeys())
                machine.PressKey(key);
            const CScreenWindow::Pointer pointer = window->PointerState();
            machine.SetPointer(pointer.x, pointer.y, pointer.buttons);
            if (window->Closed()) {
                state = StopReason::Paused;
                break;
            }
        }
    }
    if (screen)
        screen->Detach();
    m_host.HoldReports(false);
    return state;
}

void CDosRunner::Show(const machine::ScreenImage& picture, CConsoleScreen* screen, std::unique_ptr<CScreenWindow>& window,
                      const std::wstring& title)
{
    if (picture.kind == machine::ScreenImage::Kind::Pixels) {
        if (!window)
            window = std::make_unique<CScreenWindow>(title);
        window->Present(picture);
        return;
    }
    if (window)
        window->Hide();
    if (screen)
        screen->Present(picture);
}

int CDosRunner::Execute(const RunnerOptions& options)
{
    DosMachineSettings settings;
    settings.memoryKb = options.memoryKb;
    settings.versionMajor = options.versionMajor;
    settings.versionMinor = options.versionMinor;
    settings.input = m_host.InputIsConsole() ? ConsoleInput::Keyboard : ConsoleInput::Stream;
    settings.output = m_host.OutputIsConsole() ? ConsoleOutput::Screen : ConsoleOutput::Stream;
    settings.error = m_host.OutputIsConsole() && m_host.ErrorIsConsole() ? ConsoleOutput::Screen : ConsoleOutput::Stream;
    settings.environment = Environment();
    settings.pace = options.pace;
    settings.writableFolders = options.writableFolders;
    auto machine = std::make_unique<CDosMachine>(m_host, std::make_unique<CHostDrive>(), settings);
    std::wstring program = FindProgram(options.program);
    LoadError error = machine->Load(program, RunnerText::Encode(options.tail, CP_OEMCP));
    if (error != LoadError::None)
        return LoadFailure(error, options.program, options.memoryKb);
    CDeviceObserver observer(m_host, options.observe);
    StopReason state = Drive(*machine, observer, std::filesystem::path(program).filename().wstring());
    if (state == StopReason::Faulted)
        return FaultExit(machine->Fault());
    if (state != StopReason::Ended || machine->TerminationType() == 1)
        return kExitBreak;
    return machine->ExitCode();
}

void CDosRunner::Pause(int exitCode)
{
    if (!m_host.InputIsConsole())
        return;
    m_host.Report(RunnerText::Format(IDS_DOS_PAUSE, {std::to_wstring(exitCode)}));
    CConsoleKeyboard(m_host.InputHandle()).WaitForKeyPress();
}

}  // namespace dos
