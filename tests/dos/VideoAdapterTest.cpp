// The VGA's logic in this process: the graphics controller's write and read modes over the
// latches, chain 4 and the 64 KB planes, the DAC's three steps and the attribute flip-flop, the
// picture's size and colours as each mode's registers lay it out, and DOS's output drawn in
// mode 13h.
#include "DosTestSupport.h"

#include "dos/DosMachine.h"
#include "dos/VgaFont.h"
#include "dos/VideoAdapter.h"
#include "doshost/HostDrive.h"

#include <gtest/gtest.h>

#include <array>

using namespace dos;

namespace {

using Planes = std::array<uint8_t, 4>;

struct AdapterInMode {
    explicit AdapterInMode(uint8_t mode) { adapter.LoadMode(VgaMode::Find(mode), false); }

    CMemory memory;
    DosTest::CNoBus bus;
    CCpu8086 cpu{memory, bus};
    CMachineClock clock{cpu};
    CVideoAdapter adapter{memory, clock};
};

struct WriteCase {
    const char* name;
    // Graphics controller registers 0-8 and the map mask.
    std::array<uint8_t, 9> graphics;
    uint8_t mapMask;
    // What the planes hold (and the latches take by a read) before the CPU writes `value`.
    Planes before;
    uint8_t value;
    Planes after;
};

void Preset(CVgaMemory& vga, uint32_t address, const Planes& planes)
{
    for (int plane = 0; plane < 4; ++plane)
        vga.SetPlane(plane, address, planes[plane]);
}

Planes PlanesAt(const CVgaMemory& vga, uint32_t address)
{
    return {vga.Plane(0, address), vga.Plane(1, address), vga.Plane(2, address), vga.Plane(3, address)};
}

TEST(VgaMemory, WritesEachPlaneAsTheWriteModeAndItsRegistersSay)
{
    //                          set/reset, enable, compare, rotate, map, mode, misc, care, mask
    const WriteCase cases[] = {
        {"mode 0 through the map mask", {0, 0, 0, 0x00, 0, 0x00, 5, 0x0F, 0xFF}, 0x05, {1, 2, 3, 4}, 0xAA, {0xAA, 2, 0xAA, 4}},
        {"mode 0 set/reset on every plane", {0x0C, 0x0F, 0, 0x00, 0, 0x00, 5, 0x0F, 0xFF}, 0x0F, {1, 2, 3, 4}, 0x55, {0x00, 0x00, 0xFF, 0xFF}},
        {"mode 0 set/reset on planes 0, 1", {0x01, 0x03, 0, 0x00, 0, 0x00, 5, 0x0F, 0xFF}, 0x0F, {1, 2, 3, 4}, 0x3C, {0xFF, 0x00, 0x3C, 0x3C}},
        {"mode 0 rotated right by 3", {0, 0, 0, 0x03, 0, 0x00, 5, 0x0F, 0xFF}, 0x0F, {0, 0, 0, 0}, 0x81, {0x30, 0x30, 0x30, 0x30}},
        {"mode 0 AND with the latches", {0, 0, 0, 0x08, 0, 0x00, 5, 0x0F, 0xFF}, 0x0F, {0xFF, 0x0F, 0xF0, 0x00}, 0x3C, {0x3C, 0x0C, 0x30, 0x00}},
        {"mode 0 OR with the latches", {0, 0, 0, 0x10, 0, 0x00, 5, 0x0F, 0xFF}, 0x0F, {0xFF, 0x0F, 0xF0, 0x00}, 0x3C, {0xFF, 0x3F, 0xFC, 0x3C}},
        {"mode 0 XOR with the latches", {0, 0, 0, 0x18, 0, 0x00, 5, 0x0F, 0xFF}, 0x0F, {0xFF, 0x0F, 0xF0, 0x00}, 0x3C, {0xC3, 0x33, 0xCC, 0x3C}},
        {"mode 0 bit mask keeps latched bits", {0, 0, 0, 0x00, 0, 0x00, 5, 0x0F, 0xF0}, 0x0F, {0x0F, 0x00, 0xFF, 0x5A}, 0xFF, {0xFF, 0xF0, 0xFF, 0xFA}},
        {"mode 1 copies the latches", {0, 0, 0, 0x18, 0, 0x01, 5, 0x0F, 0x00}, 0x0F, {0x11, 0x22, 0x44, 0x88}, 0x00, {0x11, 0x22, 0x44, 0x88}},
        {"mode 2 spreads a colour", {0, 0, 0, 0x00, 0, 0x02, 5, 0x0F, 0x3C}, 0x0F, {0, 0, 0, 0xFF}, 0x09, {0x3C, 0x00, 0x00, 0xFF}},
        {"mode 3 masks set/reset by the byte", {0x0A, 0, 0, 0x00, 0, 0x03, 5, 0x0F, 0xFF}, 0x0F, {0x0F, 0x0F, 0x0F, 0x0F}, 0xF0, {0x0F, 0xFF, 0x0F, 0xFF}},
        {"mode 3 rotated, under the bit mask", {0x0F, 0, 0, 0x04, 0, 0x03, 5, 0x0F, 0x3C}, 0x0F, {0, 0, 0, 0}, 0x0F, {0x30, 0x30, 0x30, 0x30}},
    };
    for (const WriteCase& c : cases) {
        CVgaMemory vga;
        for (uint8_t i = 0; i < 9; ++i)
            vga.SetGraphicsRegister(i, c.graphics[i]);
        vga.SetSequencerRegister(CVgaMemory::kMapMask, c.mapMask);
        Preset(vga, 0x1234, c.before);
        vga.Read(0x1234);
        vga.Write(0x1234, c.value);
        EXPECT_EQ(PlanesAt(vga, 0x1234), c.after) << c.name;
    }
}

TEST(VgaMemory, ReadsAPlaneOrTheColourCompareAsTheReadModeSays)
{
    struct ReadCase {
        const char* name;
        uint8_t mode, readMap, compare, dontCare;
        uint8_t expected;
    };
    // Eight pixels of colours 0, 1, 2, 3, 6, 6, 15, 8.
    const Planes planes{0b01010010, 0b00111100, 0b00001110, 0b00000011};
    const ReadCase cases[] = {
        {"read mode 0, plane 0", 0x00, 0, 0, 0x0F, planes[0]},
        {"read mode 0, plane 3", 0x00, 3, 0, 0x0F, planes[3]},
        {"read mode 1, colour 6", 0x08, 0, 0x06, 0x0F, 0b00001100},
        {"read mode 1, colour 0", 0x08, 0, 0x00, 0x0F, 0b10000000},
        {"read mode 1, plane 1 alone", 0x08, 0, 0x02, 0x02, 0b00111100},
        {"read mode 1, nothing counts", 0x08, 0, 0x05, 0x00, 0xFF},
    };
    for (const ReadCase& c : cases) {
        CVgaMemory vga;
        vga.SetGraphicsRegister(CVgaMemory::kMode, c.mode);
        vga.SetGraphicsRegister(CVgaMemory::kReadMap, c.readMap);
        vga.SetGraphicsRegister(CVgaMemory::kColourCompare, c.compare);
        vga.SetGraphicsRegister(CVgaMemory::kColourDontCare, c.dontCare);
        Preset(vga, 7, planes);
        EXPECT_EQ(vga.Read(7), c.expected) << c.name;
        EXPECT_EQ(vga.Latch(2), planes[2]) << c.name << ": every read loads the latches";
    }
}

TEST(VgaMemory, ChainFourSpreadsBytesOverThePlanesAndPlanesWrapAt64Kb)
{
    CVgaMemory vga;
    vga.SetSequencerRegister(CVgaMemory::kMapMask, 0x0F);
    vga.SetGraphicsRegister(CVgaMemory::kBitMask, 0xFF);
    vga.SetSequencerRegister(CVgaMemory::kMemoryMode, 0x0E);
    for (uint8_t i = 0; i < 6; ++i)
        vga.Write(i, static_cast<uint8_t>(0x10 + i));
    EXPECT_EQ(PlanesAt(vga, 0), (Planes{0x10, 0x11, 0x12, 0x13}));
    EXPECT_EQ(PlanesAt(vga, 1), (Planes{0x14, 0x15, 0, 0}));
    EXPECT_EQ(vga.Read(5), 0x15);

    vga.SetSequencerRegister(CVgaMemory::kMemoryMode, 0x06);
    vga.Write(CVgaMemory::kPlaneSize + 3, 0x77);
    EXPECT_EQ(PlanesAt(vga, 3), (Planes{0x77, 0x77, 0x77, 0x77}));
}

TEST(VgaPalette, TakesDacEntriesInThreeStepsAndTheAttributeIndexByFlipFlop)
{
    CVgaPalette palette;
    palette.Out(0x3C8, 0x10);
    for (uint8_t value : {0x3F, 0x00, 0x15, 0x7F, 0x01})
        palette.Out(0x3C9, value);
    EXPECT_EQ(palette.Dac(0x10), (std::array<uint8_t, 3>{0x3F, 0x00, 0x15}));
    EXPECT_EQ(palette.Dac(0x11)[0], 0x3F) << "six bits kept";
    EXPECT_EQ(palette.In(0x3C8), 0x11) << "the write index moves after a blue";
    EXPECT_EQ(palette.In(0x3C7), 0x00);
    palette.Out(0x3C7, 0x10);
    EXPECT_EQ(palette.In(0x3C7), 0x03);
    const uint8_t read[] = {palette.In(0x3C9), palette.In(0x3C9), palette.In(0x3C9), palette.In(0x3C9)};
    EXPECT_EQ(read[0], 0x3F);
    EXPECT_EQ(read[2], 0x15);
    EXPECT_EQ(read[3], 0x3F) << "the next entry's red";
    EXPECT_EQ(palette.Colour(0x10), 0xFF0055u);

    palette.Out(0x3C0, 0x05);
    palette.Out(0x3C0, 0x2A);
    palette.Out(0x3C0, 0x06);
    palette.ResetFlipFlop();
    palette.Out(0x3C0, 0x07);
    palette.Out(0x3C0, 0x11);
    EXPECT_EQ(palette.Attribute(5), 0x2A);
    EXPECT_EQ(palette.Attribute(6), 0x00) << "a status read made 07h an index";
    EXPECT_EQ(palette.Attribute(7), 0x11);
}

TEST(VgaPalette, PicksDacEntriesThroughPaletteRegistersAndColourSelect)
{
    struct Case {
        const char* name;
        uint8_t modeControl, planeEnable, colourSelect, value;
        uint8_t expected;
    };
    const Case cases[] = {
        {"the palette register", 0x01, 0x0F, 0x00, 3, 0x3B},
        {"bits 7-6 from colour select", 0x01, 0x0F, 0x0C, 3, 0xFB},
        {"bits 5-4 from colour select", 0x81, 0x0F, 0x02, 3, 0x2B},
        {"disabled planes read 0", 0x01, 0x01, 0x00, 3, 0x39},
    };
    for (const Case& c : cases) {
        CVgaPalette palette;
        palette.SetAttribute(1, 0x39);
        palette.SetAttribute(3, 0x3B);
        palette.SetAttribute(CVgaPalette::kModeControl, c.modeControl);
        palette.SetAttribute(CVgaPalette::kPlaneEnable, c.planeEnable);
        palette.SetAttribute(CVgaPalette::kColourSelect, c.colourSelect);
        EXPECT_EQ(palette.DacIndex(c.value), c.expected) << c.name;
    }
}

TEST(VideoAdapter, ShowsEachModeAtTheSizeItsRegistersGive)
{
    struct Case {
        uint8_t mode;
        machine::ScreenImage::Kind kind;
        int width, height;
    };
    const Case cases[] = {
        {0x03, machine::ScreenImage::Kind::Cells, 80, 25}, {0x04, machine::ScreenImage::Kind::Pixels, 320, 200},
        {0x06, machine::ScreenImage::Kind::Pixels, 640, 200}, {0x0D, machine::ScreenImage::Kind::Pixels, 320, 200},
        {0x0E, machine::ScreenImage::Kind::Pixels, 640, 200}, {0x10, machine::ScreenImage::Kind::Pixels, 640, 350},
        {0x12, machine::ScreenImage::Kind::Pixels, 640, 480}, {0x13, machine::ScreenImage::Kind::Pixels, 320, 200},
    };
    for (const Case& c : cases) {
        AdapterInMode in(c.mode);
        CVideoAdapter& adapter = in.adapter;
        const machine::ScreenImage screen = adapter.Screen();
        EXPECT_EQ(screen.kind, c.kind) << int{c.mode};
        const bool cells = c.kind == machine::ScreenImage::Kind::Cells;
        EXPECT_EQ(cells ? screen.columns : screen.width, c.width) << int{c.mode};
        EXPECT_EQ(cells ? screen.rows : screen.height, c.height) << int{c.mode};
    }
}

TEST(VideoAdapter, ColoursPixelsFromTheDacThroughEachModesLayout)
{
    struct Case {
        uint8_t mode;
        int x, y;
        uint8_t value;
        // The DAC entry the default palettes give the value.
        uint8_t entry;
    };
    const Case cases[] = {
        {0x13, 319, 199, 0x28, 0x28}, {0x12, 637, 479, 0x06, 0x14}, {0x0D, 9, 3, 0x0C, 0x14},
        {0x04, 318, 199, 0x02, 0x15}, {0x06, 639, 1, 0x01, 0x17},
    };
    for (const Case& c : cases) {
        AdapterInMode in(c.mode);
        CVideoAdapter& adapter = in.adapter;
        adapter.SetPixel(0, c.x, c.y, c.value);
        EXPECT_EQ(adapter.Pixel(0, c.x, c.y), c.value) << int{c.mode};
        const machine::ScreenImage screen = adapter.Screen();
        const auto rgb = adapter.Palette().Dac(c.entry);
        const uint32_t colour = adapter.Palette().Colour(c.entry);
        EXPECT_EQ(screen.pixels[static_cast<size_t>(c.y * screen.width + c.x)], colour) << int{c.mode};
        EXPECT_NE(rgb, (std::array<uint8_t, 3>{0, 0, 0})) << int{c.mode};
        EXPECT_EQ(screen.pixels[0], adapter.Palette().Colour(adapter.Palette().DacIndex(0))) << int{c.mode};
    }
}

TEST(VideoAdapter, ColoursTextThroughTheAttributeControllerAndTheDac)
{
    AdapterInMode in(0x03);
    EXPECT_EQ(in.adapter.Screen().palette, machine::kPcPalette) << "mode 3's default palettes";
    in.adapter.Palette().SetDac(0x07, 0x3F, 0x00, 0x00);
    in.adapter.Palette().SetAttribute(0x01, 0x07);
    const machine::ScreenImage screen = in.adapter.Screen();
    EXPECT_EQ(screen.palette[1], 0xFF0000u);
    EXPECT_EQ(screen.palette[7], 0xFF0000u);
}

TEST(VideoAdapter, StartAddressMovesThePictureThroughThePlanes)
{
    AdapterInMode in(0x12);
    CVideoAdapter& adapter = in.adapter;
    adapter.SetPixel(0, 8, 1, 0x0F);
    adapter.WriteCrtc(0x0C, 0x00);
    adapter.WriteCrtc(0x0D, 80);
    const machine::ScreenImage screen = adapter.Screen();
    EXPECT_EQ(screen.pixels[8], 0xFFFFFFu);
    EXPECT_EQ(screen.pixels[8 + 640], 0x000000u);
}

TEST(GraphicsVideo, DrawsDosOutputInModeThirteenWithTheBiosFont)
{
    DosTest::CRecordingHost host;
    DosMachineSettings settings;
    settings.output = ConsoleOutput::Screen;
    CDosMachine machine(host, std::make_unique<CHostDrive>(), settings);
    ASSERT_EQ(machine.Load(DosTest::Program(L"VGAECHO.COM"), ""), LoadError::None);
    ASSERT_EQ(machine.Run(10000000), StopReason::Ended);

    const machine::ScreenImage screen = machine.Screen();
    ASSERT_EQ(screen.kind, machine::ScreenImage::Kind::Pixels);
    const uint32_t grey = 0xAAAAAA;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool on = x < 8 ? (VgaFont::k8x8['A' * 8 + y] << x & 0x80) != 0 : true;
            EXPECT_EQ(screen.pixels[static_cast<size_t>(y * 320 + x)], on ? grey : 0u) << x << "," << y;
        }
    }
    EXPECT_EQ(machine.Memory().Read8(0x40, 0x50), 2) << "the cursor's column";
}

}  // namespace
