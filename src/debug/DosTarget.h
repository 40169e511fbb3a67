// The DOS machine under the debugger: a program loaded as DEBUG loads it (its folder the
// current one, BX:CX its size) or a boot sector started as the PC's bootstrap starts it, its screen and keyboard in-process, every instruction in the
// step-back history, the keys and files it takes marked as points a step back stops at, and
// its panes: registers, memory, stack, disassembly, its screen, DEBUG's commands, variables and
// the machine's devices.
#pragma once

#include "debug/DebugTarget.h"

#include "dos/DosMachine.h"
#include "labbox/LabBox.h"
#include "dos/ExecutionHistory.h"

#include <memory>
#include <string>
#include <vector>

namespace dos {

class CDosTarget : public IDebugTarget, private IDosHost {
public:
    // Room for at least the last 100,000 instructions of a program that scrolls its screen
    // (a scroll writes 4,000 bytes) a few hundred times.
    static constexpr size_t kHistoryInstructions = size_t{1} << 17;
    static constexpr size_t kHistoryBytes = size_t{1} << 22;

    // instructionsPerMs: the pace of its runs in real time (0: as fast as it can);
    // writableFolders: where the program may change files besides its own folders.
    // floppy: drive A:'s image, none when empty; bootSector: the image is a boot sector as the
    // build made it, which may hold only the diskette's first sectors.
    explicit CDosTarget(uint32_t instructionsPerMs = 0, std::vector<std::wstring> writableFolders = {}, std::wstring floppy = {},
                        bool bootSector = false);

    // Loads the program (a host path) with the folder as DOS's current folder; the registers
    // are then those DEBUG gives a program it loads.
    LoadError Load(const std::wstring& program, const std::wstring& folder, const std::string& tail);
    // Starts the PC from drive A:'s boot sector with only the BIOS, as its bootstrap leaves it
    // (the sector at 0000:7C00, CS:IP there, DL = 0); the source map's offsets are linear.
    BootSector Boot(const std::wstring& folder);

    uint32_t NameId() const override;
    std::vector<std::unique_ptr<CDebugPane>> MakePanes(CDebugSession& session) override;
    StopReason Step() override;
    StopReason Run(uint64_t budget) override;
    void RequestStop() override { m_machine->RequestStop(); }
    void SetClockRunning(bool running) override;
    uint64_t Executed() const override { return m_nExecuted; }
    size_t BackDepth() const override;
    size_t StepBack(size_t count) override;
    BackLimit Barrier() const override { return m_barrier; }
    uint64_t BarrierAt() const override { return m_nBarrierAt; }
    uint32_t Pc() const override;
    NextInstruction Next() const override;
    uint32_t AddressAfter(const NextInstruction& next) const override;
    bool Sleeping() const override { return m_machine->Cpu().Halted(); }
    std::chrono::microseconds UntilWake() const override { return m_machine->UntilWake(); }
    uint32_t StackDepth() const override;
    uint32_t ImageBase() const override { return m_nImageBase; }
    std::string PlaceText() const override;
    Sentence FaultText() const override;
    void SetBreakpoint(uint32_t address, bool set) override;
    bool HasBreakpoint(uint32_t address) const override { return m_machine->Cpu().HasBreakpoint(address); }
    int ExitCode() const override { return m_machine->ExitCode(); }
    // The program has ended (through DOS or its INT 20h).
    bool Ended() const { return m_machine->Finished(); }
    void MarkChanges() override;
    void Feed(uint16_t key) override;
    void Point(int x, int y, unsigned buttons) override { m_machine->SetPointer(x, y, buttons); }

    // The interface lab box of a preset ("288", "300") wired by the table (empty: the preset's
    // own) on the machine's bus, after Load.
    void PlugLabBox(const std::string& preset, const std::string& wiring = {})
    {
        m_labBox = labbox::CLabBox::PlugInto(*m_machine, preset, wiring);
    }
    labbox::CLabBox* LabBox() const { return m_labBox.get(); }
    CDosMachine& Machine() { return *m_machine; }
    const CDosMachine& Machine() const { return *m_machine; }
    const CMemory& Memory() const { return m_machine->Memory(); }
    // The registers as DEBUG shows them (FLAGS as PUSHF stores them).
    const CpuState& Registers() const;
    CpuState& Registers() { return m_machine->Registers(); }
    // The registers and bytes as they were when MarkChanges was last called.
    const CpuState& RegistersBefore() const { return m_before; }
    bool ByteChanged(uint32_t linear) const;
    // Writes a byte as a debugger's edit: the history takes it with the last instruction.
    void WriteByte(uint32_t linear, uint8_t value) { m_machine->Memory().Write8(linear, value); }
    uint8_t ReadByte(uint32_t linear) const;
    uint16_t PspSegment() const { return m_nPsp; }
    // Functions the program called that the machine lacks, each named once.
    const std::vector<std::string>& Unsupported() const { return m_unsupported; }

private:
    void Write(DosStream, const uint8_t*, size_t) override {}
    InputState ReadInput(uint8_t*, size_t, size_t& count) override;
    InputState PeekInput() override { return InputState::End; }
    void OnExternalEvent(ExternalEvent event) override;
    void OnUnsupported(const std::string& what) override { m_unsupported.push_back(what); }

    StopReason After(StopReason reason);
    // The history starts anew with the machine just loaded or booted.
    void StartHistory();
    void StartAsDebugDoes(const std::wstring& program);

    std::unique_ptr<CDosMachine> m_machine;
    // On the machine's bus, which it outlives.
    std::unique_ptr<labbox::CLabBox> m_labBox;
    CExecutionHistory m_history;
    CpuState m_before;
    std::vector<uint8_t> m_memoryBefore;
    std::vector<std::string> m_unsupported;
    uint64_t m_nExecuted = 0;
    BackLimit m_barrier = BackLimit::None;
    uint64_t m_nBarrierAt = 0;
    bool m_bBarrierInRun = false;
    uint16_t m_nPsp = 0;
    uint32_t m_nImageBase = 0;
};

}  // namespace dos
