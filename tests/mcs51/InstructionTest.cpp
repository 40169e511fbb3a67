// The MCS-51 core against the data sheet: the flags of the arithmetic, the register banks,
// the 8051's and the 8052's internal RAM, and ports read as pins or as latches.
#include "Mcs51TestSupport.h"

#include <gtest/gtest.h>

using namespace mcs51;

namespace {
const uint8_t kSjmpSelf[] = {0x80, 0xFE};

Registers51 RunToEnd(CMachine51& machine)
{
    machine.SetStopAtSelfJump(true);
    EXPECT_EQ(machine.Run(100000), machine::StopReason::Ended);
    return machine.Registers();
}

Bytes51 Join(std::initializer_list<Bytes51> parts)
{
    Bytes51 code;
    for (const Bytes51& part : parts)
        code.insert(code.end(), part.begin(), part.end());
    code.insert(code.end(), std::begin(kSjmpSelf), std::end(kSjmpSelf));
    return code;
}

struct AluCase {
    const char* what;
    uint8_t opcode;
    uint8_t a;
    uint8_t operand;
    uint8_t pswBefore;
    uint8_t result;
    uint8_t psw;
};

// PSW: CY 80h, AC 40h, F0 20h, OV 04h, P 01h. Rows from Intel's examples and the edges.
const AluCase kAluCases[] = {
    {"ADD no carries", 0x24, 0x3A, 0x15, 0x00, 0x4F, 0x01},
    {"ADD carry out of bit 3", 0x24, 0x0F, 0x01, 0x00, 0x10, 0x41},
    {"ADD signed overflow", 0x24, 0x7F, 0x01, 0x00, 0x80, 0x45},
    {"ADD carry out of bit 7", 0x24, 0xFF, 0x01, 0x00, 0x00, 0xC0},
    {"ADD two negatives", 0x24, 0x80, 0x80, 0x00, 0x00, 0x84},
    {"ADD Intel's example", 0x24, 0xC3, 0xAA, 0x00, 0x6D, 0x85},
    {"ADD clears AC and OV, keeps F0", 0x24, 0x01, 0x01, 0x64, 0x02, 0x21},
    {"ADDC Intel's example", 0x34, 0xC3, 0xAA, 0x80, 0x6E, 0x85},
    {"ADDC carry into bit 4", 0x34, 0x0E, 0x01, 0x80, 0x10, 0x41},
    {"ADDC without carry", 0x34, 0x0E, 0x01, 0x00, 0x0F, 0x00},
    {"SUBB Intel's example", 0x94, 0xC9, 0x54, 0x80, 0x74, 0x04},
    {"SUBB borrow", 0x94, 0x00, 0x01, 0x00, 0xFF, 0xC0},
    {"SUBB signed overflow", 0x94, 0x80, 0x01, 0x00, 0x7F, 0x45},
    {"SUBB borrow from bit 4", 0x94, 0x10, 0x01, 0x00, 0x0F, 0x40},
    {"SUBB positive minus negative", 0x94, 0x7F, 0xFF, 0x00, 0x80, 0x85},
};

TEST(Arithmetic, AddAddcSubbSetTheFlagsOfTheDataSheet)
{
    for (const AluCase& c : kAluCases) {
        SCOPED_TRACE(c.what);
        auto machine = MachineWith(Join({{0x75, 0xD0, c.pswBefore, 0x74, c.a, c.opcode, c.operand}}));
        const Registers51 r = RunToEnd(*machine);
        EXPECT_EQ(r.a, c.result);
        EXPECT_EQ(r.psw, c.psw);
    }
}

struct DecimalCase {
    uint8_t a;
    uint8_t pswBefore;
    uint8_t result;
    uint8_t psw;
};

const DecimalCase kDecimalCases[] = {
    // 56 + 67 + 1: Intel's example.
    {0xBE, 0x00, 0x24, 0x80},
    // AC alone asks for the low correction; DA leaves AC as it was.
    {0x30, 0x40, 0x36, 0x40},
    // CY alone asks for the high one and stays set.
    {0x99, 0x80, 0xF9, 0x80},
    {0x9A, 0x00, 0x00, 0x80},
    {0x45, 0x00, 0x45, 0x01},
    // 30 + 99: Intel's second example.
    {0xC9, 0x00, 0x29, 0x81},
    {0x0A, 0x00, 0x10, 0x01},
};

TEST(Arithmetic, DecimalAdjustCorrectsBothDigits)
{
    for (const DecimalCase& c : kDecimalCases) {
        SCOPED_TRACE(c.a);
        auto machine = MachineWith(Join({{0x75, 0xD0, c.pswBefore, 0x74, c.a, 0xD4}}));
        const Registers51 r = RunToEnd(*machine);
        EXPECT_EQ(r.a, c.result);
        EXPECT_EQ(r.psw, c.psw);
    }
}

struct MulDivCase {
    uint8_t opcode;
    uint8_t a;
    uint8_t b;
    uint8_t resultA;
    uint8_t resultB;
    uint8_t psw;
};

const MulDivCase kMulDivCases[] = {
    // 80 * 160 = 3200h: OV for a product above 255, CY always cleared.
    {0xA4, 0x50, 0xA0, 0x00, 0x32, 0x04},
    {0xA4, 0x0F, 0x0F, 0xE1, 0x00, 0x00},
    // 251 / 18 = 13 remainder 17.
    {0x84, 0xFB, 0x12, 0x0D, 0x11, 0x01},
    // Division by zero: OV; A and B kept.
    {0x84, 0x12, 0x00, 0x12, 0x00, 0x04},
};

TEST(Arithmetic, MulAndDivUseBAndSetOverflow)
{
    for (const MulDivCase& c : kMulDivCases) {
        SCOPED_TRACE(c.a);
        auto machine = MachineWith(Join({{0x74, c.a, 0x75, 0xF0, c.b, 0x75, 0xD0, 0x80, c.opcode}}));
        const Registers51 r = RunToEnd(*machine);
        EXPECT_EQ(r.a, c.resultA);
        EXPECT_EQ(r.b, c.resultB);
        EXPECT_EQ(r.psw, c.psw);
    }
}

struct BankCase {
    const char* what;
    Bytes51 select;
    uint8_t r0Address;
};

const BankCase kBankCases[] = {
    {"SETB RS0", {0xD2, 0xD3}, 0x08},
    {"MOV PSW,#18h", {0x75, 0xD0, 0x18}, 0x18},
    {"CPL RS1", {0xB2, 0xD4}, 0x10},
    {"MOV RS0,C", {0xD3, 0x92, 0xD3}, 0x08},
    {"POP PSW", {0x75, 0x81, 0x30, 0x75, 0x30, 0x10, 0xD0, 0xD0}, 0x10},
    {"MOV PSW,A", {0x74, 0x08, 0xF5, 0xD0}, 0x08},
    {"CLR RS1 after both", {0x75, 0xD0, 0x18, 0xC2, 0xD4}, 0x08},
};

TEST(RegisterBanks, FollowEveryWriteOfRs1AndRs0)
{
    for (const BankCase& c : kBankCases) {
        SCOPED_TRACE(c.what);
        auto machine = MachineWith(Join({c.select, {0x78, 0x55}}));
        RunToEnd(*machine);
        for (uint8_t address = 0; address < 0x20; address += 8)
            EXPECT_EQ(machine->Read(Mcs51Space::kIram, address), address == c.r0Address ? 0x55 : 0x00) << int(address);
    }
}

TEST(InternalRam, IndirectAddressesAbove7FhExistOnlyOnThe8052)
{
    // MOV R0,#90h; MOV @R0,#12h; MOV A,@R0
    const Bytes51 code = Join({{0x78, 0x90, 0x76, 0x12, 0xE6}});
    auto mcs8051 = MachineWith(code, Mcs51Variant::k8051);
    EXPECT_EQ(RunToEnd(*mcs8051).a, 0xFF);
    EXPECT_EQ(mcs8051->Read(Mcs51Space::kIram, 0x90), 0x00);
    EXPECT_EQ(mcs8051->PortLatch(1), 0xFF);
    auto mcs8052 = MachineWith(code, Mcs51Variant::k8052);
    EXPECT_EQ(RunToEnd(*mcs8052).a, 0x12);
    EXPECT_EQ(mcs8052->PortLatch(1), 0xFF);
}

TEST(Ports, ReadModifyWriteInstructionsReadTheLatchOthersThePins)
{
    // ANL P1,#0FFh; MOV A,P1; MOV C,P1.0; CPL P1.7; MOV 30h,P1
    auto machine = MachineWith(Join({{0x53, 0x90, 0xFF, 0xE5, 0x90, 0xA2, 0x90, 0xB2, 0x97, 0x85, 0x90, 0x30}}));
    machine->SetPortInput(1, 0xF0);
    const Registers51 r = RunToEnd(*machine);
    EXPECT_EQ(r.a, 0xF0);
    EXPECT_EQ(r.psw & kPswCY, 0);
    EXPECT_EQ(machine->PortLatch(1), 0x7F);
    EXPECT_EQ(machine->PortPins(1), 0x70);
    EXPECT_EQ(machine->Read(Mcs51Space::kIram, 0x30), 0x70);
}
}
