// Step back over what a program does to the VGA: programs that draw through A000h, the
// graphics controller's and sequencer's ports, the attribute controller and the DAC, stepped
// forward and back one instruction at a time, find the adapter as it was before each step; and
// a debugger's look at the planes leaves the latches.
#include "DosTestSupport.h"

#include "dos/DosMachine.h"
#include "dos/ExecutionHistory.h"
#include "dos/VideoAdapter.h"
#include "doshost/HostDrive.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>

using namespace dos;

namespace {

// What the adapter holds, through what it shows of itself: the planes, the latches, the
// sequencer's, graphics controller's and CRTC's registers, the ports that read back an index
// or misc output, and the palette whole (its indexes and flip-flop among it).
std::vector<uint8_t> AdapterState(CVideoAdapter& adapter)
{
    std::vector<uint8_t> state;
    CVgaMemory& planes = adapter.Planes();
    for (int plane = 0; plane < 4; ++plane)
        for (uint32_t address = 0; address < CVgaMemory::kPlaneSize; ++address)
            state.push_back(planes.Plane(plane, address));
    for (uint8_t i = 0; i < 32; ++i) {
        state.push_back(i < 4 ? planes.Latch(i) : 0);
        state.push_back(planes.SequencerRegister(i));
        state.push_back(planes.GraphicsRegister(i));
        state.push_back(adapter.Crtc(i));
    }
    for (const uint16_t port : {0x3C4, 0x3CE, 0x3CC, 0x3B4, 0x3D4})
        state.push_back(adapter.In(port));
    const CVgaPalette palette = adapter.Palette();
    const auto* bytes = reinterpret_cast<const uint8_t*>(&palette);
    state.insert(state.end(), bytes, bytes + sizeof palette);
    return state;
}

struct DrawingCase {
    const wchar_t* program;
    // How many instructions are stepped: past the mode set and into the drawing.
    size_t steps;
};

TEST(VideoHistory, StepBackGivesTheAdapterBackAsEachStepFoundIt)
{
    const DrawingCase cases[] = {
        // Mode 12h: write modes 0-3 through the map mask, set/reset, rotation and the bit
        // mask, read modes 0 and 1 over the latches, INT 10h's pixels and palette, the
        // attribute registers through 3C0h after 3DAh.
        {L"VGAPLANE.COM", 4000},
        // Mode 13h: chained bytes through A000h and pixels through INT 10h, the DAC through
        // 3C8h/3C9h and 3C7h/3C9h and its pel mask, mode 93h keeping the memory.
        {L"VGA13.COM", 4000},
    };
    // The whole state is kept before every 16th step, and compared on the way back there.
    constexpr size_t kEvery = 16;
    for (const DrawingCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.program);
        DosTest::CRecordingHost host;
        CDosMachine machine(host, std::make_unique<CHostDrive>(), DosMachineSettings{});
        ASSERT_EQ(machine.Load(DosTest::Program(c.program), ""), LoadError::None);
        CExecutionHistory history(CExecutionHistory::kDefaultInstructions, size_t{1} << 22);
        machine.Cpu().AttachHistory(&history);
        std::vector<std::vector<uint8_t>> before;
        for (size_t step = 0; step < c.steps; ++step) {
            if (step % kEvery == 0)
                before.push_back(AdapterState(machine.Video()));
            ASSERT_EQ(machine.Step(), StopReason::Limit) << "the program must still run to be stepped back";
        }
        EXPECT_NE(AdapterState(machine.Video()), before.front()) << "the steps changed the adapter";
        for (size_t step = c.steps; step-- > 0;) {
            ASSERT_EQ(machine.Cpu().StepBack(1), 1u) << step;
            if (step % kEvery == 0) {
                ASSERT_EQ(AdapterState(machine.Video()), before[step / kEvery]) << "back before step " << step;
            }
        }
    }
}

// A debugger's look at A000h gives what the CPU's read would, and leaves the latches as the
// program's last read loaded them.
TEST(VideoHistory, ALookAtThePlanesLeavesTheLatches)
{
    struct Case {
        const char* what;
        uint8_t mode;
        // Graphics controller: mode (read mode in bit 3), read map, colour compare, don't care.
        uint8_t graphicsMode, readMap, compare, dontCare;
        uint32_t offset;
    } cases[] = {
        {"read mode 0, plane 2", 0x12, 0x00, 2, 0, 0x0F, 0x0101},
        {"read mode 1, colour 5 over planes 0 and 2", 0x12, 0x08, 0, 0x05, 0x05, 0x0101},
        {"chain 4", 0x13, 0x40, 0, 0, 0x0F, 0x0406},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DosTest::CRecordingHost host;
        CDosMachine machine(host, std::make_unique<CHostDrive>(), DosMachineSettings{});
        CVideoAdapter& adapter = machine.Video();
        adapter.LoadMode(VgaMode::Find(c.mode), false);
        CVgaMemory& planes = adapter.Planes();
        for (int plane = 0; plane < 4; ++plane) {
            planes.SetPlane(plane, 0x0101, static_cast<uint8_t>(0x11 * (plane + 1)));
            planes.SetPlane(plane, 0, static_cast<uint8_t>(0xA0 + plane));
        }
        for (const auto& [index, value] : {std::pair{CVgaMemory::kMode, c.graphicsMode}, std::pair{CVgaMemory::kReadMap, c.readMap},
                                          std::pair{CVgaMemory::kColourCompare, c.compare}, std::pair{CVgaMemory::kColourDontCare, c.dontCare}})
            planes.SetGraphicsRegister(index, value);
        CMemory& memory = machine.Memory();
        memory.Read8(CVideoAdapter::kGraphicsFirst);
        const std::array<uint8_t, 4> loaded{planes.Latch(0), planes.Latch(1), planes.Latch(2), planes.Latch(3)};
        const uint8_t looked = memory.Peek8(CVideoAdapter::kGraphicsFirst + c.offset);
        EXPECT_EQ((std::array<uint8_t, 4>{planes.Latch(0), planes.Latch(1), planes.Latch(2), planes.Latch(3)}), loaded);
        EXPECT_EQ(memory.Read8(CVideoAdapter::kGraphicsFirst + c.offset), looked);
        EXPECT_NE((std::array<uint8_t, 4>{planes.Latch(0), planes.Latch(1), planes.Latch(2), planes.Latch(3)}), loaded);
    }
}

}  // namespace
