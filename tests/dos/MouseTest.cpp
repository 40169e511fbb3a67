// The mouse driver: its virtual coordinates in each mode, its cursor in video memory (mode
// 13h, 12h, CGA and text, byte for byte under and around it, and put back), the screen's
// services kept clear of it, and the program's event handler called through IRQ 12 with the
// event in its registers, stepped through and back. DOSBox has no mouse to move here, so the
// reference's tables are the check; MOUSE.COM's answers are compared with DOSBox in
// dos-machine. DOSBox's cursor is no reference for MOUSEVID.COM: it restores what was under it
// over what INT 10h drew there meanwhile (and INT 10h 0Dh reads its arrow), which the
// reference's drivers avoid by hiding the cursor around the BIOS's screen services.
#include "DosTestSupport.h"

#include "dos/DosMachine.h"
#include "dos/GuestMemory.h"
#include "dos/Mouse.h"
#include "dos/TextVideo.h"
#include "doshost/HostDrive.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace dos;

namespace {

// The BIOS's video and the mouse driver over one adapter, in a mode the BIOS set.
struct MouseInMode {
    explicit MouseInMode(uint8_t mode)
    {
        video.Reset();
        CpuState state{};
        state.ax() = mode;
        video.Interrupt10(state);
        mouse.Reset();
    }
    CpuState Call(uint16_t function, uint16_t bx = 0, uint16_t cx = 0, uint16_t dx = 0)
    {
        CpuState state{};
        state.ax() = function;
        state.bx() = bx;
        state.cx() = cx;
        state.dx() = dx;
        mouse.Interrupt33(state);
        return state;
    }
    void Point(int x, int y, unsigned buttons = 0)
    {
        mouse.SetPointer(x, y, buttons);
        mouse.Advance(0);
    }

    CMemory memory;
    DosTest::CNoBus bus;
    CCpu8086 cpu{memory, bus};
    CMachineClock clock{cpu};
    CVideoAdapter adapter{memory, clock};
    CTextVideo video{memory, adapter};
    CMouse mouse{memory, adapter};
};

// The reference's default arrow, a row a word, bit 15 leftmost.
constexpr std::array<uint16_t, 16> kScreenMask = {0x3FFF, 0x1FFF, 0x0FFF, 0x07FF, 0x03FF, 0x01FF, 0x00FF, 0x007F,
                                                  0x003F, 0x001F, 0x01FF, 0x10FF, 0x30FF, 0xF87F, 0xF87F, 0xFC3F};
constexpr std::array<uint16_t, 16> kCursorMask = {0x0000, 0x4000, 0x6000, 0x7000, 0x7800, 0x7C00, 0x7E00, 0x7F00,
                                                  0x7F80, 0x7C00, 0x6C00, 0x4600, 0x0600, 0x0300, 0x0300, 0x0000};

TEST(MouseCoordinates, FollowThePointerInEachModesVirtualUnits)
{
    struct Case {
        uint8_t mode;
        // 83h: mode 3 with 40 columns. The pointer in the picture's pixels (a text cell 8 by 8)
        // and the position it gives.
        int x, y;
        uint16_t cx, dx;
        // The position a reset gives (the middle) and the pointer far past the corner gives.
        uint16_t middleX, middleY, maxX, maxY;
    };
    const Case cases[] = {
        {0x03, 100, 60, 100, 60, 320, 100, 639, 199},
        // 40 columns as the BIOS data says (this BIOS sets every text mode as mode 3).
        {0x83, 100, 60, 200, 60, 320, 100, 639, 199},
        {0x04, 100, 60, 200, 60, 320, 100, 639, 199},
        {0x06, 100, 60, 100, 60, 320, 100, 639, 199},
        {0x0D, 100, 60, 200, 60, 320, 100, 639, 199},
        {0x0E, 100, 60, 100, 60, 320, 100, 639, 199},
        {0x10, 100, 300, 100, 300, 320, 175, 639, 349},
        {0x12, 100, 400, 100, 400, 320, 240, 639, 479},
        {0x13, 100, 60, 200, 60, 320, 100, 639, 199},
    };
    for (const Case& c : cases) {
        MouseInMode m(c.mode & 0x7F);
        if (c.mode & 0x80)
            m.memory.Write8(0x40, 0x4A, 40);
        CpuState reset = m.Call(0x00);
        EXPECT_EQ(reset.ax(), 0xFFFF) << int(c.mode);
        EXPECT_EQ(reset.bx(), 2) << int(c.mode) << ": the two buttons of Microsoft's mouse (DOSBox says 3)";
        CpuState at = m.Call(0x03);
        EXPECT_EQ(at.cx(), c.middleX) << int(c.mode);
        EXPECT_EQ(at.dx(), c.middleY) << int(c.mode);
        m.Point(c.x, c.y, 2);
        at = m.Call(0x03);
        EXPECT_EQ(at.bx(), 2) << int(c.mode);
        EXPECT_EQ(at.cx(), c.cx) << int(c.mode);
        EXPECT_EQ(at.dx(), c.dx) << int(c.mode);
        m.Point(5000, 5000);
        at = m.Call(0x03);
        EXPECT_EQ(at.cx(), c.maxX) << int(c.mode);
        EXPECT_EQ(at.dx(), c.maxY) << int(c.mode);
    }
}

TEST(MouseCoordinates, CountsMickeysPressesAndReleasesWhereTheyHappened)
{
    MouseInMode m(0x12);
    m.Call(0x0F, 0, 8, 16);
    m.Point(300, 200);
    m.Point(310, 190, 1);
    m.Point(330, 150, 0);
    m.Point(340, 160, 1);
    m.Point(340, 160, 3);
    CpuState motion = m.Call(0x0B);
    // From the middle (320, 240): x by 8 per 8 pixels, y by 16.
    EXPECT_EQ(static_cast<int16_t>(motion.cx()), 20);
    EXPECT_EQ(static_cast<int16_t>(motion.dx()), -160);
    EXPECT_EQ(m.Call(0x0B).cx(), 0) << "read counters start again";

    struct Case {
        uint16_t function, button, count, x, y;
    };
    const Case cases[] = {
        {0x05, 0, 2, 340, 160},
        {0x06, 0, 1, 330, 150},
        {0x05, 1, 1, 340, 160},
        {0x06, 1, 0, 0, 0},
        {0x05, 0, 0, 340, 160},
    };
    for (const Case& c : cases) {
        CpuState info = m.Call(c.function, c.button);
        EXPECT_EQ(info.ax(), 3) << c.function << " " << c.button << ": the buttons held";
        EXPECT_EQ(info.bx(), c.count) << c.function << " " << c.button;
        EXPECT_EQ(info.cx(), c.x) << c.function << " " << c.button;
        EXPECT_EQ(info.dx(), c.y) << c.function << " " << c.button;
    }
}

// A picture of every pixel different, so that what is not put back shows.
uint8_t Pattern(int x, int y, uint8_t bits) { return static_cast<uint8_t>((x * 7 + y * 13 + 1) & bits); }

TEST(MouseCursor, DrawsTheArrowThroughItsMasksAndPutsBackWhatWasUnder)
{
    struct Case {
        uint8_t mode;
        int width, height;
        // The pixel's bits a screen mask's 0 clears and those a cursor mask's 1 flips.
        uint8_t bits, flip;
        // Where the hot spot goes (virtual units) and so its pixel.
        uint16_t x, y;
        int pixelX, pixelY;
    };
    const Case cases[] = {
        {0x13, 320, 200, 0xFF, 0x0F, 200, 100, 100, 100},
        {0x13, 320, 200, 0xFF, 0x0F, 639, 199, 319, 199},
        {0x12, 640, 480, 0x0F, 0x0F, 300, 470, 300, 470},
        {0x0D, 320, 200, 0x0F, 0x0F, 20, 10, 10, 10},
        {0x04, 320, 200, 0x03, 0x03, 100, 50, 50, 50},
        {0x06, 640, 200, 0x01, 0x01, 630, 190, 630, 190},
    };
    for (const Case& c : cases) {
        MouseInMode m(c.mode);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                m.adapter.SetPixel(0, x, y, Pattern(x, y, c.bits));
        m.Call(0x00);
        m.Call(0x04, 0, c.x, c.y);
        m.Call(0x01);
        for (int y = c.pixelY - 2; y < c.pixelY + 18; ++y) {
            for (int x = c.pixelX - 2; x < c.pixelX + 18; ++x) {
                if (x < 0 || y < 0 || x >= c.width || y >= c.height)
                    continue;
                uint8_t expected = Pattern(x, y, c.bits);
                const int row = y - c.pixelY, column = x - c.pixelX;
                if (row >= 0 && row < 16 && column >= 0 && column < 16) {
                    const uint16_t bit = static_cast<uint16_t>(0x8000 >> column);
                    if (!(kScreenMask[row] & bit))
                        expected = static_cast<uint8_t>(expected & ~c.bits);
                    if (kCursorMask[row] & bit)
                        expected ^= c.flip;
                }
                ASSERT_EQ(m.adapter.Pixel(0, x, y), expected) << "mode " << int(c.mode) << " at " << x << "," << y;
            }
        }
        m.Call(0x02);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                ASSERT_EQ(m.adapter.Pixel(0, x, y), Pattern(x, y, c.bits)) << "mode " << int(c.mode) << " hidden, at " << x << "," << y;
    }
}

TEST(MouseCursor, FollowsThePointerAndTakesADefinedShapeAndHotSpot)
{
    MouseInMode m(0x13);
    m.Call(0x00);
    m.Call(0x01);
    m.Point(50, 40);
    EXPECT_EQ(m.adapter.Pixel(0, 51, 41), 0x0F) << "the arrow's inside at the pointer";
    m.Point(150, 140);
    for (int y = 40; y < 56; ++y)
        for (int x = 50; x < 66; ++x)
            ASSERT_EQ(m.adapter.Pixel(0, x, y), 0) << "left behind at " << x << "," << y;
    EXPECT_EQ(m.adapter.Pixel(0, 151, 141), 0x0F);

    // A 2x2 block of colour flips, its hot spot at its middle.
    std::array<uint16_t, 32> masks{};
    masks.fill(0xFFFF);
    for (int row = 16; row < 32; ++row)
        masks[static_cast<size_t>(row)] = row < 18 ? 0xC000 : 0;
    GuestMemory::WriteBytes(m.memory, 0x2000, 0, masks.data(), sizeof masks);
    CpuState state{};
    state.ax() = 0x09;
    state.bx() = 1;
    state.cx() = 1;
    state.es() = 0x2000;
    state.dx() = 0;
    m.mouse.Interrupt33(state);
    for (int y = 138; y < 158; ++y)
        for (int x = 148; x < 168; ++x)
            ASSERT_EQ(m.adapter.Pixel(0, x, y), (x == 149 || x == 150) && (y == 139 || y == 140) ? 0x0F : 0) << x << "," << y;
}

TEST(MouseCursor, InTextModeMasksTheCellsWordOrMovesTheHardwareCursor)
{
    struct Case {
        const char* name;
        uint16_t type, cx, dx;
        // The cell's word shown; 0 for the hardware cursor, which leaves memory alone.
        uint16_t shown;
    };
    const Case cases[] = {
        {"the default software cursor", 0, 0xFFFF, 0x7700, 0x1E41 ^ 0x7700},
        {"a block of colour kept under the character", 0, 0x00FF, 0x4E00, 0x4E41},
        {"a character of its own", 0, 0xFF00, 0x0018, 0x1E18},
        {"the hardware cursor", 1, 6, 7, 0},
    };
    for (const Case& c : cases) {
        MouseInMode m(0x03);
        for (uint32_t cell = 0; cell < 80 * 25; ++cell)
            m.memory.Write16(0xB800, static_cast<uint16_t>(cell * 2), static_cast<uint16_t>(0x1E00 | (0x41 + cell % 26)));
        m.memory.Write16(0xB800, (12 * 80 + 40) * 2, 0x1E41);
        const std::array<uint8_t, 4> crtc = {m.adapter.Crtc(0x0A), m.adapter.Crtc(0x0B), m.adapter.Crtc(0x0E), m.adapter.Crtc(0x0F)};
        m.Call(0x00);
        m.Call(0x0A, c.type, c.cx, c.dx);
        m.Call(0x04, 0, 40 * 8 + 5, 12 * 8 + 3);
        m.Call(0x01);
        for (uint32_t cell = 0; cell < 80 * 25; ++cell) {
            const uint16_t word = m.memory.Read16(0xB800, static_cast<uint16_t>(cell * 2));
            const uint16_t was = cell == 12 * 80 + 40 ? 0x1E41 : static_cast<uint16_t>(0x1E00 | (0x41 + cell % 26));
            ASSERT_EQ(word, cell == 12 * 80 + 40 && c.shown ? c.shown : was) << c.name << ", cell " << cell;
        }
        if (c.type == 1) {
            EXPECT_EQ(m.adapter.Crtc(0x0A), 6) << c.name;
            EXPECT_EQ(m.adapter.Crtc(0x0B), 7) << c.name;
            EXPECT_EQ(m.adapter.Crtc(0x0E) << 8 | m.adapter.Crtc(0x0F), 12 * 80 + 40) << c.name;
        }
        m.Call(0x02);
        EXPECT_EQ(m.memory.Read16(0xB800, (12 * 80 + 40) * 2), 0x1E41) << c.name << ", hidden";
        EXPECT_EQ(m.adapter.Crtc(0x0A), crtc[0]) << c.name << ", hidden";
        EXPECT_EQ(m.adapter.Crtc(0x0E) << 8 | m.adapter.Crtc(0x0F), crtc[2] << 8 | crtc[3]) << c.name << ", hidden";
    }
}

TEST(MouseCursor, CountsShowsAndHidesAndAModeSetHidesIt)
{
    MouseInMode m(0x13);
    m.Call(0x00);
    const uint8_t inside = 0x0F;
    struct Step {
        uint16_t function;
        bool shown;
    };
    const Step steps[] = {{0x01, true}, {0x01, true}, {0x02, false}, {0x02, false}, {0x01, false}, {0x01, true}, {0x00, false}};
    for (const Step& step : steps) {
        m.Call(step.function);
        EXPECT_EQ(m.adapter.Pixel(0, 161, 101) == inside, step.shown) << step.function;
    }
    m.Call(0x01);
    m.mouse.BeforeScreenService();
    CpuState state{};
    state.ax() = 0x0012;
    m.video.Interrupt10(state);
    m.mouse.AfterScreenService(true);
    EXPECT_EQ(m.adapter.Pixel(0, 321, 241), 0) << "hidden in the new mode";
    EXPECT_EQ(m.Call(0x03).dx(), 240) << "in the new mode's middle";
    m.Call(0x01);
    EXPECT_EQ(m.adapter.Pixel(0, 321, 241), inside);
}

// The machine running a test program, with a history to step back through.
struct MachineRun {
    explicit MachineRun(const std::wstring& program, const std::string& tail)
    {
        settings.input = ConsoleInput::Keyboard;
        settings.pace.fixed = true;
        machine = std::make_unique<CDosMachine>(host, std::make_unique<CHostDrive>(), settings);
        EXPECT_EQ(machine->Load(DosTest::Program(program), tail), LoadError::None);
        machine->Cpu().AttachHistory(&history);
    }
    ~MachineRun() { machine->Cpu().AttachHistory(nullptr); }

    DosTest::CRecordingHost host;
    DosMachineSettings settings;
    CExecutionHistory history;
    std::unique_ptr<CDosMachine> machine;
};

TEST(MouseEvents, CallTheHandlerWithTheEventsItAskedForAndResumeTheProgramAsItWas)
{
    struct Pointer {
        int x, y;
        unsigned buttons;
    };
    struct Case {
        const char* mask;
        std::vector<Pointer> moves;
        // Each call's AX BX CX DX SI DI and IF, after the first call's "same".
        std::string lines;
    };
    // From the middle (320, 100); mickeys 8 per 8 pixels across, 16 down, counted since reset.
    const Case cases[] = {
        {"7F", {{100, 60, 1}, {100, 60, 0}}, "0003 0001 0064 003C FF24 FFB0 0000 \r\n0004 0000 0064 003C FF24 FFB0 0000 \r\n"},
        {"04", {{100, 60, 1}, {110, 60, 1}, {110, 60, 0}}, "0004 0000 006E 003C FF2E FFB0 0000 \r\n"},
        {"18", {{8, 16, 2}, {8, 16, 6}, {9, 16, 0}}, "0008 0002 0008 0010 FEC8 FF58 0000 \r\n0010 0000 0009 0010 FEC9 FF58 0000 \r\n"},
        {"01", {{320, 100, 1}, {330, 100, 0}, {330, 101, 0}}, "0001 0000 014A 0064 000A 0000 0000 \r\n0001 0000 014A 0065 000A 0002 0000 \r\n"},
        {"00", {{1, 2, 1}, {3, 4, 0}}, ""},
    };
    for (const Case& c : cases) {
        MachineRun run(L"MOUSEEVT.COM", std::string(" ") + c.mask);
        CDosMachine& machine = *run.machine;
        ASSERT_EQ(machine.Run(200000), StopReason::Limit) << c.mask;
        for (const Pointer& pointer : c.moves) {
            machine.SetPointer(pointer.x, pointer.y, pointer.buttons);
            ASSERT_EQ(machine.Run(200000), StopReason::Limit) << c.mask;
        }
        machine.PressKey(0x1C0D);
        ASSERT_EQ(machine.Run(1000000), StopReason::Ended) << c.mask;
        EXPECT_EQ(run.host.output, (c.lines.empty() ? "" : "same\r\n") + c.lines) << c.mask;
    }
}

TEST(MouseEvents, StepIntoTheHandlerThroughTheRomAndBackToBeforeTheEvent)
{
    MachineRun run(L"MOUSEEVT.COM", " 02");
    CDosMachine& machine = *run.machine;
    ASSERT_EQ(machine.Run(200000), StopReason::Limit);
    CpuState before = machine.Registers();
    const uint16_t stack = machine.Memory().Read16(before.ss(), static_cast<uint16_t>(before.sp() - 2));
    machine.SetPointer(10, 10, 1);
    ASSERT_EQ(machine.Step(), StopReason::Limit);
    CpuState entered = machine.Registers();
    EXPECT_EQ(entered.cs(), before.cs()) << "in the program's handler";
    EXPECT_EQ(entered.ax(), 0x0002);
    EXPECT_FALSE(entered.Flag(kFlagInterrupt));
    // The interrupt's frame, nine registers and the far return to the ROM.
    EXPECT_EQ(machine.Memory().Read16(entered.ss(), entered.sp()), CMouse::kReturnOffset);
    EXPECT_EQ(machine.Memory().Read16(entered.ss(), static_cast<uint16_t>(entered.sp() + 2)), kServiceSegment);
    EXPECT_TRUE(machine.Devices().back()->View().text.find("running") != std::string::npos);

    // Through the handler's RETF, the ROM's nine POPs and far jump, and the mark's return.
    int steps = 0;
    while (machine.Registers().cs() != kServiceSegment && steps < 100) {
        ASSERT_EQ(machine.Step(), StopReason::Limit);
        ++steps;
    }
    ASSERT_EQ(machine.Registers().ip, CMouse::kReturnOffset);
    int returning = 0;
    while (machine.Registers().cs() == kServiceSegment && returning < 20) {
        ASSERT_EQ(machine.Step(), StopReason::Limit);
        ++returning;
    }
    EXPECT_EQ(returning, 11) << "nine POPs, the far jump, the mark that returns";
    EXPECT_EQ(machine.Registers().sp(), static_cast<uint16_t>(entered.sp() + 28));
    EXPECT_TRUE(machine.Registers().Flag(kFlagInterrupt));
    EXPECT_TRUE(machine.Devices().back()->View().text.find("running") == std::string::npos);

    // Back to where the event came: the stack's words and the driver's byte as they were.
    const size_t back = static_cast<size_t>(steps + returning) + 1;
    ASSERT_EQ(machine.Cpu().StepBack(back), back);
    EXPECT_EQ(machine.Registers().ip, before.ip);
    EXPECT_EQ(machine.Registers().sp(), before.sp());
    EXPECT_EQ(machine.Registers().ax(), before.ax());
    EXPECT_EQ(machine.Memory().Read16(before.ss(), static_cast<uint16_t>(before.sp() - 2)), stack);
    EXPECT_EQ(machine.Memory().Read8(kServiceSegment, CMouse::kBusyOffset), 0);
    ASSERT_EQ(machine.Cpu().StepBack(1), 1u);
    ASSERT_EQ(machine.Step(), StopReason::Limit) << "running on after stepping back";
}

TEST(MouseEvents, TheScreensServicesDrawUnderTheCursorAndKeepWhatTheyDrew)
{
    DosTest::CRecordingHost host;
    CDosMachine machine(host, std::make_unique<CHostDrive>(), DosMachineSettings{});
    ASSERT_EQ(machine.Load(DosTest::Program(L"MOUSEVID.COM"), ""), LoadError::None);
    ASSERT_EQ(machine.Run(10000000), StopReason::Ended);
    EXPECT_EQ(host.output, "0004 0000 0000 \r\n");
}

}  // namespace
