// The teaching boards on the pins: what a person sees of their LEDs, digits, LCD and buzzer
// over the last 20 ms (korvane-51.exe --board --observe with programs as31 assembled), keys
// held by --press, by a click on the picture and by a key typed, and the lit time behind it.
#include "Mcs51TestSupport.h"

#include "machine/LitTime.h"
#include "mcs51/Board51.h"
#include "mcs51/BoardColours51.h"

#include "support/ObservedLines.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <sstream>

using namespace mcs51;

namespace {

using ObservedLines::Gbk;
using ObservedLines::Observations;

std::wstring Program(const wchar_t* name)
{
    const std::string folder = KORVANE_BOARD_PROGRAMS;
    return L"\"" + std::wstring(folder.begin(), folder.end()) + L"\\" + name + L".hex\"";
}

struct Seen {
    uint64_t ms;
    const char* shows;
};

struct BoardCase {
    const char* what;
    const wchar_t* program;
    const wchar_t* options;
    // The line's label (UTF-8) and what it shows at each time.
    const char* label;
    std::vector<Seen> seen;
};

const BoardCase kBoardCases[] = {
    {"a running light moves one lit LED on", L"flow", L"", "LED", {{50, "10000000"}, {150, "01000000"}, {250, "00100000"}, {850, "10000000"}}},
    {"LEDs on for a part of the time flicker", L"count", L"", "LED", {{100, "00~~~111"}}},
    {"a multiplexed counter shows steady digits", L"count", L"", "数码管", {{100, "00000000"}, {300, "00000001"}, {500, "00000002"}}},
    {"each digit's segments", L"count", L"", "数码管段", {{300, "3F 3F 3F 3F 3F 3F 3F 06"}}},
    {"digits driven too slowly flicker", L"slow", L"", "数码管", {{100, "88      "}, {105, "888     "}, {110, " 88     "}}},
    {"a keypad key's number while it is held and a little after", L"keypad", L" --press S7@10-30 --press S16@60-80", "数码管",
        {{5, "        "}, {25, "       7"}, {45, "       7"}, {55, "        "}, {75, "      16"}}},
    {"the LCD's two lines", L"lcd", L"", "LCD1", {{20, "Hello, Korvane! "}}},
    {"the LCD's second line", L"lcd", L"", "LCD2", {{20, "8051 LCD1602    "}}},
    {"the LCD switched on", L"lcd", L"", "LCD", {{0, "关"}, {20, "开"}}},
    {"writes while the LCD is busy are lost", L"lcd_nowait", L"", "LCD", {{20, "关"}}},
    {"the LCD through its 4-bit interface", L"lcd4", L"", "LCD1", {{30, "Hello, Korvane! "}}},
    {"the 4-bit interface's second line", L"lcd4", L"", "LCD2", {{30, "8051 LCD1602    "}}},
    {"the buzzer's frequency", L"buzzer", L"", "蜂鸣器", {{0, "关"}, {200, "2000 Hz"}}},
};

TEST(Boards, ShowWhatAPersonSeesAtTheObservedTimes)
{
    for (const BoardCase& c : kBoardCases) {
        SCOPED_TRACE(c.what);
        std::wstring times;
        for (const Seen& seen : c.seen)
            times += (times.empty() ? L"" : L",") + std::to_wstring(seen.ms);
        const RunnerResult51 result = RunRunner(L"--board pz" + std::wstring(c.options) + L" --observe " + times + L" " + Program(c.program));
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_EQ(result.err, "");
        auto blocks = Observations(result.out);
        for (const Seen& seen : c.seen) {
            SCOPED_TRACE(seen.ms);
            EXPECT_EQ(blocks[seen.ms][Gbk(c.label)], Gbk(seen.shows));
        }
    }
}

TEST(Boards, PrintEveryPartsLine)
{
    const RunnerResult51 result = RunRunner(L"--board pz --observe 20 " + Program(L"lcd"));
    const std::string expected = "T=20\r\nLED: 00000101\r\n" + Gbk("数码管: ") + "8.       \r\n" + Gbk("数码管段: ") +
        "FF 00 00 00 00 00 00 00\r\nLCD: " + Gbk("开") + "\r\nLCD1: Hello, Korvane! \r\nLCD2: 8051 LCD1602    \r\n" + Gbk("蜂鸣器: 关") + "\r\n";
    EXPECT_EQ(result.out, expected);
}

// MOV A,P3; MOV P2,A; SJMP back: the keys (P3) on the LEDs (P2), four cycles a round.
const Bytes51 kKeysToLeds = {0xE5, 0xB0, 0xF5, 0xA0, 0x80, 0xFA};

TEST(Boards, ARunEndsAMillisecondAfterTheLastObservation)
{
    CTempFile51 hex(L"keys.hex", HexOf(kKeysToLeds));
    const RunnerResult51 result = RunRunner(L"--board pz --regs --observe 20,5 \"" + hex.Path() + L"\"");
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_NE(result.out.find("\r\ncycles=21000\r\n"), std::string::npos) << result.out;
}

struct KeyCase {
    const char* key;
    const char* leds;
};

// K1-K4 on P3.1, P3.0, P3.2, P3.3.
const KeyCase kKeyCases[] = {{"K1", "LED: 01000000"}, {"K2", "LED: 10000000"}, {"K3", "LED: 00100000"}, {"K4", "LED: 00010000"}};

TEST(Boards, PressHoldsAKeyForTheTimeGiven)
{
    CTempFile51 hex(L"keys.hex", HexOf(kKeysToLeds));
    for (const KeyCase& c : kKeyCases) {
        SCOPED_TRACE(c.key);
        const std::wstring key(c.key, c.key + 2);
        const RunnerResult51 result =
            RunRunner(L"--board pz --press " + key + L"@10-30 --observe 25,55 \"" + hex.Path() + L"\"");
        auto blocks = Observations(result.out);
        EXPECT_EQ("LED: " + blocks[25]["LED"], c.leds);
        EXPECT_EQ(blocks[55]["LED"], "00000000");
    }
}

// The tx board's 74HC573s: MOV P0,#06h; SETB P2.6; CLR P2.6 (the segment latch holds a 1);
// MOV P0,#0FEh; SETB P2.7; CLR P2.7 (the digit latch lights the leftmost digit); SJMP $.
TEST(Boards, TxLatchesTheSegmentsAndTheDigitsFromP0)
{
    CTempFile51 hex(L"tx.hex", HexOf({0x75, 0x80, 0x06, 0xD2, 0xA6, 0xC2, 0xA6, 0x75, 0x80, 0xFE, 0xD2, 0xA7, 0xC2, 0xA7, 0x80, 0xFE}));
    const RunnerResult51 result = RunRunner(L"--board tx --observe 30 \"" + hex.Path() + L"\"");
    EXPECT_EQ(Observations(result.out)[30][Gbk("数码管")], "1       ") << result.out;
    EXPECT_EQ(Observations(result.out)[30][Gbk("数码管段")], "06 00 00 00 00 00 00 00");
}

// The plain board: the latches, and any pin held low by name. MOV A,P3; MOV P1,A; SJMP back.
TEST(Boards, PlainShowsTheLatchesAndHoldsAnyPin)
{
    CTempFile51 hex(L"plain.hex", HexOf({0xE5, 0xB0, 0xF5, 0x90, 0x80, 0xFA}));
    const RunnerResult51 result = RunRunner(L"--board plain --press P3.2@10-30 --observe 5,25 \"" + hex.Path() + L"\"");
    EXPECT_EQ(result.out, "T=5\r\nP0=FF P1=FF P2=FF P3=FF\r\nT=25\r\nP0=FF P1=FB P2=FF P3=FF\r\n");
}

// LJMP 30h; at 03h (INT0): INC R7, the count's complement on the LEDs (P2), RETI; at 30h:
// SETB IT0, MOV IE,#81h, SJMP $. K3 is INT0.
const Bytes51 kCountInt0 = [] {
    Bytes51 code(0x30, 0x00);
    const Bytes51 start = {0x02, 0x00, 0x30, 0x0F, 0xEF, 0xF4, 0xF5, 0xA0, 0x32};
    std::copy(start.begin(), start.end(), code.begin());
    code.insert(code.end(), {0xD2, 0x88, 0x75, 0xA8, 0x81, 0x80, 0xFE});
    return code;
}();

// A press and its release: one falling edge, or with bounce seven (four as the contact
// closes, three as it opens).
TEST(Boards, BouncingKeysGiveSeveralEdges)
{
    CTempFile51 hex(L"int0.hex", HexOf(kCountInt0));
    const struct {
        const wchar_t* options;
        const char* leds;
    } kCases[] = {{L"", "10000000"}, {L" --bounce", "11100000"}};
    for (const auto& c : kCases) {
        const RunnerResult51 result = RunRunner(L"--board pz" + std::wstring(c.options) + L" --press K3@10-30 --observe 60 \"" + hex.Path() + L"\"");
        EXPECT_EQ(Observations(result.out)[60]["LED"], c.leds) << result.out;
    }
}

// The pz board's picture: K1 is the first key of the row under the LCD; the point a person clicks holds the key until the button is let go, or toggles it.
TEST(Boards, AClickOrAKeyTypedHoldsTheKeyUnderIt)
{
    auto machine = MachineWith(kKeysToLeds);
    CBoard51 board(BoardKind51::kPz);
    board.Attach(*machine);
    const machine::DeviceView view = board.View();
    ASSERT_EQ(view.picture.kind, machine::ScreenImage::Kind::Pixels);
    using Action = machine::DeviceInput::Action;
    const auto run = [&] {
        board.Follow();
        machine->Run(30000);
        return board.View().text.substr(0, 13);
    };
    EXPECT_TRUE(board.Input({Action::Press, true, 15, 110, 0}));
    EXPECT_EQ(run(), "LED: 01000000");
    // D2's disc, the second of the row under the digits, lit; D1's dark.
    machine::ScreenImage picture = board.View().picture;
    EXPECT_EQ(picture.Pixel(23, 42), BoardColours51::kLedLit);
    EXPECT_EQ(picture.Pixel(10, 42), BoardColours51::kLedDark);
    // Small enough to be made 50 times a second.
    EXPECT_LE(picture.width * picture.height, 30000);
    EXPECT_TRUE(board.Input({Action::Release, true, 300, 5, 0}));
    EXPECT_EQ(run(), "LED: 00000000");
    EXPECT_TRUE(board.Input({Action::Toggle, true, 15, 110, 0}));
    EXPECT_EQ(run(), "LED: 01000000");
    EXPECT_TRUE(board.Input({Action::Toggle, true, 15, 110, 0}));
    EXPECT_TRUE(board.Input({Action::Press, false, 0, 0, '3'}));
    EXPECT_EQ(run(), "LED: 00100000");
    EXPECT_TRUE(board.Input({Action::Release, false, 0, 0, '3'}));
    EXPECT_FALSE(board.Input({Action::Press, true, 2, 2, 0}));
    EXPECT_EQ(run(), "LED: 00000000");
    board.Detach(*machine);
}

TEST(Boards, KeyNamesAreTheBoardsOwn)
{
    const CBoard51 pz(BoardKind51::kPz);
    const CBoard51 plain(BoardKind51::kPlain);
    EXPECT_TRUE(pz.KeyOf("K4"));
    EXPECT_TRUE(pz.KeyOf("S16"));
    EXPECT_FALSE(pz.KeyOf("P3.2"));
    EXPECT_TRUE(plain.KeyOf("P3.2"));
    EXPECT_FALSE(plain.KeyOf("K1"));
    EXPECT_EQ(CBoard51::KindOf("tx"), BoardKind51::kTx);
    EXPECT_FALSE(CBoard51::KindOf("px"));
}

struct LitCase {
    const char* what;
    // The lamp lit from each even entry's cycle to the next one's.
    std::vector<uint64_t> edges;
    uint64_t now;
    uint32_t lit;
    uint32_t window;
};

const LitCase kLitCases[] = {
    {"on all the time", {0}, 50000, 20000, 20000},
    {"on for the first 5 ms of 20", {0, 5000}, 20000, 5000, 20000},
    {"a window that starts within a millisecond", {0, 5000}, 20500, 4000, 19500},
    {"shorter just after the reset", {0, 3000}, 10000, 3000, 10000},
    {"what went before the window is forgotten", {0, 10000}, 40000, 0, 20000},
    {"a 1 ms pulse in every 8", {0, 1000, 8000, 9000, 16000, 17000, 24000, 25000, 32000, 33000}, 40000, 2000, 20000},
    {"far past the ring of buckets", {0, 1000, 500000}, 510000, 10000, 20000},
};

TEST(LitTime, SumsTheLampsTimeOverTheLast20Ms)
{
    for (const LitCase& c : kLitCases) {
        SCOPED_TRACE(c.what);
        machine::CLitTime lit;
        lit.Reset(0, 0);
        for (size_t i = 0; i < c.edges.size(); ++i)
            lit.Set(c.edges[i], i % 2 == 0 ? 1 : 0);
        const machine::CLitTime::Share share = lit.Over(c.now);
        EXPECT_EQ(share.lit[0], c.lit);
        EXPECT_EQ(share.window, c.window);
        EXPECT_EQ(share.lit[1], 0u);
    }
}

}
