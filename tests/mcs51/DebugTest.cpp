// What the debugger builds on: step back through the history (and its limit at the serial
// input), breakpoints, a stop asked from another thread, the disassembler and the listings.
#include "Mcs51TestSupport.h"

#include "mcs51/Disassembler51.h"
#include "mcs51/Listing51.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace mcs51;

namespace {
// Everything a step back must put back.
struct Snapshot {
    Registers51 registers;
    std::vector<uint8_t> bytes;

    bool operator==(const Snapshot& other) const
    {
        return registers.pc == other.registers.pc && registers.a == other.registers.a && registers.b == other.registers.b &&
            registers.psw == other.registers.psw && registers.sp == other.registers.sp &&
            registers.dptr == other.registers.dptr && registers.r == other.registers.r &&
            registers.cycles == other.registers.cycles && bytes == other.bytes;
    }
};

Snapshot Take(CMachine51& machine)
{
    Snapshot snapshot{machine.Registers(), {}};
    for (unsigned address = 0; address < 256; ++address)
        snapshot.bytes.push_back(machine.Read(Mcs51Space::kIram, static_cast<uint16_t>(address)));
    for (unsigned address = 0x80; address < 0x100; ++address)
        snapshot.bytes.push_back(machine.Read(Mcs51Space::kSfr, static_cast<uint16_t>(address)));
    for (unsigned address = 0x1234; address < 0x1334; ++address)
        snapshot.bytes.push_back(machine.Read(Mcs51Space::kXram, static_cast<uint16_t>(address)));
    for (unsigned port = 0; port < 4; ++port)
        snapshot.bytes.push_back(machine.PortPins(port));
    return snapshot;
}

// Timer 0 interrupting a loop that writes internal and external RAM, the stack, a port,
// the register bank, with a serial frame under way.
Bytes51 Busy()
{
    Bytes51 code(0x30, 0x00);
    code[0] = 0x02;
    code[2] = 0x30;
    code[0x0B] = 0x05;
    code[0x0C] = 0x40;
    code[0x0D] = 0x32;
    const Bytes51 main = {0x75, 0x81, 0x50, 0x75, 0x89, 0x22, 0x75, 0x8D, 0xFD, 0x75, 0x98, 0x40, 0xD2, 0x8E, 0x75, 0xA8,
        0x82, 0xD2, 0x8C, 0x75, 0x99, 0x41, 0x90, 0x12, 0x34, 0x78, 0x60, 0xE8, 0xF0, 0xA3, 0x26, 0xF6, 0x08, 0xC0, 0xE0,
        0xD0, 0xF0, 0xB2, 0x90, 0xD2, 0xD3, 0xC2, 0xD3, 0x80, 0xEE};
    code.insert(code.end(), main.begin(), main.end());
    return code;
}

TEST(StepBack, PutsBackEveryRegisterAndByteInstructionByInstruction)
{
    auto machine = MachineWith(Busy());
    machine->EnableHistory(true);
    std::vector<Snapshot> before;
    for (int i = 0; i < 3000; ++i) {
        before.push_back(Take(*machine));
        machine->Step();
    }
    EXPECT_GT(machine->Registers().cycles, 2000u);
    for (size_t i = before.size(); i-- > 0;) {
        ASSERT_TRUE(machine->StepBack()) << i;
        ASSERT_TRUE(Take(*machine) == before[i]) << "instruction " << i << " at " << before[i].registers.pc;
    }
    EXPECT_FALSE(machine->StepBack());
}

TEST(StepBack, RunsOnTheSameWayAfterwards)
{
    auto straight = MachineWith(Busy());
    straight->Run(5000);
    auto back = MachineWith(Busy());
    back->EnableHistory(true);
    back->Run(2500);
    while (back->StepBack()) {
    }
    EXPECT_EQ(back->Cycles(), 0u);
    back->Run(5000);
    EXPECT_TRUE(Take(*back) == Take(*straight));
}

TEST(StepBack, StopsWhereTheReceiverTookTheHostsInput)
{
    // The echo program of the serial tests, given "ab.".
    const Bytes51 echo = {0x75, 0x98, 0x50, 0x75, 0x89, 0x20, 0x75, 0x8D, 0xFD, 0x75, 0x8B, 0xFD, 0xD2, 0x8E, 0x30, 0x98,
        0xFD, 0xC2, 0x98, 0xE5, 0x99, 0xB4, 0x2E, 0x02, 0x80, 0xFE, 0xF5, 0x99, 0x30, 0x99, 0xFD, 0xC2, 0x99, 0x80, 0xEB};
    auto machine = MachineWith(echo);
    machine->EnableHistory(true);
    for (char c : std::string("ab."))
        machine->QueueSerialInput(static_cast<uint8_t>(c));
    uint64_t lastTaken = 0;
    int steps = 0;
    while (machine->PendingSerialInput() || steps < 5000) {
        const size_t pending = machine->PendingSerialInput();
        machine->Step();
        ++steps;
        if (machine->PendingSerialInput() < pending)
            lastTaken = machine->Cycles();
    }
    int back = 0;
    while (machine->StepBack())
        ++back;
    EXPECT_GT(back, 0);
    EXPECT_LT(back, steps);
    EXPECT_GE(machine->Cycles(), lastTaken);
}

TEST(Breakpoints, StopBeforeTheInstructionAndLetItRunOnTheNextRun)
{
    // Five NOPs and SJMP back to the first.
    auto machine = MachineWith({0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0xF9});
    machine->SetBreakpoint(3, true);
    EXPECT_EQ(machine->Run(1000), machine::StopReason::Breakpoint);
    EXPECT_EQ(machine->Pc(), 3);
    EXPECT_EQ(machine->Cycles(), 3u);
    EXPECT_EQ(machine->Run(1000), machine::StopReason::Breakpoint);
    EXPECT_EQ(machine->Cycles(), 10u);
    machine->ClearBreakpoints();
    EXPECT_EQ(machine->Run(1000), machine::StopReason::Limit);
}

TEST(RunControl, AnotherThreadStopsARunWithoutEnd)
{
    auto machine = MachineWith({0x80, 0xFE});
    machine::StopReason stop = machine::StopReason::Limit;
    std::thread run([&] { stop = machine->Run(~uint64_t{0}); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    machine->RequestStop();
    run.join();
    EXPECT_EQ(stop, machine::StopReason::Paused);
    EXPECT_GT(machine->Cycles(), 0u);
}

struct DisassemblyCase {
    uint16_t address;
    Bytes51 bytes;
    const char* text;
};

// Each text assembles back to its bytes with as31.
const DisassemblyCase kDisassemblyCases[] = {
    {0x0000, {0x74, 0x12}, "MOV    A,#12H"},
    {0x0000, {0x75, 0x81, 0x60}, "MOV    SP,#60H"},
    {0x0000, {0x85, 0x30, 0x40}, "MOV    40H,30H"},
    {0x0000, {0x92, 0x07}, "MOV    20H.7,C"},
    {0x0000, {0xB0, 0xD7}, "ANL    C,/CY"},
    {0x0000, {0xD2, 0x99}, "SETB   TI"},
    {0x0000, {0xC2, 0xE7}, "CLR    ACC.7"},
    {0x000B, {0x10, 0x8D, 0xF2}, "JBC    TF0,0000H"},
    {0x0000, {0x90, 0xAB, 0xCD}, "MOV    DPTR,#0ABCDH"},
    {0x0000, {0x83}, "MOVC   A,@A+PC"},
    {0x0000, {0x73}, "JMP    @A+DPTR"},
    {0x0013, {0xB4, 0x2E, 0x04}, "CJNE   A,#2EH,001AH"},
    {0x0000, {0xA2, 0x90}, "MOV    C,P1.0"},
    {0x0000, {0xE6}, "MOV    A,@R0"},
    {0x0000, {0xA0, 0x00}, "ORL    C,/20H.0"},
    {0x0700, {0x31, 0x23}, "ACALL  0123H"},
    {0x07FE, {0xE1, 0xFF}, "AJMP   0FFFH"},
    {0x0024, {0x80, 0xFE}, "SJMP   0024H"},
    {0x0010, {0xD5, 0x30, 0xFD}, "DJNZ   30H,0010H"},
    {0x0000, {0x12, 0xAB, 0xCD}, "LCALL  0ABCDH"},
    {0x0000, {0xE2}, "MOVX   A,@R0"},
    {0x0000, {0xA5}, "DB     0A5H"},
    {0x0000, {0xD4}, "DA     A"},
};

TEST(Disassembler, WritesTheAssemblersMnemonics)
{
    std::vector<uint8_t> code(kCodeSize, 0xFF);
    for (const DisassemblyCase& c : kDisassemblyCases) {
        std::copy(c.bytes.begin(), c.bytes.end(), code.begin() + c.address);
        const Instruction51 instruction = CDisassembler51::At(code.data(), c.address);
        EXPECT_EQ(instruction.text, c.text);
        EXPECT_EQ(instruction.length, c.bytes.size()) << c.text;
        EXPECT_EQ(instruction.call, c.bytes[0] == 0x12 || (c.bytes[0] & 0x1F) == 0x11) << c.text;
    }
}

// as31 -l of a small program (one listing line a source line; data that does not fit goes
// on lines of its own before its source line).
const char kAs31Listing[] =
    "                   ; header comment\n"
    "                   \n"
    "0000:                       .equ foo, 5\n"
    "0000: 74 05        start:   mov a,#foo      ; comment\n"
    "0002: 01 02 03 04 \n"
    "      05 06 07 08 \n"
    "                            .byte 1,2,3,4,5,6,7,8\n"
    "0040:                       .org 0x40\n"
    "                   label:\n"
    "0040: 00                    nop\n"
    "0041: 80 BD                 sjmp start\n";

// An asm51 listing: LOC, OBJ, LINE, SOURCE; an include file's lines marked with =1, a long
// DB going on without a line number.
const char kAsm51Listing[] =
    "MCS-51 MACRO ASSEMBLER    DEMO                                                 PAGE    1\n"
    "\n"
    "LOC  OBJ            LINE     SOURCE\n"
    "\n"
    "                       1     $INCLUDE(DEFS.INC)\n"
    "0000 E4             =1     2     CLR A\n"
    "0000                   3             ORG     0\n"
    "0000 758160            4     START:  MOV     SP,#60H\n"
    "0003 020010   F        5             LJMP    MAIN\n"
    "                       6     ; text\n"
    "0006 48656C6C          7     TEXT:   DB      'Hello'\n"
    "000A 6F\n"
    "000B 80FE             8     HERE:   SJMP    HERE\n";

struct ListingCase {
    const char* text;
    ListingFormat51 format;
    std::vector<ListingLine51> lines;
};

TEST(Listing, GivesEachSourceLineItsAddress)
{
    const ListingCase cases[] = {
        {kAs31Listing, ListingFormat51::kAs31, {{4, 0x0000, 2}, {5, 0x0002, 8}, {8, 0x0040, 1}, {9, 0x0041, 2}}},
        {kAsm51Listing, ListingFormat51::kAsm51, {{4, 0x0000, 3}, {5, 0x0003, 3}, {7, 0x0006, 4}, {8, 0x000B, 2}}},
    };
    for (const ListingCase& c : cases) {
        CListing51 listing;
        listing.Parse(c.text);
        EXPECT_EQ(listing.Format(), c.format);
        ASSERT_EQ(listing.Lines().size(), c.lines.size());
        for (size_t i = 0; i < c.lines.size(); ++i) {
            EXPECT_EQ(listing.Lines()[i].line, c.lines[i].line);
            EXPECT_EQ(listing.Lines()[i].address, c.lines[i].address);
            EXPECT_EQ(listing.Lines()[i].bytes, c.lines[i].bytes);
        }
        uint16_t address = 0;
        EXPECT_TRUE(listing.AddressOf(c.lines.back().line, address));
        EXPECT_EQ(listing.LineOf(static_cast<uint16_t>(c.lines[1].address + 1)), c.lines[1].line);
        EXPECT_FALSE(listing.AddressOf(1, address));
    }
}
}
