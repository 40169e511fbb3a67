// Intel HEX files that must be refused, and korvane-51.exe as a process: its end at the
// jump to itself, its cycle limit, standard input to the receiver, and one line on standard
// error with exit code 2 for bad input.
#include "Mcs51TestSupport.h"

#include "mcs51/IntelHex51.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace mcs51;

namespace {
struct HexCase {
    const char* what;
    const char* text;
    HexError51 error;
    unsigned line;
};

const HexCase kHexCases[] = {
    {"empty", "", HexError51::kNotHex, 1},
    {"no colon", "hello\r\n", HexError51::kNotHex, 1},
    {"not a digit", ":01000000G0FF\r\n:00000001FF\r\n", HexError51::kNotHex, 1},
    {"checksum", ":0100000000FE\r\n:00000001FF\r\n", HexError51::kChecksum, 1},
    {"record cut short", ":0300000002000\r\n", HexError51::kTruncated, 1},
    {"no end record", ":0100000000FF\r\n", HexError51::kTruncated, 2},
    {"data beyond FFFFh", ":02FFFF0074127A\r\n:00000001FF\r\n", HexError51::kBeyondCode, 1},
    {"linear address above 64 KB", "\r\n:020000040001F9\r\n:0100000000FF\r\n:00000001FF\r\n", HexError51::kBeyondCode, 3},
    {"unknown record type", ":00000006FA\r\n", HexError51::kRecordType, 1},
};

TEST(IntelHex, RefusesWhatIsNotAWholeValidFile)
{
    for (const HexCase& c : kHexCases) {
        SCOPED_TRACE(c.what);
        CIntelHex51::Code code{};
        const HexResult51 result = CIntelHex51::Parse(c.text, code);
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(result.line, c.line);
    }
}

TEST(IntelHex, PlacesDataRecordsAndSkipsStartAddresses)
{
    CIntelHex51::Code code{};
    // Data at 0100h, a start address record, data at the top of the 64 KB.
    const HexResult51 result =
        CIntelHex51::Parse(":02010000741277\n:0400000500000000F7\n:01FFFF00A55C\n:00000001FF\n", code);
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(code[0x100], 0x74);
    EXPECT_EQ(code[0x101], 0x12);
    EXPECT_EQ(code[0xFFFF], 0xA5);
    EXPECT_EQ(result.bytes, 3u);
    EXPECT_EQ(result.lowest, 0x100);
    EXPECT_EQ(result.highest, 0xFFFF);
}

// MOV SCON,#50h ... sends "OK\r\n" from 0030h, then SJMP $ at 001Fh.
Bytes51 Hello()
{
    const Bytes51 program = {0x75, 0x98, 0x50, 0x75, 0x89, 0x20, 0x75, 0x8D, 0xFD, 0x75, 0x8B, 0xFD, 0xD2, 0x8E, 0x90, 0x00,
        0x30, 0xE4, 0x93, 0x60, 0x0A, 0xF5, 0x99, 0x30, 0x99, 0xFD, 0xC2, 0x99, 0xA3, 0x80, 0xF2, 0x80, 0xFE};
    const char text[] = "OK\r\n";
    Bytes51 code(0x30 + sizeof text, 0x00);
    std::copy(program.begin(), program.end(), code.begin());
    std::copy(std::begin(text), std::end(text), code.begin() + 0x30);
    return code;
}

std::string RegisterLines(const Registers51& r)
{
    char text[200];
    std::snprintf(text, sizeof text,
        "\r\n-- serial end --\r\nPC=%04X A=%02X B=%02X PSW=%02X SP=%02X DPTR=%04X\r\n"
        "R0=%02X R1=%02X R2=%02X R3=%02X R4=%02X R5=%02X R6=%02X R7=%02X\r\ncycles=%llu\r\nP0=FF P1=FF P2=FF P3=FF\r\n",
        r.pc, r.a, r.b, r.psw, r.sp, r.dptr, r.r[0], r.r[1], r.r[2], r.r[3], r.r[4], r.r[5], r.r[6], r.r[7],
        static_cast<unsigned long long>(r.cycles));
    return text;
}

TEST(Runner, EndsAtTheJumpToItselfWithTheRegisters)
{
    auto machine = MachineWith(Hello());
    machine->SetStopAtSelfJump(true);
    ASSERT_EQ(machine->Run(1000000), machine::StopReason::Ended);
    ASSERT_EQ(machine->Pc(), 0x001F);
    CTempFile51 hex(L"hello.hex", HexOf(Hello()));
    const RunnerResult51 result = RunRunner(L"--regs \"" + hex.Path() + L"\"");
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.out, "OK\r\n" + RegisterLines(machine->Registers()));
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(RunRunner(L"\"" + hex.Path() + L"\"").out, "OK\r\n");
}

TEST(Runner, StopsAtTheCycleLimitWithExitCodeOne)
{
    // NOP; SJMP to the NOP: no end of its own.
    CTempFile51 hex(L"loop.hex", HexOf({0x00, 0x80, 0xFD}));
    const RunnerResult51 result = RunRunner(L"--cycles 100 --regs \"" + hex.Path() + L"\"");
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_EQ(result.out,
        "\r\n-- serial end --\r\nPC=0001 A=00 B=00 PSW=00 SP=07 DPTR=0000\r\nR0=00 R1=00 R2=00 R3=00 R4=00 R5=00 R6=00 "
        "R7=00\r\ncycles=100\r\nP0=FF P1=FF P2=FF P3=FF\r\n");
}

// The serial output ends before the marker however the program's last byte ends; the ports'
// latches follow the cycles, and with --iram the internal RAM, 16 bytes a line.
TEST(Runner, RegistersFollowTheSerialEndWithThePortsAndTheInternalRam)
{
    // MOV P1,#0FEh; MOV 7Fh,#0A5h; MOV R1,#5Ah; SJMP $
    CTempFile51 hex(L"ram.hex", HexOf({0x75, 0x90, 0xFE, 0x75, 0x7F, 0xA5, 0x79, 0x5A, 0x80, 0xFE}));
    const RunnerResult51 result = RunRunner(L"--regs --iram \"" + hex.Path() + L"\"");
    std::string ram;
    for (int row = 0; row < 8; ++row) {
        char address[8];
        std::snprintf(address, sizeof address, "%02X:", row * 16);
        ram += address;
        for (int column = 0; column < 16; ++column)
            ram += row == 0 && column == 1 ? " 5A" : row == 7 && column == 15 ? " A5" : " 00";
        ram += "\r\n";
    }
    EXPECT_EQ(result.out,
        "\r\n-- serial end --\r\nPC=0008 A=00 B=00 PSW=00 SP=07 DPTR=0000\r\nR0=00 R1=5A R2=00 R3=00 R4=00 R5=00 R6=00 "
        "R7=00\r\ncycles=5\r\nP0=FF P1=FE P2=FF P3=FF\r\n" + ram);
}

TEST(Runner, StandardInputFeedsTheReceiver)
{
    // The echo program: every byte back until a '.'.
    const Bytes51 echo = {0x75, 0x98, 0x50, 0x75, 0x89, 0x20, 0x75, 0x8D, 0xFD, 0x75, 0x8B, 0xFD, 0xD2, 0x8E, 0x30, 0x98,
        0xFD, 0xC2, 0x98, 0xE5, 0x99, 0xB4, 0x2E, 0x02, 0x80, 0xFE, 0xF5, 0x99, 0x30, 0x99, 0xFD, 0xC2, 0x99, 0x80, 0xEB};
    CTempFile51 hex(L"echo.hex", HexOf(echo));
    const std::string input = "Hello from standard input\r\n" + std::string(300, 'x') + ".";
    const RunnerResult51 result = RunRunner(L"\"" + hex.Path() + L"\"", input);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.out, input.substr(0, input.size() - 1));
}

struct BadInputCase {
    const char* what;
    const char* file;
    const wchar_t* arguments;
};

const BadInputCase kBadInputs[] = {
    {"no program", nullptr, L""},
    {"no such file", nullptr, L"no-such-program.hex"},
    {"not Intel HEX", "hello\r\n", L"{file}"},
    {"bad checksum", ":0100000000FE\r\n:00000001FF\r\n", L"{file}"},
    {"truncated record", ":10000000741278\r\n", L"{file}"},
    {"code beyond 64 KB", ":020000040001F9\r\n:0100000000FF\r\n:00000001FF\r\n", L"{file}"},
    {"a count that is no number", ":00000001FF\r\n", L"--cycles many {file}"},
    {"an option of no meaning", ":00000001FF\r\n", L"--fast {file}"},
    {"an observation at no number", ":00000001FF\r\n", L"--observe 10,x {file}"},
    {"an observation list with a gap", ":00000001FF\r\n", L"--observe 10,,20 {file}"},
    {"--observe without its cycles", ":00000001FF\r\n", L"{file} --observe"},
    {"--iram without --regs", ":00000001FF\r\n", L"--iram {file}"},
    {"a board of no name", ":00000001FF\r\n", L"--board xy {file}"},
    {"--press without a board", ":00000001FF\r\n", L"--press K1@1-2 {file}"},
    {"--press ending before it starts", ":00000001FF\r\n", L"--board pz --press K1@5-2 {file}"},
    {"--press of a key the board lacks", ":00000001FF\r\n", L"--board pz --press S17@1-2 {file}"},
};

TEST(Runner, BadInputPrintsOneLineAndEndsWithTwo)
{
    for (const BadInputCase& c : kBadInputs) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<CTempFile51> file;
        std::wstring arguments = c.arguments;
        if (c.file) {
            file = std::make_unique<CTempFile51>(L"bad.hex", c.file);
            arguments.replace(arguments.find(L"{file}"), 6, L"\"" + file->Path() + L"\"");
        }
        const RunnerResult51 result = RunRunner(arguments);
        EXPECT_EQ(result.exitCode, 2u);
        EXPECT_EQ(result.out, "");
        ASSERT_GE(result.err.size(), 3u);
        EXPECT_EQ(result.err.find("\r\n"), result.err.size() - 2) << result.err;
    }
}
}
