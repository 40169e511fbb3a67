// The runner's loop: slices of machine cycles, serial bytes out after each slice, the host's
// input in before it.
#include "run51/Runner51.h"

#include "mcs51/Pacer51.h"
#include "run51/ConsoleText51.h"
#include "run51/RunnerStrings51.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <thread>

namespace mcs51 {

namespace {
// The console's input mode as it was before the runner made it raw; put back at the end, also
// when Ctrl+C or closing the window ends the runner.
HANDLE g_hConsoleInput = nullptr;
DWORD g_dwConsoleMode = 0;

BOOL WINAPI RestoreConsole(DWORD)
{
    if (g_hConsoleInput)
        ::SetConsoleMode(g_hConsoleInput, g_dwConsoleMode);
    return FALSE;
}

// Cycles between looks at the input and flushes of the output: 10 ms of a 12 MHz chip.
const uint64_t kSliceCycles = 10000;
// In real time the slices are 1 ms, so that output comes as it would on the chip.
const uint64_t kRealTimeSliceCycles = 1000;
// A board's times are milliseconds of a 12 MHz chip.
const uint64_t kCyclesPerMs = 1000;

bool EndsWithBin(const std::wstring& path)
{
    if (path.size() < 4)
        return false;
    std::wstring tail = path.substr(path.size() - 4);
    for (wchar_t& c : tail)
        c = static_cast<wchar_t>(std::towlower(c));
    return tail == L".bin";
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart < (LONGLONG{1} << 30);
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() || (::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size());
    }
    ::CloseHandle(file);
    return ok;
}

UINT MessageOf(HexError51 error)
{
    switch (error) {
    case HexError51::kNone:
    case HexError51::kNotHex:
        break;
    case HexError51::kChecksum:
        return IDS_RUN51_CHECKSUM;
    case HexError51::kTruncated:
        return IDS_RUN51_TRUNCATED;
    case HexError51::kBeyondCode:
        return IDS_RUN51_BEYOND;
    case HexError51::kRecordType:
        return IDS_RUN51_RECORD_TYPE;
    case HexError51::kTooLarge:
        return IDS_RUN51_TOO_LARGE;
    }
    return IDS_RUN51_NOT_HEX;
}
}

CRunner51::CRunner51(HANDLE input, HANDLE output, HANDLE error)
    : m_hInput(input), m_hOutput(output), m_hError(error)
{
}

int CRunner51::Run(const std::vector<std::wstring>& args)
{
    RunOptions51 options;
    switch (options.Parse(args)) {
    case OptionError51::kNone:
        break;
    case OptionError51::kUsage:
        return Fail(CConsoleText51::Load(IDS_RUN51_USAGE));
    case OptionError51::kBadCycles:
        return Fail(CConsoleText51::Load(IDS_RUN51_BAD_CYCLES));
    case OptionError51::kBadObserve:
        return Fail(CConsoleText51::Load(IDS_RUN51_BAD_OBSERVE));
    case OptionError51::kBadBoard:
        return Fail(CConsoleText51::Load(IDS_RUN51_BAD_BOARD));
    case OptionError51::kBadPress:
        return Fail(CConsoleText51::Load(IDS_RUN51_BAD_PRESS));
    }
    const std::wstring fault = Load(options);
    if (!fault.empty())
        return Fail(fault);
    return Simulate(options);
}

int CRunner51::Fail(const std::wstring& message)
{
    CConsoleText51::WriteLine(m_hError, message);
    return kExitBadInput;
}

std::wstring CRunner51::Load(const RunOptions51& options)
{
    m_machine = std::make_unique<CMachine51>(options.mcs8052 ? Mcs51Variant::k8052 : Mcs51Variant::k8051);
    m_machine->SetHost(this);
    m_machine->SetStopAtSelfJump(true);
    if (options.board.empty()) {
        m_machine->Attach(m_ports);
    } else {
        m_board = std::make_unique<CBoard51>(*CBoard51::KindOf(options.board));
        m_board->Attach(*m_machine);
        m_board->SetBounce(options.bounce);
        for (const Press51& press : options.presses)
            if (!m_board->KeyOf(press.key))
                return CConsoleText51::Format(IDS_RUN51_UNKNOWN_KEY, std::wstring(options.board.begin(), options.board.end()),
                                              std::wstring(press.key.begin(), press.key.end()));
    }
    const std::wstring& path = options.program;
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return CConsoleText51::Format(IDS_RUN51_CANNOT_OPEN, path);
    const HexResult51 result = EndsWithBin(path) ? m_machine->LoadBinary(bytes) : m_machine->LoadHex(bytes);
    if (result.Ok())
        return {};
    return CConsoleText51::Format(MessageOf(result.error), path, std::to_wstring(result.line));
}

std::vector<CRunner51::KeyEvent> CRunner51::KeyEvents(const RunOptions51& options) const
{
    std::vector<KeyEvent> events;
    for (const Press51& press : options.presses) {
        const unsigned key = *m_board->KeyOf(press.key);
        events.push_back({press.from * kCyclesPerMs, key, true});
        events.push_back({press.to * kCyclesPerMs, key, false});
    }
    std::stable_sort(events.begin(), events.end(), [](const KeyEvent& a, const KeyEvent& b) { return a.cycle < b.cycle; });
    return events;
}

int CRunner51::Simulate(const RunOptions51& options)
{
    StartReading();
    CPacer51 pacer;
    pacer.Start(0);
    const uint64_t slice = options.realTime ? kRealTimeSliceCycles : kSliceCycles;
    // A board's observations are in milliseconds, and its run ends 1 ms after the last.
    std::vector<uint64_t> observe = options.observe;
    uint64_t endAt = 0;
    if (m_board) {
        for (uint64_t& time : observe)
            time *= kCyclesPerMs;
        if (!observe.empty())
            endAt = observe.back() + kCyclesPerMs;
    }
    const std::vector<KeyEvent> keys = m_board ? KeyEvents(options) : std::vector<KeyEvent>{};
    size_t observed = 0;
    size_t pressed = 0;
    int exit = kExitEnded;
    for (;;) {
        for (; pressed < keys.size() && keys[pressed].cycle <= m_machine->Cycles(); ++pressed)
            m_board->SetHeld(keys[pressed].key, keys[pressed].down);
        if (m_board)
            m_board->Follow();
        // A run stops at the first instruction boundary at or after the cycle it is given: what
        // the devices show there is what every instruction begun before that cycle left.
        for (; observed < observe.size() && observe[observed] <= m_machine->Cycles(); ++observed)
            PrintViews(observe[observed]);
        if (endAt ? m_machine->Cycles() >= endAt : m_ended && observed == observe.size())
            break;
        FeedReceiver();
        uint64_t cycles = slice;
        if (options.cycles) {
            if (m_machine->Cycles() >= options.cycles) {
                exit = m_ended ? kExitEnded : kExitLimit;
                break;
            }
            cycles = std::min(cycles, options.cycles - m_machine->Cycles());
        }
        if (observed < observe.size())
            cycles = std::min(cycles, observe[observed] - m_machine->Cycles());
        if (pressed < keys.size())
            cycles = std::min(cycles, keys[pressed].cycle - m_machine->Cycles());
        if (endAt)
            cycles = std::min(cycles, endAt - m_machine->Cycles());
        const machine::StopReason stop = m_machine->Run(cycles);
        Flush();
        if (stop == machine::StopReason::Ended) {
            m_ended = Capture();
            if (!endAt && observed == observe.size())
                break;
            if (!m_machine->AtSelfJump()) {
                // Power-down, or idle for good: the clock has stopped, the devices show the chip as it stopped.
                for (; observed < observe.size(); ++observed)
                    PrintViews(observe[observed]);
                break;
            }
            // The chip goes round its jump to itself until the last observation, as it would.
            m_machine->SetStopAtSelfJump(false);
        }
        if (options.realTime)
            pacer.WaitFor(m_machine->Cycles());
    }
    RestoreConsole(CTRL_C_EVENT);
    if (options.regs)
        PrintRegisters(options.iram);
    return exit;
}

CRunner51::Final CRunner51::Capture() const
{
    Final final;
    final.registers = m_machine->Registers();
    for (unsigned port = 0; port < 4; ++port)
        final.latches[port] = m_machine->PortLatch(port);
    const size_t size = m_machine->Variant() == Mcs51Variant::k8052 ? 256 : 128;
    for (size_t address = 0; address < size; ++address)
        final.iram.push_back(m_machine->Read(Mcs51Space::kIram, static_cast<uint16_t>(address)));
    return final;
}

void CRunner51::StartReading()
{
    if (m_hInput == nullptr || m_hInput == INVALID_HANDLE_VALUE)
        return;
    // Keys typed at a console go to the program one by one, without echo or line editing.
    DWORD mode = 0;
    if (::GetConsoleMode(m_hInput, &mode)) {
        g_hConsoleInput = m_hInput;
        g_dwConsoleMode = mode;
        ::SetConsoleCtrlHandler(RestoreConsole, TRUE);
        ::SetConsoleMode(m_hInput, mode & ~(ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT));
    }
    std::thread([input = m_input, handle = m_hInput] {
        char buffer[256];
        DWORD read = 0;
        while (::ReadFile(handle, buffer, sizeof buffer, &read, nullptr) && read) {
            std::lock_guard<std::mutex> guard(input->lock);
            input->bytes.insert(input->bytes.end(), buffer, buffer + read);
        }
    }).detach();
}

void CRunner51::FeedReceiver()
{
    std::lock_guard<std::mutex> guard(m_input->lock);
    while (!m_input->bytes.empty()) {
        m_machine->QueueSerialInput(m_input->bytes.front());
        m_input->bytes.pop_front();
    }
}

void CRunner51::OnSerialOut(uint8_t byte, bool)
{
    m_strPending += static_cast<char>(byte);
    m_nLastSent = byte;
}

void CRunner51::Flush()
{
    if (m_strPending.empty())
        return;
    CConsoleText51::WriteBytes(m_hOutput, m_strPending);
    m_strPending.clear();
}

void CRunner51::PrintViews(uint64_t cycle)
{
    std::string text = m_nLastSent >= 0 && m_nLastSent != '\n' ? "\r\n" : "";
    if (m_board) {
        text += "T=" + std::to_string(cycle / kCyclesPerMs) + "\r\n" + m_board->View().text;
    } else {
        for (const machine::IDevice* device : m_machine->Devices()) {
            text += '[' + std::string(device->Name()) + "] cycle=" + std::to_string(cycle) + "\r\n";
            const std::string view = device->View().text;
            text += view;
            if (!view.empty() && view.back() != '\n')
                text += "\r\n";
        }
    }
    CConsoleText51::WriteBytes(m_hOutput, text);
    m_nLastSent = '\n';
}

void CRunner51::PrintRegisters(bool iram)
{
    const Final final = m_ended ? *m_ended : Capture();
    const Registers51& r = final.registers;
    const std::array<uint8_t, 4>& p = final.latches;
    // The marker always starts a line of its own after a line end of the runner's: the
    // program's bytes are exactly those before it.
    char text[240];
    std::snprintf(text, sizeof text,
        "\r\n-- serial end --\r\n"
        "PC=%04X A=%02X B=%02X PSW=%02X SP=%02X DPTR=%04X\r\n"
        "R0=%02X R1=%02X R2=%02X R3=%02X R4=%02X R5=%02X R6=%02X R7=%02X\r\ncycles=%llu\r\n"
        "P0=%02X P1=%02X P2=%02X P3=%02X\r\n",
        r.pc, r.a, r.b, r.psw, r.sp, r.dptr, r.r[0], r.r[1], r.r[2], r.r[3], r.r[4], r.r[5], r.r[6], r.r[7],
        static_cast<unsigned long long>(r.cycles), p[0], p[1], p[2], p[3]);
    std::string lines = text;
    for (size_t row = 0; iram && row < final.iram.size(); row += 16) {
        char address[8];
        std::snprintf(address, sizeof address, "%02X:", static_cast<unsigned>(row));
        lines += address;
        for (size_t i = row; i < row + 16; ++i) {
            char byte[4];
            std::snprintf(byte, sizeof byte, " %02X", final.iram[i]);
            lines += byte;
        }
        lines += "\r\n";
    }
    CConsoleText51::WriteBytes(m_hOutput, lines);
}

}  // namespace mcs51
