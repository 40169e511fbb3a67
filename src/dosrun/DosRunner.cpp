// korvane-dos.exe's work: options, the program's file, the machine's run loop between the
// console (keys, screen) and the machine, and the messages and exit codes of its failures.
#include "dosrun/DosRunner.h"

#include "doshost/HostDrive.h"
#include "dosrun/ConsoleKeyboard.h"
#include "dosrun/DeviceObserver.h"
#include "dosrun/ConsoleScreen.h"
#include "dosrun/RunnerText.h"
#include "dosrun/RunWindows.h"
#include "dosrun/WaveOutSound.h"
#include "dos/FloppyImage.h"
#include "dos/WaveRecorder.h"

#include "korvane-dos.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace dos {

namespace {

// Instructions between two looks at the console, the pipes and the screen: as many as take
// about kSlice of the host's time (a string instruction's every repetition counts), within these.
constexpr uint64_t kBudget = 2000000;
constexpr uint64_t kLeastBudget = 10000;
constexpr auto kSlice = std::chrono::milliseconds(4);
// The screen is shown anew at a monitor's 60 pictures a second, each due a 60th of a second
// after the last was due, so that slices ending late do not slow the pace.
constexpr auto kScreenInterval = std::chrono::nanoseconds(1000000000 / 60);
// While the console waits for a key, the program's window is looked at this often.
constexpr DWORD kWindowPollMs = 10;

// The next slice's instructions after a slice of `budget` took `took`.
uint64_t NextBudget(uint64_t budget, std::chrono::steady_clock::duration took)
{
    if (took > kSlice)
        return std::max(kLeastBudget, static_cast<uint64_t>(static_cast<double>(budget) * kSlice / took));
    if (took < kSlice / 2)
        return std::min(kBudget, budget * 2);
    return budget;
}

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
    case FaultKind::NoBootDisk:
        m_host.Report(RunnerText::Format(IDS_DOS_NO_BOOT_DISK, {where}));
        return kExitNoBootDisk;
    case FaultKind::Halted:
    case FaultKind::None:
        m_host.Report(RunnerText::Format(IDS_DOS_HALTED, {where, bytes}));
        return kExitHalted;
    }
    return kExitInternal;
}

StopReason CDosRunner::Drive(CDosMachine& machine, CDeviceObserver& observer, const std::wstring& title, labbox::CLabBox* box)
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
    // The box has a window of its own where the run has a console of its own (F9).
    CRunWindows windows(title, screen ? box : nullptr);
    auto due = std::chrono::steady_clock::now();
    StopReason state = StopReason::Limit;
    uint64_t budget = kLeastBudget;
    for (;;) {
        observer.CatchUp(machine);
        const uint64_t slice = observer.Budget(machine, budget);
        const auto started = std::chrono::steady_clock::now();
        state = machine.Run(slice);
        if (state == StopReason::Limit && slice == budget)
            budget = NextBudget(budget, std::chrono::steady_clock::now() - started);
        bool done = state == StopReason::Ended || state == StopReason::Faulted;
        observer.CatchUp(machine);
        if (done)
            observer.Finish(machine);
        m_host.Flush();
        bool waiting = state == StopReason::WaitingForInput || state == StopReason::Idle;
        auto now = std::chrono::steady_clock::now();
        if (done || waiting || now >= due) {
            windows.Show(machine.Screen(), screen.get());
            due = due + kScreenInterval > now ? due + kScreenInterval : now + kScreenInterval;
        }
        if (done || state == StopReason::Paused || observer.Over(machine))
            break;
        DWORD wait = waiting ? static_cast<DWORD>(machine.UntilWake().count() / 1000 + 1) : 0;
        if (keyboard) {
            if (wait)
                keyboard->Wait(windows.Any() ? std::min(wait, kWindowPollMs) : wait);
            keyboard->Pump(machine);
        } else if (windows.Any()) {
            windows.Wait(wait);
        } else if (wait) {
            Sleep(wait);
        }
        windows.TakeInput(machine);
        if (windows.Closed()) {
            state = StopReason::Paused;
            break;
        }
    }
    if (screen)
        screen->Detach();
    m_host.HoldReports(false);
    NotePaints(windows.ScreenPaints());
    return state;
}

void CDosRunner::NotePaints(const CScreenWindow::Paints& paints)
{
    wchar_t path[MAX_PATH] = L"";
    const DWORD length = GetEnvironmentVariableW(L"KORVANE_DOS_PAINTS", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(paints.span).count();
    const std::string line = std::to_string(paints.presented) + " " + std::to_string(paints.painted) + " " + std::to_string(ms) + "\n";
    WriteWholeFile(path, std::vector<uint8_t>(line.begin(), line.end()), CREATE_ALWAYS);
}

bool CDosRunner::IsFloppyImage(const std::wstring& image, bool firstSectors)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(image.c_str(), GetFileExInfoStandard, &data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    const uint64_t bytes = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    return (firstSectors ? FloppyGeometry::OfFirstSectors(bytes) : FloppyGeometry::OfSize(bytes)).sectors != 0;
}

bool CDosRunner::WriteWholeFile(const std::wstring& path, const std::vector<uint8_t>& bytes, DWORD disposition)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    bool done = file != INVALID_HANDLE_VALUE && WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                written == bytes.size();
    if (file != INVALID_HANDLE_VALUE)
        done = CloseHandle(file) && done;
    if (!done)
        m_host.Report(RunnerText::Format(IDS_DOS_CANNOT_WRITE, {path}));
    return done;
}

int CDosRunner::MakeFloppy(const std::wstring& image)
{
    return WriteWholeFile(image, FloppyImage::Formatted1440(), CREATE_NEW) ? 0 : kExitCannotWrite;
}

int CDosRunner::Start(CDosMachine& machine, const RunnerOptions& options)
{
    if (!options.boot) {
        const LoadError error = machine.Load(FindProgram(options.program), RunnerText::Encode(options.tail, CP_OEMCP));
        return error == LoadError::None ? 0 : LoadFailure(error, options.program, options.memoryKb);
    }
    switch (machine.Boot()) {
    case BootSector::Loaded:
        return 0;
    case BootSector::NoDisk:
        break;
    case BootSector::NotBootable:
        m_host.Report(RunnerText::Format(IDS_DOS_NOT_BOOTABLE, {options.floppy}));
        return kExitNotBootable;
    }
    m_host.Report(RunnerText::Format(IDS_DOS_BAD_FLOPPY, {options.floppy}));
    return kExitBadFloppy;
}

int CDosRunner::Execute(const RunnerOptions& options)
{
    if (options.makeFloppy)
        return MakeFloppy(options.floppy);
    if (!options.floppy.empty() && !IsFloppyImage(options.floppy, options.boot)) {
        m_host.Report(RunnerText::Format(IDS_DOS_BAD_FLOPPY, {options.floppy}));
        return kExitBadFloppy;
    }
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
    settings.floppyImage = options.floppy;
    // What --boot starts may be a boot sector as an assembler built it.
    settings.floppyFirstSectors = options.boot;
    CWaveRecorder recorder;
    CWaveOutSound speaker;
    auto machine = std::make_unique<CDosMachine>(m_host, std::make_unique<CHostDrive>(), settings);
    machine->Speaker().SetOutput(options.wave.empty() ? static_cast<ISoundOutput*>(&speaker) : &recorder);
    if (const int failure = Start(*machine, options))
        return failure;
    CDeviceObserver observer(m_host, options.observe);
    std::unique_ptr<labbox::CLabBox> box;
    if (!options.labbox.empty()) {
        box = labbox::CLabBox::PlugInto(*machine, options.labbox, options.wiring);
        observer.WatchBox(*box, options.settings);
    }
    const std::wstring title = std::filesystem::path(options.boot ? options.floppy : FindProgram(options.program)).filename().wstring();
    StopReason state = Drive(*machine, observer, title, box.get());
    machine->Speaker().Flush();
    speaker.Drain();
    if (!options.wave.empty() && !WriteWholeFile(options.wave, recorder.WaveFile(), CREATE_ALWAYS))
        return kExitCannotWrite;
    // A box's run that the observation ended.
    if (box && observer.Over(*machine) && state != StopReason::Ended && state != StopReason::Faulted)
        return 0;
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
