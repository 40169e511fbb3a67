// The step-back history: undoing the last instructions gives back every register and every byte
// exactly, the services' writes included, as far as its rings reach.
#include "TestMachine.h"

#include "dos/ExecutionHistory.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace dos;

namespace {

struct Picture {
    CpuState state;
    std::vector<uint8_t> bytes;
    bool inRepeat;

    bool operator==(const Picture& other) const
    {
        return std::memcmp(&state, &other.state, sizeof state) == 0 && bytes == other.bytes && inRepeat == other.inRepeat;
    }
};

Picture Take(TestMachine& m)
{
    const uint8_t* data = m.memory.Data();
    return {m.s, std::vector<uint8_t>(data, data + 0x40000), m.cpu.InRepeat()};
}

// A little of everything: arithmetic, stack, calls, memory writes, a repeated string, a service.
void LoadProgram(TestMachine& m)
{
    m.InstallService(0x21);
    m.Load({
        0xB9, 0x05, 0x00,        // MOV CX,5
        0xBF, 0x00, 0x04,        // MOV DI,0400
        0xB0, 0x7E,              // MOV AL,7E
        0xF3, 0xAA,              // REP STOSB
        0x01, 0x06, 0x10, 0x04,  // ADD [0410],AX
        0xE8, 0x05, 0x00,        // CALL +5
        0xCD, 0x21,              // INT 21h
        0xF9,                    // STC
        0xEB, 0xEA,              // JMP back to the MOV CX
        0x50,                    // PUSH AX
        0xD1, 0xE0,              // SHL AX,1
        0x58,                    // POP AX
        0xC3,                    // RET
    });
    m.bus.m_service = [](uint8_t, CCpu8086& cpu) {
        cpu.Memory().Write8(CMemory::Linear(TestMachine::kCode, 0x0500), static_cast<uint8_t>(cpu.Memory().Read8(CMemory::Linear(TestMachine::kCode, 0x0500)) + 1));
        cpu.State().ax() = static_cast<uint16_t>(cpu.State().ax() + 3);
        return ServiceResult::Done;
    };
}

TEST(History, StepBackGivesBackEveryEarlierState)
{
    TestMachine m;
    LoadProgram(m);
    CExecutionHistory history;
    m.cpu.AttachHistory(&history);
    std::vector<Picture> pictures{Take(m)};
    for (int i = 0; i < 60; ++i) {
        m.cpu.Step();
        pictures.push_back(Take(m));
    }
    ASSERT_EQ(history.Depth(), 60u);

    for (const size_t back : {1, 2, 7, 20}) {
        ASSERT_EQ(m.cpu.StepBack(back), back);
        pictures.resize(pictures.size() - back);
        EXPECT_TRUE(Take(m) == pictures.back()) << "after stepping back " << back;
    }
    // Running again from there comes to the same states.
    for (size_t i = pictures.size(); i <= 60; ++i) {
        m.cpu.Step();
        pictures.push_back(Take(m));
    }
    EXPECT_TRUE(Take(m) == pictures.back());
}

// Run records as Step does, a repeated string element by element.
TEST(History, RunRecordsEveryInstructionAndElement)
{
    TestMachine stepped;
    LoadProgram(stepped);
    std::vector<Picture> pictures{Take(stepped)};
    for (int i = 0; i < 45; ++i) {
        stepped.cpu.Step();
        pictures.push_back(Take(stepped));
    }

    TestMachine run;
    LoadProgram(run);
    CExecutionHistory history;
    run.cpu.AttachHistory(&history);
    run.cpu.Run(45);
    ASSERT_TRUE(Take(run) == pictures.back());
    for (int i = 44; i >= 0; --i) {
        ASSERT_EQ(run.cpu.StepBack(1), 1u);
        EXPECT_TRUE(Take(run) == pictures[static_cast<size_t>(i)]) << "instruction " << i;
    }
    EXPECT_EQ(run.cpu.StepBack(1), 0u);
}

TEST(History, ReachesAsFarAsItsRingsHold)
{
    TestMachine m;
    LoadProgram(m);
    CExecutionHistory history(8, 1 << 16);
    m.cpu.AttachHistory(&history);
    m.cpu.Run(30);
    EXPECT_EQ(history.Depth(), 8u);
    EXPECT_EQ(m.cpu.StepBack(20), 8u);

    // Few byte slots: the instructions whose writes were overwritten are out of reach.
    TestMachine n;
    LoadProgram(n);
    CExecutionHistory small(64, 4);
    n.cpu.AttachHistory(&small);
    n.cpu.Run(12);  // the five STOSB elements alone write five bytes
    EXPECT_LT(small.Depth(), 12u);
    const size_t depth = small.Depth();
    EXPECT_EQ(n.cpu.StepBack(100), depth);
}

TEST(History, RecordingChangesNothingInTheRun)
{
    TestMachine plain;
    LoadProgram(plain);
    plain.cpu.Run(500);

    TestMachine recorded;
    LoadProgram(recorded);
    CExecutionHistory history;
    recorded.cpu.AttachHistory(&history);
    recorded.cpu.Run(500);

    EXPECT_TRUE(Take(plain) == Take(recorded));
    recorded.cpu.AttachHistory(nullptr);
    EXPECT_EQ(recorded.cpu.StepBack(1), 0u);
}

}  // namespace
