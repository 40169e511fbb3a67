// korvane-51.exe: runs an 8051 program from reset until it jumps to itself or a cycle limit
// passes; the serial port's bytes go to standard output as they are sent, standard input
// feeds the receiver, --observe prints what the devices (or the board) show at given times,
// --press holds a board's keys, and --regs prints the registers, the ports and the internal
// RAM at the end.
#pragma once

#include "mcs51/Board51.h"
#include "mcs51/Host51.h"
#include "mcs51/Machine51.h"
#include "mcs51/PortsDevice51.h"
#include "run51/RunOptions51.h"

#include <windows.h>

#include <array>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace mcs51 {

// Exit codes.
enum RunExit51 : int { kExitEnded = 0, kExitLimit = 1, kExitBadInput = 2 };

class CRunner51 : private IHost51 {
public:
    CRunner51(HANDLE input, HANDLE output, HANDLE error);
    CRunner51(const CRunner51&) = delete;
    CRunner51& operator=(const CRunner51&) = delete;

    int Run(const std::vector<std::wstring>& args);

private:
    // What the reading thread hands over: it may outlive the runner, so it shares this.
    struct Input {
        std::mutex lock;
        std::deque<uint8_t> bytes;
    };

    // What --regs prints of the chip: as the program ended, or as the run left it.
    struct Final {
        Registers51 registers;
        std::array<uint8_t, 4> latches{};
        std::vector<uint8_t> iram;
    };
    // A board's key held or let go at a cycle.
    struct KeyEvent {
        uint64_t cycle;
        unsigned key;
        bool down;
    };

    void OnSerialOut(uint8_t byte, bool ninth) override;

    int Fail(const std::wstring& message);
    // Makes the chip and loads the program; on a fault returns the message to print, else
    // an empty one.
    std::wstring Load(const RunOptions51& options);
    // The keys of --press, by the cycles they go down and up at, in order.
    std::vector<KeyEvent> KeyEvents(const RunOptions51& options) const;
    int Simulate(const RunOptions51& options);
    Final Capture() const;
    void StartReading();
    void FeedReceiver();
    void Flush();
    // Every device's view, after a line that names it and the cycle; or the board's lines
    // after "T=" and the milliseconds.
    void PrintViews(uint64_t cycle);
    void PrintRegisters(bool iram);

    HANDLE m_hInput;
    HANDLE m_hOutput;
    HANDLE m_hError;
    // Before the machine, which it outlives.
    CPortsDevice51 m_ports;
    std::unique_ptr<CBoard51> m_board;
    std::unique_ptr<CMachine51> m_machine;
    // The chip as the program ended, when observations after its end ran it on.
    std::optional<Final> m_ended;
    std::shared_ptr<Input> m_input = std::make_shared<Input>();
    std::string m_strPending;
    // The last byte sent, to start the register lines on a line of their own.
    int m_nLastSent = -1;
};

}  // namespace mcs51
