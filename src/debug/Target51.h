// The 8051 under the debugger: a program from an Intel HEX file, run instruction by instruction
// so that each is counted and can be undone, at a real 12 MHz chip's pace when asked; what it
// sends through its serial port and writes to its ports kept for the panes.
#pragma once

#include "debug/DebugTarget.h"

#include "mcs51/Board51.h"
#include "mcs51/LogicAnalyzer51.h"
#include "mcs51/Machine51.h"
#include "mcs51/Pacer51.h"
#include "mcs51/PortsDevice51.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace mcs51 {

class CTarget51 final : public IDebugTarget, private IHost51 {
public:
    explicit CTarget51(Mcs51Variant variant = Mcs51Variant::k8051);

    // A program's Intel HEX text; the chip is reset.
    HexResult51 Load(std::string_view hex);
    // Whether runs keep a real chip's pace (12 MHz crystal); off, they run as fast as they can.
    void SetRealTime(bool on) { m_bRealTime = on; }
    // The teaching board on the pins (before the panes are made).
    void SetBoard(BoardKind51 kind);
    CBoard51* Board() const { return m_board.get(); }

    uint32_t NameId() const override;
    std::vector<std::unique_ptr<CDebugPane>> MakePanes(CDebugSession& session) override;
    StopReason Step() override;
    StopReason Run(uint64_t budget) override;
    void RequestStop() override;
    // The chip's time is its machine cycles, which pass only as it runs.
    void SetClockRunning(bool) override {}
    uint64_t Executed() const override { return m_nExecuted; }
    size_t BackDepth() const override { return m_machine.HistorySize(); }
    size_t StepBack(size_t count) override;
    BackLimit Barrier() const override { return m_barrier; }
    uint64_t BarrierAt() const override { return m_nBarrierAt; }
    uint32_t Pc() const override { return m_machine.Pc(); }
    NextInstruction Next() const override;
    uint32_t AddressAfter(const NextInstruction& next) const override { return (next.address + next.length) & 0xFFFF; }
    bool Sleeping() const override { return m_bSleeping; }
    uint32_t StackDepth() const override;
    uint32_t ImageBase() const override { return 0; }
    std::string PlaceText() const override;
    Sentence FaultText() const override;
    void SetBreakpoint(uint32_t address, bool set) override;
    bool HasBreakpoint(uint32_t address) const override;
    int ExitCode() const override { return 0; }
    void MarkChanges() override;
    void Feed(uint16_t byte) override;
    size_t OutputMark() const override;
    void RewindOutput(size_t length) override;

    CMachine51& Machine() { return m_machine; }
    const CMachine51& Machine() const { return m_machine; }
    Registers51 Registers() const { return m_machine.Registers(); }
    // A byte of a space as the program finds it (the timers brought up to date first); writes
    // are the debugger's edits.
    uint8_t Read(Mcs51Space space, uint16_t address) { return m_machine.Read(space, address); }
    void Write(Mcs51Space space, uint16_t address, uint8_t value);
    // The bytes of a space there are (internal RAM 128 or 256, SFRs 80h-FFh, 64 KB of the others).
    size_t SpaceSize(Mcs51Space space) const;
    const Registers51& RegistersBefore() const { return m_before; }
    bool ByteChanged(Mcs51Space space, uint16_t address);
    // The byte as the last stop left it.
    uint8_t ByteBefore(Mcs51Space space, uint16_t address);
    // The code image, as the disassembler reads it.
    const uint8_t* Code() const { return m_code.data(); }

    // What the program sent through its serial port, and its ports (both safe from any thread).
    std::string SerialText() const;
    const CPortsDevice51& Ports() const { return m_ports; }
    CLogicAnalyzer51& Analyzer() { return m_analyzer; }

private:
    void OnSerialOut(uint8_t byte, bool ninth) override;
    // Steps counted one by one: an idle chip's steps only let cycles pass.
    StopReason CountedStep();

    // The latches as the ports pane shows them, the logic analyzer and the board; before the
    // machine, which they outlive.
    CPortsDevice51 m_ports;
    CLogicAnalyzer51 m_analyzer;
    std::unique_ptr<CBoard51> m_board;
    CMachine51 m_machine;
    std::array<uint8_t, kCodeSize> m_code{};
    CPacer51 m_pacer;
    bool m_bRealTime = true;
    // The last run handed back at its time, not at a stop: the next one keeps its pace.
    bool m_bPaceGoesOn = false;
    std::array<bool, kCodeSize> m_breakpoints{};
    std::atomic<bool> m_bStop{false};
    bool m_bSleeping = false;
    // The serial input not yet taken as the last step left it.
    size_t m_nPending = 0;
    uint64_t m_nExecuted = 0;
    BackLimit m_barrier = BackLimit::None;
    uint64_t m_nBarrierAt = 0;
    Registers51 m_before;
    std::array<std::string, 4> m_spacesBefore;
    mutable std::mutex m_serialLock;
    std::string m_serial;
};

}  // namespace mcs51
