// A bare machine for the CPU's tests: the megabyte, a bus that records what reaches it, and
// code placed as hand-assembled bytes.
#pragma once

#include "dos/Cpu8086.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

namespace dos {

class CTestBus : public IMachineBus {
public:
    uint8_t In(uint16_t port) override;
    void Out(uint16_t port, uint8_t value) override;
    uint8_t AcknowledgeInterrupt() override;
    ServiceResult Service(uint8_t vector, CCpu8086& cpu) override;

    // What a service does when called; without one it answers Done.
    std::function<ServiceResult(uint8_t vector, CCpu8086& cpu)> m_service;
    std::vector<uint8_t> m_services;
    std::vector<std::pair<uint16_t, uint8_t>> m_outputs;
    uint8_t m_nInput = 0;
    uint8_t m_nVector = 0;
    int m_nAcknowledged = 0;
};

struct TestMachine {
    static constexpr uint16_t kCode = 0x1000;
    static constexpr uint16_t kStack = 0x2000;

    TestMachine();

    // Code at kCode:0100, CS:IP there, SS:SP = kStack:0100, DS = ES = kCode.
    void Load(std::initializer_list<uint8_t> code);
    void Place(uint16_t segment, uint16_t offset, std::initializer_list<uint8_t> bytes);
    // Vector n at the machine's own handler (F000h:ServiceOffset(n), marked F1h n).
    void InstallService(uint8_t vector);
    void SetVector(uint8_t vector, uint16_t segment, uint16_t offset);
    uint16_t Word(uint16_t segment, uint16_t offset) const { return memory.Read16(segment, offset); }

    CMemory memory;
    CTestBus bus;
    CCpu8086 cpu{memory, bus};
    CpuState& s;
};

}  // namespace dos
