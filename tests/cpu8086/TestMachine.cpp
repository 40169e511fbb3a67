// The CPU tests' bare machine.
#include "TestMachine.h"

namespace dos {

uint8_t CTestBus::In(uint16_t)
{
    return m_nInput++;
}

void CTestBus::Out(uint16_t port, uint8_t value)
{
    m_outputs.emplace_back(port, value);
}

uint8_t CTestBus::AcknowledgeInterrupt()
{
    ++m_nAcknowledged;
    return m_nVector;
}

ServiceResult CTestBus::Service(uint8_t vector, CCpu8086& cpu)
{
    m_services.push_back(vector);
    return m_service ? m_service(vector, cpu) : ServiceResult::Done;
}

TestMachine::TestMachine() : s(cpu.State())
{
}

void TestMachine::Load(std::initializer_list<uint8_t> code)
{
    Place(kCode, 0x0100, code);
    s.cs() = kCode;
    s.ds() = kCode;
    s.es() = kCode;
    s.ss() = kStack;
    s.ip = 0x0100;
    s.sp() = 0x0100;
}

void TestMachine::Place(uint16_t segment, uint16_t offset, std::initializer_list<uint8_t> bytes)
{
    for (uint8_t byte : bytes) memory.Write8(segment, offset++, byte);
}

void TestMachine::InstallService(uint8_t vector)
{
    SetVector(vector, kServiceSegment, ServiceOffset(vector));
    Place(kServiceSegment, ServiceOffset(vector), {kServiceMark, vector});
}

void TestMachine::SetVector(uint8_t vector, uint16_t segment, uint16_t offset)
{
    memory.Write16(0, static_cast<uint16_t>(vector * 4), offset);
    memory.Write16(0, static_cast<uint16_t>(vector * 4 + 2), segment);
}

}  // namespace dos
